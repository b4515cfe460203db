#include "prefs/common/change_record.h"

#include <functional>
#include <utility>

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::Variant;
using utils::velmar_ustring;
using CategoryKind = JsonCommon::CategoryKind;

template <typename Kind>
std::size_t HashOfChange(Kind change, CategoryKind kind, const velmar_ustring& category,
                         const velmar_ustring& key) {
  const std::hash<velmar_ustring> hash;
  return (hash(category) * 31 + hash(key)) * 31 + static_cast<std::size_t>(change) * 8 +
         static_cast<std::size_t>(kind);
}

}  // namespace

// Replaying a write sets what it names to what the store holds at the
// save, whatever came between; so a write repeated after a deletion takes
// over its earlier record, and other repeats are not recorded at all.
void ChangeRecord::Record(Kind change, CategoryKind kind, const velmar_ustring& category,
                          const velmar_ustring& key) {
  const bool write = change == Kind::kValue || change == Kind::kWhole;
  const std::size_t next = m_changes.size();
  const std::size_t name = HashOfChange(change, kind, category, key);
  std::size_t* place = nullptr;
  const auto found = m_index.equal_range(name);
  for (auto at = found.first; at != found.second && place == nullptr; ++at) {
    Change& recorded = m_changes[at->second];
    if (recorded.change != change || recorded.kind != kind || recorded.key != key ||
        recorded.category != category) {
      continue;
    }
    // A repeated deletion adds nothing: what it deletes from the file the
    // first one deleted, and the store's own writes replay their final
    // values. Writes since the last deletion replay in any order.
    if (!write || at->second >= m_writesFrom) return;
    recorded.change = Kind::kReplaced;
    ++m_replaced;
    place = &at->second;
  }
  if (place != nullptr) {
    *place = next;
  } else {
    m_index.emplace(name, next);
  }
  m_changes.push_back(Change{change, kind, category, key});
  if (!write) m_writesFrom = m_changes.size();
  if (m_replaced > 32 && m_replaced * 2 > m_changes.size()) DropReplaced();
}

void ChangeRecord::DropReplaced() {
  std::vector<Change> live = std::move(m_changes);
  Clear();
  for (Change& change : live) {
    if (change.change == Kind::kReplaced) continue;
    const bool write = change.change == Kind::kValue || change.change == Kind::kWhole;
    m_index.emplace(HashOfChange(change.change, change.kind, change.category, change.key),
                    m_changes.size());
    m_changes.push_back(std::move(change));
    if (!write) m_writesFrom = m_changes.size();
  }
}

void ChangeRecord::Clear() {
  m_changes.clear();
  m_index.clear();
  m_writesFrom = 0;
  m_replaced = 0;
}

void ChangeRecord::Iterate(Handler& handler) const {
  for (const Change& change : m_changes) {
    switch (change.change) {
      case Kind::kValue:
        handler.Value(change.kind, change.category, change.key);
        break;
      case Kind::kWhole:
        handler.Whole(change.kind, change.category);
        break;
      case Kind::kDeleteValue:
        handler.DeleteValue(change.category, change.key);
        break;
      case Kind::kDeleteCategory:
        handler.DeleteCategory(change.category);
        break;
      case Kind::kKeepOnly:
        handler.KeepOnly(change.category, change.key);
        break;
      case Kind::kReplaced:
        break;
    }
  }
}

namespace {

class Replayer : public ChangeRecord::Handler {
 public:
  Replayer(Tables& mine, Tables& base) : m_mine(mine), m_base(base) {}

  void Value(CategoryKind kind, const velmar_ustring& category,
             const velmar_ustring& key) override {
    EShareLevel level = kShareLevelPublic;
    const Variant* value = FindValueIn(m_mine, kind, category, key, &level);
    for (const EShareLevel other : kLevels) {
      JsonCommon::CategoryTable& table = m_base[JsonCommon::TableIndex(other, kind)];
      const auto found = table.find(category);
      if (found == table.end()) continue;
      Dictionary* values = AsDictionary(found->second);
      if (values != nullptr && values->erase(key) != 0) emptied[other] = true;
    }
    // A key deleted after it was written leaves the category the write
    // made, as it is in this store, empty or holding other keys.
    if (value == nullptr) {
      Variant* held = FindWholeIn(m_mine, kind, category, &level);
      if (held == nullptr || AsDictionary(*held) == nullptr) return;
    }
    Variant& slot = m_base[JsonCommon::TableIndex(level, kind)][category];
    if (slot.GetType() != Variant::kDictionary) slot = Variant(Dictionary());
    if (value != nullptr) slot.GetDictionary()[key] = *value;
  }
  void Whole(CategoryKind kind, const velmar_ustring& name) override {
    EShareLevel level = kShareLevelPublic;
    const Variant* value = FindWholeIn(m_mine, kind, name, &level);
    for (const EShareLevel other : kLevels) {
      if (m_base[JsonCommon::TableIndex(other, kind)].erase(name) != 0) emptied[other] = true;
    }
    if (value != nullptr) m_base[JsonCommon::TableIndex(level, kind)][name] = *value;
  }
  void DeleteValue(const velmar_ustring& category, const velmar_ustring& key) override {
    DeletePreferenceIn(m_base, category, key);
  }
  void DeleteCategory(const velmar_ustring& category) override {
    DeleteCategoryIn(m_base, category);
  }
  void KeepOnly(const velmar_ustring& category, const velmar_ustring& key) override {
    KeepOnlyIn(m_base, category, key);
  }

  std::array<bool, 2> emptied = {};

 private:
  Tables& m_mine;
  Tables& m_base;
};

class LevelFinder : public ChangeRecord::Handler {
 public:
  explicit LevelFinder(Tables& tables) : m_tables(tables) {}

  void Value(CategoryKind kind, const velmar_ustring& category,
             const velmar_ustring& key) override {
    EShareLevel level = kShareLevelPublic;
    const bool exists = FindValueIn(m_tables, kind, category, key, &level) != nullptr;
    Found(exists, level);
  }
  void Whole(CategoryKind kind, const velmar_ustring& name) override {
    EShareLevel level = kShareLevelPublic;
    const bool exists = FindWholeIn(m_tables, kind, name, &level) != nullptr;
    Found(exists, level);
  }
  // A deletion may have emptied either level.
  void DeleteValue(const velmar_ustring&, const velmar_ustring&) override { Found(false, {}); }
  void DeleteCategory(const velmar_ustring&) override { Found(false, {}); }
  void KeepOnly(const velmar_ustring&, const velmar_ustring&) override { Found(false, {}); }

  std::array<bool, 2> changed = {};

 private:
  // A write a deletion undid since may also have emptied either level.
  void Found(bool exists, EShareLevel level) {
    if (!exists) {
      changed = {true, true};
    } else {
      changed[level] = true;
    }
  }

  Tables& m_tables;
};

}  // namespace

std::array<bool, 2> Replay(const ChangeRecord& record, Tables& mine, Tables& base) {
  Replayer replayer(mine, base);
  record.Iterate(replayer);
  return replayer.emptied;
}

std::array<bool, 2> LevelsChanged(const ChangeRecord& record, Tables& tables) {
  LevelFinder finder(tables);
  record.Iterate(finder);
  return finder.changed;
}

}  // namespace velmar::prefs
