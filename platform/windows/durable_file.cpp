#include "platform/durable_file.h"

#include <windows.h>

#include <utility>

#include "platform/lock_wait.h"
#include "platform/windows/system_error.h"

namespace velmar::platform {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : m_handle(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) CloseHandle(m_handle);
  }
  HANDLE get() const { return m_handle; }
  bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE m_handle;
};

// Opened without delete sharing, the lock file cannot be removed or
// replaced while it is held.
class RangeLock : public FileLock {
 public:
  explicit RangeLock(HANDLE handle) : m_handle(handle) {}
  bool StillHeld() const override { return true; }

 private:
  Handle m_handle;  // closing it releases the lock
};

// Paths may use forward slashes: Win32 wants backslashes only in "\\?\" paths.
class WindowsFileEnv : public FileEnv {
 public:
  ReadOutcome ReadFile(const utils::utf16_string& path, std::size_t max_size,
                       std::string& bytes) override {
    bytes.clear();
    Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      const DWORD code = GetLastError();
      const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
      return {missing ? FileReadResult::kMissing : FileReadResult::kFailed, SystemError(code)};
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
      return {FileReadResult::kFailed, Status::Error("not a regular file")};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
      return {FileReadResult::kFailed, SystemError(GetLastError())};
    }
    if (static_cast<unsigned long long>(size.QuadPart) > max_size) {
      return {FileReadResult::kTooLarge};
    }
    char buffer[65536];
    for (;;) {
      DWORD count = 0;
      if (!::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
        const DWORD code = GetLastError();
        bytes.clear();
        return {FileReadResult::kFailed, SystemError(code)};
      }
      if (count == 0) break;
      bytes.append(buffer, count);
      if (bytes.size() > max_size) {
        bytes.clear();
        return {FileReadResult::kTooLarge};
      }
    }
    return {FileReadResult::kRead};
  }

  // ReplaceFileW carries the attributes and security of the old file over,
  // so `permissions_from` needs nothing here.
  Status WriteNewFile(const utils::utf16_string& path, const std::string& bytes,
                      const utils::utf16_string& /*permissions_from*/) override {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return SystemError(GetLastError());
    std::size_t written = 0;
    Status status;
    while (status.ok() && written < bytes.size()) {
      const std::size_t left = bytes.size() - written;
      const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
      DWORD count = 0;
      if (!WriteFile(file.get(), bytes.data() + written, chunk, &count, nullptr) || count == 0) {
        status = SystemError(GetLastError());
      }
      written += count;
    }
    if (status.ok() && !FlushFileBuffers(file.get())) status = SystemError(GetLastError());
    if (!file.Close() && status.ok()) status = SystemError(GetLastError());
    if (!status.ok()) DeleteFileW(path.c_str());
    return status;
  }

  Status ReplaceAtomically(const utils::utf16_string& source,
                           const utils::utf16_string& target) override {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                       nullptr, nullptr)) {
        // Where the file system's replace does not carry them over.
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if ((attributes & kKept) != 0) SetFileAttributesW(target.c_str(), attributes & kKept);
        return Status();
      }
      const DWORD code = GetLastError();
      // Gone in the meantime: a new file after all.
      if (code != ERROR_FILE_NOT_FOUND) return SystemError(code);
    }
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
      return SystemError(GetLastError());
    }
    return Status();
  }

  Status RenameWithoutReplacing(const utils::utf16_string& source,
                                const utils::utf16_string& target) override {
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return Status();
    return SystemError(GetLastError());
  }

  bool RemoveFile(const utils::utf16_string& path) override {
    return DeleteFileW(path.c_str()) != 0;
  }

  bool ListFolder(const utils::utf16_string& folder,
                  std::vector<utils::utf16_string>& names) override {
    utils::utf16_string pattern = folder;
    pattern += L"/*";
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
      names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
  }

  Status Lock(const utils::utf16_string& path, LockDeadline deadline,
              const KeepWaiting& keep_waiting, std::unique_ptr<FileLock>& lock) override {
    lock.reset();
    std::unique_ptr<RangeLock> range_lock;
    HANDLE handle = INVALID_HANDLE_VALUE;
    Status taken = WaitForLock(deadline, keep_waiting, [&]() -> LockAttempt {
      if (!range_lock) {
        // The link itself is opened, never what it leads to.
        handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
          const DWORD code = GetLastError();
          // Another process is removing the lock file at this moment.
          if (code == ERROR_SHARING_VIOLATION) return {LockAttempt::kBusy};
          return {LockAttempt::kFailed, SystemError(code)};
        }
        range_lock = std::make_unique<RangeLock>(handle);
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
                0) {
          return {LockAttempt::kFailed, Status::Error("the lock file is not a regular file")};
        }
      }
      OVERLAPPED whole{};
      if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                     MAXDWORD, &whole)) {
        return {LockAttempt::kTaken};
      }
      const DWORD code = GetLastError();
      if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING) return {LockAttempt::kBusy};
      return {LockAttempt::kFailed, SystemError(code)};
    });
    if (taken.ok()) lock = std::move(range_lock);
    return taken;
  }

  Status OpenWatch(std::unique_ptr<FolderWatch>& watch) override { return OpenFolderWatch(watch); }

  // Only a reparse point is resolved, to the final path the system opens;
  // the links between are not told apart.
  std::vector<utils::utf16_string> LinkChain(const utils::utf16_string& path) override {
    std::vector<utils::utf16_string> chain = {path};
    utils::utf16_string resolved = FinalPath(path);
    if (resolved != path) chain.push_back(std::move(resolved));
    return chain;
  }

  static utils::utf16_string FinalPath(const utils::utf16_string& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      return path;
    }
    Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return path;
    wchar_t buffer[32768];
    const DWORD length = GetFinalPathNameByHandleW(file.get(), buffer, 32768, VOLUME_NAME_DOS);
    if (length == 0 || length >= 32768) return path;
    utils::utf16_string final_path(buffer, length);
    // "\\?\C:\x" and "\\?\UNC\server\x" back to ordinary paths.
    if (final_path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
      final_path = L"\\\\" + final_path.substr(8);
    } else if (final_path.compare(0, 4, L"\\\\?\\") == 0) {
      final_path = final_path.substr(4);
    }
    for (wchar_t& c : final_path) {
      if (c == L'\\') c = L'/';
    }
    return final_path;
  }
};

}  // namespace

FileEnv& DefaultFileEnv() {
  static WindowsFileEnv env;
  return env;
}

}  // namespace velmar::platform
