#include "FolianUtils/scale_formatter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

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
  const FormatCase cases[] = {{0.02, "1:50"},
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
                              {std::numeric_limits<double>::quiet_NaN(), "0"}};
  for (const FormatCase& c : cases) {
    EXPECT_EQ(ScaleFormatter::Format(c.scale).ToUTF8(), Localized(c.text).ToUTF8()) << c.scale;
  }
}

// Texts that all read as one scale; unusable texts are all 0: no ratio, a
// zero or negative side, units on one side only or not a unit, more than
// digits, points and commas before a "%" or in a bare number.
struct SameScale {
  double scale;
  std::vector<const char*> texts;
};

TEST(ScaleFormatterLocaleTest, ParsesTypedScales) {
  const SameScale cases[] = {
      {0.02, {"1:50", "~ 1:50", " 1 : 50 "}},
      {0.25, {"1/4"}},
      {0.125, {"1=8", "12.5%"}},
      {0.5, {"50%", "~50%"}},
      {2, {"2", "~2"}},
      {2.5, {"2.5"}},
      {1 / 3.5, {"1:3.5"}},
      {1.0 / 48, {"1\"=4'"}},
      {1.0 / 18, {"1\" = 1'6\""}},
      {9, {"1'6:2"}},
      {0.01, {"1cm:1m", "1CM:1M"}},
      {0.1, {"1 mm : 1 cm"}},
      {3, {"1yd:1'", "1 YD = 1'"}},
      {10 / 25.4, {"10mm:1\""}},
      {0, {"1:0",    "0:5",    "1:",     ":5",       "-1:50",      "1:-50", "1:50:2", "1::2",
           "1cm:50", "1:50cm", "1ft:1'", "1 km:1 m", "1 mm m:1 m", "cm:mm", "1 2:3",  "1e3:1",
           "abc",    "",       "~",      "%",        "~ 50%",      "50 %",  "1:2%",   " 2",
           "2 ",     "2x",     "5:0.0",  "1cm:0m",   "0:0"}}};
  for (const SameScale& c : cases) {
    for (const char* text : c.texts) {
      EXPECT_NEAR(ScaleFormatter::Parse(Localized(text)), c.scale, 1e-12) << text;
    }
  }
}

TEST(ScaleFormatterTest, OverflowIsNoScale) {
  const std::string nines(400, '9');
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
