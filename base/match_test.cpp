#include "base/match.h"

#include <gtest/gtest.h>

#include <string>

#include "FolianUtils/utf16.h"

namespace velmar::base {
namespace {

TEST(Match, PrefixesAndSuffixes) {
  const struct {
    const char* text;
    const char* affix;
    bool starts;
    bool ends;
  } cases[] = {{"file://x", "x", false, true}, {"abc", "", true, true},
               {"ab", "abc", false, false},   // an affix longer than the text
               {"abc", "abd", false, false},  // differs in the last unit only
               {"xbc", "abc", false, false},  // and in the first only
               {"abcab", "ab", true, true}};
  for (const auto& c : cases) {
    const std::string text = c.text;
    EXPECT_EQ(StartsWith(text, std::string_view(c.affix)), c.starts) << c.text << " " << c.affix;
    EXPECT_EQ(EndsWith(text, std::string_view(c.affix)), c.ends) << c.text << " " << c.affix;
    // The UTF-16 strings of the library and their literals alike.
    utils::utf16_string wide(text.begin(), text.end());
    const std::string affix = c.affix;
    const utils::utf16_string wide_affix(affix.begin(), affix.end());
    EXPECT_EQ(StartsWith(wide, wide_affix.c_str()), c.starts) << c.text << " " << c.affix;
    EXPECT_EQ(EndsWith(wide, wide_affix), c.ends) << c.text << " " << c.affix;
  }
}

}  // namespace
}  // namespace velmar::base
