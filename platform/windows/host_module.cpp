#include "platform/host_module.h"

#include <windows.h>

namespace velmar::platform {

HostSymbol FindHostSymbol(const char* name, const void* code_address) {
  HostSymbol result;
  HMODULE const executable = GetModuleHandleW(nullptr);
  HMODULE own = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<LPCWSTR>(code_address), &own);
  result.own_module = own != executable;
  if (executable != nullptr) {
    result.address = reinterpret_cast<void*>(GetProcAddress(executable, name));
  }
  return result;
}

void RemoveCurrentDirectoryFromLibrarySearchPath() { SetDllDirectoryW(L""); }

}  // namespace velmar::platform
