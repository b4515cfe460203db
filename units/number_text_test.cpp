#include "units/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "FolianUtils/numeric_formatter.h"
#include "units/length_test_support.h"

namespace velmar::utils {
namespace {

using testing::InUserNotation;

// A negative count of decimals is 6 (ratio and area texts pin the rest).
TEST(NumberTextLocaleTest, ShortNumbers) {
  EXPECT_EQ(FormatNumberText(-0.001, 2).ToUTF8(), "-0");
  EXPECT_EQ(FormatNumberText(0.1234567, -1).ToUTF8(), InUserNotation("0.123457"));
}

// Both readers read as TTOF does, the sign of zero too. A short text is read
// from a terminated copy: a longer text read just before leaves nothing
// behind it.
TEST(NumberTextLocaleTest, ReadsLikeTTOF) {
  const char* texts[] = {"  2.5mm", "", "-", "-0", "000123", "-9007199254740993"};
  for (const char* raw : texts) {
    const velmar_ustring text(InUserNotation(raw));
    const utf16_unit* end = text.data() + text.length();
    const double slow = CNumericFormatter::TTOF(text);
    const bool digits = std::strspn(raw, "-0123456789") == std::strlen(raw);
    for (const double fast :
         {ReadNumberText(text.data(), end), digits ? ReadDigitRun(text.data(), end) : slow}) {
      EXPECT_EQ(fast, slow) << raw;
      EXPECT_EQ(std::signbit(fast), std::signbit(slow)) << raw;
    }
  }
  const velmar_ustring longer("987654");
  const velmar_ustring shorter("4");
  const velmar_ustring longest(std::string(100, '0') + "12");
  EXPECT_EQ(ReadNumberText(longer.data(), longer.data() + 6), 987654.0);
  EXPECT_EQ(ReadNumberText(shorter.data(), shorter.data() + 1), 4.0);
  EXPECT_EQ(ReadNumberText(longest.data(), longest.data() + longest.length()), 12.0);
}

TEST(NumberTextTest, FixedDigitsMatchTheExactConversion) {
  std::mt19937_64 random(99);
  std::uniform_real_distribution<double> magnitude(-3.0, 13.0);
  std::uniform_int_distribution<int> decimals(0, 9);
  const double ties[] = {0.125, 2.25, 1.005, 0.0, -0.0, 0.5, 1.5, 2.5, -2.675, 1e-300};
  for (int i = 0; i < 200000; ++i) {
    const double value =
        i < 10 ? ties[i] : std::pow(10.0, magnitude(random)) * (i % 2 != 0 ? -1.0 : 1.0);
    const int d = i < 10 ? 2 : decimals(random);
    char expected[400];
    const auto end =
        std::to_chars(expected, expected + sizeof expected, value, std::chars_format::fixed, d);
    velmar_ustring::string_type text;
    AppendFixed(value, d, text);
    ASSERT_EQ(velmar_ustring(std::move(text)).ToUTF8(), std::string(expected, end.ptr))
        << value << " " << d;
  }
}

}  // namespace
}  // namespace velmar::utils
