// The eight category tables of a store (see JsonCommon) and what a store
// and its merge do to them: find a value or a whole list or dictionary,
// and delete a value, a category, or all but one.
#pragma once

#include <array>

#include "TrelvinCommonPreferences/json_common.h"

namespace velmar::prefs {

using Tables = std::array<JsonCommon::CategoryTable, JsonCommon::kCategoryTableCount>;

// The levels in the order reads look in them.
constexpr EShareLevel kLevels[] = {kShareLevelPrivate, kShareLevelPublic};

utils::Dictionary* AsDictionary(utils::Variant& value);

// Where a value sits: the first level whose category holds the key.
utils::Variant* FindValueIn(Tables& tables, JsonCommon::CategoryKind kind,
                            const utils::velmar_ustring& category, const utils::velmar_ustring& key,
                            EShareLevel* where = nullptr);
utils::Variant* FindWholeIn(Tables& tables, JsonCommon::CategoryKind kind,
                            const utils::velmar_ustring& name, EShareLevel* where = nullptr);
bool DeletePreferenceIn(Tables& tables, const utils::velmar_ustring& category,
                        const utils::velmar_ustring& key);
bool DeleteCategoryIn(Tables& tables, const utils::velmar_ustring& category);
// Keeps only `category` (and in it only `key`, unless empty).
void KeepOnlyIn(Tables& tables, const utils::velmar_ustring& category,
                const utils::velmar_ustring& key);

}  // namespace velmar::prefs
