// Loads arbitrary bytes as a preference file, then saves and loads again,
// all in memory: nothing may crash, and what a save writes must load back
// unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "TrelvinCommonPreferences/json_common.h"
#include "base/utf16.h"
#include "prefs/common/memory_file_env.h"

namespace {

using string_type = velmar::utils::velmar_ustring::string_type;

string_type Path(const char* ascii) { return velmar::base::FromAscii(ascii); }

class MemoryStore : public velmar::prefs::JsonCommon {
 public:
  explicit MemoryStore(velmar::prefs::MemoryFileEnv& env) {
    SetFileEnv(env);
    m_privateFilePath = velmar::utils::velmar_ustring(Path("/f/f.private.json"));
    m_publicFilePath = velmar::utils::velmar_ustring(Path("/f/f.public.json"));
  }
  const std::array<CategoryTable, kCategoryTableCount>& Tables() const { return m_categoryTables; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmar::prefs::MemoryFileEnv env;
  env.entries[Path("/f/f.public.json")].bytes.assign(reinterpret_cast<const char*>(data), size);
  MemoryStore store(env);
  const bool parsed = store.LoadPreferences();
  if (!parsed && !store.IsLevelEmpty(velmar::prefs::kShareLevelPublic)) __builtin_trap();
  const velmar::utils::velmar_ustring general(u"general");
  (void)store.ReadInt(general, general, 0);
  (void)store.ReadVariant(general, general);
  velmar::prefs::StringVector list;
  (void)store.ReadStringVector(general, list);
  // A change, so the save writes the file again rather than leave it be.
  store.WriteInt(general, general, 1);
  if (!store.SavePreferences()) __builtin_trap();

  MemoryStore again(env);
  if (!again.LoadPreferences()) __builtin_trap();
  if (parsed && again.Tables() != store.Tables()) __builtin_trap();
  return 0;
}
