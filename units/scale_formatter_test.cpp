#include "FolianUtils/scale_formatter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "FolianUtils/numeric_formatter.h"
#include "units/user_notation_test_support.h"

namespace velmar::utils {
namespace {

// `text` with every "." written as the user's decimal point.
velmar_ustring Localized(const char* text) { return testing::UserText(text, 0); }

struct FormatCase {
  double scale;
  const char* text;
};

TEST(ScaleFormatterLocaleTest, FormatsRatios) {
  const FormatCase cases[] = {
      {0.02, "1:50"},
      {1.0, "1:1"},
      {4.0, "4:1"},
      {2.5, "2.5:1"},
      {0.3, "~ 1:3.33"},
      {0.25, "1:4"},
      {0.4, "1:2.5"},
      {1.0 / 48, "1:48"},
      {3.14159, "~ 3.14:1"},
      {1.001, "~ 1:1"},
      {0.0, "0"},
      {-2.0, "0"},
      {std::numeric_limits<double>::quiet_NaN(), "0"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(ScaleFormatter::Format(c.scale).ToUTF8(), Localized(c.text).ToUTF8()) << c.scale;
  }
}

struct ParseCase {
  const char* text;
  double scale;
};

TEST(ScaleFormatterLocaleTest, ParsesTypedScales) {
  const ParseCase cases[] = {
      {"1:50", 0.02},
      {"1/4", 0.25},
      {"1=8", 0.125},
      {"50%", 0.5},
      {"~50%", 0.5},
      {"12.5%", 0.125},
      {"2", 2},
      {"2.5", 2.5},
      {"~ 1:50", 0.02},
      {"~2", 2},
      {" 1 : 50 ", 0.02},
      {"1:3.5", 1 / 3.5},
      {"1\"=4'", 1.0 / 48},
      {"1\" = 1'6\"", 1.0 / 18},
      {"1'6:2", 9},
      {"1cm:1m", 0.01},
      {"1CM:1M", 0.01},
      {"1 mm : 1 cm", 0.1},
      {"1yd:1'", 3},
      {"1 YD = 1'", 3},
      {"10mm:1\"", 10 / 25.4},
      // Unusable texts are all 0.
      {"1:0", 0},
      {"0:5", 0},
      {"1:", 0},
      {":5", 0},
      {"-1:50", 0},
      {"1:-50", 0},
      {"1:50:2", 0},
      {"1::2", 0},
      {"1cm:50", 0},
      {"1:50cm", 0},
      {"1ft:1'", 0},
      {"1 km:1 m", 0},
      {"1 mm m:1 m", 0},
      {"cm:mm", 0},
      {"1 2:3", 0},
      {"1e3:1", 0},
      {"abc", 0},
      {"", 0},
      {"~", 0},
      {"%", 0},
      {"~ 50%", 0},  // only digits, points and commas before a "%"
      {"50 %", 0},
      {"1:2%", 0},
      {" 2", 0},  // a bare number must be digits, points and commas only
      {"2 ", 0},
      {"2x", 0},
  };
  for (const ParseCase& c : cases) {
    EXPECT_NEAR(ScaleFormatter::Parse(Localized(c.text)), c.scale, 1e-12) << c.text;
  }
}

TEST(ScaleFormatterTest, DivisionByZeroAndOverflowAreNoScale) {
  const std::string nines(400, '9');
  const char* texts[] = {"1:0", "5:0.0", "1cm:0m", "0:0"};
  for (const char* text : texts) {
    EXPECT_EQ(ScaleFormatter::Parse(velmar_ustring(text)), 0.0) << text;
  }
  // Digits beyond the range of a double: never an infinite scale.
  const std::string huge[] = {nines,       nines + ":1",        "1:" + nines,
                              nines + "%", nines + ":" + nines, nines + "yd:1mm"};
  for (const std::string& text : huge) {
    EXPECT_EQ(ScaleFormatter::Parse(velmar_ustring(text)), 0.0) << text.size();
  }
}

TEST(ScaleFormatterLocaleTest, CommaIsANumberCharacter) {
  // "1,5" passes the character test everywhere; how much of it is read
  // depends on the user's decimal point.
  const bool comma = CNumericFormatter::GetDecimalPointChar() == ',';
  EXPECT_DOUBLE_EQ(ScaleFormatter::Parse(velmar_ustring("1,5")), comma ? 1.5 : 1.0);
  EXPECT_DOUBLE_EQ(ScaleFormatter::Parse(velmar_ustring("150,5%")), comma ? 1.505 : 1.5);
}

TEST(ScaleFormatterLocaleTest, ReadsBackWhatItWrites) {
  for (double scale = 0.0013; scale < 300.0; scale *= 1.37) {
    const velmar_ustring text = ScaleFormatter::Format(scale);
    const double read = ScaleFormatter::Parse(text);
    // Two decimals on the larger side of the ratio.
    const double tolerance = scale <= 1.0 ? scale * scale * 0.0051 : 0.0051;
    EXPECT_NEAR(read, scale, tolerance) << text.ToUTF8();
  }
}

}  // namespace
}  // namespace velmar::utils
