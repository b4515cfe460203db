#include "platform/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <memory>

namespace velmar::platform {
namespace {

struct StreamCloser {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};

}  // namespace

std::FILE* OpenFileStream(const utils::velmar_ustring& path, const utils::velmar_ustring& mode) {
  if (path.empty() || mode.empty()) return nullptr;
  // Paths are handed to the system as UTF-8 here.
  const std::string name = path.ToUTF8();
  const std::string how = mode.ToUTF8();
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

bool ReadWholeFile(const utils::velmar_ustring& path, std::size_t max_size, std::string& bytes) {
  bytes.clear();
  const std::unique_ptr<std::FILE, StreamCloser> stream(
      OpenFileStream(path, utils::velmar_ustring("rb")));
  if (!stream) return false;
  // Read in pieces up to the limit: the stated size of a special file is
  // not to be trusted.
  char buffer[16384];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, stream.get());
    if (got > max_size - bytes.size()) {
      bytes.clear();
      return false;
    }
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(stream.get()) != 0) {
    bytes.clear();
    return false;
  }
  return true;
}

}  // namespace velmar::platform
