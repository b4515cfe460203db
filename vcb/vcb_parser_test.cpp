#include "FolianUtils/vcb_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "FolianUtils/numeric_formatter.h"
#include "units/user_notation_test_support.h"

namespace velmar::utils {
namespace {

using velmar::geometry::Point2;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;

// Test texts are written with "." as decimal point and "|" as the list
// separator, and turned into what a user of the current locale types.
velmar_ustring Typed(const std::string& text) { return testing::UserText(text, '|'); }

CVCBParser Parser(const std::string& text, double scale = 1.0) {
  return CVCBParser(Typed(text), LengthInfo(), scale);
}

// ---- triggers --------------------------------------------------------------

TEST(VCBTrigger, CharactersAreExactlyTheTriggerSet) {
  const std::wstring triggers = L"0123456789-.,<[^*xX/";
  for (wchar_t c = 0; c < 0x3000; ++c) {
    const bool expected = triggers.find(c) != std::wstring::npos;
    EXPECT_EQ(CVCBParser::IsVCBTrigger(c), expected) << "code " << static_cast<int>(c);
  }
}

TEST(VCBTrigger, TextsAreOnlyTheSixteenSingleCharacterTexts) {
  const std::string triggers = "0123456789-.,[<^";
  for (int c = 0; c < 0x3000; ++c) {
    const velmar_ustring text(1, static_cast<utf16_unit>(c));
    const bool expected =
        c < 0x80 && c != 0 && triggers.find(static_cast<char>(c)) != std::string::npos;
    EXPECT_EQ(CVCBParser::IsVCBTrigger(text), expected) << "code " << c;
  }
  struct Case {
    const char* text;
    bool trigger;
  };
  const Case cases[] = {{"", false},  {"12", false}, {"5", true},   {"^", true},
                        {" ", false}, {"*", false},  {"x", false},  {"X", false},
                        {"/", false}, {" 5", false}, {"5 ", false}, {"--", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(CVCBParser::IsVCBTrigger(velmar_ustring(c.text)), c.trigger) << "'" << c.text << "'";
  }
}

// ---- scale, length, angle, unitless value -----------------------------------

// A length is multiplied by the drawing scale; a rejected scale keeps the
// previous one (1 at construction); a failed length keeps what was read,
// unscaled; a zero unit ends the text.
TEST(VCBParser, LengthIsScaledByTheDrawingScale) {
  const double eps = std::numeric_limits<double>::epsilon();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    std::string text;
    double scale;
    std::optional<double> later;  // set after construction
    bool ok;
    double value;
  } cases[] = {{"3", 2.0, {}, true, 6.0},
               {std::string("3\0x y", 5), 2.0, {}, true, 6.0},
               {"3", 2.0, 4.5e-16, true, 3.0 * 4.5e-16},
               {"5 3", 2.0, {}, false, 5.0},
               {"abc", 2.0, {}, false, 0.0},
               {"3", 2.0, 0.0, true, 6.0},
               {"3", 2.0, -1.0, true, 6.0},
               {"3", 2.0, eps, true, 6.0},
               {"3", 2.0, std::nan(""), true, 6.0},
               {"3", 2.0, -inf, true, 6.0},
               {"3", 0.0, {}, true, 3.0},
               {"3", -1.0, {}, true, 3.0},
               {"3", eps, {}, true, 3.0},
               {"3", std::nan(""), {}, true, 3.0},
               {"3", -inf, {}, true, 3.0}};
  for (const auto& c : cases) {
    CVCBParser parser = Parser(c.text, c.scale);
    if (c.later) parser.SetDrawingScale(*c.later);
    double value = -1.0;
    EXPECT_EQ(parser.GetLength(value), c.ok) << c.text << " " << c.scale;
    EXPECT_DOUBLE_EQ(value, c.value) << c.text << " " << c.scale;
  }
  LengthInfo feet;
  feet.SetFormat(UnitsInfo::kEngineering);
  double value = 0.0;
  EXPECT_TRUE(CVCBParser(velmar_ustring("2"), feet, 0.5).GetLength(value));
  EXPECT_DOUBLE_EQ(value, 12.0);
}

TEST(VCBParser, AngleIgnoresScaleAndLengthSettings) {
  LengthInfo mm;
  mm.SetUnits(UnitsInfo::kMillimeters);
  const CVCBParser parsers[] = {Parser("30\xC2\xB0", 1.0), Parser("30\xC2\xB0", 7.0),
                                CVCBParser(velmar_ustring("30\xC2\xB0"), mm, 3.0)};
  for (const CVCBParser& parser : parsers) {
    double value = 0.0;
    EXPECT_TRUE(parser.GetAngle(value));
    EXPECT_DOUBLE_EQ(value, 30.0);
  }
  double value = 0.0;
  EXPECT_TRUE(CVCBParser::GetAngle(velmar_ustring("25%"), value));
  EXPECT_DOUBLE_EQ(value, 90.0);
  EXPECT_FALSE(CVCBParser::GetAngle(velmar_ustring("abc"), value));
  EXPECT_FALSE(Parser("").GetAngle(value));
}

TEST(VCBParserLocale, UnitlessValueUsesTheUserDecimalPoint) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {{" 2.5 ", true, 2.5},  {"2.5mm", true, 2.5}, {"-7", true, -7.0},
                        {"\t.25", true, 0.25}, {"a2.5", false, 0.0}, {"", false, 0.0},
                        {"   ", false, 0.0}};
  for (const Case& c : cases) {
    double member = -1.0;
    double fromStatic = -1.0;
    EXPECT_EQ(Parser(c.text).GetUnitlessValue(member), c.ok) << c.text;
    EXPECT_EQ(CVCBParser::GetUnitlessValue(Typed(c.text), fromStatic), c.ok) << c.text;
    EXPECT_DOUBLE_EQ(member, c.value) << c.text;
    EXPECT_DOUBLE_EQ(fromStatic, c.value) << c.text;
  }
}

TEST(VCBParser, CopiesCarryTextScaleAndUnits) {
  LengthInfo mm;
  mm.SetUnits(UnitsInfo::kMillimeters);
  const CVCBParser original(Typed("254"), mm, 2.0);
  CVCBParser assigned = Parser("1", 1.0);
  assigned = original;
  const CVCBParser copied(original);
  for (const CVCBParser* parser : {&copied, static_cast<const CVCBParser*>(&assigned)}) {
    double value = 0.0;
    ASSERT_TRUE(parser->GetLength(value));
    EXPECT_NEAR(value, 20.0, 1e-12);
  }
  assigned.SetVCBText(Typed("25.4"));
  double value = 0.0;
  ASSERT_TRUE(assigned.GetLength(value));
  EXPECT_NEAR(value, 2.0, 1e-12);
  ASSERT_TRUE(original.GetLength(value));
  EXPECT_NEAR(value, 20.0, 1e-12);
}

// ---- array operations --------------------------------------------------------

struct ArrayCase {
  const char* text;
  bool ok;
  int count;
  bool division;
};

std::ostream& operator<<(std::ostream& out, const ArrayCase& c) {
  return out << "'" << c.text << "'";
}

class VCBArrayOperation : public ::testing::TestWithParam<ArrayCase> {};

TEST_P(VCBArrayOperation, ReadsMarkerAtEitherEnd) {
  const ArrayCase& c = GetParam();
  int count = -99;
  bool division = !c.division;
  EXPECT_EQ(CVCBParser::GetArrayOperation(velmar_ustring(c.text), &count, &division), c.ok);
  int memberCount = -99;
  bool memberDivision = !c.division;
  EXPECT_EQ(Parser(c.text).GetArrayOperation(&memberCount, &memberDivision), c.ok);
  if (c.ok) {
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(division, c.division);
    EXPECT_EQ(memberCount, c.count);
    EXPECT_EQ(memberDivision, c.division);
  } else {
    EXPECT_EQ(count, -99);
    EXPECT_EQ(division, !c.division);
    EXPECT_EQ(memberCount, -99);
    EXPECT_EQ(memberDivision, !c.division);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, VCBArrayOperation,
    ::testing::Values(ArrayCase{"5x", true, 5, false}, ArrayCase{"x5", true, 5, false},
                      ArrayCase{"X5", true, 5, false}, ArrayCase{"5X", true, 5, false},
                      ArrayCase{"*12", true, 12, false}, ArrayCase{"12*", true, 12, false},
                      ArrayCase{"/4", true, 4, true}, ArrayCase{"3/", true, 3, true},
                      ArrayCase{"x 7", true, 7, false}, ArrayCase{"*a", true, 0, false},
                      ArrayCase{"/-2", true, -2, true}, ArrayCase{"x5/", true, 5, false},
                      ArrayCase{"5/x", true, 5, false}, ArrayCase{"2.5x", true, 2, false},
                      ArrayCase{"x99999999999999", true, 2147483647, false},
                      ArrayCase{"-99999999999999/", true, -2147483647 - 1, true},
                      ArrayCase{"x", false, 0, false}, ArrayCase{"/", false, 0, false},
                      ArrayCase{"", false, 0, false}, ArrayCase{"5", false, 0, false},
                      ArrayCase{"55", false, 0, false}, ArrayCase{" x5", false, 0, false},
                      ArrayCase{"5x ", false, 0, false}, ArrayCase{"5 x 3", false, 0, false}));

TEST(VCBArrayOperationNull, NullOutputsAreSkipped) {
  int count = 0;
  EXPECT_TRUE(CVCBParser::GetArrayOperation(velmar_ustring("/6"), &count, nullptr));
  EXPECT_EQ(count, 6);
  bool division = false;
  EXPECT_TRUE(CVCBParser::GetArrayOperation(velmar_ustring("6/"), nullptr, &division));
  EXPECT_TRUE(division);
}

// ---- rows and columns --------------------------------------------------------

struct RowsCase {
  std::string text;
  bool ok;
  unsigned rows;
  unsigned columns;
};

std::ostream& operator<<(std::ostream& out, const RowsCase& c) {
  return out << "'" << c.text.substr(0, 40) << "'";
}

class VCBRowsOrColumns : public ::testing::TestWithParam<RowsCase> {};

TEST_P(VCBRowsOrColumns, ReadsBothForms) {
  const RowsCase& c = GetParam();
  unsigned rows = 77;
  unsigned columns = 77;
  EXPECT_EQ(CVCBParser::GetRowsOrColumns(velmar_ustring(c.text), rows, columns), c.ok);
  EXPECT_EQ(rows, c.rows);
  EXPECT_EQ(columns, c.columns);
  rows = columns = 77;
  EXPECT_EQ(Parser(c.text).GetRowsOrColumns(rows, columns), c.ok);
  EXPECT_EQ(rows, c.rows);
  EXPECT_EQ(columns, c.columns);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VCBRowsOrColumns,
    ::testing::Values(
        // x form: columns before, rows after; both needed.
        RowsCase{"4x3", true, 3, 4}, RowsCase{"4 x 3", true, 3, 4},
        RowsCase{" 4  x\t3 ", true, 3, 4}, RowsCase{"4x", false, 0, 4}, RowsCase{"x3", false, 3, 0},
        RowsCase{"0x3", false, 3, 0}, RowsCase{"a4xb3", true, 3, 4}, RowsCase{"4x3r", false, 0, 4},
        RowsCase{"4x3x2", true, 2, 4}, RowsCase{"2r3cx5", false, 5, 0},
        // r/c form: either is enough.
        RowsCase{"3r", true, 3, 0}, RowsCase{"4c", true, 0, 4}, RowsCase{"2r3c", true, 2, 3},
        RowsCase{"3c 2r", true, 2, 3}, RowsCase{" 7 c", true, 0, 7}, RowsCase{"2.5r", true, 5, 0},
        RowsCase{"0r", false, 0, 0}, RowsCase{"r", false, 0, 0}, RowsCase{"rc", false, 0, 0},
        RowsCase{"ar", false, 0, 0}, RowsCase{"007r", true, 7, 0},
        // Upper case is not a marker.
        RowsCase{"4X3", false, 0, 0}, RowsCase{"3R", false, 0, 0}, RowsCase{"3C", false, 0, 0},
        RowsCase{"5", false, 0, 0}, RowsCase{"", false, 0, 0},
        // Counts that do not fit 32 bits give 0.
        RowsCase{"4294967295r", true, 4294967295u, 0}, RowsCase{"4294967296r", false, 0, 0},
        RowsCase{"99999999999999999999999r5c", true, 0, 5}, RowsCase{"3x4294967296", false, 0, 3},
        RowsCase{"4294967296x3", false, 3, 0},
        RowsCase{std::string(5000, '9') + "x" + std::string(5000, '9'), false, 0, 0}));

// ---- point entry -------------------------------------------------------------

TEST(VCBPointEntryMode, ClassifiesByFirstNonBlank) {
  const struct {
    CVCBParser::EPointEntryMode mode;
    std::vector<const char*> texts;
  } cases[] = {{CVCBParser::kNoPoint, {"", "   ", " \t\r\n\v\f"}},
               {CVCBParser::kAbsolutePoint, {"  [3,4]", "["}},
               {CVCBParser::kRelativePoint, {"<3,4>", "3,4", "5", "3[4", "\xC2\xA0["}},
               {CVCBParser::kPolarPoint, {"\t^90,10"}}};
  for (const auto& c : cases) {
    for (const char* text : c.texts) {
      EXPECT_EQ(Parser(text).GetPointEntryMode(), c.mode) << "'" << text << "'";
    }
  }
}

struct PointCase {
  const char* text;  // "." decimal point, "|" separator
  double scale;
  Point2<float> reference;
  float x;
  float y;
};

std::ostream& operator<<(std::ostream& out, const PointCase& c) {
  return out << "'" << c.text << "'";
}

class VCBPointLocale : public ::testing::TestWithParam<PointCase> {};

TEST_P(VCBPointLocale, ReadsPoint) {
  const PointCase& c = GetParam();
  Point2<float> point{-1.0f, -1.0f};
  ASSERT_TRUE(Parser(c.text, c.scale).GetCPoint2f(100.0f, 50.0f, c.reference, point)) << c.text;
  EXPECT_NEAR(point.x, c.x, 1e-4) << c.text;
  EXPECT_NEAR(point.y, c.y, 1e-4) << c.text;
}

const Point2<float> kRef{10.0f, 20.0f};
const Point2<float> kOrigin{0.0f, 0.0f};

INSTANTIATE_TEST_SUITE_P(
    Table, VCBPointLocale,
    ::testing::Values(
        // Relative: scaled offset from the reference point.
        PointCase{"3|4", 2.0, kRef, 16, 28}, PointCase{"3", 2.0, kRef, 16, 20},
        PointCase{"<3|4>", 2.0, kRef, 16, 28}, PointCase{"|4", 2.0, kRef, 10, 28},
        PointCase{"3|", 2.0, kRef, 16, 20}, PointCase{"3|  ", 2.0, kRef, 16, 20},
        PointCase{"1.5|-2.5", 2.0, kRef, 13, 15}, PointCase{" 3 | 4 ", 1.0, kRef, 13, 24},
        PointCase{"1|2|3", 1.0, kRef, 11, 22}, PointCase{"<3|4", 1.0, kRef, 13, 24},
        PointCase{"<w3|h4>", 1.0, kRef, 13, 24},
        // Absolute: neither scale nor reference; w and h add width and height.
        PointCase{"[3|4]", 2.0, kRef, 3, 4}, PointCase{"[w3|h4]", 2.0, kRef, 103, 54},
        PointCase{"[W3|4]", 2.0, kRef, 103, 4}, PointCase{"[3|4]h", 2.0, kRef, 3, 54},
        PointCase{"[w|h4]", 2.0, kRef, 100, 54}, PointCase{"[5", 2.0, kRef, 5, 0},
        // Polar: negated degrees, distance unscaled.
        PointCase{"^90|10", 1.0, kOrigin, 0, -10}, PointCase{"^90|10", 3.0, kOrigin, 0, -10},
        PointCase{"^0|10", 2.0, kRef, 20, 20}, PointCase{"^-90|4", 1.0, kRef, 10, 24},
        PointCase{"^180|1", 1.0, kRef, 9, 20},
        PointCase{"^45|2", 1.0, kOrigin, 1.41421356f, -1.41421356f},
        PointCase{"^90", 1.0, kRef, 10, 20}, PointCase{"^|5", 1.0, kRef, 15, 20}));

TEST(VCBPointLocale, PolarAngleIsDegreesWhateverTheLengthUnit) {
  LengthInfo mm;
  mm.SetUnits(UnitsInfo::kMillimeters);
  const CVCBParser parser(Typed("^90|25.4"), mm, 5.0);
  Point2<float> point;
  ASSERT_TRUE(parser.GetCPoint2f(0, 0, kOrigin, point));
  EXPECT_NEAR(point.x, 0.0f, 1e-6);
  EXPECT_NEAR(point.y, -1.0f, 1e-6);

  // Relative and absolute coordinates are lengths in the document's unit.
  const CVCBParser relative(Typed("25.4|50.8"), mm, 2.0);
  ASSERT_TRUE(relative.GetCPoint2f(0, 0, kRef, point));
  EXPECT_NEAR(point.x, 12.0f, 1e-5);
  EXPECT_NEAR(point.y, 24.0f, 1e-5);
}

TEST(VCBPointLocale, PolarUsesTheFixedDegreeFactor) {
  // The fixed factor and pi/180 differ by 5e-18 per degree: 5e-6 radians
  // at 1e12 degrees, far above float resolution of a unit vector.
  const double degrees = 1e12;
  const auto direction = [degrees](double factor) {
    const double theta = -degrees * factor;
    return Point2<float>{static_cast<float>(std::cos(theta)), static_cast<float>(std::sin(theta))};
  };
  const Point2<float> fixed = direction(0.0174532925199433);
  const Point2<float> exact = direction(0.017453292519943295);
  ASSERT_GT(std::fabs(fixed.x - exact.x) + std::fabs(fixed.y - exact.y), 1e-6);

  Point2<float> point;
  ASSERT_TRUE(Parser("^1000000000000|1").GetCPoint2f(0, 0, kOrigin, point));
  EXPECT_NEAR(point.x, fixed.x, 1e-7);
  EXPECT_NEAR(point.y, fixed.y, 1e-7);
}

TEST(VCBPointLocale, UnreadableTextLeavesThePointUntouched) {
  const char* texts[] = {"", "abc", "<>", "[]", "^", "|", "x|4", "1|x", "[a|b", "^q|", "1 2|3",
                         "<<>>", "1|2 3", "[w]", "[w|h]",
                         // Only the brackets of the chosen kind are removed.
                         "<[3|4]>", "[^3|4]"};
  for (const char* text : texts) {
    Point2<float> point{-7.0f, -9.0f};
    EXPECT_FALSE(Parser(text, 2.0).GetCPoint2f(100, 50, kRef, point)) << "'" << text << "'";
    EXPECT_EQ(point.x, -7.0f) << text;
    EXPECT_EQ(point.y, -9.0f) << text;
  }
}

}  // namespace
}  // namespace velmar::utils
