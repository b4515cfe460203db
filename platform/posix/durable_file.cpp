#include "platform/durable_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "prefs/common/text_codec.h"

namespace velmar::platform {
namespace {

std::string Native(const utils::velmar_ustring& path) { return prefs::EncodeUtf8(path.str()); }

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int get() const { return m_fd; }
  // Closing reports write-back errors some file systems defer until then.
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace

FileReadResult ReadFileBytes(const utils::velmar_ustring& path, std::size_t max_size,
                             std::string& bytes) {
  bytes.clear();
  FileDescriptor fd(::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    return (errno == ENOENT || errno == ENOTDIR) ? FileReadResult::kMissing
                                                 : FileReadResult::kFailed;
  }
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return FileReadResult::kFailed;
  if (static_cast<std::size_t>(status.st_size) > max_size) return FileReadResult::kTooLarge;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return FileReadResult::kFailed;
    }
    bytes.append(buffer, static_cast<std::size_t>(count));
    // The file may grow while it is read.
    if (bytes.size() > max_size) {
      bytes.clear();
      return FileReadResult::kTooLarge;
    }
  }
  return FileReadResult::kRead;
}

bool WriteNewFileDurably(const utils::velmar_ustring& path, const std::string& bytes) {
  const std::string native = Native(path);
  FileDescriptor fd(::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) return false;
  std::size_t written = 0;
  bool ok = true;
  while (ok && written < bytes.size()) {
    const ssize_t count = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    ok = count > 0;
    if (ok) written += static_cast<std::size_t>(count);
  }
  ok = ok && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (!ok) ::unlink(native.c_str());
  return ok;
}

bool ReplaceFileAtomically(const utils::velmar_ustring& source,
                           const utils::velmar_ustring& target) {
  const std::string native_target = Native(target);
  if (std::rename(Native(source).c_str(), native_target.c_str()) != 0) return false;
  SyncFolderOf(native_target);
  return true;
}

bool RenameWithoutReplacing(const utils::velmar_ustring& source,
                            const utils::velmar_ustring& target) {
  const std::string from = Native(source);
  const std::string to = Native(target);
  // A hard link fails when the target exists; the old name goes afterwards.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    SyncFolderOf(to);
    return true;
  }
  if (errno == EEXIST) return false;
  // File systems without hard links: a check, then a plain rename.
  struct stat status {};
  if (::lstat(to.c_str(), &status) == 0 || errno != ENOENT) return false;
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  SyncFolderOf(to);
  return true;
}

bool RemoveFile(const utils::velmar_ustring& path) { return ::unlink(Native(path).c_str()) == 0; }

bool ListFolderEntries(const utils::velmar_ustring& folder,
                       std::vector<utils::velmar_ustring::string_type>& names) {
  DIR* dir = ::opendir(Native(folder).c_str());
  if (dir == nullptr) return false;
  utils::velmar_ustring::string_type name;
  while (const dirent* entry = ::readdir(dir)) {
    if (prefs::DecodeUtf8(entry->d_name, name)) names.push_back(name);
  }
  ::closedir(dir);
  return true;
}

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(::getpid()); }

}  // namespace velmar::platform
