#include "FolianUtils/angle_formatter.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/math_constants.h"
#include "units/user_notation_test_support.h"

namespace velmar::utils {
namespace {

using base::kPi;
using units::AngleInfo;
using units::UnitsInfo;

// `text` with every "." written as the user's decimal point.
std::string Localized(const char* text) { return testing::InUserNotation(text, 0); }

AngleInfo Settings(UnitsInfo::Units units, int precision, bool suppressUnits = false) {
  AngleInfo info;
  info.SetUnits(units, false);
  info.SetPrecision(precision, false);
  info.SetSuppressUnits(suppressUnits);
  return info;
}

// Degrees allow at most two decimals; every unit but degrees carries the
// radian text; a precision below zero prints whole units; within the
// tolerance the measurement box drops the sign too. Each text reads back as
// a value with the same text.
TEST(AngleFormatterLocaleTest, Formats) {
  // kUnitsCount: FormatAngleForVCB
  const std::tuple<UnitsInfo::Units, int, bool, double, const char*> cases[] = {
      {UnitsInfo::kRadians, 4, true, -1.0, "-1.0000"},
      {UnitsInfo::kDegrees, 9, false, kPi / 4, "45.00°"},
      {UnitsInfo::kGradians, 1, false, -kPi / 2, "-100.0 r"},
      {UnitsInfo::kDegrees, -3, false, kPi / 4, "45°"},
      {UnitsInfo::kUnitsCount, 1, false, -0.0005, "0.0°"},
      {UnitsInfo::kUnitsCount, 1, false, -0.001, "-0.1°"}};
  for (const auto& [units, precision, suppressUnits, radians, expected] : cases) {
    AngleFormatter formatter(Settings(units, precision, suppressUnits));
    const velmar_ustring text = units == UnitsInfo::kUnitsCount
                                    ? AngleFormatter::FormatAngleForVCB(radians)
                                    : formatter.Format(radians);
    EXPECT_EQ(text.ToUTF8(), Localized(expected)) << units << " " << radians;
    double typed = 0.0;
    if (units == UnitsInfo::kUnitsCount) continue;
    EXPECT_TRUE(AngleFormatter::Parse(text, typed)) << expected;
    EXPECT_EQ(Localized(expected),
              formatter.Format(typed * formatter.GetAngleInfo().GetConversionFactor()).ToUTF8());
  }
  const AngleFormatter original(Settings(UnitsInfo::kDegrees, 1));
  AngleFormatter copy(original);
  copy = original;
  EXPECT_EQ(static_cast<CNumericFormatter&>(copy).Format(kPi).ToUTF8(), Localized("180.0°"));
}

// A percentage loses its last character, whatever it is.
TEST(AngleFormatterLocaleTest, ParsesTheNumberAsTyped) {
  const std::tuple<const char*, double, bool> cases[] = {
      {"~ 12.5°", 12.5, true}, {"~12.5", 12.5, true}, {"25%", 90, true}, {"50%°", 180, true},
      {"0.5 r", 0.5, true},    {"", 0, false},        {"~", 0, false},   {"~°", 0, false},
      {"%", 0, false},         {"°30", 0, false}};
  for (const auto& [text, value, ok] : cases) {
    double out = -99.0;
    EXPECT_EQ(AngleFormatter::Parse(velmar_ustring(Localized(text)), out), ok) << text;
    EXPECT_NEAR(out, value, 1e-12) << text;
  }
}

}  // namespace
}  // namespace velmar::utils
