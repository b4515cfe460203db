#include "platform/status.h"

namespace velmar::platform {

std::string Status::ToString() const {
  if (m_ok) return "OK";
  if (*m_step == '\0') return m_error;
  return std::string(m_step) + ": " + m_error;
}

}  // namespace velmar::platform
