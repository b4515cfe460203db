#include "foundation/number_reader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "FolianUtils/ustring.h"
#include "platform/scoped_env_test_support.h"

namespace velmar::utils {
namespace {

// What printf writes in the "C" locale reads back as strtod reads it, with
// any unit as the separator.
TEST(ReadDoubleTest, ReadsBackWhatPrintfWrites) {
  std::mt19937_64 random(3);
  for (int round = 0; round < 3000; ++round) {
    const double value = std::ldexp(static_cast<double>(random() >> 11), round % 600 - 353) *
                         (round % 2 == 0 ? 1 : -1);
    char text[400];
    std::snprintf(text, sizeof text, round % 3 == 0 ? "%.17g" : "%.17f", value);
    velmar_ustring units(text);
    const std::size_t length = units.length();
    for (utf16_unit& unit : units) unit = unit == '.' ? utf16_unit(0x066B) : unit;
    units += VELMAR_U(";1");
    double read = 0.0;
    ASSERT_EQ(ReadDouble(units.c_str(), 0x066B, read), length) << text;
    ASSERT_EQ(read, std::strtod(text, nullptr)) << text;
  }
}

TEST(ReadDoubleTest, StopsWhereWcstodStops) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    utf16_unit decimal_point;
    double value;
    std::size_t consumed;
  } cases[] = {{"\t\n +7mm", '.', 7.0, 5}, {".5", '.', 0.5, 2},        {"5.", '.', 5.0, 2},
               {"1e+", '.', 1.0, 1},       {"2,5", '.', 2.0, 1},       {"2.5", ',', 2.0, 1},
               {"0x1A", '.', 0.0, 1},      {"-infinity", '.', 0.0, 0}, {"-1e999", '.', -inf, 6},
               {"1e-999", '.', 0.0, 6},    {"", '.', 0.0, 0},          {"-", '.', 0.0, 0},
               {"+-5", '.', 0.0, 0},       {".", '.', 0.0, 0}};
  for (const auto& c : cases) {
    double value = 99.0;
    EXPECT_EQ(ReadDouble(velmar_ustring(c.text).c_str(), c.decimal_point, value), c.consumed)
        << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(ReadDoubleTest, SurvivesHostileText) {
  double value = 1.0;
  EXPECT_EQ(ReadDouble(nullptr, '.', value), 0u);
  EXPECT_EQ(value, 0.0);
  const velmar_ustring digits(std::string(1000000, '7'));
  EXPECT_EQ(ReadDouble(digits.c_str(), '.', value), 1000000u);
  EXPECT_TRUE(std::isinf(value));
  // 64 characters fit the stack buffer; more go to the heap.
  for (const int zeros : {58, 59, 100000}) {
    const velmar_ustring text("0." + std::string(static_cast<std::size_t>(zeros), '0') + "1e" +
                              std::to_string(zeros));
    EXPECT_EQ(ReadDouble(text.c_str(), '.', value), text.length());
    EXPECT_DOUBLE_EQ(value, 0.1);
  }
  const utf16_unit lone[] = {'4', 0xD800, '2', 0};
  EXPECT_EQ(ReadDouble(lone, '.', value), 1u);
  EXPECT_EQ(value, 4.0);
}

// Runs under an English and a German user locale (see tests/CMakeLists.txt).
TEST(StringToDoubleLocaleTest, UsesTheUserDecimalSeparatorAndLeavesTheLocaleC) {
  const char* lc_all = std::getenv("LC_ALL");
  const utf16_unit point = UserDecimalPoint();
  if (lc_all != nullptr && std::strncmp(lc_all, "de_DE", 5) == 0) {
    ASSERT_EQ(point, ',') << "German locale not available (run scripts/install-deps.sh)";
  }
  std::setlocale(LC_ALL, "");
  for (const utf16_unit separator : {utf16_unit('.'), utf16_unit(',')}) {
    velmar_ustring text(VELMAR_U("2"));
    text += separator;
    text += VELMAR_U("5x");
    double value = 0.0;
    EXPECT_TRUE(StringToDouble(text.c_str(), value));
    EXPECT_EQ(value, separator == point ? 2.5 : 2.0);
  }
  double value = 1.0;
  EXPECT_FALSE(StringToDouble(VELMAR_U("abc"), value));
  EXPECT_EQ(value, 0.0);
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

#if !defined(_WIN32)
// On Linux the user's locale is the environment's; a change must be seen
// without restarting the process.
TEST(LinuxStringToDoubleTest, SeesAChangedUserLocale) {
  using Env = folian::test::ScopedEnv;
  double value = 0.0;
  for (const auto& [locale, expected] : {std::pair{"de_DE.UTF-8", 2.5}, {"en_US.UTF-8", 2.0}}) {
    const Env env({{"LC_ALL", locale}}, ForgetUserDecimalPoint);
    EXPECT_TRUE(StringToDouble(VELMAR_U("2,5"), value));
    EXPECT_EQ(value, expected) << locale << ": run scripts/install-deps.sh to generate it";
  }
  // LC_NUMERIC counts when LC_ALL is empty; an unknown locale reads ".".
  const Env numeric({{"LC_ALL", ""}, {"LC_NUMERIC", "de_DE.UTF-8"}}, ForgetUserDecimalPoint);
  EXPECT_EQ(UserDecimalPoint(), ',');
  const Env unknown({{"LC_NUMERIC", "xx_NOWHERE"}}, ForgetUserDecimalPoint);
  EXPECT_EQ(UserDecimalPoint(), '.');
}
#endif

}  // namespace
}  // namespace velmar::utils
