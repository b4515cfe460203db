#include "prefs/common/table_diff.h"

#include <set>
#include <utility>

namespace velmar::prefs {
namespace {

using utils::Variant;
using utils::velmar_ustring;
using Kind = JsonCommon::CategoryKind;
using Names = std::set<std::pair<velmar_ustring, velmar_ustring>>;

// Keyed kinds change key by key, the others whole.
bool IsKeyed(Kind kind) {
  return kind == JsonCommon::kValueCategories || kind == JsonCommon::kBinaryCategories;
}

void CollectNames(Tables& tables, Kind kind, Names& names) {
  for (const EShareLevel level : kLevels) {
    for (auto& category : tables[JsonCommon::TableIndex(level, kind)]) {
      const utils::Dictionary* values = IsKeyed(kind) ? AsDictionary(category.second) : nullptr;
      if (!IsKeyed(kind)) {
        names.emplace(category.first, velmar_ustring());
      } else if (values != nullptr) {
        for (const auto& value : *values) names.emplace(category.first, value.first);
      }
    }
  }
}

const Variant* Find(Tables& tables, Kind kind,
                    const std::pair<velmar_ustring, velmar_ustring>& name) {
  return IsKeyed(kind) ? FindValueIn(tables, kind, name.first, name.second)
                       : FindWholeIn(tables, kind, name.first);
}

}  // namespace

void DiffTables(Tables& before, Tables& after, std::vector<JsonCommon::ValueChange>& changes) {
  for (std::size_t index = 0; index < JsonCommon::kCategoryKindCount; ++index) {
    const auto kind = static_cast<Kind>(index);
    Names names;
    CollectNames(before, kind, names);
    CollectNames(after, kind, names);
    for (const auto& name : names) {
      const Variant* old_value = Find(before, kind, name);
      const Variant* new_value = Find(after, kind, name);
      if (old_value != nullptr && new_value != nullptr && *old_value == *new_value) continue;
      JsonCommon::ValueChange change{
          JsonCommon::ValueChange::kChanged, kind, name.first, name.second, Variant(), Variant()};
      if (old_value == nullptr) {
        change.what = JsonCommon::ValueChange::kAdded;
      } else {
        change.old_value = *old_value;
      }
      if (new_value == nullptr) {
        change.what = JsonCommon::ValueChange::kRemoved;
      } else {
        change.new_value = *new_value;
      }
      changes.push_back(std::move(change));
    }
  }
}

}  // namespace velmar::prefs
