#include "FolianUtils/preference_store.h"

#include <gtest/gtest.h>

#include "environment/paths_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian::utils {
namespace {

using velmar::utils::Dictionary;
using velmar::utils::Variant;
using velmar::utils::velmar_ustring;

// Reaches the common library's two-name operations behind the store.
class ProbeStore : public Preferences {
 public:
  using JsonCommon::CategoryExists;
  using JsonCommon::ReadVariant;
  using Preferences::Preferences;
};

class PreferenceStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!m_roots.usable()) GTEST_SKIP() << "no private support folders here";
  }
  test::ScopedSupportRoots m_roots;
};

// Private files in the local folder, public ones in the roaming one, of
// the version asked for; an extension's files are named after it. A store
// loads once; copies and moves keep its paths and values.
TEST_F(PreferenceStoreTest, FilesLoadsCopiesAndMoves) {
  Preferences store(velmar_ustring("abc"), 24);
  const velmar_ustring folder("Trelvin/Trelvin 2024/Folian/folian.extensions.abc");
  EXPECT_EQ(store.GetPrivateFilePath(), AppendPath(m_roots.local(), folder + ".private.json"));
  EXPECT_EQ(store.GetPublicFilePath(), AppendPath(m_roots.roaming(), folder + ".public.json"));
  store.WriteInt(velmar_ustring("k"), 1);
  store.Save();
  store.WriteInt(velmar_ustring("k"), 2);
  store.Load(25);
  EXPECT_EQ(store.ReadInt(velmar_ustring("k"), 0), 2) << "a second Load must not reload";
  Preferences copy(store);
  copy.WriteInt(velmar_ustring("k"), 3);
  EXPECT_EQ(store.ReadInt(velmar_ustring("k"), 0), 2);
  Preferences assigned(10);
  assigned = Preferences(std::move(copy));
  EXPECT_EQ(assigned.ReadInt(velmar_ustring("k"), 0), 3);
  EXPECT_EQ(assigned.GetName(), "folian.extensions.abc");
  // The application's files named without a store: nothing is created.
  const auto paths = Preferences::FilePathsOf(23);
  EXPECT_FALSE(IsDirectory(GetParentFolder(paths.first)));
  EXPECT_FALSE(IsDirectory(GetParentFolder(paths.second)));
  const Preferences named(23);
  EXPECT_EQ(paths, std::make_pair(named.GetPrivateFilePath(), named.GetPublicFilePath()));
}

// Items of the four kinds a store holds, under keys with a category of
// their own or in "general", read back by name, by category and by a fresh
// store; lists and dictionaries pass through by name; other kinds are
// refused.
TEST_F(PreferenceStoreTest, ItemsFallIntoTheirCategories) {
  const struct {
    const char* key;
    const char* category;
    Variant value;
  } cases[] = {
      {"namedScales", "namedScales", Variant(-7)},
      {"shortcuts", "shortcuts", Variant(true)},
      {"Shortcuts", "general", Variant(-2.5e300)},
      {"namedScales2", "general", Variant(velmar_ustring("\xC3\xA9t\xC3\xA9"))},
  };
  {
    ProbeStore store(26);
    for (const auto& c : cases) {
      const velmar_ustring key(c.key);
      ASSERT_TRUE(store.SetItem(key, c.value));
      EXPECT_EQ(store.ReadVariant(velmar_ustring(c.category), key), c.value) << c.key;
      EXPECT_FALSE(store.SetItem(key, Variant(std::int64_t{1})));
    }
    store.RemoveItem(velmar_ustring("shortcuts"));
    store.Save();
  }
  ProbeStore store(26);
  for (const auto& c : cases) {
    const velmar_ustring key(c.key);
    const bool removed = key == "shortcuts";
    EXPECT_EQ(store.GetItem(key), removed ? Variant() : c.value) << c.key;
    EXPECT_EQ(store.ContainsItem(key), !removed || store.CategoryExists(key)) << c.key;
  }
  velmar::prefs::StringVector list;
  Dictionary dictionary{{velmar_ustring("k"), Variant(1)}};
  ASSERT_TRUE(store.WriteStringVector(velmar_ustring("shortcuts"), {velmar_ustring("a")}));
  ASSERT_TRUE(store.WriteDictionary(velmar_ustring("shortcuts"), dictionary));
  EXPECT_TRUE(store.ReadStringVector(velmar_ustring("shortcuts"), list));
  EXPECT_TRUE(store.ReadDictionary(velmar_ustring("shortcuts"), dictionary));

  // Categories go by prefix, in table order (values, lists, dictionaries),
  // a name once per table it is in.
  for (const char* name : {"general", "xfolian.extensions.a", "folian.extensions.b"}) {
    ASSERT_TRUE(store.WriteStringVector(velmar_ustring(name), {velmar_ustring("x")}));
  }
  EXPECT_EQ(store.DeleteCategoriesWithPrefix(velmar_ustring("folian.extensions.")),
            std::vector<velmar_ustring>{velmar_ustring("folian.extensions.b")});
  const std::vector<velmar_ustring> all{
      velmar_ustring("general"),   velmar_ustring("namedScales"),
      velmar_ustring("shortcuts"), velmar_ustring("general"),
      velmar_ustring("shortcuts"), velmar_ustring("xfolian.extensions.a"),
      velmar_ustring("shortcuts")};
  EXPECT_EQ(store.DeleteCategoriesWithPrefix(velmar_ustring()), all);
}

}  // namespace
}  // namespace folian::utils
