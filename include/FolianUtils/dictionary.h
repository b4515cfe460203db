// Dictionary: the ordered map from string to Variant exchanged with the
// common preference library (keys ascending by code unit, unique).
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "FolianUtils/ustring.h"

namespace velmar::utils {

class Variant;

using Dictionary = std::map<velmar_ustring, Variant>;
using VariantVector = std::vector<Variant>;
// Pairs kept in the order they were added; keys may repeat.
using KeyValuePairs = std::vector<std::pair<velmar_ustring, Variant>>;

}  // namespace velmar::utils

// Users of Dictionary get the complete value type.
#include "FolianUtils/variant.h"
