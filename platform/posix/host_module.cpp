#include "platform/host_module.h"

#include <dlfcn.h>
#include <link.h>

namespace velmar::platform {

HostSymbol FindHostSymbol(const char* name, const void* code_address) {
  HostSymbol result;
  void* const executable = dlopen(nullptr, RTLD_NOW);
  if (executable == nullptr) return result;
  result.address = dlsym(executable, name);

  // The caller is a module of its own when the link map entry holding its
  // code is not the executable's.
  link_map* main_map = nullptr;
  link_map* own_map = nullptr;
  Dl_info info{};
  if (dlinfo(executable, RTLD_DI_LINKMAP, &main_map) == 0 &&
      dladdr1(code_address, &info, reinterpret_cast<void**>(&own_map), RTLD_DL_LINKMAP) != 0) {
    result.own_module = own_map != nullptr && own_map != main_map;
  }
  dlclose(executable);
  return result;
}

void RemoveCurrentDirectoryFromLibrarySearchPath() {}

}  // namespace velmar::platform
