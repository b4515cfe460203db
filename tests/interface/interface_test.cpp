// An outside program built against the installed package, as a host is: it
// names every exported function, class member, constant and static data
// member of the public headers, so a missing export fails the link, and
// takes the address of each constant and static member, so each is an
// object the program can bind to. The names come from the installed headers
// (exported_names.cmake).
#include <FolianUtils/FolianUtils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

// Every exported free function at its declared type, every out-of-line
// member of an exported class called at its declared parameter types.
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

}  // namespace

int main() {
  for (const auto& function : kExportedFunctions)
    Check(function.address() != nullptr, function.name);
  CheckConstantsAndStaticMembers();
  if (g_failures != 0) {
    std::fprintf(stderr, "%d interface checks failed\n", g_failures);
    return 1;
  }
  std::printf("interface: every exported name links and every checked value holds\n");
  return 0;
}
