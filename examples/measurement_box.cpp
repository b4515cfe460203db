// The measurement box: what the text typed while a drawing tool is active
// asks for. The parser reads its text afresh on every question.
#include <FolianUtils/point2.h>
#include <FolianUtils/units_info.h>
#include <FolianUtils/vcb_parser.h>

#include <iostream>

using velmar::geometry::Point2;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::CVCBParser;

int main() {
  // Does a typed character start measurement-box entry?
  std::cout << CVCBParser::IsVCBTrigger(L'7') << CVCBParser::IsVCBTrigger(L'q') << "\n";  // 10

  LengthInfo info;
  info.SetFormat(UnitsInfo::kArchitectural);
  // The view shows the drawing at 1:48; lengths come back in page inches.
  CVCBParser box(VELMAR_U("10'"), info, 1.0 / 48);

  double length = 0.0;
  if (box.GetLength(length)) std::cout << length << "\n";  // 2.5

  box.SetVCBText(VELMAR_U("5x"));
  int count = 0;
  bool isDivision = false;
  if (box.GetArrayOperation(&count, &isDivision)) {
    std::cout << count << (isDivision ? " divisions" : " copies") << "\n";  // 5 copies
  }

  box.SetVCBText(VELMAR_U("3x4"));
  unsigned int rows = 0;
  unsigned int columns = 0;
  if (box.GetRowsOrColumns(rows, columns)) {
    std::cout << columns << " columns, " << rows << " rows\n";  // 3 columns, 4 rows
  }

  // Points in page coordinates: absolute "[x, y]"; relative "<dx, dy>" from
  // the reference point, scaled; polar "^degrees, distance" from the
  // reference point, unscaled, a positive angle turning towards negative y.
  const Point2<float> from{1.0f, 1.0f};
  Point2<float> point;
  for (const auto* text : {VELMAR_U("[2, 3]"), VELMAR_U("<2, 3>"), VELMAR_U("^90, 2")}) {
    box.SetVCBText(text);
    if (box.GetCPoint2f(0.0f, 0.0f, from, point)) {
      std::cout << box.GetPointEntryMode() << ": " << point.x << ", " << point.y << "\n";
    }  // 0: 2, 3    1: 1.04167, 1.0625    2: 1, -1
  }

  box.SetVCBText(VELMAR_U("hello"));
  if (!box.GetLength(length)) std::cout << "not a length\n";
  return 0;
}
