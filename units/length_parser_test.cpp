#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "FolianUtils/length_formatter.h"
#include "units/length_parser_internal.h"
#include "units/length_test_support.h"

namespace velmar::utils {
namespace {

using testing::InUserNotation;
using units::UnitsInfo;

constexpr double kMm = 1 / 25.4;
constexpr auto kIn = UnitsInfo::kInches;

// The shapes a user types that the formatter never writes (its own texts
// read back in the formatter's test): whether they read, and the inches
// Parse leaves (on failure, what was read before the fault).
TEST(LengthParseLocaleTest, SingleValues) {
  // texts: "." in the user's notation
  const std::tuple<UnitsInfo::Units, bool, double, std::vector<std::string>> cases[] = {
      {kIn, true, 66, {"5'6\"", "5' - 6"}},
      // Inches after the feet whatever the unit; a suffix wins over it.
      {UnitsInfo::kMillimeters, true, 60 + 6 * kMm, {"5' 6"}},
      {UnitsInfo::kMeters, true, 60 + 3 / 2.54, {"5' 3 cm"}},
      {UnitsInfo::kFeet, true, 144, {"12"}},
      {kIn, true, -60, {"~-5'"}},
      {kIn, true, 5.5, {"0005 01/002"}},
      {kIn, true, 0.75 * kMm, {"3 / 4 mm"}},
      {kIn, true, 5.25, {"  \t5.25\" \n"}},
      {kIn, true, 0, {"1/", "", "-", "mm "}},
      {kIn, true, 0, {std::string(100000, ' '), "1/" + std::string(400, '9')}},
      {kIn, false, -0.0, {std::string(100000, '-')}},
      {kIn, false, 0, {"1/0", "'6", "abc", "-1e400'6"}},
      {kIn, false, 0, {std::string(1000000, '7'), std::string(1000, '~')}},
      {kIn, false, 1, {"1e3"}},
      {kIn, false, 5, {"5 3", "5 1/00 mm", "5 mm x"}},
      {kIn, false, 2.5, {"2.5.3"}},
      {kIn, false, 66, {"5'6x"}},
      {kIn, false, 1.5, {"1 1/2/3"}}};
  for (const auto& [units, ok, inches, texts] : cases) {
    for (const std::string& text : texts) {
      double out = -999.0;
      EXPECT_EQ(CLengthFormatter::Parse(InUserNotation(text), out, units), ok)
          << text.substr(0, 20);
      EXPECT_NEAR(out, inches, 1e-12) << text.substr(0, 20);
    }
  }
}

// Up to the count, empty values as 0, member forms in the format's units.
TEST(LengthParseLocaleTest, Lists) {
  const struct {
    UnitsInfo::Format format;
    const char* text;
    int count;
    int stored;
    double values[3];
  } cases[] = {{UnitsInfo::kDecimal, "1, ,3 mm", 5, 3, {1, 0, 3 * kMm}},
               {UnitsInfo::kDecimal, "1,x,3", 3, 1, {1}},
               {UnitsInfo::kDecimal, "~ 1.5,2,", 4, 2, {1.5, 2}},
               {UnitsInfo::kEngineering, "2.5,1", 2, 2, {30, 12}},
               {UnitsInfo::kDecimal, "1,2", 0, 0, {}}};
  for (const auto& c : cases) {
    const CLengthFormatter formatter(testing::MakeLengthInfo({c.format, kIn}));
    double out[5] = {-9, -9, -9, -9, -9};
    EXPECT_EQ(formatter.Parse(InUserNotation(c.text), c.count, out), c.stored) << c.text;
    for (int i = 0; i < c.stored; ++i) EXPECT_NEAR(out[i], c.values[i], 1e-12) << c.text << i;
    for (int i = c.stored; i < 5; ++i) EXPECT_EQ(out[i], -9) << "written past the count";
  }
  EXPECT_EQ(CLengthFormatter::Parse("1", 3, nullptr, kIn), 0);
}

// Texts of one unit give it, of several "mixed"; a unit the parser does
// not know or no unit at all is none.
TEST(LengthParseLocaleTest, UnitOfRawText) {
  const std::pair<const char*, UnitsInfo::Units> cases[] = {{"10mm, 5cm", UnitsInfo::kMixed},
                                                            {"2', 3mm, 4'", UnitsInfo::kMixed},
                                                            {"3 m, 4, 5 M", UnitsInfo::kMeters},
                                                            {"10, 20", UnitsInfo::kNone},
                                                            {"", UnitsInfo::kNone},
                                                            {"5 in", UnitsInfo::kNone}};
  for (const auto& [text, expected] : cases) {
    UnitsInfo::Units units = UnitsInfo::kYards;
    EXPECT_EQ(CLengthFormatter::GetLengthUnitFromRawString(InUserNotation(text), &units),
              expected != UnitsInfo::kNone)
        << text;
    EXPECT_EQ(units, expected) << text;
  }
  EXPECT_FALSE(CLengthFormatter::GetLengthUnitFromRawString("5mm", nullptr));
  EXPECT_FALSE(CLengthFormatter::GetLengthUnitFromString("mm", nullptr));
}

// Hostile texts neither throw nor overflow.
TEST(LengthParserTest, HostileText) {
  const utf16_unit loneSurrogates[] = {'5', ' ', 0xD800, 'm', 0xDC00};
  double out = -1;
  EXPECT_FALSE(CLengthFormatter::Parse(velmar_ustring(loneSurrogates, 5), out, kIn));
  EXPECT_EQ(out, 5);
  double list[4] = {};
  const velmar_ustring onlySeparators(100000, CNumericFormatter::GetSeparatorChar());
  EXPECT_EQ(CLengthFormatter::Parse(onlySeparators, 4, list, kIn), 4);
}

}  // namespace
}  // namespace velmar::utils
