#include "platform/local_data_root.h"

#include <shlobj.h>
#include <windows.h>

namespace velmar::platform {

std::filesystem::path LocalDataRoot() {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_LOCAL_APPDATA, FALSE)) return {};
  return std::filesystem::path(buffer);
}

}  // namespace velmar::platform
