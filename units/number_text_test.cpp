#include "units/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "FolianUtils/numeric_formatter.h"
#include "units/length_test_support.h"

namespace velmar::utils {
namespace {

using testing::InUserNotation;

TEST(NumberTextLocaleTest, ShortNumbers) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {{2.5, 2, "2.5"},     {3.0, 2, "3"},
               {50.0, 8, "50"},     {3.3333333, 2, "3.33"},
               {100.0, 0, "100"},   {-0.001, 2, "-0"},
               {0.125, 8, "0.125"}, {1e21, 1, "1000000000000000000000"},
               {2.0, -1, "2"},      {0.1234567, -1, "0.123457"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumberText(c.value, c.decimals).ToUTF8(), InUserNotation(c.text)) << c.value;
  }
}

TEST(NumberTextLocaleTest, ReadsLikeTTOF) {
  const char* texts[] = {"  2.5mm", "abc", "-0", "1e3x", "  -.5", "7,5", "12", "0x1p3", ""};
  for (const char* raw : texts) {
    const velmar_ustring text(InUserNotation(raw));
    EXPECT_EQ(ReadNumberText(text.data(), text.data() + text.length()),
              CNumericFormatter::TTOF(text))
        << raw;
  }
  const char* digitRuns[] = {"-",
                             "-0",
                             "0",
                             "000123",
                             "18446744073709551615",
                             "123456789012345678901234567890",
                             "-9007199254740993"};
  for (const char* raw : digitRuns) {
    const velmar_ustring text(raw);
    const double fast = ReadDigitRun(text.data(), text.data() + text.length());
    const double slow = CNumericFormatter::TTOF(text);
    EXPECT_EQ(fast, slow) << raw;
    EXPECT_EQ(std::signbit(fast), std::signbit(slow)) << raw;
  }
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
