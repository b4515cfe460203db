#include "FolianUtils/vcb_parser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

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

const Point2<float> kRef{10.0f, 20.0f};

// Edges of the digit range; single-character texts leave out array marks.
TEST(VCBTrigger, TriggersAreTheCharactersThatStartAnEntry) {
  using P = CVCBParser;
  EXPECT_TRUE(P::IsVCBTrigger(L'0') && P::IsVCBTrigger(L'9') && P::IsVCBTrigger(L'X') &&
              P::IsVCBTrigger(L'^') && P::IsVCBTrigger(velmar_ustring("9")));
  EXPECT_FALSE(P::IsVCBTrigger(L'+') || P::IsVCBTrigger(L':') ||
               P::IsVCBTrigger(velmar_ustring("x")) || P::IsVCBTrigger(velmar_ustring("12")));
}

// A scale at or below the double epsilon keeps the previous one (1 at
// construction); angles ignore the scale and the length settings.
TEST(VCBParser, ValuesOfTheText) {
  LengthInfo mm;
  mm.SetUnits(UnitsInfo::kMillimeters);
  const double eps = std::numeric_limits<double>::epsilon();
  double value = 0.0;
  EXPECT_TRUE(Parser("3", eps).GetLength(value));
  EXPECT_EQ(value, 3.0);
  CVCBParser parser = Parser("3", 2.0);
  parser.SetDrawingScale(4.5e-16);
  parser.SetDrawingScale(eps);
  EXPECT_TRUE(parser.GetLength(value));
  EXPECT_DOUBLE_EQ(value, 3.0 * 4.5e-16);
  EXPECT_TRUE(CVCBParser(velmar_ustring("30\xC2\xB0"), mm, 3.0).GetAngle(value));
  EXPECT_DOUBLE_EQ(value, 30.0);
  EXPECT_TRUE(Parser("\t.25mm").GetUnitlessValue(value));
  EXPECT_DOUBLE_EQ(value, 0.25);
  EXPECT_FALSE(CVCBParser::GetUnitlessValue(Typed("a2.5"), value));
  // Copies take the units and the scale; coordinates are lengths in the
  // document's unit, the polar angle is degrees whatever the unit.
  CVCBParser assigned = Parser("1");
  assigned = CVCBParser(Typed("25.4"), mm, 2.0);
  assigned = CVCBParser(assigned);
  ASSERT_TRUE(assigned.GetLength(value));
  EXPECT_NEAR(value, 2.0, 1e-12);
  Point2<float> point;
  assigned.SetVCBText(Typed("25.4|50.8"));
  ASSERT_TRUE(assigned.GetCPoint2f(0, 0, kRef, point));
  EXPECT_NEAR(point.x, 12.0f, 1e-5);
  EXPECT_NEAR(point.y, 24.0f, 1e-5);
  assigned.SetVCBText(Typed("^90|25.4"));
  ASSERT_TRUE(assigned.GetCPoint2f(0, 0, kRef, point));
  EXPECT_NEAR(point.x, 10.0f, 1e-5);
  EXPECT_NEAR(point.y, 19.0f, 1e-5);
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// What the box reads at scale 2, in a 100 x 50 view, from (10, 20): the
// length, the array operation, rows and columns, point and entry mode; "!"
// marks a refusal, "-" nothing read and nothing written.
std::string Readings(const std::string& text) {
  const CVCBParser parser = Parser(text, 2.0);
  double length = -1.0;
  const bool ok = parser.GetLength(length);
  std::string out = (ok ? "" : "!") + Number(length) + " ";
  int count = -9;
  bool division = false;
  out += !parser.GetArrayOperation(&count, &division) ? (count == -9 ? "-" : "?")
         : division                                   ? "/" + std::to_string(count)
                                                      : "x" + std::to_string(count);
  unsigned rows = 77;
  unsigned columns = 77;
  const bool grid = parser.GetRowsOrColumns(rows, columns);
  out +=
      std::string(grid ? " " : " !") + std::to_string(rows) + "r" + std::to_string(columns) + "c";
  Point2<float> point{-7.0f, -7.0f};
  const bool read = parser.GetCPoint2f(100.0f, 50.0f, kRef, point);
  out += read ? " " + Number(point.x) + "," + Number(point.y) : point.x == -7.0f ? " -" : " ?";
  return out + " " + "[<^n"[parser.GetPointEntryMode()];
}

// A zero unit ends the text. Arrays: a marker at either end, the first
// winning; the count saturates. "AxB" is columns before, rows after, both
// needed; "Ar" and "Bc": either is enough; a count must fit 32 bits. Points:
// relative ones are a scaled offset; absolute ones are not, w and h add the
// width and height; polar ones are negated degrees and an unscaled distance.
TEST(VCBParserLocale, ReadingsOfTexts) {
  // text: "." decimal point, "|" separator
  const std::pair<std::string, const char*> cases[] = {
      {std::string("3\0x y", 5), "6 - !0r0c - <"},
      {"5 3", "!5 - !0r0c - <"},
      {"^1000000000000|100000", "!0 - !0r0c 17375.1,98500.7 ^"},
      {"5X", "!5 x5 !0r0c - <"},
      {"/4", "0 /4 !0r0c 10,20 <"},
      {"3/", "0 /3 !0r0c 10,20 <"},
      {"x5/", "!0 x5 !0r0c - <"},
      {"2.5x", "!2.5 x2 !0r5c - <"},
      {"x", "!0 - !0r0c - <"},
      {" x5", "!0 - !5r0c - <"},
      {"x99999999999999", "!0 x2147483647 !0r0c - <"},
      {"-99999999999999/", "-0 /-2147483648 !0r0c 10,20 <"},
      {" 4  x\t3 ", "!4 - 3r4c - <"},
      {"4x3r", "!4 - !0r4c - <"},
      {"2r3cx5", "!2 - !5r0c - <"},
      {"3c 2r", "!3 - 2r3c - <"},
      {"2.5r", "!2.5 - 5r0c - <"},
      {"0r", "!0 - !0r0c - <"},
      {"4294967295r", "!4.29497e+09 - 4294967295r0c - <"},
      {"4294967296r", "!4.29497e+09 - !0r0c - <"},
      {std::string(5000, '9') + "x" + std::string(5000, '9'), "!0 - !0r0c - <"},
      {" \t\r\n\v\f", "0 - !0r0c 10,20 n"},
      {"\xC2\xA0[", "!0 - !0r0c - <"},
      {"3", "6 - !0r0c 16,20 <"},
      {"<3|4>", "!0 - !0r0c 16,28 <"},
      {"1|2|3", "!1 - !0r0c 12,24 <"},
      {"[W3|4]h", "!0 - !0r0c 103,54 ["},
      {"3|  ", "!3 - !0r0c 16,20 <"},
      {"\t^90|10", "!0 - !0r0c 10,10 ^"},
      {"^|5", "!0 - !0r0c 15,20 ^"},
      {"[w|h]", "!0 - !0r0c - ["},
      {"[^3|4]", "!0 - !0r0c - ["}};
  for (const auto& [text, readings] : cases) {
    EXPECT_EQ(Readings(text), readings) << text.substr(0, 20);
  }
  bool division = false;
  EXPECT_TRUE(CVCBParser::GetArrayOperation(velmar_ustring("6/"), nullptr, &division));
  EXPECT_TRUE(division);
}

}  // namespace
}  // namespace velmar::utils
