#include "FolianUtils/preference_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "environment/paths_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian::utils {
namespace {

using velmar::utils::Dictionary;
using velmar::utils::KeyValuePairs;
using velmar::utils::Variant;
using velmar::utils::VariantVector;
using velmar::utils::velmar_ustring;

// Reaches the common library's two-name operations behind the store.
class ProbeStore : public Preferences {
 public:
  using Preferences::Preferences;
  int CategoryInt(const char* category, const char* key) {
    return JsonCommon::ReadInt(velmar_ustring(category), velmar_ustring(key), -1);
  }
  bool WriteListNamed(const char* name) {
    return JsonCommon::WriteStringVector(velmar_ustring(name), {velmar_ustring("x")});
  }
  using JsonCommon::CategoryExists;
};

class PreferenceStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!m_roots.usable()) GTEST_SKIP() << "no private support folders here";
  }
  velmar_ustring Folder(const velmar_ustring& root, const char* sub) const {
    return AppendPath(root, sub);
  }

  test::ScopedSupportRoots m_roots;
};

TEST_F(PreferenceStoreTest, FilesLiveInTheVersionFolders) {
  const struct {
    int version;
    const char* folder;
  } cases[] = {
      {26, "Trelvin/Trelvin 2026/Folian"},
      {10, "Trelvin/Trelvin 2010/Folian"},
      {0, "Trelvin/Viewer"},
  };
  for (const auto& c : cases) {
    const Preferences store(c.version);
    EXPECT_EQ(store.GetPrivateFilePath(),
              AppendPath(Folder(m_roots.local(), c.folder), "folian.private.json"));
    EXPECT_EQ(store.GetPublicFilePath(),
              AppendPath(Folder(m_roots.roaming(), c.folder), "folian.public.json"));
    EXPECT_TRUE(IsDirectory(Folder(m_roots.local(), c.folder)));
    EXPECT_TRUE(IsDirectory(Folder(m_roots.roaming(), c.folder)));
  }
}

TEST_F(PreferenceStoreTest, ExtensionStoresHaveFilesOfTheirOwn) {
  const Preferences store(velmar_ustring("abc"), 26);
  EXPECT_EQ(store.GetName(), "folian.extensions.abc");
  EXPECT_EQ(store.GetPrivateFilePath(),
            AppendPath(Folder(m_roots.local(), "Trelvin/Trelvin 2026/Folian"),
                       "folian.extensions.abc.private.json"));
  EXPECT_EQ(store.GetPublicFilePath(),
            AppendPath(Folder(m_roots.roaming(), "Trelvin/Trelvin 2026/Folian"),
                       "folian.extensions.abc.public.json"));
}

TEST_F(PreferenceStoreTest, LoadHappensOnce) {
  Preferences store(26);
  store.WriteInt(velmar_ustring("k"), 1);
  store.Save();
  store.WriteInt(velmar_ustring("k"), 2);
  store.Load(25);
  EXPECT_EQ(store.ReadInt(velmar_ustring("k"), 0), 2) << "a second Load must not reload";
  EXPECT_NE(store.GetPublicFilePath().Find(velmar_ustring("Trelvin 2026")), velmar_ustring::npos);
  EXPECT_EQ(Preferences(26).ReadInt(velmar_ustring("k"), 0), 1);
}

TEST_F(PreferenceStoreTest, KeysFallIntoThreeCategories) {
  ProbeStore store(26);
  const struct {
    const char* key;
    const char* category;
  } cases[] = {
      {"namedScales", "namedScales"}, {"shortcuts", "shortcuts"},  {"NamedScales", "general"},
      {"Shortcuts", "general"},       {"namedScales2", "general"}, {"DoAutosave", "general"},
  };
  int value = 10;
  for (const auto& c : cases) {
    EXPECT_EQ(Preferences::CategoryOfKey(velmar_ustring(c.key)), c.category);
    ASSERT_TRUE(store.WriteInt(velmar_ustring(c.key), ++value));
    EXPECT_EQ(store.CategoryInt(c.category, c.key), value) << c.key;
    EXPECT_EQ(store.ReadInt(velmar_ustring(c.key), 0), value);
  }
}

TEST_F(PreferenceStoreTest, TypedSingleKeysRoundTripThroughTheFiles) {
  {
    Preferences store(26);
    store.WriteBool(velmar_ustring("b"), true);
    store.WriteDouble(velmar_ustring("d"), 0.1);
    store.WriteString(velmar_ustring("s"), velmar_ustring("\xC3\xA9t\xC3\xA9"));
    store.WriteInt(velmar_ustring("shortcuts"), 3);
    store.Save();
  }
  Preferences reloaded(26);
  EXPECT_TRUE(reloaded.ReadBool(velmar_ustring("b"), false));
  EXPECT_EQ(reloaded.ReadDouble(velmar_ustring("d"), 0.0), 0.1);
  EXPECT_EQ(reloaded.ReadString(velmar_ustring("s"), velmar_ustring()), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(reloaded.ReadInt(velmar_ustring("shortcuts"), 0), 3);
  EXPECT_EQ(reloaded.ReadInt(velmar_ustring("b"), 9), 9);
  reloaded.RemoveItem(velmar_ustring("b"));
  EXPECT_FALSE(reloaded.ContainsItem(velmar_ustring("b")));
}

TEST_F(PreferenceStoreTest, ContainsItemKnowsCategoryNames) {
  Preferences store(26);
  EXPECT_FALSE(store.ContainsItem(velmar_ustring("general")));
  store.WriteBool(velmar_ustring("x"), true);
  EXPECT_TRUE(store.ContainsItem(velmar_ustring("general")));
  EXPECT_TRUE(store.ContainsItem(velmar_ustring("x")));
  EXPECT_FALSE(store.ContainsItem(velmar_ustring("y")));
}

TEST_F(PreferenceStoreTest, SetItemStoresOnlyFourKinds) {
  Preferences store(26);
  const struct {
    Variant value;
    bool stored;
  } cases[] = {
      {Variant(true), true},
      {Variant(std::int32_t{5}), true},
      {Variant(2.5), true},
      {Variant(velmar_ustring("s")), true},
      {Variant(), false},
      {Variant(std::int8_t{1}), false},
      {Variant(std::int16_t{1}), false},
      {Variant(std::int64_t{1}), false},
      {Variant(1.5f), false},
      {Variant::Timestamp(1), false},
      {Variant(VariantVector{Variant(1)}), false},
      {Variant(Dictionary{{velmar_ustring("a"), Variant(1)}}), false},
      {Variant(KeyValuePairs{}), false},
  };
  for (const auto& c : cases) {
    const velmar_ustring key("item");
    store.RemoveItem(key);
    EXPECT_EQ(store.SetItem(key, c.value), c.stored) << "tag " << c.value.GetType();
    EXPECT_EQ(store.ContainsItem(key), c.stored);
    if (c.stored) {
      EXPECT_EQ(store.GetItem(key), c.value);
    }
  }
  // The library refuses an empty key; SetItem reports true all the same.
  EXPECT_TRUE(store.SetItem(velmar_ustring(), Variant(true)));
  EXPECT_TRUE(store.GetItem(velmar_ustring()).IsEmpty());
}

TEST_F(PreferenceStoreTest, DeleteCategoriesWithPrefix) {
  ProbeStore store(26);
  store.WriteBool(velmar_ustring("flag"), true);
  store.WriteInt(velmar_ustring("namedScales"), 1);
  ASSERT_TRUE(store.WriteListNamed("general"));
  ASSERT_TRUE(store.WriteListNamed("xfolian.extensions.a"));

  EXPECT_TRUE(store.DeleteCategoriesWithPrefix(velmar_ustring("folian.extensions.")).empty());
  EXPECT_TRUE(store.CategoryExists(velmar_ustring("xfolian.extensions.a")));

  ASSERT_TRUE(store.WriteListNamed("folian.extensions.b"));
  const std::vector<velmar_ustring> one =
      store.DeleteCategoriesWithPrefix(velmar_ustring("folian.extensions."));
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], "folian.extensions.b");

  // Value categories of the public file first, then its string lists; a
  // name in two tables is listed twice.
  const std::vector<velmar_ustring> all = store.DeleteCategoriesWithPrefix(velmar_ustring());
  const std::vector<velmar_ustring> expected{
      velmar_ustring("general"), velmar_ustring("namedScales"), velmar_ustring("general"),
      velmar_ustring("xfolian.extensions.a")};
  EXPECT_EQ(all, expected);
  EXPECT_FALSE(store.ContainsItem(velmar_ustring("general")));
  EXPECT_FALSE(store.ContainsItem(velmar_ustring("flag")));
  EXPECT_TRUE(store.DeleteCategoriesWithPrefix(velmar_ustring()).empty());
}

TEST_F(PreferenceStoreTest, CopiesAndMovesKeepPathsAndValues) {
  Preferences store(velmar_ustring("ext"), 26);
  store.WriteInt(velmar_ustring("k"), 4);
  Preferences copy(store);
  copy.WriteInt(velmar_ustring("k"), 5);
  EXPECT_EQ(store.ReadInt(velmar_ustring("k"), 0), 4);
  EXPECT_EQ(copy.GetPublicFilePath(), store.GetPublicFilePath());
  Preferences moved(std::move(copy));
  EXPECT_EQ(moved.ReadInt(velmar_ustring("k"), 0), 5);
  EXPECT_EQ(moved.GetName(), "folian.extensions.ext");
  Preferences assigned(10);
  assigned = std::move(moved);
  EXPECT_EQ(assigned.GetPublicFilePath(), store.GetPublicFilePath());
  assigned = store;
  EXPECT_EQ(assigned.ReadInt(velmar_ustring("k"), 0), 4);
}

TEST_F(PreferenceStoreTest, WholeValuesPassThroughByName) {
  Preferences store(26);
  const velmar::prefs::StringVector recent{velmar_ustring("a"), velmar_ustring("b")};
  const Dictionary scales{{velmar_ustring("1:100"), Variant(100.0)}};
  ASSERT_TRUE(store.WriteStringVector(velmar_ustring("namedScales"), recent));
  ASSERT_TRUE(store.WriteDictionary(velmar_ustring("shortcuts"), scales));
  store.Save();
  Preferences reloaded(26);
  velmar::prefs::StringVector list;
  Dictionary dictionary;
  ASSERT_TRUE(reloaded.ReadStringVector(velmar_ustring("namedScales"), list));
  ASSERT_TRUE(reloaded.ReadDictionary(velmar_ustring("shortcuts"), dictionary));
  EXPECT_EQ(list, recent);
  EXPECT_EQ(dictionary, scales);
  EXPECT_FALSE(reloaded.ContainsItem(velmar_ustring("absent")));
}

}  // namespace
}  // namespace folian::utils
