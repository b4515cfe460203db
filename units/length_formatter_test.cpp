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

std::string FormatText(const LengthSettings& settings, double inches, bool adaptive = false) {
  CLengthFormatter formatter(MakeLengthInfo(settings));
  formatter.SetUseAdaptivePrecision(adaptive);
  return formatter.Format(inches).ToUTF8();
}

struct FormatCase {
  LengthSettings settings;
  double inches;
  const char* text;  // "." and "," in the user's notation
};

TEST(LengthFormatLocaleTest, WorkedExamples) {
  const LengthSettings mm2{kDecimal, UnitsInfo::kMillimeters, 2};
  const LengthSettings frac3{kFractional, UnitsInfo::kInches, 3};
  const LengthSettings arch4{kArchitectural, UnitsInfo::kInches, 4};
  LengthSettings frac3Space = frac3;
  frac3Space.spaceSeparator = true;
  LengthSettings arch4Space = arch4;
  arch4Space.spaceSeparator = true;
  LengthSettings arch4NoUnits = arch4;
  arch4NoUnits.suppressUnits = true;
  LengthSettings arch4Force = arch4;
  arch4Force.forceFraction = true;
  LengthSettings eng2Force{kEngineering, UnitsInfo::kInches, 2};
  eng2Force.forceFraction = true;
  LengthSettings mm2Quiet = mm2;
  mm2Quiet.suppressApproximation = true;
  LengthSettings mm2NoUnits = mm2;
  mm2NoUnits.suppressUnits = true;
  LengthSettings frac3NoUnits = frac3;
  frac3NoUnits.suppressUnits = true;

  const FormatCase cases[] = {
      {mm2, 1.0, "25.40 mm"},
      {mm2, 1.0005, "~ 25.41 mm"},
      {mm2, -1.0, "-25.40 mm"},
      {mm2, -1.0005, "~ -25.41 mm"},
      {mm2Quiet, 1.0005, "25.41 mm"},
      {mm2NoUnits, 1.0, "25.40"},
      {{kDecimal, UnitsInfo::kInches, 0}, 2.6, "~ 3\""},
      {{kDecimal, UnitsInfo::kCentimeters, 1}, 1.0, "~ 2.5 cm"},
      {{kDecimal, UnitsInfo::kMeters, 3}, 100.0, "2.540 m"},
      {{kDecimal, UnitsInfo::kPoints, 4}, 0.5, "36.0 pt"},  // points stop at 1 decimal
      {{kDecimal, UnitsInfo::kFeet, 2}, 30.0, "2.50'"},
      {{kEngineering, UnitsInfo::kInches, 2}, 30.0, "2.50'"},
      {{kEngineering, UnitsInfo::kInches, 2}, 24.0, "2'"},
      {eng2Force, 24.0, "2.00'"},
      {{kEngineering, UnitsInfo::kInches, 2}, -30.0, "-2.50'"},
      {{kEngineering, UnitsInfo::kInches, 1}, 13.0, "~ 1.1'"},
      // Precision 0 rounds to whole inches, then writes whole feet.
      {{kEngineering, UnitsInfo::kInches, 0}, 30.0, "2'"},
      {frac3, 2.3, "2-1/4\""},
      {frac3Space, 2.3, "2 1/4\""},
      {frac3NoUnits, 2.3, "2-1/4"},
      {frac3, 0.25, "1/4\""},
      {frac3, 3.0, "3\""},
      {frac3, -0.25, "-1/4\""},
      {frac3, 0.05, "0\""},
      {arch4, 12.5, "1'-1/2\""},
      {arch4Space, 12.5, "1' 1/2\""},
      {arch4NoUnits, 12.5, "1'-1/2\""},
      {arch4, 11.96, "11 15/16\""},
      {arch4, 11.99, "1'-0\""},
      {arch4, 24.0, "2'-0\""},
      {arch4Space, 24.0, "2' 0\""},
      {arch4NoUnits, 24.0, "2'"},
      {arch4, 0.0, "0\""},
      {arch4, -0.0, "0\""},
      {arch4, 5.0, "5\""},
      {arch4Force, 5.0, "5 0/2\""},
      {arch4Force, 17.0, "1'-5 0/2\""},
      {arch4, -66.5, "-5'-6 1/2\""},
      {{kArchitectural, UnitsInfo::kMillimeters, 6}, 0.015625, "1/64\""},
      {{kArchitectural, UnitsInfo::kInches, 0}, 12.5, "1'-1\""},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatText(c.settings, c.inches), InUserNotation(c.text))
        << "input " << c.inches << " format " << c.settings.format << " precision "
        << c.settings.precision;
  }
}

TEST(LengthFormatLocaleTest, AdaptivePrecisionLowersDecimalsForLargeValues) {
  const LengthSettings metres{kDecimal, UnitsInfo::kMeters, 6};
  EXPECT_EQ(FormatText(metres, 2000.0 / 0.0254, true), InUserNotation("2000.00 m"));
  EXPECT_EQ(FormatText(metres, 2000.0 / 0.0254, false), InUserNotation("2000.000000 m"));
  EXPECT_EQ(FormatText(metres, 0.5 / 0.0254, true), InUserNotation("0.500000 m"));
  // Never finer than the settings.
  EXPECT_EQ(FormatText({kDecimal, UnitsInfo::kMeters, 1}, 0.5 / 0.0254, true),
            InUserNotation("0.5 m"));
  const LengthSettings arch6{kArchitectural, UnitsInfo::kInches, 6};
  EXPECT_EQ(FormatText(arch6, 20000.0 + 1.0 / 64, false), "1666'-8 1/64\"");
  EXPECT_EQ(FormatText(arch6, 20000.0 + 1.0 / 64, true), "1666'-8 1/32\"");
  EXPECT_EQ(FormatText(arch6, 20000.0 + 1.0 / 128, true), "1666'-8\"");
  EXPECT_EQ(FormatText(arch6, 200000.25, true), "16666'-8 1/2\"");
}

TEST(LengthFormatLocaleTest, FormatAndStrip) {
  struct Case {
    LengthSettings settings;
    double inches;
    const char* text;
  };
  LengthSettings arch4NoUnits{kArchitectural, UnitsInfo::kInches, 4};
  arch4NoUnits.suppressUnits = true;
  LengthSettings mm2NoUnits{kDecimal, UnitsInfo::kMillimeters, 2};
  mm2NoUnits.suppressUnits = true;
  const Case cases[] = {
      {{kDecimal, UnitsInfo::kMillimeters, 2}, 1.0005, " 25.41 mm"},
      {{kDecimal, UnitsInfo::kMillimeters, 2}, 1.0, "25.4 mm"},
      {{kDecimal, UnitsInfo::kInches, 2}, 3.0, "3\""},
      {{kDecimal, UnitsInfo::kInches, 2}, 300.0, "300\""},
      {{kDecimal, UnitsInfo::kInches, 0}, 300.0, "300\""},
      {{kDecimal, UnitsInfo::kInches, 2}, -0.5, "-0.5\""},
      {{kEngineering, UnitsInfo::kInches, 3}, 30.0, "2.5'"},
      {mm2NoUnits, 1.0, "25.4"},
      {{kArchitectural, UnitsInfo::kInches, 4}, 120.0, "10'-0\""},
      {arch4NoUnits, 12.5, "1'-1/2"},
  };
  for (const Case& c : cases) {
    CLengthFormatter formatter(MakeLengthInfo(c.settings));
    EXPECT_EQ(formatter.FormatAndStrip(c.inches).ToUTF8(), InUserNotation(c.text)) << c.inches;
  }
}

TEST(LengthFormatLocaleTest, FormatArea) {
  struct Case {
    LengthSettings settings;
    double squareInches;
    const char* text;
  };
  LengthSettings noUnits{kArchitectural, UnitsInfo::kInches, 4};
  noUnits.suppressUnits = true;
  const Case cases[] = {
      {{kArchitectural, UnitsInfo::kInches, 4}, 288.0, "2 Feet \u00B2"},
      {{kArchitectural, UnitsInfo::kInches, 4}, 100.0, "100 Inches \u00B2"},
      {{kArchitectural, UnitsInfo::kInches, 2}, 216.0, "1.5 Feet \u00B2"},
      {{kFractional, UnitsInfo::kInches, 2}, 100.0, "0.69 Feet \u00B2"},
      {{kEngineering, UnitsInfo::kInches, 2}, 144.0, "1 Feet \u00B2"},
      {{kDecimal, UnitsInfo::kMillimeters, 2}, 1.0, "645.16 Millimeters \u00B2"},
      {{kDecimal, UnitsInfo::kMeters, 3}, 1550.0031, "1 Meters \u00B2"},
      {{kDecimal, UnitsInfo::kFeet, 2}, 72.0, "0.5 Feet \u00B2"},
      {{kDecimal, UnitsInfo::kPoints, 1}, 1.0, "5184 Points \u00B2"},
      {{kDecimal, UnitsInfo::kNone, 1}, 2.26, "2.3 None \u00B2"},
      {noUnits, 288.0, "2"},
  };
  for (const Case& c : cases) {
    CLengthFormatter formatter(MakeLengthInfo(c.settings));
    EXPECT_EQ(formatter.FormatArea(c.squareInches).ToUTF8(), InUserNotation(c.text))
        << c.squareInches;
  }
}

TEST(LengthFormatLocaleTest, FormatScaleForVCB) {
  EXPECT_EQ(CLengthFormatter::FormatScaleForVCB(1, 48).ToUTF8(), InUserNotation("1.000, 48.000"));
  EXPECT_EQ(CLengthFormatter::FormatScaleForVCB(0.33333, -2).ToUTF8(),
            InUserNotation("0.333, -2.000"));
}

TEST(LengthFormatterTest, UnitsStrings) {
  const struct {
    UnitsInfo::Units units;
    const char* text;
  } cases[] = {
      {UnitsInfo::kInches, "\""},
      {UnitsInfo::kFeet, "'"},
      {UnitsInfo::kMillimeters, " mm"},
      {UnitsInfo::kCentimeters, " cm"},
      {UnitsInfo::kMeters, " m"},
      {UnitsInfo::kPoints, " pt"},
      {UnitsInfo::kNone, "\""},
      {UnitsInfo::kYards, "\""},
      {static_cast<UnitsInfo::Units>(-4), "\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CLengthFormatter::GetUnitsString(c.units).ToUTF8(), c.text) << c.units;
  }
}

TEST(LengthFormatterTest, PrecisionAsLength) {
  const struct {
    UnitsInfo::Format format;
    int precision;
    double step;
  } cases[] = {
      {kDecimal, 0, 1.0},
      {kDecimal, 3, 0.001},
      {kEngineering, 0, 12.0},
      {kEngineering, 2, 0.12},
      {kArchitectural, 0, 1.0},
      {kArchitectural, 4, 0.0625},
      {kFractional, 6, 1.0 / 64},
      {kFractional, 7, 1.0 / 128},
      {kDecimal, 12, 1e-12},
      {kDecimal, -2, 1.0},
      {static_cast<UnitsInfo::Format>(9), 2, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(CLengthFormatter::GetLengthPrecisionAsLength(c.format, c.precision), c.step)
        << c.format << " " << c.precision;
  }
}

TEST(LengthFormatterTest, CopiesKeepSettingsAndAdaptivePrecision) {
  CLengthFormatter adaptive(MakeLengthInfo({kDecimal, UnitsInfo::kMeters, 6}));
  adaptive.SetUseAdaptivePrecision(true);
  CLengthFormatter copy(adaptive);
  EXPECT_EQ(copy.Format(2000.0 / 0.0254).ToUTF8(), adaptive.Format(2000.0 / 0.0254).ToUTF8());
  CLengthFormatter assigned(MakeLengthInfo({kArchitectural, UnitsInfo::kInches, 4}));
  assigned = adaptive;
  EXPECT_EQ(assigned.Format(1.0 / 0.0254).ToUTF8(), adaptive.Format(1.0 / 0.0254).ToUTF8());
}

TEST(LengthFormatterTest, UnusualValuesAndSettings) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto format : {kDecimal, kArchitectural, kEngineering, kFractional}) {
    CLengthFormatter formatter(MakeLengthInfo({format, UnitsInfo::kInches, 3}));
    EXPECT_TRUE(formatter.Format(nan).empty());
    EXPECT_TRUE(formatter.Format(inf).empty());
    EXPECT_TRUE(formatter.Format(-inf).empty());
    EXPECT_TRUE(formatter.FormatAndStrip(nan).empty());
    EXPECT_TRUE(formatter.FormatArea(inf).empty());
  }
  // Finite in inches, infinite in points.
  EXPECT_EQ(FormatText({kDecimal, UnitsInfo::kPoints, 1}, 1e308), "");
  EXPECT_EQ(FormatText({kArchitectural, UnitsInfo::kInches, 4}, 1.2e21),
            "100000000000000000000'-0\"");
  EXPECT_EQ(FormatText({kFractional, UnitsInfo::kInches, 6}, 1e17), "100000000000000000\"");
  // A negative precision counts as 0.
  EXPECT_EQ(FormatText({kFractional, UnitsInfo::kInches, -3}, 2.4), "2\"");
  // A format outside the enum writes feet and decimal inches.
  EXPECT_EQ(FormatText({static_cast<UnitsInfo::Format>(7), UnitsInfo::kInches, 2}, 12.5),
            InUserNotation("1'-0.50\""));
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

TEST(LengthFormatLocaleTest, ParseReadsBackFormatAndStrip) {
  const std::vector<LengthSettings> shapes = {
      {kDecimal, UnitsInfo::kInches},      {kDecimal, UnitsInfo::kFeet},
      {kDecimal, UnitsInfo::kMillimeters}, {kDecimal, UnitsInfo::kCentimeters},
      {kDecimal, UnitsInfo::kMeters},      {kDecimal, UnitsInfo::kPoints},
      {kDecimal, UnitsInfo::kNone},        {kArchitectural, UnitsInfo::kInches},
      {kEngineering, UnitsInfo::kInches},  {kFractional, UnitsInfo::kInches},
  };
  int checked = 0;
  for (LengthSettings settings : shapes) {
    for (int precision = 0; precision <= 6; ++precision) {
      settings.precision = precision;
      const LengthInfo info = MakeLengthInfo(settings);
      CLengthFormatter formatter(info);
      const double half = HalfStepInInches(info);
      for (const double x : SampleLengths(2 * half)) {
        const velmar_ustring text = formatter.FormatAndStrip(x);
        double back = 0.0;
        ASSERT_TRUE(formatter.Parse(text, back)) << text.ToUTF8();
        ASSERT_LE(std::fabs(back - x), half * (1 + 1e-9) + 1e-9 * std::fabs(x))
            << "x=" << x << " text=" << text.ToUTF8() << " format " << settings.format << " units "
            << settings.units << " precision " << precision;
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
