#include "foundation/number_reader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/ustring.h"
#include "platform/scoped_env_test_support.h"

namespace velmar::utils {
namespace {

struct ReadCase {
  const char* text;
  utf16_unit decimal_point;
  double value;
  std::size_t consumed;
};

TEST(ReadDoubleTest, ReadsLikeWcstodWithTheGivenSeparator) {
  const double inf = std::numeric_limits<double>::infinity();
  const ReadCase cases[] = {
      {"2.5", '.', 2.5, 3},     {"  2.5mm", '.', 2.5, 5}, {"\t\n-3.25e2x", '.', -325.0, 9},
      {"+7", '.', 7.0, 2},      {".5", '.', 0.5, 2},      {"5.", '.', 5.0, 2},
      {"1e", '.', 1.0, 1},      {"1e+", '.', 1.0, 1},     {"2,5", '.', 2.0, 1},
      {"2,5", ',', 2.5, 3},     {"2.5", ',', 2.0, 1},   // "." is not a separator in this locale
      {"1,5;2", ',', 1.5, 3},   {"0x1A", '.', 0.0, 1},  // decimal notation only
      {"inf", '.', 0.0, 0},     {"nan", '.', 0.0, 0},     {"-infinity!", '.', 0.0, 0},
      {"-1e999", '.', -inf, 6}, {"1e999", '.', inf, 5},   {"1e-999", '.', 0.0, 6},
      {"abc", '.', 0.0, 0},     {"", '.', 0.0, 0},        {"   ", '.', 0.0, 0},
      {"-", '.', 0.0, 0},       {"+-5", '.', 0.0, 0},     {".", '.', 0.0, 0},
      {"--1", '.', 0.0, 0},
  };
  for (const ReadCase& c : cases) {
    const velmar_ustring text(c.text);
    double value = 99.0;
    EXPECT_EQ(ReadDouble(text.c_str(), c.decimal_point, value), c.consumed) << c.text;
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

  velmar_ustring zeros("0.");
  zeros += velmar_ustring(std::string(100000, '0') + "1e100000");
  EXPECT_EQ(ReadDouble(zeros.c_str(), '.', value), zeros.length());
  EXPECT_DOUBLE_EQ(value, 0.1);

  const utf16_unit lone[] = {'4', 0xD800, '2', 0};
  EXPECT_EQ(ReadDouble(lone, '.', value), 1u);
  EXPECT_EQ(value, 4.0);
}

TEST(ReadDoubleTest, ANonAsciiSeparatorIsRead) {
  const utf16_unit text[] = {'3', 0x066B, '2', '5', 0};  // Arabic decimal separator
  double value = 0.0;
  EXPECT_EQ(ReadDouble(text, 0x066B, value), 4u);
  EXPECT_EQ(value, 3.25);
}

// Runs under an English and a German user locale (see tests/CMakeLists.txt).
TEST(StringToDoubleLocaleTest, UsesTheUserDecimalSeparator) {
  const char* lc_all = std::getenv("LC_ALL");
  const utf16_unit point = CNumericFormatter::GetDecimalPointChar();
  if (lc_all != nullptr && std::strncmp(lc_all, "de_DE", 5) == 0) {
    ASSERT_EQ(point, ',') << "German locale not available (run scripts/install-deps.sh)";
  }
  const utf16_unit other = point == ',' ? '.' : ',';

  velmar_ustring text(VELMAR_U("2"));
  text += point;
  text += VELMAR_U("5x");
  double value = 0.0;
  EXPECT_TRUE(StringToDouble(text.c_str(), value));
  EXPECT_EQ(value, 2.5);

  velmar_ustring foreign(VELMAR_U("2"));
  foreign += other;
  foreign += VELMAR_U("5");
  EXPECT_TRUE(StringToDouble(foreign.c_str(), value));
  EXPECT_EQ(value, 2.0);

  EXPECT_FALSE(StringToDouble(VELMAR_U("abc"), value));
  EXPECT_EQ(value, 0.0);
  EXPECT_EQ(CNumericFormatter::TTOF(velmar_ustring("abc")), 0.0);
  EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), "C");
}

TEST(StringToDoubleLocaleTest, ConcurrentCallsAllAgree) {
  const utf16_unit point = CNumericFormatter::GetDecimalPointChar();
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, point, &failures] {
      for (int i = 0; i < 5000; ++i) {
        velmar_ustring text;
        text.Format(VELMAR_U("%d%c%d"), i, point, t);
        double value = -1.0;
        const bool ok = StringToDouble(text.c_str(), value);
        if (!ok || value != i + t / 10.0) ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

TEST(StringToDoubleTest, LeavesTheProcessLocaleAsC) {
  std::setlocale(LC_ALL, "");
  double value = 0.0;
  EXPECT_TRUE(StringToDouble(VELMAR_U("1"), value));
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

#if !defined(_WIN32)
// On Linux the user's locale is the environment's; a change must be seen
// without restarting the process.
struct ScopedEnv : folian::test::ScopedEnv {
  ScopedEnv(const char* name, const char* value)
      : folian::test::ScopedEnv({{name, value}}, ForgetUserDecimalPoint) {}
};

TEST(LinuxStringToDoubleTest, SeesAChangedUserLocale) {
  double value = 0.0;
  for (const auto& [locale, expected] : {std::pair{"de_DE.UTF-8", 2.5}, {"en_US.UTF-8", 2.0}}) {
    const ScopedEnv env("LC_ALL", locale);
    EXPECT_TRUE(StringToDouble(VELMAR_U("2,5"), value));
    EXPECT_EQ(value, expected) << locale << ": run scripts/install-deps.sh to generate it";
  }
  {
    // LC_NUMERIC counts when LC_ALL is empty; an unknown locale reads ".".
    const ScopedEnv all("LC_ALL", "");
    const ScopedEnv numeric("LC_NUMERIC", "de_DE.UTF-8");
    EXPECT_EQ(UserDecimalPoint(), ',');
    const ScopedEnv unknown("LC_NUMERIC", "xx_NOWHERE");
    EXPECT_EQ(UserDecimalPoint(), '.');
  }
}
#endif

}  // namespace
}  // namespace velmar::utils
