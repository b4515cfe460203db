#include "platform/status.h"

namespace velmar::platform {

std::string Status::ToString() const {
  if (m_ok) return "OK";
  if (*m_step == '\0') return m_reason;
  return std::string(m_step) + ": " + m_reason;
}

}  // namespace velmar::platform
