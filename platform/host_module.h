// Finding an exported function of the host executable.
#pragma once

namespace velmar::platform {

struct HostSymbol {
  // The symbol's address in the main executable, or null.
  void* address = nullptr;
  // Whether the code calling this lives in a module of its own (a shared
  // library) rather than in the executable.
  bool own_module = false;
};

// Looks `name` up in the process's executable. `code_address` is an address
// in the caller's module, used to tell whether that module is the executable.
HostSymbol FindHostSymbol(const char* name, const void* code_address);

// Removes the current directory from the DLL search path where there is one.
void RemoveCurrentDirectoryFromLibrarySearchPath();

}  // namespace velmar::platform
