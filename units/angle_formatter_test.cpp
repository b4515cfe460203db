#include "FolianUtils/angle_formatter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/math_constants.h"
#include "units/user_notation_test_support.h"

namespace velmar::utils {
namespace {

using units::AngleInfo;
using units::UnitsInfo;

using base::kPi;

// `text` with every "." written as the user's decimal point, so one table
// serves both locales.
velmar_ustring Localized(const char* text) { return testing::UserText(text, 0); }

AngleInfo Settings(UnitsInfo::Units units, int precision) {
  AngleInfo info;
  info.SetUnits(units, false);
  info.SetPrecision(precision, false);
  return info;
}

struct VcbCase {
  double radians;
  const char* text;
};

// Within the tolerance the sign goes too.
TEST(AngleFormatterLocaleTest, FormatsMeasurementBoxDegrees) {
  const VcbCase cases[] = {{0.5235987755982988, "30.0°"},
                           {-0.7853981633974483, "-45.0°"},
                           {0.0005, "0.0°"},
                           {-0.0005, "0.0°"},
                           {0.001, "0.1°"},
                           {-0.001, "-0.1°"},
                           {kPi, "180.0°"},
                           {2 * kPi, "360.0°"},
                           {0.0, "0.0°"}};
  for (const VcbCase& c : cases) {
    EXPECT_EQ(AngleFormatter::FormatAngleForVCB(c.radians).ToUTF8(), Localized(c.text).ToUTF8())
        << c.radians;
  }
}

struct FormatCase {
  UnitsInfo::Units units;
  int precision;
  bool suppress_units;
  double radians;
  const char* text;
};

TEST(AngleFormatterLocaleTest, FormatsInTheDisplayUnit) {
  const FormatCase cases[] = {{UnitsInfo::kRadians, 4, false, 1.0, "1.0000 r"},
                              {UnitsInfo::kRadians, 4, false, -1.0, "-1.0000 r"},
                              {UnitsInfo::kRadians, 2, false, 0.125, "0.13 r"},
                              {UnitsInfo::kRadians, 0, false, 2.5, "3 r"},
                              // Degrees allow at most two decimals.
                              {UnitsInfo::kDegrees, 9, false, kPi / 4, "45.00°"},
                              {UnitsInfo::kDegrees, 0, false, kPi / 3, "60°"},
                              {UnitsInfo::kDegrees, 1, true, kPi / 2, "90.0"},
                              // Every unit but degrees carries the radian text.
                              {UnitsInfo::kGradians, 2, false, kPi, "200.00 r"},
                              {UnitsInfo::kGradians, 1, true, -kPi / 2, "-100.0"},
                              {UnitsInfo::kRadians, 4, true, 0.00001, "0.0000"},
                              // A precision below zero prints whole units.
                              {UnitsInfo::kDegrees, -3, false, kPi / 4, "45°"}};
  for (const FormatCase& c : cases) {
    AngleInfo info = Settings(c.units, c.precision);
    info.SetSuppressUnits(c.suppress_units);
    AngleFormatter formatter(info);
    EXPECT_EQ(formatter.Format(c.radians).ToUTF8(), Localized(c.text).ToUTF8())
        << c.units << " " << c.precision << " " << c.radians;
  }
}

TEST(AngleFormatterTest, RoundingErrorNeverEarnsTheApproximationMark) {
  for (const UnitsInfo::Units units :
       {UnitsInfo::kRadians, UnitsInfo::kDegrees, UnitsInfo::kGradians}) {
    for (int precision = 0; precision <= 4; ++precision) {
      AngleFormatter formatter(Settings(units, precision));
      for (double x = -7.0; x < 7.0; x += 0.0123456789) {
        const std::string text = formatter.Format(x).ToUTF8();
        EXPECT_EQ(text.find('~'), std::string::npos) << text;
      }
    }
  }
}

TEST(AngleFormatterTest, FormatIsVirtualAndCopiesKeepTheSettings) {
  AngleInfo info = Settings(UnitsInfo::kDegrees, 1);
  AngleFormatter original(info);
  // The formatter holds its own copy: later edits of `info` do not reach it.
  info.SetUnits(UnitsInfo::kRadians, false);
  AngleFormatter copy(original);
  AngleFormatter assigned(AngleInfo{});
  assigned = original;
  CNumericFormatter& base = assigned;
  EXPECT_EQ(base.Format(kPi), Localized("180.0°"));
  EXPECT_EQ(copy.Format(kPi), Localized("180.0°"));
  EXPECT_EQ(copy.GetAngleInfo().GetUnits(), UnitsInfo::kDegrees);
}

// Texts that all parse alike. A percentage loses its last character,
// whatever it is.
struct SameAngle {
  bool ok;
  double value;
  std::vector<const char*> texts;
};

TEST(AngleFormatterLocaleTest, ParsesTheNumberAsTyped) {
  const SameAngle cases[] = {
      {true, 30, {"30°"}},   {true, 12.5, {"~ 12.5°", "~12.5"}},
      {true, 90, {"25%"}},   {true, 45, {"12.5%", "  45"}},
      {true, 7.2, {"2%5"}},  {true, 180, {"50%°"}},
      {true, -30, {"-30"}},  {true, 0.5, {"0.5 r"}},
      {true, 100, {"1e2°"}}, {false, 0, {"abc", "", "~", "°", "~°", "%", "~%", "°30"}}};
  for (const SameAngle& c : cases) {
    for (const char* text : c.texts) {
      double out = -99.0;
      EXPECT_EQ(AngleFormatter::Parse(Localized(text), out), c.ok) << text;
      EXPECT_NEAR(out, c.value, 1e-12) << text;
    }
  }
}

TEST(AngleFormatterLocaleTest, ParsesWhatItFormats) {
  for (const UnitsInfo::Units units :
       {UnitsInfo::kRadians, UnitsInfo::kDegrees, UnitsInfo::kGradians}) {
    const AngleInfo info = Settings(units, 2);
    AngleFormatter formatter(info);
    for (double x = -6.0; x < 6.0; x += 0.37) {
      double typed = 0.0;
      const velmar_ustring text = formatter.Format(x);
      ASSERT_TRUE(AngleFormatter::Parse(text, typed)) << text.ToUTF8();
      EXPECT_NEAR(typed * info.GetConversionFactor(), x, 0.006 * info.GetConversionFactor())
          << text.ToUTF8();
    }
  }
}

}  // namespace
}  // namespace velmar::utils
