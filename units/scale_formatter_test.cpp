#include "FolianUtils/scale_formatter.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "units/user_notation_test_support.h"

namespace velmar::utils {
namespace {

using testing::UserText;

TEST(ScaleFormatterLocaleTest, FormatsRatios) {
  const std::pair<double, const char*> cases[] = {
      {0.02, "1:50"},       {1.0, "1:1"}, {2.5, "2.5:1"},
      {0.3, "~ 1:3.33"},    {-2.0, "0"},  {std::numeric_limits<double>::quiet_NaN(), "0"},
      {3.14159, "~ 3.14:1"}};
  for (const auto& [scale, text] : cases) {
    EXPECT_EQ(ScaleFormatter::Format(scale), UserText(text, 0)) << scale;
  }
}

// Texts that all read as one scale; unusable texts are all 0: no ratio, a
// zero or negative side, units on one side only or not a unit, more than
// digits, points and commas before a "%" or in a bare number, a number
// beyond the range of a double.
TEST(ScaleFormatterLocaleTest, ParsesTypedScales) {
  const std::string nines(400, '9');
  const std::pair<std::string, double> cases[] = {
      {"~ 1:50", 0.02}, {" 1 : 50 ", 0.02}, {"1/4", 0.25},
      {"1=8", 0.125},   {"12.5%", 0.125},   {"~2", 2},
      {"1CM:1M", 0.01}, {"1 YD = 1'", 3},   {"1\" = 1'6\"", 1.0 / 18}};
  for (const auto& [text, scale] : cases) {
    EXPECT_NEAR(ScaleFormatter::Parse(UserText(text, 0)), scale, 1e-12) << text;
  }
  const std::vector<std::string> unusable = {
      "1:0",    "0:5",        "1:",        "-1:50",         "1:50:2", "1::2",
      "1cm:50", "1:50cm",     "1ft:1'",    "cm:mm",         "1 2:3",  "1e3:1",
      "",       "~",          "%",         "~ 50%",         "50 %",   "2x",
      nines,    "1:" + nines, nines + "%", nines + "yd:1mm"};
  for (const std::string& text : unusable) {
    EXPECT_EQ(ScaleFormatter::Parse(UserText(text, 0)), 0.0) << text.substr(0, 20);
  }
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
