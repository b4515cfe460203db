#include "base/ascii.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace velmar::base {
namespace {

// The "C" locale's classes are the model; nothing above ASCII belongs.
TEST(Ascii, ClassesAgreeWithTheCLocaleAndSkipsStopOutsideThem) {
  for (char32_t c = 0; c < 0x10000; c = c < 0x200 ? c + 1 : c + 0x3F1) {
    const bool ascii = c < 0x80;
    const char digit[2] = {static_cast<char>(c), 0};
    const bool xdigit = ascii && std::isxdigit(static_cast<int>(c)) != 0;
    const int hex = xdigit ? static_cast<int>(std::strtol(digit, nullptr, 16)) : -1;
    EXPECT_EQ(HexDigitValue(c), hex) << static_cast<unsigned>(c);
    EXPECT_EQ(IsAsciiSpace(c), ascii && std::isspace(static_cast<int>(c)) != 0)
        << static_cast<unsigned>(c);
  }
  const std::u16string text = u" \t042 x\xA0 \n";
  const char16_t* begin = text.data();
  const char16_t* end = begin + text.size();
  EXPECT_EQ(SkipAsciiSpace(begin, end) - begin, 2);
  EXPECT_EQ(SkipDigits(begin + 2, end) - begin, 5);
  Trim(begin, end, [](char16_t c) { return IsAsciiSpace(c); });
  EXPECT_EQ(std::u16string(begin, end), u"042 x\xA0");
}

}  // namespace
}  // namespace velmar::base
