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

Module Open(const char* path) {
  std::wstring wide;
  for (const char* p = path; *p != 0; ++p)
    wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return LoadLibraryW(wide.c_str());
}
void* Symbol(Module module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}
bool Close(Module module) { return FreeLibrary(module) != 0; }
bool LibraryIsLoaded(const char* name) {
  std::wstring wide;
  for (const char* p = name; *p != 0; ++p) wide += static_cast<wchar_t>(*p);
  wide += L".dll";
  return GetModuleHandleW(wide.c_str()) != nullptr;
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

// Loads the probe, reports whether the library started fresh, and leaves
// its state changed.
bool LoadUseAndUnload(const char* probe_path, int round) {
  const Module module = Open(probe_path);
  if (module == nullptr) {
    std::fprintf(stderr, "FAILED: cannot load %s\n", probe_path);
    ++g_failures;
    return false;
  }
  const auto use = reinterpret_cast<UseFunction>(Symbol(module, "FolianProbeUse"));
  const auto is_fresh = reinterpret_cast<IsFreshFunction>(Symbol(module, "FolianProbeIsFresh"));
  Check(use != nullptr && is_fresh != nullptr, "the probe exports its functions");
  if (use == nullptr || is_fresh == nullptr) return false;
  Check(LibraryIsLoaded("FolianUtils"), "loading the probe loads the library");
  Check(is_fresh() == 1,
        round == 1 ? "the library starts fresh" : "the library starts fresh after unloading");
  use();
  Check(is_fresh() == 0, "the probe changes the library's state");
  Check(Close(module), "the probe unloads");
  for (const char* library : kLibraries) {
    if (LibraryIsLoaded(library)) {
      std::fprintf(stderr, "FAILED: %s is still loaded after round %d\n", library, round);
      ++g_failures;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <probe module>\n", argv[0]);
    return 2;
  }
  for (const char* library : kLibraries)
    Check(!LibraryIsLoaded(library), "nothing loaded at start");
  if (LoadUseAndUnload(argv[1], 1)) LoadUseAndUnload(argv[1], 2);
  if (g_failures != 0) return 1;
  std::printf("reload: the library unloads and loads again fresh\n");
  return 0;
}
