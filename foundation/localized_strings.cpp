#include "foundation/localized_strings.h"

#include "FolianUtils/host_strings.h"
#include "platform/host_module.h"

namespace velmar::utils {
namespace {

struct HostLookup {
  bool resolved = false;
  HostStringLookup function = nullptr;
};

HostLookup& State() {
  static HostLookup state;
  return state;
}

HostStringLookup ResolveHostLookup() {
  HostLookup& state = State();
  if (!state.resolved) {
    const platform::HostSymbol symbol = platform::FindHostSymbol(
        "TRMainStringTableLookUp", reinterpret_cast<const void*>(&LookUpLocalizedString));
    // Linked into the executable itself, the library never calls the host.
    if (symbol.own_module) state.function = reinterpret_cast<HostStringLookup>(symbol.address);
    state.resolved = true;
  }
  return state.function;
}

}  // namespace

void RegisterHostStringLookup(HostStringLookup lookup) {
  HostLookup& state = State();
  state.function = lookup;
  state.resolved = true;
}

bool LookUpLocalizedString(const char* key, velmar_ustring& text) {
  velmar_ustring key_text(key);
  if (key_text.empty() && key != nullptr) key_text.AssignFromMultiByte(key);
  text = key_text;
  const HostStringLookup lookup = ResolveHostLookup();
  return lookup != nullptr && lookup(key_text, text);
}

velmar_ustring GetLocalizedString(const char* key) {
  velmar_ustring text;
  LookUpLocalizedString(key, text);
  return text;
}

velmar_ustring GetLocalizedString(const char* key, const char* fallback) {
  velmar_ustring text;
  if (LookUpLocalizedString(key, text)) return text;
  return velmar_ustring(fallback);
}

}  // namespace velmar::utils
