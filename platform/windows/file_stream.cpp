#include "platform/file_stream.h"

#include <stdio.h>
#include <windows.h>

namespace velmar::platform {

std::FILE* OpenFileStream(const utils::utf16_string& path, const utils::utf16_string& mode) {
  if (path.empty() || mode.empty()) return nullptr;
  std::FILE* stream = nullptr;
  if (_wfopen_s(&stream, path.c_str(), mode.c_str()) != 0) return nullptr;
  return stream;
}

bool SeekForward(std::FILE* stream, std::uint64_t distance) {
  if (distance > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return _fseeki64(stream, static_cast<__int64>(distance), SEEK_CUR) == 0;
}

}  // namespace velmar::platform
