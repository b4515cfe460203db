#include "FolianUtils/length_formatter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "FolianUtils/host_strings.h"
#include "FolianUtils/length_evaluator.h"
#include "units/length_test_support.h"

namespace velmar::utils {
namespace {

using testing::InUserNotation;
using testing::LengthSettings;
using testing::MakeLengthInfo;
using units::LengthInfo;
using units::UnitsInfo;

constexpr auto kDecimal = UnitsInfo::kDecimal;
constexpr auto kArchitectural = UnitsInfo::kArchitectural;
constexpr auto kEngineering = UnitsInfo::kEngineering;
constexpr auto kFractional = UnitsInfo::kFractional;

using U = UnitsInfo;

constexpr LengthSettings kMm2{kDecimal, U::kMillimeters, 2};
constexpr LengthSettings kMm2Quiet{kDecimal, U::kMillimeters, 2, false, false, false, true};
constexpr LengthSettings kMm2Bare{kDecimal, U::kMillimeters, 2, false, true};
constexpr LengthSettings kFrac3{kFractional, U::kInches, 3};
constexpr LengthSettings kFrac3Space{kFractional, U::kInches, 3, true};
constexpr LengthSettings kFrac3Bare{kFractional, U::kInches, 3, false, true};
constexpr LengthSettings kArch4{kArchitectural, U::kInches, 4};
constexpr LengthSettings kArch4Space{kArchitectural, U::kInches, 4, true};
constexpr LengthSettings kArch4Bare{kArchitectural, U::kInches, 4, false, true};
constexpr LengthSettings kArch4Force{kArchitectural, U::kInches, 4, false, false, true};
constexpr LengthSettings kArch6{kArchitectural, U::kInches, 6};
constexpr LengthSettings kEng2{kEngineering, U::kInches, 2};
constexpr LengthSettings kEng2Force{kEngineering, U::kInches, 2, false, false, true};
constexpr LengthSettings kMetres6{kDecimal, U::kMeters, 6};

// What a row calls: Format, Format with adaptive precision, FormatAndStrip
// or FormatArea (the value in square inches).
enum Call { kFormat, kAdaptive, kStrip, kArea };

struct FormatCase {
  LengthSettings settings;
  Call call;
  double inches;
  const char* text;  // "." in the user's notation
};

TEST(LengthFormatLocaleTest, WorkedExamples) {
  const double inf = std::numeric_limits<double>::infinity();
  const FormatCase cases[] = {
      {kMm2, kFormat, 1.0, "25.40 mm"},
      {kMm2, kFormat, 1.0005, "~ 25.41 mm"},
      {kMm2, kFormat, -1.0, "-25.40 mm"},
      {kMm2, kFormat, -1.0005, "~ -25.41 mm"},
      {kMm2Quiet, kFormat, 1.0005, "25.41 mm"},
      {kMm2Bare, kFormat, 1.0, "25.40"},
      {{kDecimal, U::kInches, 0}, kFormat, 2.6, "~ 3\""},
      {{kDecimal, U::kCentimeters, 1}, kFormat, 1.0, "~ 2.5 cm"},
      {{kDecimal, U::kMeters, 3}, kFormat, 100.0, "2.540 m"},
      {{kDecimal, U::kPoints, 4}, kFormat, 0.5, "36.0 pt"},  // points stop at 1 decimal
      {{kDecimal, U::kFeet, 2}, kFormat, 30.0, "2.50'"},
      {kEng2, kFormat, 30.0, "2.50'"},
      {kEng2, kFormat, 24.0, "2'"},
      {kEng2Force, kFormat, 24.0, "2.00'"},
      {kEng2, kFormat, -30.0, "-2.50'"},
      {{kEngineering, U::kInches, 1}, kFormat, 13.0, "~ 1.1'"},
      // Precision 0 rounds to whole inches, then writes whole feet.
      {{kEngineering, U::kInches, 0}, kFormat, 30.0, "2'"},
      {kFrac3, kFormat, 2.3, "2-1/4\""},
      {kFrac3Space, kFormat, 2.3, "2 1/4\""},
      {kFrac3Bare, kFormat, 2.3, "2-1/4"},
      {kFrac3, kFormat, 0.25, "1/4\""},
      {kFrac3, kFormat, 3.0, "3\""},
      {kFrac3, kFormat, -0.25, "-1/4\""},
      {kFrac3, kFormat, 0.05, "0\""},
      {kArch4, kFormat, 12.5, "1'-1/2\""},
      {kArch4Space, kFormat, 12.5, "1' 1/2\""},
      {kArch4Bare, kFormat, 12.5, "1'-1/2\""},
      {kArch4, kFormat, 11.96, "11 15/16\""},
      {kArch4, kFormat, 11.99, "1'-0\""},
      {kArch4, kFormat, 24.0, "2'-0\""},
      {kArch4Space, kFormat, 24.0, "2' 0\""},
      {kArch4Bare, kFormat, 24.0, "2'"},
      {kArch4, kFormat, 0.0, "0\""},
      {kArch4, kFormat, -0.0, "0\""},
      {kArch4, kFormat, 5.0, "5\""},
      {kArch4Force, kFormat, 5.0, "5 0/2\""},
      {kArch4Force, kFormat, 17.0, "1'-5 0/2\""},
      {kArch4, kFormat, -66.5, "-5'-6 1/2\""},
      {{kArchitectural, U::kMillimeters, 6}, kFormat, 0.015625, "1/64\""},
      {{kArchitectural, U::kInches, 0}, kFormat, 12.5, "1'-1\""},
      // Unusual values and settings: finite in inches, infinite in points; a
      // negative precision counts as 0; a format outside the enum writes feet
      // and decimal inches.
      {{kDecimal, U::kPoints, 1}, kFormat, 1e308, ""},
      {kArch4, kFormat, 1.2e21, "100000000000000000000'-0\""},
      {{kFractional, U::kInches, 6}, kFormat, 1e17, "100000000000000000\""},
      {{kFractional, U::kInches, -3}, kFormat, 2.4, "2\""},
      {{static_cast<U::Format>(7), U::kInches, 2}, kFormat, 12.5, "1'-0.50\""},
      // Adaptive precision lowers the decimals of large values, never below
      // the settings.
      {kMetres6, kAdaptive, 2000.0 / 0.0254, "2000.00 m"},
      {kMetres6, kFormat, 2000.0 / 0.0254, "2000.000000 m"},
      {kMetres6, kAdaptive, 0.5 / 0.0254, "0.500000 m"},
      {{kDecimal, U::kMeters, 1}, kAdaptive, 0.5 / 0.0254, "0.5 m"},
      {kArch6, kFormat, 20000.0 + 1.0 / 64, "1666'-8 1/64\""},
      {kArch6, kAdaptive, 20000.0 + 1.0 / 64, "1666'-8 1/32\""},
      {kArch6, kAdaptive, 20000.0 + 1.0 / 128, "1666'-8\""},
      {kArch6, kAdaptive, 200000.25, "16666'-8 1/2\""},
      {kMm2, kStrip, 1.0005, " 25.41 mm"},
      {kMm2, kStrip, 1.0, "25.4 mm"},
      {{kDecimal, U::kInches, 2}, kStrip, 3.0, "3\""},
      {{kDecimal, U::kInches, 2}, kStrip, 300.0, "300\""},
      {{kDecimal, U::kInches, 0}, kStrip, 300.0, "300\""},
      {{kDecimal, U::kInches, 2}, kStrip, -0.5, "-0.5\""},
      {{kEngineering, U::kInches, 3}, kStrip, 30.0, "2.5'"},
      {kMm2Bare, kStrip, 1.0, "25.4"},
      {kArch4, kStrip, 120.0, "10'-0\""},
      {kArch4Bare, kStrip, 12.5, "1'-1/2"},
      {kArch4, kArea, 288.0, "2 Feet \u00B2"},
      {kArch4, kArea, 100.0, "100 Inches \u00B2"},
      {{kArchitectural, U::kInches, 2}, kArea, 216.0, "1.5 Feet \u00B2"},
      {{kFractional, U::kInches, 2}, kArea, 100.0, "0.69 Feet \u00B2"},
      {kEng2, kArea, 144.0, "1 Feet \u00B2"},
      {kMm2, kArea, 1.0, "645.16 Millimeters \u00B2"},
      {{kDecimal, U::kMeters, 3}, kArea, 1550.0031, "1 Meters \u00B2"},
      {{kDecimal, U::kFeet, 2}, kArea, 72.0, "0.5 Feet \u00B2"},
      {{kDecimal, U::kPoints, 1}, kArea, 1.0, "5184 Points \u00B2"},
      {{kDecimal, U::kNone, 1}, kArea, 2.26, "2.3 None \u00B2"},
      {kArch4Bare, kArea, 288.0, "2"},
      {kArch4, kArea, inf, ""},
      {kFrac3, kStrip, std::numeric_limits<double>::quiet_NaN(), ""}};
  for (const FormatCase& c : cases) {
    CLengthFormatter formatter(MakeLengthInfo(c.settings));
    formatter.SetUseAdaptivePrecision(c.call == kAdaptive);
    const velmar_ustring text = c.call == kStrip  ? formatter.FormatAndStrip(c.inches)
                                : c.call == kArea ? formatter.FormatArea(c.inches)
                                                  : formatter.Format(c.inches);
    EXPECT_EQ(text.ToUTF8(), InUserNotation(c.text))
        << "input " << c.inches << " format " << c.settings.format << " call " << c.call;
  }
  EXPECT_EQ(CLengthFormatter::FormatScaleForVCB(1, 48).ToUTF8(), InUserNotation("1.000, 48.000"));
  EXPECT_EQ(CLengthFormatter::FormatScaleForVCB(0.33333, -2).ToUTF8(),
            InUserNotation("0.333, -2.000"));
}

TEST(LengthFormatterTest, NoTextForValuesThatAreNotFinite) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const auto format : {kDecimal, kArchitectural, kEngineering, kFractional}) {
    CLengthFormatter formatter(MakeLengthInfo({format, U::kInches, 3}));
    for (const double x : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
      EXPECT_TRUE(formatter.Format(x).empty() && formatter.FormatAndStrip(x).empty() &&
                  formatter.FormatArea(x).empty())
          << format << " " << x;
    }
  }
}

TEST(LengthFormatterTest, UnitsStringsAndSteps) {
  const struct {
    U::Units units;
    const char* text;
  } suffixes[] = {{U::kInches, "\""},       {U::kFeet, "'"},    {U::kMillimeters, " mm"},
                  {U::kCentimeters, " cm"}, {U::kMeters, " m"}, {U::kPoints, " pt"},
                  {U::kNone, "\""},         {U::kYards, "\""},  {static_cast<U::Units>(-4), "\""}};
  for (const auto& c : suffixes) {
    EXPECT_EQ(CLengthFormatter::GetUnitsString(c.units).ToUTF8(), c.text) << c.units;
  }
  const struct {
    U::Format format;
    int precision;
    double step;
  } steps[] = {{kDecimal, 0, 1.0},
               {kDecimal, 3, 0.001},
               {kEngineering, 0, 12.0},
               {kEngineering, 2, 0.12},
               {kArchitectural, 0, 1.0},
               {kArchitectural, 4, 0.0625},
               {kFractional, 6, 1.0 / 64},
               {kFractional, 7, 1.0 / 128},
               {kDecimal, 12, 1e-12},
               {kDecimal, -2, 1.0},
               {static_cast<U::Format>(9), 2, 0.0}};
  for (const auto& c : steps) {
    EXPECT_DOUBLE_EQ(CLengthFormatter::GetLengthPrecisionAsLength(c.format, c.precision), c.step)
        << c.format << " " << c.precision;
  }
}

TEST(LengthFormatterTest, CopiesKeepSettingsAndAdaptivePrecision) {
  CLengthFormatter adaptive(MakeLengthInfo(kMetres6));
  adaptive.SetUseAdaptivePrecision(true);
  CLengthFormatter copy(adaptive);
  EXPECT_EQ(copy.Format(2000.0 / 0.0254).ToUTF8(), adaptive.Format(2000.0 / 0.0254).ToUTF8());
  CLengthFormatter assigned(MakeLengthInfo(kArch4));
  assigned = adaptive;
  EXPECT_EQ(assigned.Format(1.0 / 0.0254).ToUTF8(), adaptive.Format(1.0 / 0.0254).ToUTF8());
}

// Half of one step of the shown precision, in inches.
double HalfStepInInches(const LengthInfo& info) {
  const int precision = info.GetEffectivePrecision();
  const double step = CLengthFormatter::GetLengthPrecisionAsLength(info.GetFormat(), precision);
  if (info.GetFormat() == kDecimal) return step * units::GetFactorToInches(info.GetUnits()) / 2;
  // Precision 0 rounds to whole inches and then drops the fraction of a
  // foot, so the text is up to a foot short.
  if (info.GetFormat() == kEngineering && precision == 0) return 12.0;
  return step / 2;
}

std::vector<double> SampleLengths(double step) {
  std::vector<double> values = {0.0, 0.0004, 11.99, 12.0, 143.999, 1e5, 123456.789};
  std::mt19937_64 random(20260);
  std::uniform_real_distribution<double> wide(0.0, 20000.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 300; ++i) values.push_back(wide(random));
  for (int feet = 1; feet < 40; ++feet) {
    const double jitter = step * unit(random);
    values.push_back(12.0 * feet - jitter);
    values.push_back(12.0 * feet + jitter);
    // Exactly half a step below a whole foot: the rounding carries.
    values.push_back(12.0 * feet - step / 2);
  }
  for (int i = 0; i < 100; ++i) values.push_back((std::floor(wide(random)) + 0.5) * step);
  const std::size_t positive = values.size();
  for (std::size_t i = 0; i < positive; ++i) values.push_back(-values[i]);
  return values;
}

// Every text the formatter writes, with every flag in turn, reads back
// within half a step: through Parse, and through the length evaluator alone,
// in parentheses and multiplied by 1.
TEST(LengthFormatLocaleTest, TextReadsBack) {
  const std::vector<LengthSettings> shapes = {
      {kDecimal, UnitsInfo::kInches},      {kDecimal, UnitsInfo::kFeet},
      {kDecimal, UnitsInfo::kMillimeters}, {kDecimal, UnitsInfo::kCentimeters},
      {kDecimal, UnitsInfo::kMeters},      {kDecimal, UnitsInfo::kPoints},
      {kDecimal, UnitsInfo::kNone},        {kArchitectural, UnitsInfo::kInches},
      {kEngineering, UnitsInfo::kInches},  {kFractional, UnitsInfo::kInches}};
  int checked = 0;
  for (LengthSettings settings : shapes) {
    for (settings.precision = 0; settings.precision <= 6; ++settings.precision) {
      const double half = HalfStepInInches(MakeLengthInfo(settings));
      const std::vector<double> samples = SampleLengths(2 * half);
      for (std::size_t i = 0; i < samples.size(); ++i) {
        const double x = samples[i];
        settings.spaceSeparator = (i & 1) != 0;
        const bool strip = i % 3 != 0;
        // Stripped texts keep their unit: without it, whole feet would read as inches.
        settings.suppressUnits = (i & 2) != 0 && !strip;
        settings.forceFraction = (i & 4) != 0;
        settings.suppressApproximation = (i & 8) != 0;
        const LengthInfo info = MakeLengthInfo(settings);
        CLengthFormatter formatter(info);
        const velmar_ustring text = strip ? formatter.FormatAndStrip(x) : formatter.Format(x);
        const double tolerance = half * (1 + 1e-9) + 1e-9 * std::fabs(x);
        double back = 0.0;
        ASSERT_TRUE(formatter.Parse(text, back)) << text.ToUTF8();
        ASSERT_LE(std::fabs(back - x), tolerance) << "x=" << x << " text=" << text.ToUTF8();
        const std::string utf8 = text.ToUTF8();
        double evaluated = 0.0;
        ASSERT_TRUE(units::EvaluateLength(text, info, evaluated)) << utf8;
        ASSERT_LE(std::fabs(evaluated - x), tolerance) << "x=" << x << " text=" << utf8;
        for (const std::string& wrapped : {"(" + utf8 + ")", utf8 + " * 1"}) {
          double again = 0.0;
          ASSERT_TRUE(units::EvaluateLength(velmar_ustring(wrapped), info, again)) << wrapped;
          ASSERT_NEAR(again, evaluated, 1e-12 * std::fabs(evaluated)) << wrapped;
        }
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 50000);
}

TEST(LengthFormatLocaleTest, BinaryFormatsNeverMarkApproximation) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (const auto format : {kArchitectural, kFractional}) {
    for (int precision = 0; precision <= 6; ++precision) {
      for (const bool adaptive : {false, true}) {
        CLengthFormatter formatter(MakeLengthInfo({format, UnitsInfo::kInches, precision}));
        formatter.SetUseAdaptivePrecision(adaptive);
        std::vector<double> values = SampleLengths(std::ldexp(1.0, -precision));
        for (double scale = 1; scale < 1e300; scale *= 7.3) values.push_back(scale * unit(random));
        values.push_back(std::ldexp(1.0, 52) + 1);
        values.push_back(0.49999999999999994 / 64);
        values.push_back(std::numeric_limits<double>::max());
        for (const double x : values) {
          const std::string text = formatter.Format(x).ToUTF8();
          ASSERT_FALSE(text.empty()) << x;
          ASSERT_NE(text[0], '~') << x << " " << text;
        }
      }
    }
  }
}

bool TranslateUnitWords(const velmar_ustring& key, velmar_ustring& result) {
  static const char* const kTable[][2] = {
      {"Abbreviation for millimeter", "MiM"}, {"Abbreviation for centimeter", "ZM"},
      {"Abbreviation for meter", "Mt"},       {"Abbreviation for point", "Pkt"},
      {"Millimeters", "Millimeter"},          {"Units of feet", "Fu\xC3\x9F"},
  };
  for (const auto& entry : kTable) {
    if (key == entry[0]) {
      result = entry[1];
      return true;
    }
  }
  return false;
}

bool TranslateOtherwise(const velmar_ustring&, velmar_ustring& result) {
  result = "other";
  return true;
}

// The unit texts are fixed once per process, so the translated texts are
// checked in a fresh process that registers the host table first.
TEST(LengthFormatterStringsDeathTest, HostTranslationsFixedAtFirstUse) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RegisterHostStringLookup(TranslateUnitWords);
        std::string failures;
        const auto check = [&failures](bool ok, const char* what) {
          if (!ok) failures += std::string(what) + "; ";
        };
        using F = CLengthFormatter;
        check(F::GetUnitsString(UnitsInfo::kMillimeters).ToUTF8() == " MiM", "mm suffix");
        check(F::GetUnitsString(UnitsInfo::kCentimeters).ToUTF8() == " ZM", "cm suffix");
        check(F::GetUnitsString(UnitsInfo::kMeters).ToUTF8() == " Mt", "m suffix");
        check(F::GetUnitsString(UnitsInfo::kPoints).ToUTF8() == " Pkt", "pt suffix");
        UnitsInfo::Units unit = UnitsInfo::kNone;
        check(F::GetLengthUnitFromString("mim", &unit) && unit == UnitsInfo::kMillimeters,
              "mim is millimetres");
        check(!F::GetLengthUnitFromString("mm", &unit), "English mm replaced");
        double value = 0.0;
        check(F::Parse("5 pkt", value, UnitsInfo::kInches) && value == 5.0 / 72, "parse pkt");
        CLengthFormatter mm(MakeLengthInfo({kDecimal, UnitsInfo::kMillimeters, 1}));
        check(mm.FormatAndStrip(1.0).ToUTF8() == InUserNotation("25.4 MiM"), "format MiM");
        check(mm.FormatArea(1.0).ToUTF8() == InUserNotation("645.2 Millimeter \u00B2"),
              "area name");
        CLengthFormatter arch(MakeLengthInfo({kArchitectural, UnitsInfo::kInches, 1}));
        check(arch.FormatArea(288.0).ToUTF8() == "2 Fu\xC3\x9F \u00B2", "feet name");
        RegisterHostStringLookup(TranslateOtherwise);
        SetLengthFormatterStrings();
        check(F::GetUnitsString(UnitsInfo::kMillimeters).ToUTF8() == " MiM", "texts stay fixed");
        check(F::GetLengthUnitFromString("ZM", &unit) && unit == UnitsInfo::kCentimeters,
              "parser texts stay fixed");
        std::fprintf(stderr, "%s\n", failures.c_str());
        std::exit(failures.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace velmar::utils
