#include "tool/output.h"

#include <cerrno>

namespace folian::tool {

void Output::Check(bool ok) {
  if (ok || m_error != 0) return;
  // Some C libraries fail a write without setting errno.
  m_error = errno != 0 ? errno : EIO;
}

bool Output::Write(std::string_view text) {
  if (m_error != 0) return false;
  errno = 0;
  Check(std::fwrite(text.data(), 1, text.size(), m_file) == text.size());
  return m_error == 0;
}

bool Output::Flush() {
  if (m_error != 0) return false;
  errno = 0;
  Check(std::fflush(m_file) == 0 && !std::ferror(m_file));
  return m_error == 0;
}

bool Output::closed_pipe() const { return m_error == EPIPE; }

}  // namespace folian::tool
