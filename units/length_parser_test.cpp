#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <vector>

#include "FolianUtils/length_formatter.h"
#include "units/length_parser_internal.h"
#include "units/length_test_support.h"

namespace velmar::utils {
namespace {

using testing::InUserNotation;
using testing::LengthSettings;
using testing::MakeLengthInfo;
using units::UnitsInfo;

constexpr double kMm = 1 / 25.4;
constexpr auto kIn = UnitsInfo::kInches;

// Texts that all parse alike: whether they read, and the inches Parse
// leaves (on failure, what was read before the fault).
struct SameParse {
  UnitsInfo::Units units;
  bool ok;
  double inches;
  std::vector<std::string> texts;  // "." and "," in the user's notation
};

TEST(LengthParseLocaleTest, SingleValues) {
  const SameParse cases[] = {
      {kIn, true, 66, {"5'6\"", "5' - 6"}},
      {UnitsInfo::kMillimeters, true, 60 + 6 * kMm, {"5' 6"}},
      {kIn, true, 66.5, {"5'-6 1/2\""}},
      {kIn, true, -66.5, {"-5'-6 1/2\""}},
      {kIn, true, 60, {"5'", "5'-"}},
      {kIn, true, -60, {"~-5'"}},
      {kIn, true, -5.5, {"-5 1/2", "- 5 1/2"}},
      {kIn, true, 5.5, {"5-1/2", "0005 01/002"}},
      {kIn, true, 0.75, {"3/4"}},
      {kIn, true, 0.75 * kMm, {"3 / 4 mm"}},
      {kIn, true, 3.5 * kMm, {"~ 3.5 mm"}},
      {kIn, true, 5 * kMm, {"5mm"}},
      {kIn, true, 2.5 / 0.0254, {"2.5 m"}},
      {kIn, true, 2.5 / 2.54, {"2.5cm"}},
      {kIn, true, 5.5 / 2.54, {"5 1/2 cm"}},
      {kIn, true, 10.0 / 72, {"10 PT"}},
      {UnitsInfo::kFeet, true, 144, {"12"}},
      {kIn, true, 5.25, {"  \t5.25\" \n"}},
      {kIn, true, 30, {"2.5'"}},
      {kIn, true, 21, {"1.5' 3"}},
      {kIn, true, 24, {"2 '"}},
      {UnitsInfo::kMeters, true, 60 + 3 / 2.54, {"5' 3 cm"}},
      {kIn, true, 0.5, {".5"}},
      {kIn, true, -0.5, {"-.5"}},
      {UnitsInfo::kMillimeters, true, 3 * kMm, {"3"}},
      {UnitsInfo::kMillimeters, true, 3, {"3 \""}},
      {kIn, true, 0, {"1/", "", "~", "-", "mm "}},
      // Failures keep what was read.
      {kIn, false, 0, {"1/0", "'6", "abc"}},
      {kIn, false, 1, {"1e3"}},
      {kIn, false, 5, {"5 3", "5 1/0", "5 1/00 mm", "5 1", "5 1 2", "5 mm x"}},
      {kIn, false, 2.5, {"2.5.3"}},
      {kIn, false, 66, {"5'6x"}},
      {kIn, false, 1.5, {"1 1/2/3"}}};
  for (const SameParse& c : cases) {
    for (const std::string& text : c.texts) {
      double out = -999.0;
      EXPECT_EQ(CLengthFormatter::Parse(InUserNotation(text), out, c.units), c.ok) << text;
      EXPECT_NEAR(out, c.inches, 1e-12) << text;
    }
  }
}

// The reading stops at the "@" (which is not part of the text).
TEST(LengthParseLocaleTest, ReadLengthStopsWhereTheLengthEnds) {
  const std::errc none{};
  const std::errc invalid = std::errc::invalid_argument;
  const struct {
    std::string text;  // "." in the user's notation
    UnitsInfo::Units units;
    std::errc ec;
    double inches;
  } cases[] = {{"5'-6 1/2\"@ x 3'", kIn, none, 66.5},
               {"3/4 mm@+1", kIn, none, 0.75 * kMm},
               {"-5 1/2@)", kIn, none, -5.5},
               {"12@, 4", UnitsInfo::kFeet, none, 144},
               {"2@ * 3'", kIn, none, 2},
               {"5' - 6@", kIn, none, 66},
               {"5'@- +", kIn, none, 60},
               {"6'@/2", kIn, none, 72},
               {"3@-.5", kIn, none, 3},
               {"1@/2.5", kIn, none, 1},
               {".5 mm@", kIn, none, 0.5 * kMm},
               {"2.5@e3", kIn, none, 2.5},
               {"5 1/2@'", kIn, none, 5.5},
               {"@1/0", kIn, invalid, -1},
               {"@mm", kIn, invalid, -1},
               {"@ 5", kIn, invalid, -1},
               {"@", kIn, invalid, -1},
               {"@" + std::string(400, '9') + "'", kIn, std::errc::result_out_of_range, -1}};
  for (const auto& c : cases) {
    std::string typed = c.text;
    const std::size_t stop = typed.find('@');
    typed.erase(stop, 1);
    const velmar_ustring text(InUserNotation(typed));
    double inches = -1;
    const LengthReadResult result =
        CLengthFormatter::ReadLength(text.data(), text.data() + text.length(), inches, c.units);
    EXPECT_EQ(result.ec, c.ec) << c.text;
    EXPECT_EQ(static_cast<std::size_t>(result.ptr - text.data()), stop) << c.text;
    EXPECT_NEAR(inches, c.inches, 1e-12) << c.text;
  }
}

TEST(LengthParseLocaleTest, MemberFormsUseTheFormatsUnits) {
  const struct {
    LengthSettings settings;
    const char* text;
    double inches;
  } cases[] = {{{UnitsInfo::kArchitectural, UnitsInfo::kMillimeters}, "6", 6},
               {{UnitsInfo::kFractional, UnitsInfo::kMeters}, "6", 6},
               {{UnitsInfo::kEngineering, UnitsInfo::kMillimeters}, "2.5", 30},
               {{UnitsInfo::kDecimal, UnitsInfo::kCentimeters}, "2.54", 1},
               {{UnitsInfo::kDecimal, UnitsInfo::kPoints}, "36", 0.5}};
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
  } cases[] = {{"1, ,3 mm", 5, 3, {1, 0, 3 * kMm}},
               {"1,x,3", 3, 1, {1}},
               {"~ 1.5,2", 4, 2, {1.5, 2}},
               {"1,2,3", 2, 2, {1, 2}},
               {"1,2,", 4, 2, {1, 2}},
               {",,", 4, 2, {0, 0}},
               {"5'6\",-1/2", 4, 2, {66, -0.5}},
               {"  ", 4, 0, {}},
               {"1,2", 0, 0, {}},
               {"1,2", -3, 0, {}}};
  for (const auto& c : cases) {
    double out[5] = {-9, -9, -9, -9, -9};
    EXPECT_EQ(CLengthFormatter::Parse(InUserNotation(c.text), c.count, out, kIn), c.stored)
        << c.text;
    for (int i = 0; i < c.stored; ++i) EXPECT_NEAR(out[i], c.values[i], 1e-12) << c.text << i;
    for (int i = c.stored; i < 5; ++i) EXPECT_EQ(out[i], -9) << "written past the count";
  }
  EXPECT_EQ(CLengthFormatter::Parse("1", 3, nullptr, kIn), 0);
}

// Texts whose unit is looked up alike: found or not, and the unit.
struct SameUnit {
  bool found;
  UnitsInfo::Units units;
  std::vector<std::string> texts;
};

TEST(LengthParseLocaleTest, UnitsOfRawText) {
  const SameUnit cases[] = {{true, UnitsInfo::kMixed, {"10mm, 5cm", "2', 3mm, 4'"}},
                            {true, kIn, {"3\", 4\""}},
                            {true, UnitsInfo::kMeters, {"3 m, 4, 5 M"}},
                            {true, UnitsInfo::kPoints, {"7 pt"}},
                            {false, UnitsInfo::kNone, {"10, 20", "", " , ,", "5 in"}}};
  for (const SameUnit& c : cases) {
    for (const std::string& text : c.texts) {
      UnitsInfo::Units units = UnitsInfo::kYards;
      EXPECT_EQ(CLengthFormatter::GetLengthUnitFromRawString(InUserNotation(text), &units), c.found)
          << text;
      EXPECT_EQ(units, c.units) << text;
    }
  }
  EXPECT_FALSE(CLengthFormatter::GetLengthUnitFromRawString("5mm", nullptr));
}

TEST(LengthParserTest, UnitFromString) {
  const SameUnit cases[] = {{true, UnitsInfo::kMillimeters, {"MM"}},
                            {true, UnitsInfo::kCentimeters, {"Cm"}},
                            {true, UnitsInfo::kMeters, {"m"}},
                            {true, kIn, {"\""}},
                            {true, UnitsInfo::kFeet, {"'"}},
                            {true, UnitsInfo::kPoints, {"pT"}},
                            {false, UnitsInfo::kYards, {"mm ", "", "in", "mmm"}}};
  for (const SameUnit& c : cases) {
    for (const std::string& text : c.texts) {
      UnitsInfo::Units units = UnitsInfo::kYards;
      EXPECT_EQ(CLengthFormatter::GetLengthUnitFromString(text, &units), c.found) << text;
      EXPECT_EQ(units, c.units) << text;
    }
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
    bool ok;
    double inches;
    std::vector<velmar_ustring> texts;
  } cases[] = {
      {false, 5, {velmar_ustring(nulUnits, 4), velmar_ustring(loneSurrogates, 5)}},
      {false,
       0,
       {velmar_ustring(surrogateOnly, 1), std::string(1000000, '7'),
        "1/" + std::string(1000000, '0'), std::string(400, '9') + "'", "1e400'", "-1e400'6",
        std::string(1000, '\''), std::string(1000, '/'), std::string(1000, '~')}},
      {true, 0, {"1/" + std::string(400, '9'), std::string(100000, ' ')}},
      {false, -0.0, {std::string(100000, '-')}},
      {false, 60, {"5" + std::string(1000, '\'')}}};
  for (const auto& c : cases) {
    for (const velmar_ustring& text : c.texts) {
      double out = -1;
      EXPECT_EQ(CLengthFormatter::Parse(text, out, kIn), c.ok) << text.ToUTF8().substr(0, 20);
      EXPECT_EQ(out, c.inches) << text.ToUTF8().substr(0, 20);
    }
  }
  for (const utf16_unit separator : {utf16_unit(','), utf16_unit(';')}) {
    double out[4] = {};
    const velmar_ustring onlySeparators(100000, separator);
    // Empty values between list separators read as 0; the other one is no number.
    const int expected = separator == CNumericFormatter::GetSeparatorChar() ? 4 : 0;
    EXPECT_EQ(CLengthFormatter::Parse(onlySeparators, 4, out, kIn), expected);
    UnitsInfo::Units units = kIn;
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
  EXPECT_TRUE(ParseLengthText(text.data(), text.data() + text.length(), out, kIn, yardsOnly));
  EXPECT_EQ(out, 72);
  const velmar_ustring metric("2 mm");
  EXPECT_FALSE(
      ParseLengthText(metric.data(), metric.data() + metric.length(), out, kIn, yardsOnly));
}

}  // namespace
}  // namespace velmar::utils
