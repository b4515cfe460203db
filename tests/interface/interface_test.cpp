// A host built against the installed package names every exported function,
// member, constant and static data member of its headers (exported_names.cmake),
// so a missing export fails the link, and binds to each constant; the loaded
// libraries must not export internal names.
#include <FolianUtils/FolianUtils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#if defined(_WIN32)
#define NOMINMAX 1  // as MinGW-w64 libstdc++ defines it
#include <windows.h>
#else
#include <dlfcn.h>
#endif

using FolianFunction = void (*)();
struct FolianExport {
  FolianFunction (*address)();
  const char* name;
};
#include "exported_functions.inc"

namespace {

using velmar::utils::velmar_ustring;

int g_failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what);
    ++g_failures;
  }
}

// Through a function: an address compared in place is "never null" to the compiler.
void CheckAddress(const void* address, const char* name) { Check(address != nullptr, name); }

// What a constant holds besides its address: a preference key is built at
// load and never empty; a notification's name is its own qualified name.
void CheckValue(const velmar_ustring& key, const char* name) { Check(!key.empty(), name); }
void CheckValue(const char* notification, const char* name) {
  Check(std::strcmp(notification, name) == 0, name);
}
template <typename T>
void CheckValue(const T&, const char*) {}

// Every constant and static data member of the installed headers, protected
// ones reached the way a derived host class can.
void CheckConstantsAndStaticMembers() {
#define FOLIAN_DATA(name)     \
  CheckAddress(&name, #name); \
  CheckValue(name, #name);
#define FOLIAN_PROTECTED_DATA(type, name)            \
  {                                                  \
    struct Reach : type {                            \
      static const void* Address() { return &name; } \
    };                                               \
    CheckAddress(Reach::Address(), #name);           \
  }
#include "exported_data.inc"
#undef FOLIAN_DATA
#undef FOLIAN_PROTECTED_DATA
  // npos bound to a reference, as std::min does.
  Check(std::min(velmar_ustring("abc").Find(velmar_ustring("z"), 0), velmar_ustring::npos) ==
            velmar_ustring::npos,
        "std::min with npos");
}

// Whether a library of the package exports `name` (mangled).
bool Exported(const char* name) {
#if defined(_WIN32)
  for (const wchar_t* library : {L"FolianUtils.dll", L"TrelvinCommonPreferences.dll"}) {
    const HMODULE module = GetModuleHandleW(library);
    if (module != nullptr && GetProcAddress(module, name) != nullptr) return true;
  }
  return false;
#else
  return dlsym(RTLD_DEFAULT, name) != nullptr;
#endif
}

// Names as g++ and MinGW-w64 mangle them: one exported by each library, which
// the lookup must find, then internal ones, which it must not.
void CheckInternalNamesHidden() {
  for (const char* name :
       {"_ZN6velmar5utils24RegisterHostStringLookupEPFbRKNS0_14velmar_ustringERS1_E",
        "_ZN6velmar5prefs10JsonCommon11SynchronizeEv"})
    Check(Exported(name), name);
  for (const char* name :
       {"_ZN6velmar5utils18GetLocalizedStringEPKc", "_ZN6velmar5utils18GetLocalizedStringEPKcS2_",
        "_ZN6velmar5utils21LookUpLocalizedStringEPKcRNS0_14velmar_ustringE",
        "_ZN6velmar5prefs11CompactJsonERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE",
        "_ZN6velmar4base14kCurrentFolderIcEE", "_ZN6velmar4base14kCurrentFolderIDsEE",
        "_ZN6velmar4base13CurrentFolderIcE5kNameE"})
    Check(!Exported(name), name);
}

}  // namespace

int main() {
  for (const auto& function : kExportedFunctions)
    Check(function.address() != nullptr, function.name);
  CheckConstantsAndStaticMembers();
  CheckInternalNamesHidden();
  if (g_failures != 0) return 1;
  std::puts("interface: every exported name links and holds, no internal name is exported");
}
