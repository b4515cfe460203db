// Feeds arbitrary text to every reading of the measurement-box parser and
// checks the promises about outputs on failure.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FolianUtils/units_info.h"
#include "FolianUtils/vcb_parser.h"

namespace {

using velmar::geometry::Point2;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::CVCBParser;
using velmar::utils::utf16_unit;
using velmar::utils::velmar_ustring;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void ReadAll(const velmar_ustring& text, const LengthInfo& info, double scale) {
  CVCBParser parser(text, info, scale);
  double value = 0.0;
  (void)parser.GetLength(value);
  (void)parser.GetAngle(value);
  (void)parser.GetUnitlessValue(value);
  Check(!CVCBParser::IsVCBTrigger(text) || text.length() == 1);

  int count = -12345;
  bool division = true;
  if (!parser.GetArrayOperation(&count, &division)) Check(count == -12345 && division);

  // Both are always written; a false result never has both counts.
  unsigned rows = 7;
  unsigned columns = 7;
  const bool rc = parser.GetRowsOrColumns(rows, columns);
  Check(rc ? (rows != 0 || columns != 0) : (rows == 0 || columns == 0));

  const CVCBParser::EPointEntryMode mode = parser.GetPointEntryMode();
  Check(mode >= CVCBParser::kAbsolutePoint && mode <= CVCBParser::kNoPoint);
  Check(mode != CVCBParser::kNoPoint || text.Trimmed().empty());

  const Point2<float> untouched{-3.5f, 4.25f};
  Point2<float> point = untouched;
  if (!parser.GetCPoint2f(100.0f, 50.0f, Point2<float>{1.0f, 2.0f}, point)) {
    Check(point == untouched);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the length settings and the scale.
  LengthInfo info;
  info.SetFormat(static_cast<UnitsInfo::Format>(data[0] & 3), false);
  info.SetUnits(static_cast<UnitsInfo::Units>((data[0] >> 2) % 6), false);
  const double scale = (data[0] & 0x80) ? 0.0 : 1.0 + (data[0] >> 5);
  ++data;
  --size;

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ReadAll(velmar_ustring(bytes), info, scale);

  velmar_ustring::string_type units(size / 2, 0);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    units[i / 2] = static_cast<utf16_unit>(data[i] | (data[i + 1] << 8));
  }
  ReadAll(velmar_ustring(units), info, scale);
  return 0;
}
