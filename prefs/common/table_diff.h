// What differs between two states of a store's tables, value by value, as
// the store reports it after another process's save.
#pragma once

#include <vector>

#include "TrelvinCommonPreferences/json_common.h"
#include "prefs/common/category_tables.h"

namespace velmar::prefs {

// Appends to `changes` each value read differently from `after` than from
// `before`: by category and key for values and binary data, by name for
// lists and dictionaries; a value that only moved to the other file reads
// the same.
void DiffTables(Tables& before, Tables& after, std::vector<JsonCommon::ValueChange>& changes);

}  // namespace velmar::prefs
