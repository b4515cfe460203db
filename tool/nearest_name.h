// "Did you mean": the known name nearest a mistyped one.
#pragma once

#include <string>
#include <vector>

namespace folian::tool {

// The name of `names` fewest edits away from `word` (an edit: a character
// inserted, removed, replaced, or two neighbours swapped; a change of case
// costs nothing), if it is close enough to be what was meant: at most one
// edit for a short word, two for a longer one, and fewer than half the
// word's letters after its dashes. Empty otherwise.
std::string NearestName(const std::string& word, const std::vector<std::string>& names);

}  // namespace folian::tool
