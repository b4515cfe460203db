// Loads a module that uses the library, changes the library's state, unloads
// it and checks that the library left the process; loaded again, the library
// must start afresh.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using UseFunction = void (*)();
using IsFreshFunction = int (*)();

int g_failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what);
    ++g_failures;
  }
}

#if defined(_WIN32)
using Module = HMODULE;

std::wstring Wide(const std::string& text) {
  std::wstring wide;
  for (const char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
}
Module Open(const char* path) { return LoadLibraryW(Wide(path).c_str()); }
void* Symbol(Module module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}
bool Close(Module module) { return FreeLibrary(module) != 0; }
bool LibraryIsLoaded(const char* name) {
  return GetModuleHandleW(Wide(std::string(name) + ".dll").c_str()) != nullptr;
}
#else
using Module = void*;

Module Open(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
void* Symbol(Module module, const char* name) { return dlsym(module, name); }
bool Close(Module module) { return dlclose(module) == 0; }
bool LibraryIsLoaded(const char* name) {
  std::ifstream maps("/proc/self/maps");
  const std::string file = std::string("/lib") + name + ".so";
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find(file) != std::string::npos) return true;
  }
  return false;
}
#endif

const char* const kLibraries[] = {"FolianUtils", "TrelvinCommonPreferences", "TrelvinViewerAPI"};

void CheckNoneLoaded(const char* when) {
  for (const char* library : kLibraries) {
    if (LibraryIsLoaded(library)) {
      std::fprintf(stderr, "FAILED: %s is loaded %s\n", library, when);
      ++g_failures;
    }
  }
}

// Loads the probe, checks that the library started fresh, changes its state
// and unloads the probe.
bool LoadUseAndUnload(const char* probe_path) {
  const Module module = Open(probe_path);
  Check(module != nullptr, "the probe loads");
  if (module == nullptr) return false;
  const auto use = reinterpret_cast<UseFunction>(Symbol(module, "FolianProbeUse"));
  const auto is_fresh = reinterpret_cast<IsFreshFunction>(Symbol(module, "FolianProbeIsFresh"));
  Check(use != nullptr && is_fresh != nullptr, "the probe exports its functions");
  if (use == nullptr || is_fresh == nullptr) return false;
  Check(LibraryIsLoaded("FolianUtils"), "loading the probe loads the library");
  Check(is_fresh() == 1, "the library starts fresh");
  use();
  Check(is_fresh() == 0, "the probe changes the library's state");
  Check(Close(module), "the probe unloads");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <probe module>\n", argv[0]);
    return 2;
  }
  CheckNoneLoaded("at start");
  for (const char* round : {"after the first round", "after the second round"}) {
    if (LoadUseAndUnload(argv[1])) CheckNoneLoaded(round);
  }
  if (g_failures != 0) return 1;
  std::printf("reload: the library unloads and loads again fresh\n");
  return 0;
}
