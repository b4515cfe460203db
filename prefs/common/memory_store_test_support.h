// Test support for the common preference library: a store over the
// in-memory file system, its two files at /m/p.private.json and
// /m/p.public.json unless another folder is given.
#pragma once

#include "TrelvinCommonPreferences/json_common.h"
#include "prefs/common/memory_file_env.h"

// The tests of the library live in this namespace.
namespace velmar::prefs::test {

using utils::Dictionary;
using utils::KeyValuePairs;
using utils::utf16_unit;
using utils::Variant;
using utils::VariantVector;
using utils::velmar_ustring;
using string_type = utils::velmar_ustring::string_type;

inline string_type U(const char16_t* text) {
  string_type out;
  for (; *text != 0; ++text) out += static_cast<utf16_unit>(*text);
  return out;
}

inline const string_type kPrivate = U(u"/m/p.private.json");
inline const string_type kPublic = U(u"/m/p.public.json");
inline const velmar_ustring kGeneral("general");

class MemoryStore : public JsonCommon {
 public:
  explicit MemoryStore(MemoryFileEnv& env, const string_type& folder = U(u"/m")) {
    SetFileEnv(env);
    m_privateFilePath = velmar_ustring(folder + U(u"/p.private.json"));
    m_publicFilePath = velmar_ustring(folder + U(u"/p.public.json"));
    loaded = LoadPreferences();
  }
  std::string Error() const { return LastSaveError().ToUTF8(); }
  using JsonCommon::SetMaxFileSize;
  bool loaded = false;
};

}  // namespace velmar::prefs::test
