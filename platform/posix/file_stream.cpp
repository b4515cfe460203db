#include "platform/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <string>

#include "platform/posix/utf8_text.h"

namespace velmar::platform {
std::FILE* OpenFileStream(const utils::utf16_string& path, const utils::utf16_string& mode) {
  if (path.empty() || mode.empty()) return nullptr;
  // Paths are handed to the system as UTF-8 here.
  const std::string name = ToUtf8(path);
  const std::string how = ToUtf8(mode);
  if (how[0] != 'r' || how.find('+') != std::string::npos)
    return std::fopen(name.c_str(), how.c_str());

  // Reading is for regular files only: opening a FIFO would wait for a
  // writer, and a device may never end.
  const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE* const stream = fdopen(fd, how.c_str());
  if (stream == nullptr) close(fd);
  return stream;
}

bool SeekForward(std::FILE* stream, std::uint64_t distance) {
  if (distance > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return fseeko(stream, static_cast<off_t>(distance), SEEK_CUR) == 0;
}

}  // namespace velmar::platform
