#include "prefs/common/category_tables.h"

namespace velmar::prefs {

using utils::Dictionary;
using utils::Variant;

Dictionary* AsDictionary(Variant& value) {
  return value.GetType() == Variant::kDictionary ? &value.GetDictionary() : nullptr;
}

Variant* FindValueIn(Tables& tables, JsonCommon::CategoryKind kind,
                     const utils::velmar_ustring& category, const utils::velmar_ustring& key,
                     EShareLevel* where) {
  for (const EShareLevel level : kLevels) {
    JsonCommon::CategoryTable& table = tables[JsonCommon::TableIndex(level, kind)];
    const auto found = table.find(category);
    if (found == table.end()) continue;
    Dictionary* values = AsDictionary(found->second);
    if (values == nullptr) continue;
    const auto item = values->find(key);
    if (item != values->end()) {
      if (where != nullptr) *where = level;
      return &item->second;
    }
  }
  return nullptr;
}

Variant* FindWholeIn(Tables& tables, JsonCommon::CategoryKind kind,
                     const utils::velmar_ustring& name, EShareLevel* where) {
  for (const EShareLevel level : kLevels) {
    JsonCommon::CategoryTable& table = tables[JsonCommon::TableIndex(level, kind)];
    const auto found = table.find(name);
    if (found != table.end()) {
      if (where != nullptr) *where = level;
      return &found->second;
    }
  }
  return nullptr;
}

bool DeletePreferenceIn(Tables& tables, const utils::velmar_ustring& category,
                        const utils::velmar_ustring& key) {
  bool removed = false;
  for (const EShareLevel level : kLevels) {
    for (const auto kind : {JsonCommon::kValueCategories, JsonCommon::kBinaryCategories}) {
      JsonCommon::CategoryTable& table = tables[JsonCommon::TableIndex(level, kind)];
      const auto found = table.find(category);
      if (found == table.end()) continue;
      if (Dictionary* values = AsDictionary(found->second)) {
        removed = values->erase(key) != 0 || removed;
      }
    }
  }
  return removed;
}

bool DeleteCategoryIn(Tables& tables, const utils::velmar_ustring& category) {
  bool removed = false;
  for (JsonCommon::CategoryTable& table : tables) removed = table.erase(category) != 0 || removed;
  return removed;
}

void KeepOnlyIn(Tables& tables, const utils::velmar_ustring& category,
                const utils::velmar_ustring& key) {
  for (std::size_t index = 0; index < JsonCommon::kCategoryTableCount; ++index) {
    JsonCommon::CategoryTable& table = tables[index];
    const auto kept = table.find(category);
    Variant keep;
    bool keeping = false;
    if (kept != table.end()) {
      const auto kind =
          static_cast<JsonCommon::CategoryKind>(index % JsonCommon::kCategoryKindCount);
      if (key.empty()) {
        keep = std::move(kept->second);
        keeping = true;
      } else if (kind == JsonCommon::kValueCategories || kind == JsonCommon::kBinaryCategories) {
        if (Dictionary* values = AsDictionary(kept->second)) {
          Dictionary single;
          const auto item = values->find(key);
          if (item != values->end()) single.emplace(item->first, std::move(item->second));
          keep = Variant(std::move(single));
          keeping = true;
        }
      }
    }
    table.clear();
    if (keeping) table.emplace(category, std::move(keep));
  }
}

}  // namespace velmar::prefs
