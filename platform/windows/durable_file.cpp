#include "platform/durable_file.h"

#include <windows.h>

namespace velmar::platform {
namespace {

// Win32 wants backslashes only in "\\?\" paths; forward slashes are fine.
const wchar_t* Wide(const utils::velmar_ustring& path) { return path.c_str(); }

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

}  // namespace

FileReadResult ReadFileBytes(const utils::velmar_ustring& path, std::size_t max_size,
                             std::string& bytes) {
  bytes.clear();
  Handle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
               ? FileReadResult::kMissing
               : FileReadResult::kFailed;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return FileReadResult::kFailed;
  if (static_cast<unsigned long long>(size.QuadPart) > max_size) return FileReadResult::kTooLarge;
  char buffer[65536];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
      bytes.clear();
      return FileReadResult::kFailed;
    }
    if (count == 0) break;
    bytes.append(buffer, count);
    if (bytes.size() > max_size) {
      bytes.clear();
      return FileReadResult::kTooLarge;
    }
  }
  return FileReadResult::kRead;
}

bool WriteNewFileDurably(const utils::velmar_ustring& path, const std::string& bytes) {
  Handle file(CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file.valid()) return false;
  std::size_t written = 0;
  bool ok = true;
  while (ok && written < bytes.size()) {
    const std::size_t left = bytes.size() - written;
    const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    DWORD count = 0;
    ok = WriteFile(file.get(), bytes.data() + written, chunk, &count, nullptr) && count > 0;
    written += count;
  }
  ok = ok && FlushFileBuffers(file.get());
  ok = file.Close() && ok;
  if (!ok) DeleteFileW(Wide(path));
  return ok;
}

bool ReplaceFileAtomically(const utils::velmar_ustring& source,
                           const utils::velmar_ustring& target) {
  return MoveFileExW(Wide(source), Wide(target),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RenameWithoutReplacing(const utils::velmar_ustring& source,
                            const utils::velmar_ustring& target) {
  return MoveFileExW(Wide(source), Wide(target), MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const utils::velmar_ustring& path) { return DeleteFileW(Wide(path)) != 0; }

bool ListFolderEntries(const utils::velmar_ustring& folder,
                       std::vector<utils::velmar_ustring::string_type>& names) {
  utils::velmar_ustring::string_type pattern = folder.str();
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

std::uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace velmar::platform
