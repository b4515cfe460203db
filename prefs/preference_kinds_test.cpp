#include "prefs/preference_kinds.h"

#include <gtest/gtest.h>

#include <set>

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

// Over the whole table: every key is listed once and found with its kind.
TEST(PreferenceKindsTest, EachKeyHasOneKind) {
  std::set<velmar_ustring> seen;
  for (const TypedPreferenceKey& entry : TypedPreferenceKeys()) {
    EXPECT_TRUE(seen.insert(entry.key).second) << entry.key.ToUTF8();
    PreferenceKind kind = PreferenceKind::kString;
    ASSERT_TRUE(FindPreferenceKind(entry.key, kind)) << entry.key.ToUTF8();
    EXPECT_EQ(kind, entry.kind) << entry.key.ToUTF8();
  }
}

TEST(PreferenceKindsTest, KeysWithoutAFixedTypeAreNotFound) {
  PreferenceKind kind = PreferenceKind::kInt;
  EXPECT_FALSE(FindPreferenceKind(Preferences::kRecentFilesList_WIN, kind));
  EXPECT_FALSE(FindPreferenceKind(velmar_ustring("no such key"), kind));
  EXPECT_FALSE(FindPreferenceKind(velmar_ustring(), kind));
  EXPECT_EQ(kind, PreferenceKind::kInt);
}

}  // namespace
}  // namespace folian
