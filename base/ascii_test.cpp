#include "base/ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace velmar::base {
namespace {

TEST(Ascii, HexDigitsOfEitherCaseAndNothingElse) {
  const struct {
    char32_t c;
    int value;
  } cases[] =
      {
          {'0', 0},  {'9', 9},  {'a', 10},       {'f', 15}, {'A', 10}, {'F', 15},
          {'g', -1}, {'G', -1}, {'/', -1},       {':', -1}, {'@', -1}, {'`', -1},
          {' ', -1}, {0, -1},   {U'\xFF10', -1},  // a full-width zero is no digit here
      };
  for (const auto& c : cases) {
    EXPECT_EQ(HexDigitValue(c.c), c.value) << static_cast<unsigned>(c.c);
  }
}

TEST(Ascii, SpacesAreTheCLocalesOnly) {
  for (const char32_t c : {U' ', U'\t', U'\n', U'\v', U'\f', U'\r'}) EXPECT_TRUE(IsAsciiSpace(c));
  for (const char32_t c : {U'\0', U'\x1F', U'\xA0', U'\x2003', U'x'}) EXPECT_FALSE(IsAsciiSpace(c));
}

TEST(Ascii, TrimNarrowsFromBothSides) {
  const std::u16string text = u" \t5'-6\" \n";
  const char16_t* begin = text.data();
  const char16_t* end = text.data() + text.size();
  Trim(begin, end, [](char16_t c) { return IsAsciiSpace(c); });
  EXPECT_EQ(std::u16string(begin, end), u"5'-6\"");
  const std::u16string blank = u"  ";
  begin = blank.data();
  end = blank.data() + blank.size();
  Trim(begin, end, [](char16_t c) { return IsAsciiSpace(c); });
  EXPECT_EQ(begin, end);
}

TEST(Ascii, SkipsStopAtTheFirstUnitOutsideTheClass) {
  const struct {
    std::u16string text;
    std::size_t spaces;
    std::size_t digits;
  } cases[] = {
      {u"", 0, 0},     {u" \t\r7", 3, 0}, {u"042 x", 0, 3},
      {u"\xA0", 0, 0}, {u"\xFF10", 0, 0}, {u"  ", 2, 0},
  };
  for (const auto& c : cases) {
    const char16_t* begin = c.text.data();
    const char16_t* end = begin + c.text.size();
    EXPECT_EQ(SkipAsciiSpace(begin, end) - begin, static_cast<std::ptrdiff_t>(c.spaces));
    EXPECT_EQ(SkipDigits(begin, end) - begin, static_cast<std::ptrdiff_t>(c.digits));
  }
}

}  // namespace
}  // namespace velmar::base
