// Loads arbitrary bytes as a preference file, then saves and loads again:
// nothing may crash, and what a save writes must load back unchanged.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "TrelvinCommonPreferences/json_common.h"
#include "environment/support_folders_test_roots.h"

namespace {

class FileStore : public velmar::prefs::JsonCommon {
 public:
  explicit FileStore(const std::filesystem::path& folder) {
    m_privateFilePath = folian::test::FromFsPath(folder / "f.private.json");
    m_publicFilePath = folian::test::FromFsPath(folder / "f.public.json");
  }
  const std::array<CategoryTable, kCategoryTableCount>& Tables() const { return m_categoryTables; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const folian::test::TemporaryFolder folder;
  if (!folder.ok()) return 0;
  std::error_code error;
  for (const char* name : {"f.public.json", "f.public.json.bad", "f.private.json"}) {
    std::filesystem::remove(folder.path() / name, error);
  }
  {
    std::ofstream out(folder.path() / "f.public.json", std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  FileStore store(folder.path());
  const bool parsed = store.LoadPreferences();
  if (!parsed && !store.IsLevelEmpty(velmar::prefs::kShareLevelPublic)) __builtin_trap();
  const velmar::utils::velmar_ustring general(u"general");
  (void)store.ReadInt(general, general, 0);
  (void)store.ReadVariant(general, general);
  velmar::prefs::StringVector list;
  (void)store.ReadStringVector(general, list);
  if (!store.SavePreferences()) __builtin_trap();

  FileStore again(folder.path());
  if (!again.LoadPreferences()) __builtin_trap();
  // Lone surrogates are the one thing a save changes (to U+FFFD).
  if (parsed && again.Tables() != store.Tables()) {
    std::ifstream in(folder.path() / "f.public.json", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.find("\xEF\xBF\xBD") == std::string::npos) __builtin_trap();
  }
  return 0;
}
