#include "tool/options.h"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

namespace folian::tool {
namespace {

TEST(ReadNumber, TakesTheCNotationOfFiniteNumbers) {
  const std::pair<const char*, double> accepted[] = {{"-0.5", -0.5}, {"1e3", 1000.0}, {"+2", 2.0}};
  for (const auto& [text, value] : accepted) EXPECT_EQ(ReadNumber("N", text), value) << text;
  for (const char* text : {"", "1,5", "1e999", "nan", " 1", "1 ", "+-1", "+", "--1"}) {
    EXPECT_THROW(ReadNumber("N", text), CLI::ValidationError) << text;
  }
}

TEST(ReadWholeNumber, TakesDigitsWithinTheRange) {
  EXPECT_EQ(ReadWholeNumber("--precision", "0", 0, 16), 0);
  EXPECT_EQ(ReadWholeNumber("--precision", "16", 0, 16), 16);
  for (const char* text : {"17", "-1", "", "2 ", "2.0", "99999999999"}) {
    EXPECT_THROW(ReadWholeNumber("--precision", text, 0, 16), CLI::ValidationError) << text;
  }
}

// The shared options read the same names in every command; a length's three
// set on a LengthInfo only what was given.
TEST(SharedOptions, ReadTheirNames) {
  CLI::App app;
  LengthOptions length;
  std::optional<double> scale;
  std::optional<int> version;
  length.Add(app, "units");
  AddScaleOption(app, scale);
  AddAppVersionOption(app, version);
  app.parse("--units yd --format=engineering --precision 3 --scale 0.5 --app-version 25", false);
  velmar::units::LengthInfo info;
  length.ApplyTo(info);
  EXPECT_EQ(info.GetFormat(), UnitsInfo::kEngineering);
  EXPECT_EQ(info.GetPrecision(), 3);
  LengthOptions formatOnly;
  formatOnly.format = UnitsInfo::kDecimal;
  formatOnly.ApplyTo(info);
  EXPECT_EQ(info.GetFormat(), UnitsInfo::kDecimal);
  EXPECT_EQ(info.GetUnits(), UnitsInfo::kYards);  // engineering showed feet
  EXPECT_EQ(info.GetPrecision(), 3);
  EXPECT_EQ(scale, 0.5);
  EXPECT_EQ(version, 25);
  EXPECT_STREQ(LengthUnitsName(UnitsInfo::kMixed), "mixed");
  for (const char* line : {"--units none", "--units deg", "--format metric", "--scale 0",
                           "--app-version 100", "--precision 2.5"}) {
    EXPECT_THROW(app.parse(line, false), CLI::ValidationError) << line;
  }
}

}  // namespace
}  // namespace folian::tool
