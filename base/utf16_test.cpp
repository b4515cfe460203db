#include "base/utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace velmar::base {
namespace {

struct LoneCase {
  std::u16string text;
  bool lone;
};

TEST(Utf16, FindsSurrogatesThatAreNotHalfOfAPair) {
  const LoneCase cases[] = {
      {u"", false},
      {u"abc", false},
      {u"\U0001D11E", false},             // a pair
      {{0xD800}, true},                   // high alone
      {{0xDC00}, true},                   // low alone
      {{0xDC00, 0xD800}, true},           // the wrong order
      {{'a', 0xDBFF}, true},              // high at the end
      {{0xD800, 0xDC00, 0xDC00}, true},   // a pair, then a low
      {{0xD800, 0xD800, 0xDC00}, true},   // a high, then a pair
      {{0xD7FF, 0xE000, 0xFFFF}, false},  // just outside the range
  };
  for (const LoneCase& c : cases) {
    EXPECT_EQ(HasLoneSurrogate(c.text.data(), c.text.size()), c.lone)
        << testing::PrintToString(c.text);
  }
}

TEST(Utf16, CodePointsSplitAndCombineAgain) {
  for (const char32_t cp : {U'\0', U'A', U'\xFFFF', U'\x10000', U'\x1D11E', U'\x10FFFF'}) {
    std::u16string units;
    AppendCodePoint(cp, units);
    ASSERT_EQ(units.size(), cp > 0xFFFF ? 2U : 1U);
    const char32_t back = units.size() == 2 ? CombineSurrogates(units[0], units[1]) : units[0];
    EXPECT_EQ(back, cp);
    if (units.size() == 2) {
      EXPECT_TRUE(IsHighSurrogate(units[0]));
      EXPECT_TRUE(IsLowSurrogate(units[1]));
    }
  }
}

}  // namespace
}  // namespace velmar::base
