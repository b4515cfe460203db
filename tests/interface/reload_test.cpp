// Loads a module that uses the library, changes the library's state, unloads
// it and checks that the library left the process; loaded again, the library
// must start afresh.
#include <cstdio>
#include <fstream>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

int g_failures = 0;

bool Check(bool ok, const std::string& what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    ++g_failures;
  }
  return ok;
}

#if defined(_WIN32)
using Module = HMODULE;

Module Open(const char* path) { return LoadLibraryA(path); }
void* Symbol(Module module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}
bool Close(Module module) { return FreeLibrary(module) != 0; }
bool LibraryIsLoaded(const char* name) {
  return GetModuleHandleA((std::string(name) + ".dll").c_str()) != nullptr;
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
    Check(!LibraryIsLoaded(library), std::string(library) + " is not loaded " + when);
  }
}

// Loads the probe, checks that the library started fresh, changes its state
// and unloads the probe.
bool LoadUseAndUnload(const char* probe_path) {
  const Module module = Open(probe_path);
  if (!Check(module != nullptr, "the probe loads")) return false;
  const auto use = reinterpret_cast<void (*)()>(Symbol(module, "FolianProbeUse"));
  const auto is_fresh = reinterpret_cast<int (*)()>(Symbol(module, "FolianProbeIsFresh"));
  if (!Check(use != nullptr && is_fresh != nullptr, "the probe exports its functions")) {
    return false;
  }
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
