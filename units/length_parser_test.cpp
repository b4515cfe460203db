#include <gtest/gtest.h>

#include <string>
#include <system_error>

#include "FolianUtils/length_formatter.h"
#include "units/length_parser_internal.h"
#include "units/length_test_support.h"

namespace velmar::utils {
namespace {

using testing::InUserNotation;
using testing::LengthSettings;
using testing::MakeLengthInfo;
using units::UnitsInfo;

struct ParseCase {
  const char* text;  // "." and "," in the user's notation
  UnitsInfo::Units units;
  bool ok;
  double inches;
};

TEST(LengthParseLocaleTest, SingleValues) {
  const double mm = 1 / 25.4;
  const ParseCase cases[] = {
      {"5'6\"", UnitsInfo::kInches, true, 66},
      {"5' 6", UnitsInfo::kMillimeters, true, 60 + 6 * mm},
      {"5'-6 1/2\"", UnitsInfo::kInches, true, 66.5},
      {"5'", UnitsInfo::kInches, true, 60},
      {"-5 1/2", UnitsInfo::kInches, true, -5.5},
      {"5-1/2", UnitsInfo::kInches, true, 5.5},
      {"3/4", UnitsInfo::kInches, true, 0.75},
      {"~ 3.5 mm", UnitsInfo::kInches, true, 3.5 * mm},
      {"2.5 m", UnitsInfo::kInches, true, 2.5 / 0.0254},
      {"5mm", UnitsInfo::kInches, true, 5 * mm},
      {"10 PT", UnitsInfo::kInches, true, 10.0 / 72},
      {"1/0", UnitsInfo::kInches, false, 0},
      {"5 3", UnitsInfo::kInches, false, 5},
      {"1e3", UnitsInfo::kInches, false, 1},
      {"'6", UnitsInfo::kInches, false, 0},
      {"12", UnitsInfo::kFeet, true, 144},
      // More shapes.
      {"  \t5.25\" \n", UnitsInfo::kInches, true, 5.25},
      {"-5'-6 1/2\"", UnitsInfo::kInches, true, -66.5},
      {"~-5'", UnitsInfo::kInches, true, -60},
      {"2.5'", UnitsInfo::kInches, true, 30},
      {"1.5' 3", UnitsInfo::kInches, true, 21},
      {"5' - 6", UnitsInfo::kInches, true, 66},
      {"5'-", UnitsInfo::kInches, true, 60},
      {"5' 3 cm", UnitsInfo::kMeters, true, 60 + 3 / 2.54},
      {"3 / 4 mm", UnitsInfo::kInches, true, 0.75 * mm},
      {"1/", UnitsInfo::kInches, true, 0},
      {".5", UnitsInfo::kInches, true, 0.5},
      {"-.5", UnitsInfo::kInches, true, -0.5},
      {"5 1/2 cm", UnitsInfo::kInches, true, 5.5 / 2.54},
      {"- 5 1/2", UnitsInfo::kInches, true, -5.5},
      {"3", UnitsInfo::kMillimeters, true, 3 * mm},
      {"3 \"", UnitsInfo::kMillimeters, true, 3},
      {"2 '", UnitsInfo::kInches, true, 24},
      {"2.5cm", UnitsInfo::kInches, true, 2.5 / 2.54},
      {"0005 01/002", UnitsInfo::kInches, true, 5.5},
      {"", UnitsInfo::kInches, true, 0},
      {"~", UnitsInfo::kInches, true, 0},
      {"-", UnitsInfo::kInches, true, -0.0},
      // Failures keep what was read.
      {"5 1/0", UnitsInfo::kInches, false, 5},
      {"5 1/00 mm", UnitsInfo::kInches, false, 5},
      {"5 1", UnitsInfo::kInches, false, 5},
      {"5 1 2", UnitsInfo::kInches, false, 5},
      {"5 mm x", UnitsInfo::kInches, false, 5},
      {"2.5.3", UnitsInfo::kInches, false, 2.5},
      {"5'6x", UnitsInfo::kInches, false, 66},
      {"mm ", UnitsInfo::kInches, true, 0},
      {"abc", UnitsInfo::kInches, false, 0},
      {"1 1/2/3", UnitsInfo::kInches, false, 1.5},
  };
  for (const ParseCase& c : cases) {
    const velmar_ustring text(InUserNotation(c.text));
    double out = -999.0;
    EXPECT_EQ(CLengthFormatter::Parse(text, out, c.units), c.ok) << c.text;
    EXPECT_NEAR(out, c.inches, 1e-12) << c.text;
  }
}

TEST(LengthParseLocaleTest, ReadLengthStopsWhereTheLengthEnds) {
  const double mm = 1 / 25.4;
  const std::errc none{};
  const std::errc invalid = std::errc::invalid_argument;
  const struct {
    std::string text;  // "." in the user's notation
    UnitsInfo::Units units;
    std::errc ec;
    std::size_t read;
    double inches;
  } cases[] = {
      {"5'-6 1/2\" x 3'", UnitsInfo::kInches, none, 9, 66.5},
      {"3/4 mm+1", UnitsInfo::kInches, none, 6, 0.75 * mm},
      {"-5 1/2)", UnitsInfo::kInches, none, 6, -5.5},
      {"12, 4", UnitsInfo::kFeet, none, 2, 144},
      {"2 * 3'", UnitsInfo::kInches, none, 1, 2},
      {"5' - 6", UnitsInfo::kInches, none, 6, 66},
      {"5'- +", UnitsInfo::kInches, none, 2, 60},
      {"6'/2", UnitsInfo::kInches, none, 2, 72},
      {"3-.5", UnitsInfo::kInches, none, 1, 3},
      {"1/2.5", UnitsInfo::kInches, none, 1, 1},
      {".5 mm", UnitsInfo::kInches, none, 5, 0.5 * mm},
      {"2.5e3", UnitsInfo::kInches, none, 3, 2.5},
      {"5 1/2'", UnitsInfo::kInches, none, 5, 5.5},
      {"1/0", UnitsInfo::kInches, invalid, 0, -1},
      {"mm", UnitsInfo::kInches, invalid, 0, -1},
      {" 5", UnitsInfo::kInches, invalid, 0, -1},
      {"", UnitsInfo::kInches, invalid, 0, -1},
      {std::string(400, '9') + "'", UnitsInfo::kInches, std::errc::result_out_of_range, 0, -1},
  };
  for (const auto& c : cases) {
    const velmar_ustring text(InUserNotation(c.text));
    double inches = -1;
    const LengthReadResult result =
        CLengthFormatter::ReadLength(text.data(), text.data() + text.length(), inches, c.units);
    EXPECT_EQ(result.ec, c.ec) << c.text;
    EXPECT_EQ(static_cast<std::size_t>(result.ptr - text.data()), c.read) << c.text;
    EXPECT_NEAR(inches, c.inches, 1e-12) << c.text;
  }
}

TEST(LengthParseLocaleTest, MemberFormsUseTheFormatsUnits) {
  const struct {
    LengthSettings settings;
    const char* text;
    double inches;
  } cases[] = {
      {{UnitsInfo::kArchitectural, UnitsInfo::kMillimeters}, "6", 6},
      {{UnitsInfo::kFractional, UnitsInfo::kMeters}, "6", 6},
      {{UnitsInfo::kEngineering, UnitsInfo::kMillimeters}, "2.5", 30},
      {{UnitsInfo::kDecimal, UnitsInfo::kCentimeters}, "2.54", 1},
      {{UnitsInfo::kDecimal, UnitsInfo::kPoints}, "36", 0.5},
  };
  for (const auto& c : cases) {
    const CLengthFormatter formatter(MakeLengthInfo(c.settings));
    double out = 0;
    EXPECT_TRUE(formatter.Parse(InUserNotation(c.text), out)) << c.text;
    EXPECT_NEAR(out, c.inches, 1e-12) << c.text;
    double list[2] = {0, 0};
    EXPECT_EQ(formatter.Parse(InUserNotation(std::string(c.text) + ",1"), 2, list), 2);
    EXPECT_NEAR(list[0], c.inches, 1e-12) << c.text;
  }
}

TEST(LengthParseLocaleTest, Lists) {
  const struct {
    const char* text;
    int count;
    int stored;
    double values[4];
  } cases[] = {
      {"1, ,3 mm", 5, 3, {1, 0, 3 / 25.4}},
      {"1,x,3", 3, 1, {1}},
      {"~ 1.5,2", 4, 2, {1.5, 2}},
      {"1,2,3", 2, 2, {1, 2}},
      {"1,2,", 4, 2, {1, 2}},
      {",,", 4, 2, {0, 0}},
      {"5'6\",-1/2", 4, 2, {66, -0.5}},
      {"  ", 4, 0, {}},
      {"1,2", 0, 0, {}},
      {"1,2", -3, 0, {}},
  };
  for (const auto& c : cases) {
    double out[5] = {-9, -9, -9, -9, -9};
    EXPECT_EQ(CLengthFormatter::Parse(InUserNotation(c.text), c.count, out, UnitsInfo::kInches),
              c.stored)
        << c.text;
    for (int i = 0; i < c.stored; ++i) EXPECT_NEAR(out[i], c.values[i], 1e-12) << c.text << i;
    for (int i = c.stored; i < 5; ++i) EXPECT_EQ(out[i], -9) << "written past the count";
  }
  EXPECT_EQ(CLengthFormatter::Parse("1", 3, nullptr, UnitsInfo::kInches), 0);
}

TEST(LengthParseLocaleTest, UnitsOfRawText) {
  const struct {
    const char* text;
    bool found;
    UnitsInfo::Units units;
  } cases[] = {
      {"10mm, 5cm", true, UnitsInfo::kMixed},
      {"10, 20", false, UnitsInfo::kNone},
      {"3\", 4\"", true, UnitsInfo::kInches},
      {"3 m, 4, 5 M", true, UnitsInfo::kMeters},
      {"2', 3mm, 4'", true, UnitsInfo::kMixed},
      {"7 pt", true, UnitsInfo::kPoints},
      {"", false, UnitsInfo::kNone},
      {" , ,", false, UnitsInfo::kNone},
      {"5 in", false, UnitsInfo::kNone},
  };
  for (const auto& c : cases) {
    UnitsInfo::Units units = UnitsInfo::kYards;
    EXPECT_EQ(CLengthFormatter::GetLengthUnitFromRawString(InUserNotation(c.text), &units), c.found)
        << c.text;
    EXPECT_EQ(units, c.units) << c.text;
  }
  EXPECT_FALSE(CLengthFormatter::GetLengthUnitFromRawString("5mm", nullptr));
}

TEST(LengthParserTest, UnitFromString) {
  const struct {
    const char* text;
    bool found;
    UnitsInfo::Units units;
  } cases[] = {
      {"MM", true, UnitsInfo::kMillimeters}, {"mm ", false, UnitsInfo::kYards},
      {"Cm", true, UnitsInfo::kCentimeters}, {"m", true, UnitsInfo::kMeters},
      {"\"", true, UnitsInfo::kInches},      {"'", true, UnitsInfo::kFeet},
      {"pT", true, UnitsInfo::kPoints},      {"", false, UnitsInfo::kYards},
      {"in", false, UnitsInfo::kYards},      {"mmm", false, UnitsInfo::kYards},
  };
  for (const auto& c : cases) {
    UnitsInfo::Units units = UnitsInfo::kYards;
    EXPECT_EQ(CLengthFormatter::GetLengthUnitFromString(c.text, &units), c.found) << c.text;
    EXPECT_EQ(units, c.units) << c.text;
  }
  EXPECT_FALSE(CLengthFormatter::GetLengthUnitFromString("mm", nullptr));
  const utf16_unit withNul[] = {'m', 'm', 0, 'x'};
  UnitsInfo::Units units = UnitsInfo::kYards;
  EXPECT_FALSE(CLengthFormatter::GetLengthUnitFromString(velmar_ustring(withNul, 4), &units));
}

TEST(LengthParserTest, HostileTextNeverThrowsOrOverflows) {
  const utf16_unit nulUnits[] = {'5', 0, 'm', 'm'};
  const utf16_unit loneSurrogates[] = {'5', ' ', 0xD800, 'm', 0xDC00};
  const utf16_unit surrogateOnly[] = {0xDFFF};
  const struct {
    velmar_ustring text;
    bool ok;
    double inches;
  } cases[] = {
      {velmar_ustring(nulUnits, 4), false, 5},
      {velmar_ustring(loneSurrogates, 5), false, 5},
      {velmar_ustring(surrogateOnly, 1), false, 0},
      {velmar_ustring(std::string(1000000, '7')), false, 0},
      {velmar_ustring("1/" + std::string(1000000, '0')), false, 0},
      {velmar_ustring("1/" + std::string(400, '9')), true, 0},
      {velmar_ustring(std::string(400, '9') + "'"), false, 0},
      {velmar_ustring("1e400'"), false, 0},
      {velmar_ustring("-1e400'6"), false, 0},
      {velmar_ustring(std::string(100000, ' ')), true, 0},
      {velmar_ustring(std::string(100000, '-')), false, -0.0},
      {velmar_ustring(std::string(1000, '\'')), false, 0},
      {velmar_ustring("5" + std::string(1000, '\'')), false, 60},
      {velmar_ustring(std::string(1000, '/')), false, 0},
      {velmar_ustring(std::string(1000, '~')), false, 0},
  };
  for (const auto& c : cases) {
    double out = -1;
    EXPECT_EQ(CLengthFormatter::Parse(c.text, out, UnitsInfo::kInches), c.ok)
        << c.text.ToUTF8().substr(0, 20);
    EXPECT_EQ(out, c.inches) << c.text.ToUTF8().substr(0, 20);
  }
  for (const utf16_unit separator : {utf16_unit(','), utf16_unit(';')}) {
    double out[4] = {};
    const velmar_ustring onlySeparators(100000, separator);
    // Empty values between list separators read as 0; the other one is no number.
    const int expected = separator == CNumericFormatter::GetSeparatorChar() ? 4 : 0;
    EXPECT_EQ(CLengthFormatter::Parse(onlySeparators, 4, out, UnitsInfo::kInches), expected);
    UnitsInfo::Units units = UnitsInfo::kInches;
    EXPECT_FALSE(CLengthFormatter::GetLengthUnitFromRawString(onlySeparators, &units));
    EXPECT_EQ(units, UnitsInfo::kNone);
  }
}

TEST(LengthParserTest, CustomSuffixes) {
  const auto yardsOnly = [](const utf16_unit* begin, const utf16_unit* end,
                            UnitsInfo::Units& unit) {
    if (!EqualsNoCase(begin, end, "yd")) return false;
    unit = UnitsInfo::kYards;
    return true;
  };
  const velmar_ustring text("2 YD");
  double out = 0;
  EXPECT_TRUE(ParseLengthText(text.data(), text.data() + text.length(), out, UnitsInfo::kInches,
                              yardsOnly));
  EXPECT_EQ(out, 72);
  const velmar_ustring metric("2 mm");
  EXPECT_FALSE(ParseLengthText(metric.data(), metric.data() + metric.length(), out,
                               UnitsInfo::kInches, yardsOnly));
}

}  // namespace
}  // namespace velmar::utils
