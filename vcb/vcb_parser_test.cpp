#include "FolianUtils/vcb_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

LengthInfo Millimetres() {
  LengthInfo mm;
  mm.SetUnits(UnitsInfo::kMillimeters);
  return mm;
}

// Spot checks at the edges of the digit range and of the two sets: the
// single-character texts leave out the array marks.
TEST(VCBTrigger, TriggersAreTheCharactersThatStartAnEntry) {
  EXPECT_TRUE(CVCBParser::IsVCBTrigger(L'0') && CVCBParser::IsVCBTrigger(L'9') &&
              CVCBParser::IsVCBTrigger(L'X') && CVCBParser::IsVCBTrigger(L'^'));
  EXPECT_FALSE(CVCBParser::IsVCBTrigger(L'+') || CVCBParser::IsVCBTrigger(L':'));
  EXPECT_TRUE(CVCBParser::IsVCBTrigger(velmar_ustring("9")));
  EXPECT_FALSE(CVCBParser::IsVCBTrigger(velmar_ustring("x")) ||
               CVCBParser::IsVCBTrigger(velmar_ustring("12")));
}

// A length is multiplied by the drawing scale; a scale at or below the
// double epsilon keeps the previous one (1 at construction); a failed length
// keeps what was read, unscaled; a zero unit ends the text.
TEST(VCBParser, ValuesOfTheText) {
  const double eps = std::numeric_limits<double>::epsilon();
  const struct {
    std::string text;
    double scale;
    double later;  // 0: none
    bool ok;
    double value;
  } cases[] = {{std::string("3\0x y", 5), 2.0, 0, true, 6.0},
               {"3", 2.0, 4.5e-16, true, 3.0 * 4.5e-16},
               {"5 3", 2.0, 0, false, 5.0},
               {"3", 2.0, eps, true, 6.0},
               {"3", eps, 0, true, 3.0}};
  for (const auto& c : cases) {
    CVCBParser parser = Parser(c.text, c.scale);
    if (c.later != 0) parser.SetDrawingScale(c.later);
    double value = -1.0;
    EXPECT_EQ(parser.GetLength(value), c.ok) << c.text << " " << c.scale;
    EXPECT_DOUBLE_EQ(value, c.value) << c.text << " " << c.scale;
  }
  // Angles ignore the scale and the length settings.
  double value = 0.0;
  EXPECT_TRUE(CVCBParser(velmar_ustring("30\xC2\xB0"), Millimetres(), 3.0).GetAngle(value));
  EXPECT_DOUBLE_EQ(value, 30.0);
  EXPECT_TRUE(CVCBParser::GetAngle(velmar_ustring("25%"), value));
  EXPECT_DOUBLE_EQ(value, 90.0);
  EXPECT_TRUE(Parser("\t.25mm").GetUnitlessValue(value));
  EXPECT_DOUBLE_EQ(value, 0.25);
  EXPECT_FALSE(CVCBParser::GetUnitlessValue(Typed("a2.5"), value));
  EXPECT_FALSE(Parser("   ").GetUnitlessValue(value));
  // An assigned parser takes the units and the scale; the text can change.
  CVCBParser assigned = Parser("1");
  assigned = CVCBParser(Typed("254"), Millimetres(), 2.0);
  assigned.SetVCBText(Typed("25.4"));
  ASSERT_TRUE(assigned.GetLength(value));
  EXPECT_NEAR(value, 2.0, 1e-12);
}

// A marker at either end; the count saturates; no outputs are written on
// failure, and null outputs are skipped.
TEST(VCBParser, ArrayOperation) {
  const struct {
    const char* text;
    int count;  // -9: refused
    bool division;
  } cases[] = {{"5X", 5, false},
               {"/4", 4, true},
               {"3/", 3, true},
               {"*a", 0, false},
               {"x5/", 5, false},
               {"2.5x", 2, false},
               {"x", -9, true},
               {" x5", -9, true},
               {"x99999999999999", 2147483647, false},
               {"-99999999999999/", -2147483647 - 1, true}};
  for (const auto& c : cases) {
    int count = -9;
    bool division = true;
    EXPECT_EQ(Parser(c.text).GetArrayOperation(&count, &division), c.count != -9) << c.text;
    EXPECT_EQ(count, c.count) << c.text;
    EXPECT_EQ(division, c.division) << c.text;
  }
  bool division = false;
  EXPECT_TRUE(CVCBParser::GetArrayOperation(velmar_ustring("6/"), nullptr, &division));
  EXPECT_TRUE(division);
}

// "AxB": columns before, rows after, both needed; "Ar" and "Bc": either is
// enough; upper case is no marker; a count must fit 32 bits.
TEST(VCBParser, RowsOrColumns) {
  const struct {
    std::string text;
    bool ok;
    unsigned rows;
    unsigned columns;
  } cases[] = {{" 4  x\t3 ", true, 3, 4},
               {"a4xb3", true, 3, 4},
               {"4x3r", false, 0, 4},
               {"2r3cx5", false, 5, 0},
               {"3c 2r", true, 2, 3},
               {"2.5r", true, 5, 0},
               {"0r", false, 0, 0},
               {"4X3", false, 0, 0},
               {"4294967295r", true, 4294967295u, 0},
               {"4294967296r", false, 0, 0},
               {std::string(5000, '9') + "x" + std::string(5000, '9'), false, 0, 0}};
  for (const auto& c : cases) {
    unsigned rows = 77;
    unsigned columns = 77;
    EXPECT_EQ(Parser(c.text).GetRowsOrColumns(rows, columns), c.ok) << c.text.substr(0, 9);
    EXPECT_EQ(rows, c.rows) << c.text.substr(0, 9);
    EXPECT_EQ(columns, c.columns) << c.text.substr(0, 9);
  }
}

TEST(VCBParser, PointEntryModeByFirstNonBlank) {
  const struct {
    const char* text;
    CVCBParser::EPointEntryMode mode;
  } cases[] = {{" \t\r\n\v\f", CVCBParser::kNoPoint},
               {"  [3,4]", CVCBParser::kAbsolutePoint},
               {"\xC2\xA0[", CVCBParser::kRelativePoint},
               {"3[4", CVCBParser::kRelativePoint},
               {"\t^90,10", CVCBParser::kPolarPoint}};
  for (const auto& c : cases) EXPECT_EQ(Parser(c.text).GetPointEntryMode(), c.mode) << c.text;
}

const Point2<float> kRef{10.0f, 20.0f};
const Point2<float> kOrigin{0.0f, 0.0f};

// Relative points are a scaled offset from the reference; absolute ones use
// neither, and w and h add the width and the height; polar ones are negated
// degrees and an unscaled distance. Unreadable texts leave the point as it was;
// only the brackets of the chosen kind are removed.
TEST(VCBParserLocale, Points) {
  const float kUntouched = -7.0f;
  const struct {
    const char* text;  // "." decimal point, "|" separator
    double scale;
    float x;
    float y;
  } cases[] = {{"3", 2.0, 16, 20},
               {"<3|4>", 2.0, 16, 28},
               {"1|2|3", 1.0, 11, 22},
               {"<w3|h4", 1.0, 13, 24},
               {"[W3|4]h", 2.0, 103, 54},
               {"[5", 2.0, 5, 0},
               {"3|  ", 2.0, 16, 20},
               {"^90|10", 3.0, 10, 10},
               {"^|5", 1.0, 15, 20},
               {"x|4", 1.0, kUntouched, kUntouched},
               {"1|2 3", 1.0, kUntouched, kUntouched},
               {"[w|h]", 1.0, kUntouched, kUntouched},
               {"<[3|4]>", 1.0, kUntouched, kUntouched},
               {"[^3|4]", 1.0, kUntouched, kUntouched}};
  for (const auto& c : cases) {
    Point2<float> point{kUntouched, kUntouched};
    const bool ok = Parser(c.text, c.scale).GetCPoint2f(100.0f, 50.0f, kRef, point);
    EXPECT_EQ(ok, c.x != kUntouched) << c.text;
    EXPECT_NEAR(point.x, c.x, 1e-4) << c.text;
    EXPECT_NEAR(point.y, c.y, 1e-4) << c.text;
  }
}

// Coordinates are lengths in the document's unit; the polar angle is
// degrees whatever the unit, by the fixed factor, which differs from pi/180
// by 5e-6 radians at 1e12 degrees.
TEST(VCBParserLocale, PointUnitsAndTheFixedDegreeFactor) {
  Point2<float> point;
  ASSERT_TRUE(CVCBParser(Typed("25.4|50.8"), Millimetres(), 2.0).GetCPoint2f(0, 0, kRef, point));
  EXPECT_NEAR(point.x, 12.0f, 1e-5);
  EXPECT_NEAR(point.y, 24.0f, 1e-5);
  ASSERT_TRUE(CVCBParser(Typed("^90|25.4"), Millimetres(), 5.0).GetCPoint2f(0, 0, kOrigin, point));
  EXPECT_NEAR(point.x, 0.0f, 1e-6);
  EXPECT_NEAR(point.y, -1.0f, 1e-6);
  const double theta = -1e12 * 0.0174532925199433;
  ASSERT_TRUE(Parser("^1000000000000|1").GetCPoint2f(0, 0, kOrigin, point));
  EXPECT_NEAR(point.x, static_cast<float>(std::cos(theta)), 1e-7);
  EXPECT_NEAR(point.y, static_cast<float>(std::sin(theta)), 1e-7);
  EXPECT_GT(std::fabs(std::cos(theta) - std::cos(-1e12 * 0.017453292519943295)), 1e-6);
}

}  // namespace
}  // namespace velmar::utils
