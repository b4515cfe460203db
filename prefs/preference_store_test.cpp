#include "FolianUtils/preference_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

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

// Random writes and removals of every kind, among them the names with a
// category of their own, read back at once and by a fresh store of the
// saved files; the category names and whole lists pass through by name.
TEST_F(PreferenceStoreTest, WhatIsWrittenAndSavedIsLoadedBack) {
  const char* const names[] = {"b", "d", "s", "namedScales", "shortcuts", "Shortcuts", "k"};
  const Variant values[] = {Variant(true),
                            Variant(false),
                            Variant(std::int32_t{-7}),
                            Variant(0.1),
                            Variant(-2.5e300),
                            Variant(velmar_ustring("\xC3\xA9t\xC3\xA9")),
                            Variant(velmar_ustring())};
  std::mt19937 random(26);
  std::map<velmar_ustring, Variant> model;
  for (int round = 0; round < 8; ++round) {
    Preferences store(26);
    for (const char* name : names) {
      const auto found = model.find(velmar_ustring(name));
      EXPECT_EQ(store.GetItem(velmar_ustring(name)),
                found == model.end() ? Variant() : found->second)
          << name << " in round " << round;
      // A category, once made, is there even when its keys are gone.
      if (found != model.end() || Preferences::CategoryOfKey(velmar_ustring(name)) != name) {
        EXPECT_EQ(store.ContainsItem(velmar_ustring(name)), found != model.end()) << name;
      }
    }
    const bool general = std::any_of(model.begin(), model.end(), [](const auto& entry) {
      return Preferences::CategoryOfKey(entry.first) == "general";
    });
    if (round == 0 || general) {
      EXPECT_EQ(store.ContainsItem(velmar_ustring("general")), general);
    }
    for (int change = 0; change < 6; ++change) {
      const velmar_ustring key(names[random() % std::size(names)]);
      if (random() % 4 == 0) {
        store.RemoveItem(key);
        model.erase(key);
      } else {
        model[key] = values[random() % std::size(values)];
        ASSERT_TRUE(store.SetItem(key, model[key]));
      }
      EXPECT_EQ(store.GetItem(key), model.count(key) ? model[key] : Variant());
    }
    store.Save();
  }
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

}  // namespace
}  // namespace folian::utils
