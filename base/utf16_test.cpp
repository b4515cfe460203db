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

TEST(Utf16, AsciiWidensOneUnitPerByte) {
  EXPECT_TRUE(FromAscii("").empty());
  const utils::utf16_string key = FromAscii("$type");
  EXPECT_EQ(key, utils::utf16_string(VELMAR_U("$type")));
  utils::utf16_string path = FromAscii("/f");
  AppendAscii(".json", path);
  EXPECT_EQ(path, utils::utf16_string(VELMAR_U("/f.json")));
  // Never sign-extended: a stray high byte stays below U+0100.
  EXPECT_EQ(FromAscii("\xE9")[0], 0xE9);
}

}  // namespace
}  // namespace velmar::base
