#include "base/match.h"

#include <gtest/gtest.h>

#include <string>

#include "FolianUtils/utf16.h"

namespace velmar::base {
namespace {

TEST(Match, PrefixesAndSuffixesOfNarrowAndWideText) {
  struct Case {
    std::string text;
    std::string affix;
    bool starts;
    bool ends;
  };
  for (const Case& c : {Case{"file://x", "x", false, true}, Case{"abc", "", true, true},
                        Case{"ab", "abc", false, false}, Case{"abc", "abd", false, false},
                        Case{"xbc", "abc", false, false}, Case{"abcab", "ab", true, true}}) {
    EXPECT_EQ(StartsWith(c.text, c.affix), c.starts) << c.text << " " << c.affix;
    EXPECT_EQ(EndsWith(c.text, c.affix), c.ends) << c.text << " " << c.affix;
    const utils::utf16_string text(c.text.begin(), c.text.end());
    const utils::utf16_string affix(c.affix.begin(), c.affix.end());
    EXPECT_EQ(StartsWith(text, affix.c_str()), c.starts) << c.text << " " << c.affix;
    EXPECT_EQ(EndsWith(text, affix), c.ends) << c.text << " " << c.affix;
  }
}

}  // namespace
}  // namespace velmar::base
