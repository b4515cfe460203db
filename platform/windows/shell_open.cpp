#include "platform/shell_open.h"

#include <shellapi.h>
#include <windows.h>

namespace velmar::platform {

bool OpenWithShell(const utils::velmar_ustring& target) {
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace velmar::platform
