#include "tool/output.h"

#include <cerrno>
#include <cstdlib>

namespace folian::tool {

namespace {

#if defined(_WIN32)
// The Windows C library reports a write to a pipe whose reader has gone as
// EINVAL; the system's error code, which it keeps in _doserrno, says so.
constexpr unsigned long kErrorBrokenPipe = 109;
constexpr unsigned long kErrorNoData = 232;
constexpr unsigned long kErrorPipeNotConnected = 233;
bool ClosedPipe(int error) {
  const unsigned long system = _doserrno;
  return error == EPIPE || system == kErrorBrokenPipe || system == kErrorNoData ||
         system == kErrorPipeNotConnected;
}
#else
bool ClosedPipe(int error) { return error == EPIPE; }
#endif

}  // namespace

void Output::Check(bool ok) {
  if (ok || m_error != 0) return;
  // Some C libraries fail a write without setting errno.
  m_error = errno != 0 ? errno : EIO;
  m_closedPipe = ClosedPipe(m_error);
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

}  // namespace folian::tool
