#include "tool/nearest_name.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "base/ascii.h"

namespace folian::tool {
namespace {

bool Same(char a, char b) { return velmar::base::LowerAscii(a) == velmar::base::LowerAscii(b); }

// The optimal string alignment distance, a row of `b` at a time: a swap
// looks two rows back, so three are kept.
std::size_t Distance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> before(b.size() + 1);
  std::vector<std::size_t> previous(b.size() + 1);
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(previous.begin(), previous.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = Same(a[i - 1], b[j - 1]) ? 0 : 1;
      row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && Same(a[i - 1], b[j - 2]) && Same(a[i - 2], b[j - 1])) {
        row[j] = std::min(row[j], before[j - 2] + 1);
      }
    }
    std::swap(before, previous);
    std::swap(previous, row);
  }
  return previous[b.size()];
}

// The characters of a name that say what it names: those after its dashes.
std::size_t Letters(const std::string& name) {
  const std::size_t dashes = name.find_first_not_of('-');
  return dashes == std::string::npos ? 0 : name.size() - dashes;
}

}  // namespace

std::string NearestName(const std::string& word, const std::vector<std::string>& names) {
  // At most one edit for a short word, two for a longer one, and fewer
  // edits than half its letters: "-v" is no typo of "-h".
  std::size_t bestDistance =
      std::min<std::size_t>(word.size() < 6 ? 2 : 3, (Letters(word) + 1) / 2);
  std::string best;
  for (const std::string& name : names) {
    // An edit changes the length by one at most, so a name whose length is
    // too far from the word's is ruled out unread: the cost is bounded by
    // the names, however long the word.
    const std::size_t gap = std::max(word.size(), name.size()) - std::min(word.size(), name.size());
    if (gap >= bestDistance) continue;
    const std::size_t distance = Distance(word, name);
    if (distance < bestDistance) {
      best = name;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace folian::tool
