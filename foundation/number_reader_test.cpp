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
    const double value = std::ldexp(static_cast<double>(random() >> 11), round % 600 - 353);
    char text[400];
    std::snprintf(text, sizeof text, round % 3 == 0 ? "%.17g" : "%+.17f", value);
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
  struct Case {
    std::string text;
    utf16_unit decimal_point;
    double value;
    std::size_t consumed;
  };
  const double inf = std::numeric_limits<double>::infinity();
  // 64 characters fit the stack buffer; more go to the heap.
  const std::string small = "0." + std::string(58, '0') + "1e58";
  const std::string big = "0." + std::string(100000, '0') + "1e100000";
  for (const Case& c :
       {Case{"\t\n -7.5e1mm", '.', -75.0, 9}, Case{".5", '.', 0.5, 2}, Case{"5.", '.', 5.0, 2},
        Case{"1e+", '.', 1.0, 1}, Case{"2,5", '.', 2.0, 1}, Case{"2.5", ',', 2.0, 1},
        Case{"0x1A", '.', 0.0, 1}, Case{"-infinity", '.', 0.0, 0}, Case{"-1e999", '.', -inf, 6},
        Case{"1e-999", '.', 0.0, 6}, Case{"", '.', 0.0, 0}, Case{"+", '.', 0.0, 0},
        Case{"+-5", '.', 0.0, 0}, Case{".", '.', 0.0, 0}, Case{small, '.', 0.1, 64},
        Case{"0" + small, '.', 0.1, 65}, Case{big, '.', 0.1, big.size()}}) {
    double value = 99.0;
    EXPECT_EQ(ReadDouble(velmar_ustring(c.text).c_str(), c.decimal_point, value), c.consumed)
        << c.text.substr(0, 20);
    EXPECT_DOUBLE_EQ(value, c.value) << c.text.substr(0, 20);
  }
  double value = 1.0;
  EXPECT_EQ(ReadDouble(nullptr, '.', value), 0u);
  EXPECT_EQ(value, 0.0);
}

// Runs under an English and a German user locale (see tests/CMakeLists.txt).
TEST(StringToDoubleLocaleTest, UsesTheUserDecimalSeparatorAndLeavesTheLocaleC) {
  const char* lc_all = std::getenv("LC_ALL");
  const utf16_unit point = UserDecimalPoint();
  if (lc_all != nullptr && std::strncmp(lc_all, "de_DE", 5) == 0) {
    ASSERT_EQ(point, ',') << "German locale not available (run scripts/install-deps.sh)";
  }
  std::setlocale(LC_ALL, "");
  double value = 0.0;
  for (const utf16_unit separator : {utf16_unit('.'), utf16_unit(',')}) {
    const utf16_unit text[] = {'2', separator, '5', 'x', 0};
    EXPECT_TRUE(StringToDouble(text, value));
    EXPECT_EQ(value, separator == point ? 2.5 : 2.0);
  }
  EXPECT_FALSE(StringToDouble(VELMAR_U("abc"), value));
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

#if !defined(_WIN32)
// On Linux the user's locale is the environment's; a change must be seen
// without restarting the process.
TEST(LinuxStringToDoubleTest, SeesAChangedUserLocale) {
  struct Case {
    const char* lc_all;
    const char* lc_numeric;
    double value;  // of "2,5"
  };
  for (const Case& c : {Case{"de_DE.UTF-8", "C", 2.5}, Case{"en_US.UTF-8", "C", 2.0},
                        Case{"", "de_DE.UTF-8", 2.5}, Case{"", "xx_NOWHERE", 2.0}}) {
    const folian::test::ScopedEnv env({{"LC_ALL", c.lc_all}, {"LC_NUMERIC", c.lc_numeric}});
    ForgetUserDecimalPoint();
    double value = 0.0;
    EXPECT_TRUE(StringToDouble(VELMAR_U("2,5"), value));
    EXPECT_EQ(value, c.value) << c.lc_all << c.lc_numeric << ": run scripts/install-deps.sh";
  }
  ForgetUserDecimalPoint();
}
#endif

}  // namespace
}  // namespace velmar::utils
