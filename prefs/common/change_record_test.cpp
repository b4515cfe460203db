// The record of a store's changes: however it compacts repeats, replaying
// it does what replaying every change made would do.
#include "prefs/common/change_record.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "prefs/common/memory_store_test_support.h"

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::Variant;
using utils::velmar_ustring;
using Kind = JsonCommon::CategoryKind;

constexpr Kind kKinds[] = {JsonCommon::kValueCategories, JsonCommon::kBinaryCategories,
                           JsonCommon::kStringLists};

Tables RandomTables(std::mt19937& random, const std::vector<velmar_ustring>& names) {
  Tables tables;
  for (int i = 0; i < 8; ++i) {
    const EShareLevel level = kLevels[random() % 2];
    const Kind kind = kKinds[random() % std::size(kKinds)];
    Variant& slot = tables[JsonCommon::TableIndex(level, kind)][names[random() % names.size()]];
    if (kind == JsonCommon::kStringLists) {
      slot = Variant(static_cast<std::int32_t>(random() % 10));
    } else {
      if (slot.GetType() != Variant::kDictionary) slot = Variant(Dictionary());
      slot.GetDictionary()[names[random() % names.size()]] =
          Variant(static_cast<std::int32_t>(random() % 10));
    }
  }
  return tables;
}

// A store whose values the test sees.
class TableStore : public test::MemoryStore {
 public:
  using MemoryStore::MemoryStore;
  Tables& tables() { return m_categoryTables; }
};

struct Op {
  int what;
  Kind kind;
  velmar_ustring category;
  velmar_ustring key;
  int value = 0;
  // Makes the change in the store, as a user of the store would.
  void To(JsonCommon& store) const {
    switch (what) {
      case 0:
        store.DeletePreference(category, key);
        return;
      case 1:
        store.DeleteCategory(category);
        return;
      case 2:
        store.RemoveAllPreferencesExcept(category, key);
        return;
      case 3:
        store.WriteStringVector(category, {key});
        return;
      default:
        if (kind == JsonCommon::kValueCategories) {
          store.WriteInt(category, key, value);
        } else {
          store.WriteBinary(category, key, {static_cast<std::uint8_t>(value)});
        }
    }
  }
  void To(ChangeRecord& record) const {
    switch (what) {
      case 0:
        return record.DeleteValue(category, key);
      case 1:
        return record.DeleteCategory(category);
      case 2:
        return record.KeepOnly(category, key);
      case 3:
        return record.Whole(JsonCommon::kStringLists, category);
      default:
        return record.Value(kind, category, key);
    }
  }
};

// Random changes made in a store, recorded once into one compacting record
// and once each into a record of its own: replaying the one, or all the
// others in order, gives the same tables whatever the disk holds; and the
// one grows with the names changed, not with the number of changes.
TEST(ChangeRecordTest, CompactingNeverChangesWhatAReplayDoes) {
  std::mt19937 random(7);
  const std::vector<velmar_ustring> names = {velmar_ustring("a"), velmar_ustring("b"),
                                             velmar_ustring("c")};
  MemoryFileEnv env;
  for (int round = 0; round < 300; ++round) {
    TableStore store(env);
    store.tables() = RandomTables(random, names);
    Tables compact = RandomTables(random, names);
    Tables each = compact;
    ChangeRecord record;
    std::vector<Op> ops;
    const Tables before = compact;
    // Every tenth round is a long session.
    const bool is_long = round % 10 == 0;
    const int count = static_cast<int>(random() % (is_long ? 2000 : 40));
    for (int i = 0; i < count; ++i) {
      const int what = static_cast<int>(random() % 8);
      const Op op{what, kKinds[random() % 2], names[random() % names.size()],
                  what < 3 && random() % 4 == 0 ? velmar_ustring() : names[random() % names.size()],
                  static_cast<int>(random() % 10)};
      op.To(store);
      op.To(record);
      ops.push_back(op);
    }
    // Each replays with the store's values at the save.
    Tables& mine = store.tables();
    for (const Op& op : ops) {
      ChangeRecord one;
      op.To(one);
      Replay(one, mine, each);
    }
    const std::array<bool, 2> emptied = Replay(record, mine, compact);
    EXPECT_EQ(compact, each) << "round " << round;
    EXPECT_EQ(record.empty(), count == 0);
    // A save writes every level the replay changed.
    const std::array<bool, 2> written = LevelsChanged(record, compact);
    for (const EShareLevel level : kLevels) {
      bool same = true;
      for (const Kind kind : kKinds) {
        const std::size_t index = JsonCommon::TableIndex(level, kind);
        same = same && compact[index] == before[index];
      }
      EXPECT_TRUE(same || emptied[level] || written[level]) << "round " << round;
    }
    // Live names: 3 categories by 3 keys by 2 kinds of values, 3 lists, 3
    // categories deleted, and 3 by 4 keys deleted or kept alone; as many
    // replaced records at most, until they are dropped.
    EXPECT_LE(record.size(), 2u * (18 + 3 + 3 + 12 + 12)) << count;
  }
}

}  // namespace
}  // namespace velmar::prefs
