#include "platform/durable_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "platform/lock_wait.h"
#include "platform/posix/folder_owner.h"
#include "platform/posix/system_error.h"
#include "platform/posix/utf8_text.h"

namespace velmar::platform {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int get() const { return m_fd; }
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }
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
  FileDescriptor fd(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

void GiveToFolderOwner(int fd, const std::string& path) {
  struct stat folder {};
  if (OwnerToGiveTo(path, folder)) (void)::fchown(fd, folder.st_uid, folder.st_gid);
}

bool SameFile(const struct stat& one, const struct stat& other) {
  return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

class FlockLock : public FileLock {
 public:
  FlockLock(int fd, std::string path, const struct stat& status)
      : m_fd(fd), m_path(std::move(path)), m_status(status) {}

  bool StillHeld() const override {
    struct stat now {};
    return ::lstat(m_path.c_str(), &now) == 0 && SameFile(now, m_status);
  }

 private:
  FileDescriptor m_fd;  // closing it releases the lock
  std::string m_path;
  struct stat m_status;
};

// Lock files are private to their owner; in a folder the group may write,
// every member of the group may take the lock, since each of them could
// replace the store's files anyway.
mode_t LockFileMode(const std::string& path) {
  struct stat folder {};
  const bool shared =
      ::stat(FolderOf(path).c_str(), &folder) == 0 && (folder.st_mode & S_IWGRP) != 0;
  return shared ? 0660 : 0600;
}

// Opens the lock file without following a link, creating it with `mode`.
// One that cannot be opened, or that others than `mode` allows may open
// (an earlier build made them 0644, and an open descriptor outlives a
// chmod), is replaced by a new one. -1 with errno set on failure.
int OpenLockFile(const std::string& path, mode_t mode) {
  constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  // Whoever else replaces it at the same moment may cost one more turn.
  int replacements = 3;
  for (;;) {
    const int created = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, mode);
    if (created >= 0) {
      (void)::fchmod(created, mode);  // the umask may have taken the group's bits
      GiveToFolderOwner(created, path);
      return created;
    }
    if (errno != EEXIST) return -1;
    const int existing = ::open(path.c_str(), kFlags);
    // Removed in between: create it after all.
    if (existing < 0 && errno == ENOENT) continue;
    if (existing < 0 && (errno != EACCES || replacements-- == 0)) return -1;
    if (existing < 0) {
      if (::unlink(path.c_str()) != 0) {
        errno = EACCES;
        return -1;
      }
      continue;
    }
    struct stat opened {};
    struct stat named {};
    if (::fstat(existing, &opened) == 0 && S_ISREG(opened.st_mode) &&
        (opened.st_mode & 0777 & ~mode) != 0 && replacements-- > 0 &&
        ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named) &&
        ::unlink(path.c_str()) == 0) {
      ::close(existing);
      continue;
    }
    return existing;
  }
}

class PosixFileEnv : public FileEnv {
 public:
  ReadOutcome ReadFile(const utils::utf16_string& path, std::size_t max_size,
                       std::string& bytes) override {
    bytes.clear();
    // Non-blocking, so a FIFO in the file's place cannot hold the open.
    FileDescriptor fd(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
      const bool missing = errno == ENOENT || errno == ENOTDIR;
      return {missing ? FileReadResult::kMissing : FileReadResult::kFailed, SystemError(errno)};
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) return {FileReadResult::kFailed, SystemError(errno)};
    if (!S_ISREG(status.st_mode)) {
      return {FileReadResult::kFailed,
              S_ISDIR(status.st_mode) ? SystemError(EISDIR) : Status::Error("not a regular file")};
    }
    if (static_cast<std::size_t>(status.st_size) > max_size) return {FileReadResult::kTooLarge};
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
      const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
      if (count == 0) break;
      if (count < 0) {
        if (errno == EINTR) continue;
        bytes.clear();
        return {FileReadResult::kFailed, SystemError(errno)};
      }
      bytes.append(buffer, static_cast<std::size_t>(count));
      // The file may grow while it is read.
      if (bytes.size() > max_size) {
        bytes.clear();
        return {FileReadResult::kTooLarge};
      }
    }
    return {FileReadResult::kRead};
  }

  Status WriteNewFile(const utils::utf16_string& path, const std::string& bytes,
                      const utils::utf16_string& permissions_from) override {
    const std::string native = ToUtf8(path);
    struct stat original {};
    const bool replacing = ::stat(ToUtf8(permissions_from).c_str(), &original) == 0;
    // Private until it carries the permissions of the file it replaces.
    FileDescriptor fd(
        ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666));
    if (fd.get() < 0) return SystemError(errno);
    Status status;
    if (!replacing) GiveToFolderOwner(fd.get(), native);
    if (replacing) {
      // Another owner is kept only where the system lets this user do it.
      if (::fchown(fd.get(), original.st_uid, original.st_gid) != 0) {
        (void)::fchown(fd.get(), static_cast<uid_t>(-1), original.st_gid);
      }
      if (::fchmod(fd.get(), original.st_mode & 07777) != 0) status = SystemError(errno);
    }
    std::size_t written = 0;
    while (status.ok() && written < bytes.size()) {
      const ssize_t count = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) {
        status = SystemError(count < 0 ? errno : ENOSPC);
      } else {
        written += static_cast<std::size_t>(count);
      }
    }
    if (status.ok() && ::fsync(fd.get()) != 0) status = SystemError(errno);
    if (!fd.Close() && status.ok()) status = SystemError(errno);
    if (!status.ok()) ::unlink(native.c_str());
    return status;
  }

  Status ReplaceAtomically(const utils::utf16_string& source,
                           const utils::utf16_string& target) override {
    const std::string native_target = ToUtf8(target);
    if (std::rename(ToUtf8(source).c_str(), native_target.c_str()) != 0) return SystemError(errno);
    SyncFolderOf(native_target);
    return Status();
  }

  Status RenameWithoutReplacing(const utils::utf16_string& source,
                                const utils::utf16_string& target) override {
    const std::string from = ToUtf8(source);
    const std::string to = ToUtf8(target);
    // A hard link fails when the target exists; the old name goes afterwards.
    if (::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      SyncFolderOf(to);
      return Status();
    }
    if (errno == EEXIST) return SystemError(errno);
    // File systems without hard links: a check, then a plain rename.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0 || errno != ENOENT) return SystemError(EEXIST);
    if (std::rename(from.c_str(), to.c_str()) != 0) return SystemError(errno);
    SyncFolderOf(to);
    return Status();
  }

  bool RemoveFile(const utils::utf16_string& path) override {
    return ::unlink(ToUtf8(path).c_str()) == 0;
  }

  bool ListFolder(const utils::utf16_string& folder,
                  std::vector<utils::utf16_string>& names) override {
    DIR* dir = ::opendir(ToUtf8(folder).c_str());
    if (dir == nullptr) return false;
    while (const dirent* entry = ::readdir(dir)) {
      // A name that is not UTF-8 is none of the store's files.
      utils::utf16_string name = FromUtf8(entry->d_name);
      if (!name.empty()) names.push_back(std::move(name));
    }
    ::closedir(dir);
    return true;
  }

  // flock belongs to the open file, so two stores of one process exclude
  // each other too, and the lock goes with the process. A lock file stays
  // when released; one removed by someone else is noticed and opened anew.
  Status Lock(const utils::utf16_string& path, LockDeadline deadline,
              const KeepWaiting& keep_waiting, std::unique_ptr<FileLock>& lock) override {
    lock.reset();
    const std::string native = ToUtf8(path);
    const mode_t mode = LockFileMode(native);
    for (;;) {
      FileDescriptor fd(OpenLockFile(native, mode));
      if (fd.get() < 0) {
        return errno == ELOOP ? Status::Error("the lock file is a link") : SystemError(errno);
      }
      struct stat held {};
      if (::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) {
        return Status::Error("the lock file is not a regular file");
      }
      const int raw = fd.get();
      const Status taken = WaitForLock(deadline, keep_waiting, [raw]() -> LockAttempt {
        if (::flock(raw, LOCK_EX | LOCK_NB) == 0) return {LockAttempt::kTaken};
        if (errno == EWOULDBLOCK || errno == EINTR) return {LockAttempt::kBusy};
        return {LockAttempt::kFailed, SystemError(errno)};
      });
      if (!taken.ok()) return taken;
      auto flock_lock = std::make_unique<FlockLock>(raw, native, held);
      fd.Release();
      if (flock_lock->StillHeld()) {
        lock = std::move(flock_lock);
        return taken;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        return Status::Error("the lock file keeps being removed or replaced");
      }
    }
  }

  std::vector<utils::utf16_string> LinkChain(const utils::utf16_string& path) override {
    std::vector<utils::utf16_string> chain = {path};
    std::string current = ToUtf8(path);
    // A loop of links resolves to nothing better than the path itself.
    for (int hops = 0; hops < 40; ++hops) {
      char target[4096];
      const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
      if (length <= 0) return chain;
      std::string next(target, static_cast<std::size_t>(length));
      current = next[0] == '/' ? next : FolderOf(current) + '/' + next;
      utils::utf16_string resolved = FromUtf8(current);
      if (resolved.empty()) return chain;
      chain.push_back(std::move(resolved));
    }
    chain.resize(1);
    return chain;
  }

  Status OpenWatch(std::unique_ptr<FolderWatch>& watch) override { return OpenFolderWatch(watch); }
};

}  // namespace

FileEnv& DefaultFileEnv() {
  static PosixFileEnv env;
  return env;
}

}  // namespace velmar::platform
