// What a store changed since its load or last save, as a value of its own:
// the writes and deletions in the order they were made, at most one live
// record per change of a name, so the record grows with the names changed,
// never with the number of changes. A handler visits them in one loop; the
// merging save and the reload after another process's save both replay
// them onto what is on disk.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "TrelvinCommonPreferences/json_common.h"
#include "prefs/common/category_tables.h"

namespace velmar::prefs {

class ChangeRecord {
 public:
  using CategoryKind = JsonCommon::CategoryKind;
  using velmar_ustring = utils::velmar_ustring;

  // Receives the live changes in the order they were made.
  class Handler {
   public:
    virtual ~Handler() = default;
    virtual void Value(CategoryKind kind, const velmar_ustring& category,
                       const velmar_ustring& key) = 0;
    virtual void Whole(CategoryKind kind, const velmar_ustring& name) = 0;
    virtual void DeleteValue(const velmar_ustring& category, const velmar_ustring& key) = 0;
    virtual void DeleteCategory(const velmar_ustring& category) = 0;
    // Keeps only `category`, and in it only `key` unless that is empty.
    virtual void KeepOnly(const velmar_ustring& category, const velmar_ustring& key) = 0;
  };

  void Value(CategoryKind kind, const velmar_ustring& category, const velmar_ustring& key) {
    Record(Kind::kValue, kind, category, key);
  }
  void Whole(CategoryKind kind, const velmar_ustring& name) {
    Record(Kind::kWhole, kind, name, velmar_ustring());
  }
  void DeleteValue(const velmar_ustring& category, const velmar_ustring& key) {
    Record(Kind::kDeleteValue, JsonCommon::kValueCategories, category, key);
  }
  void DeleteCategory(const velmar_ustring& category) {
    Record(Kind::kDeleteCategory, JsonCommon::kValueCategories, category, velmar_ustring());
  }
  void KeepOnly(const velmar_ustring& category, const velmar_ustring& key) {
    Record(Kind::kKeepOnly, JsonCommon::kValueCategories, category, key);
  }

  bool empty() const { return m_changes.empty(); }
  // Records kept, replaced ones included until they are dropped.
  std::size_t size() const { return m_changes.size(); }
  void Clear();
  void Iterate(Handler& handler) const;

 private:
  // kReplaced: a write that a later, equal one took over; never visited.
  enum class Kind : std::uint8_t {
    kValue,
    kWhole,
    kDeleteValue,
    kDeleteCategory,
    kKeepOnly,
    kReplaced
  };
  struct Change {
    Kind change;
    CategoryKind kind;
    velmar_ustring category;
    velmar_ustring key;
  };

  void Record(Kind change, CategoryKind kind, const velmar_ustring& category,
              const velmar_ustring& key);
  void DropReplaced();

  std::vector<Change> m_changes;
  // A hash of each live record's kind and names to its place in m_changes:
  // a repeated change costs a hash and one comparison of the names.
  std::unordered_multimap<std::size_t, std::size_t> m_index;
  // m_changes' size after its last deletion; writes recorded since then
  // replay in any order.
  std::size_t m_writesFrom = 0;
  std::size_t m_replaced = 0;
};

// Applies `record` to `base`, what another process saved: each write takes
// the value `mine` (this store) holds now, at the level it holds it, so a
// replay in order is right even when a later change undid an earlier one.
// Returns the levels a replayed write took a value out of, which
// LevelsChanged cannot see afterwards.
std::array<bool, 2> Replay(const ChangeRecord& record, Tables& mine, Tables& base);

// The levels of `tables` the recorded changes may have changed.
std::array<bool, 2> LevelsChanged(const ChangeRecord& record, Tables& tables);

}  // namespace velmar::prefs
