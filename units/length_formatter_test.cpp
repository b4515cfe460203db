#include "FolianUtils/length_formatter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <tuple>
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
using U = units::UnitsInfo;

constexpr auto kDecimal = U::kDecimal;
constexpr auto kArchitectural = U::kArchitectural;
constexpr auto kEngineering = U::kEngineering;
constexpr auto kFractional = U::kFractional;

constexpr LengthSettings kMm2{kDecimal, U::kMillimeters, 2};
constexpr LengthSettings kFrac3{kFractional, U::kInches, 3};
constexpr LengthSettings kArch4{kArchitectural, U::kInches, 4};
constexpr LengthSettings kArch4Bare{kArchitectural, U::kInches, 4, false, true};

// Format, with adaptive precision, FormatAndStrip, FormatArea (square inches).
enum Call { kFormat, kAdaptive, kStrip, kArea };

// The texts that reading back cannot pin: marks, separators, rounding,
// reduced fractions, the approximation mark, trailing zeros and unit names.
TEST(LengthFormatLocaleTest, WorkedExamples) {
  // expected: "." in the user's notation
  const std::tuple<LengthSettings, Call, double, const char*> cases[] = {
      {kMm2, kFormat, -1.0005, "~ -25.41 mm"},
      {{kDecimal, U::kMillimeters, 2, false, false, false, true}, kFormat, 1.0005, "25.41 mm"},
      {{kDecimal, U::kMillimeters, 2, false, true}, kFormat, 1.0, "25.40"},
      {{kDecimal, U::kPoints, 4}, kFormat, 0.5, "36.0 pt"},  // points stop at 1 decimal
      {{kEngineering, U::kInches, 2}, kFormat, 24.0, "2'"},
      {{kEngineering, U::kInches, 2, false, false, true}, kFormat, 24.0, "2.00'"},
      {{kEngineering, U::kInches, 1}, kFormat, 13.0, "~ 1.1'"},
      {kFrac3, kFormat, 2.3, "2-1/4\""},
      {{kFractional, U::kInches, 3, true}, kFormat, 2.3, "2 1/4\""},
      {{kFractional, U::kInches, 3, false, true}, kFormat, 2.3, "2-1/4"},
      {kFrac3, kFormat, 0.25, "1/4\""},
      {kFrac3, kFormat, 0.05, "0\""},
      {kArch4, kFormat, 12.5, "1'-1/2\""},
      {{kArchitectural, U::kInches, 4, true}, kFormat, 12.5, "1' 1/2\""},
      {kArch4Bare, kFormat, 12.5, "1'-1/2\""},
      {kArch4, kFormat, 11.96, "11 15/16\""},
      {kArch4, kFormat, 11.99, "1'-0\""},
      {kArch4Bare, kFormat, 24.0, "2'"},
      {kArch4, kFormat, -0.0, "0\""},
      {{kArchitectural, U::kInches, 4, false, false, true}, kFormat, 17.0, "1'-5 0/2\""},
      // Infinite in points; a negative precision is 0; an unknown format is
      // feet and decimal inches; adaptive precision never exceeds the settings.
      {{kDecimal, U::kPoints, 1}, kFormat, 1e308, ""},
      {kArch4, kFormat, 1.2e21, "100000000000000000000'-0\""},
      {{kFractional, U::kInches, -3}, kFormat, 2.4, "2\""},
      {{static_cast<U::Format>(7), U::kInches, 2}, kFormat, 12.5, "1'-0.50\""},
      {{kDecimal, U::kMeters, 6}, kAdaptive, 2000.0 / 0.0254, "2000.00 m"},
      {{kDecimal, U::kMeters, 1}, kAdaptive, 0.5 / 0.0254, "0.5 m"},
      {{kArchitectural, U::kInches, 6}, kAdaptive, 20000.0 + 1.0 / 64, "1666'-8 1/32\""},
      {{kArchitectural, U::kInches, 6}, kAdaptive, 200000.25, "16666'-8 1/2\""},
      {{kArchitectural, U::kInches, 6}, kAdaptive, 1.2e7 + 0.25, "1000000'-0\""},
      {kMm2, kStrip, 1.0005, " 25.41 mm"},
      {kMm2, kStrip, 1.0, "25.4 mm"},
      {{kDecimal, U::kInches, 2}, kStrip, 300.0, "300\""},
      {kArch4, kStrip, 120.0, "10'-0\""},
      {kArch4Bare, kStrip, 12.5, "1'-1/2"},
      {kArch4, kArea, 144.0, "1 Feet \u00B2"},
      {kArch4, kArea, 100.0, "100 Inches \u00B2"},
      {{kFractional, U::kInches, 2}, kArea, 100.0, "0.69 Feet \u00B2"},
      {kMm2, kArea, 1.0, "645.16 Millimeters \u00B2"},
      {{kDecimal, U::kFeet, 2}, kArea, 72.0, "0.5 Feet \u00B2"},
      {{kDecimal, U::kInches, 1}, kArea, 2.26, "2.3 Inches \u00B2"},
      {{kDecimal, U::kMixed, 1}, kArea, 2.0, "2 Mixed \u00B2"},
      {kArch4Bare, kArea, 288.0, "2"},
      {kFrac3, kStrip, -HUGE_VAL, ""},
      {kFrac3, kArea, std::numeric_limits<double>::quiet_NaN(), ""}};
  for (const auto& [settings, call, inches, expected] : cases) {
    CLengthFormatter original(MakeLengthInfo(settings));
    original.SetUseAdaptivePrecision(call == kAdaptive);
    CLengthFormatter formatter(LengthInfo{});
    formatter = CLengthFormatter(original);
    const velmar_ustring text = call == kStrip  ? formatter.FormatAndStrip(inches)
                                : call == kArea ? formatter.FormatArea(inches)
                                                : formatter.Format(inches);
    EXPECT_EQ(text.ToUTF8(), InUserNotation(expected))
        << "input " << inches << " format " << settings.format << " call " << call;
  }
  EXPECT_EQ(CLengthFormatter::FormatScaleForVCB(0.33333, -2).ToUTF8(),
            InUserNotation("0.333, -2.000"));
  EXPECT_EQ(
      CLengthFormatter::GetUnitsString(U::kPoints) + CLengthFormatter::GetUnitsString(U::kYards),
      velmar_ustring(" pt\""));
}

double HalfStepInInches(const LengthInfo& info) {
  const int precision = info.GetEffectivePrecision();
  const double step = CLengthFormatter::GetLengthPrecisionAsLength(info.GetFormat(), precision);
  if (info.GetFormat() == kDecimal) return step * units::GetFactorToInches(info.GetUnits()) / 2;
  // Precision 0 rounds to whole inches and then drops the fraction of a
  // foot, so the text is up to a foot short.
  if (info.GetFormat() == kEngineering && precision == 0) return 12.0;
  return step / 2;
}

// Anywhere, on exact halves of a step (ties), and half a step below whole
// feet (the rounding carries into the next foot); both signs.
std::vector<double> SampleLengths(double step) {
  std::vector<double> values = {0.0, 0.0004, 11.99, 143.999, 123456.789};
  std::mt19937_64 random(20260);
  std::uniform_real_distribution<double> wide(-20000.0, 20000.0);
  for (int i = 0; i < 400; ++i) {
    const double x = wide(random);
    values.push_back(x);
    values.push_back((std::floor(x / step) + 0.5) * step);
    values.push_back(12.0 * std::round(x / 12.0) - step / 2);
  }
  return values;
}

// Every text the formatter writes, with every flag in turn, reads back
// within half a step, through Parse and through the length evaluator. The
// binary formats, whose rounding is never more than half a step, never show
// the approximation mark.
TEST(LengthFormatLocaleTest, TextReadsBack) {
  std::vector<LengthSettings> shapes = {{kArchitectural}, {kEngineering}, {kFractional}};
  for (const U::Units units :
       {U::kInches, U::kFeet, U::kMillimeters, U::kCentimeters, U::kMeters, U::kPoints, U::kNone}) {
    shapes.push_back({kDecimal, units});
  }
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
        const std::string utf8 = text.ToUTF8();
        const bool binary = settings.format == kArchitectural || settings.format == kFractional;
        ASSERT_FALSE(binary && formatter.Format(x).ToUTF8()[0] == '~') << x;
        const double tolerance = half * (1 + 1e-9) + 1e-9 * std::fabs(x);
        double back[2] = {};
        ASSERT_TRUE(formatter.Parse(text, back[0])) << utf8;
        ASSERT_TRUE(units::EvaluateLength(text, info, back[1])) << utf8;
        for (const double read : back)
          ASSERT_LE(std::fabs(read - x), tolerance) << x << " " << utf8;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 50000);
}

// The unit texts are fixed once per process, so the translated texts are
// checked in a fresh process that registers the host table first.
TEST(LengthFormatterStringsDeathTest, HostTranslationsFixedAtFirstUse) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RegisterHostStringLookup([](const velmar_ustring& key, velmar_ustring& result) {
          result = key == "Abbreviation for millimeter" ? "MiM"
                   : key == "Units of feet"             ? "Fu\xC3\x9F"
                                                        : "";
          return !result.empty();
        });
        U::Units unit = U::kNone;
        const bool parsed = CLengthFormatter::GetLengthUnitFromString("mim", &unit) &&
                            unit == U::kMillimeters &&
                            !CLengthFormatter::GetLengthUnitFromString("mm", &unit);
        CLengthFormatter arch(MakeLengthInfo({kArchitectural, U::kInches, 1}));
        const bool area = arch.FormatArea(288.0).ToUTF8() == "2 Fu\xC3\x9F \u00B2";
        RegisterHostStringLookup(nullptr);
        SetLengthFormatterStrings();
        CLengthFormatter mm(MakeLengthInfo({kDecimal, U::kMillimeters, 1}));
        const bool fixed = mm.FormatAndStrip(1.0).ToUTF8() == InUserNotation("25.4 MiM");
        std::exit(parsed && area && fixed ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace velmar::utils
