#include "platform/file_stream.h"

#include <stdio.h>
#include <windows.h>

namespace velmar::platform {

std::FILE* OpenFileStream(const utils::velmar_ustring& path, const utils::velmar_ustring& mode) {
  if (path.empty() || mode.empty()) return nullptr;
  std::FILE* stream = nullptr;
  if (_wfopen_s(&stream, path.c_str(), mode.c_str()) != 0) return nullptr;
  return stream;
}

bool SeekForward(std::FILE* stream, std::uint64_t distance) {
  if (distance > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return _fseeki64(stream, static_cast<__int64>(distance), SEEK_CUR) == 0;
}

bool ReadWholeFile(const utils::velmar_ustring& path, std::size_t max_size, std::string& bytes) {
  bytes.clear();
  if (path.empty()) return false;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  bool ok =
      !(size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) && high == 0 && size <= max_size;
  if (ok && size > 0) {
    bytes.resize(size);
    DWORD read = 0;
    ok = ReadFile(file, &bytes[0], size, &read, nullptr) != 0 && read == size;
  }
  CloseHandle(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace velmar::platform
