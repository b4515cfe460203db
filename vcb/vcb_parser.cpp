#include "FolianUtils/vcb_parser.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "FolianUtils/angle_formatter.h"
#include "FolianUtils/length_formatter.h"
#include "FolianUtils/numeric_formatter.h"
#include "base/ascii.h"

namespace velmar::utils {
namespace {

using velmar::geometry::Point2;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;

// The double epsilon: a scale at or below it would collapse every length.
constexpr double kMinDrawingScale = 2.220446049250313e-16;
// Kept as the host has always used it, not the nearest double to pi/180.
constexpr double kPolarDegreesToRadians = 0.0174532925199433;
constexpr double kCountTolerance = 1e-6;
constexpr double kMinDirectionLength = 1e-10;

bool IsArrayMarker(utf16_unit u) { return u == '*' || u == 'x' || u == 'X' || u == '/'; }

using base::IsDigit;
// The user's locale must not change what counts as a blank before a
// point's opening bracket.
using base::IsAsciiSpace;

bool Contains(const velmar_ustring& text, utf16_unit u) {
  return text.Find(u) != velmar_ustring::npos;
}

void RemoveAll(velmar_ustring& text, utf16_unit a, utf16_unit b) {
  const auto kept =
      std::remove_if(text.begin(), text.end(), [a, b](utf16_unit u) { return u == a || u == b; });
  text.erase(static_cast<velmar_ustring::size_type>(kept - text.begin()));
}

// ToInt saturates at the range of long, which is wider than int on some
// platforms; saturating again keeps every platform's count the same.
int ToCount(const velmar_ustring& text) {
  const long value = text.ToInt();
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The count written by the run of digits that ends a rows or columns part;
// 0 when the part does not end in a digit or the count does not fit.
unsigned int CountFromPart(velmar_ustring part) {
  part.Trim();
  velmar_ustring::size_type start = part.length();
  while (start > 0 && IsDigit(part[start - 1])) --start;
  if (start == part.length()) return 0;
  const velmar_ustring digits(part.data() + start, part.length() - start);
  double value = 0.0;
  if (!StringToDouble(digits.c_str(), value)) return 0;
  const double rounded = std::round(std::fabs(value));
  if (!(rounded <= static_cast<double>(UINT32_MAX))) return 0;
  const auto count = static_cast<std::uint32_t>(rounded);
  return std::fabs(static_cast<double>(count) - value) > kCountTolerance ? 0 : count;
}

bool OnlySpaceAfter(const velmar_ustring& text, velmar_ustring::size_type pos) {
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(pos) + 1, text.end(), IsAsciiSpace);
}

}  // namespace

// The exported signature takes the settings by value.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
CVCBParser::CVCBParser(const velmar_ustring& text, LengthInfo lengthInfo, double drawingScale)
    : m_text(text), m_drawingScale(1.0), m_lengthInfo(lengthInfo) {
  SetDrawingScale(drawingScale);
}

CVCBParser::CVCBParser(const CVCBParser& other) = default;
CVCBParser& CVCBParser::operator=(const CVCBParser& other) = default;
CVCBParser::~CVCBParser() = default;

void CVCBParser::SetVCBText(const velmar_ustring& text) { m_text = text; }

void CVCBParser::SetDrawingScale(double scale) {
  if (scale > kMinDrawingScale) m_drawingScale = scale;
}

bool CVCBParser::IsVCBTrigger(wchar_t c) {
  switch (c) {
    case L'-':
    case L'.':
    case L',':
    case L'<':
    case L'[':
    case L'^':
    case L'*':
    case L'x':
    case L'X':
    case L'/':
      return true;
    default:
      return c >= L'0' && c <= L'9';
  }
}

bool CVCBParser::IsVCBTrigger(const velmar_ustring& text) {
  if (text.length() != 1) return false;
  static constexpr utf16_unit kTriggers[] = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', '-', '.', ',', '[', '<', '^'};
  return std::find(std::begin(kTriggers), std::end(kTriggers), text[0]) != std::end(kTriggers);
}

bool CVCBParser::GetLength(double& value) const {
  const CLengthFormatter formatter(m_lengthInfo);
  // The host's buffers may carry a terminator inside the text.
  const bool ok = formatter.Parse(velmar_ustring(m_text.c_str()), value);
  if (ok) value *= m_drawingScale;
  return ok;
}

bool CVCBParser::GetAngle(double& value) const { return GetAngle(m_text, value); }

bool CVCBParser::GetAngle(const velmar_ustring& text, double& value) {
  return AngleFormatter::Parse(text, value);
}

bool CVCBParser::GetUnitlessValue(double& value) const { return GetUnitlessValue(m_text, value); }

bool CVCBParser::GetUnitlessValue(const velmar_ustring& text, double& value) {
  return StringToDouble(text.c_str(), value);
}

bool CVCBParser::GetArrayOperation(int* count, bool* isDivision) const {
  return GetArrayOperation(m_text, count, isDivision);
}

bool CVCBParser::GetArrayOperation(const velmar_ustring& text, int* count, bool* isDivision) {
  if (text.length() < 2) return false;
  const utf16_unit first = text[0];
  const utf16_unit last = text[text.length() - 1];
  int parsed = 0;
  bool division = false;
  if (IsArrayMarker(first)) {
    parsed = ToCount(velmar_ustring(text.data() + 1, text.length() - 1));
    division = first == '/';
  } else if (IsArrayMarker(last)) {
    parsed = ToCount(text);
    division = last == '/';
  } else {
    return false;
  }
  if (count != nullptr) *count = parsed;
  if (isDivision != nullptr) *isDivision = division;
  return true;
}

bool CVCBParser::GetRowsOrColumns(unsigned int& rows, unsigned int& columns) const {
  return GetRowsOrColumns(m_text, rows, columns);
}

bool CVCBParser::GetRowsOrColumns(const velmar_ustring& text, unsigned int& rows,
                                  unsigned int& columns) {
  rows = 0;
  columns = 0;
  const auto npos = velmar_ustring::npos;
  velmar_ustring rowsPart;
  velmar_ustring columnsPart;
  const auto x = text.Find(utf16_unit('x'));
  const bool xForm = x != npos;
  if (xForm) {
    columnsPart = velmar_ustring(text.data(), x);
    rowsPart = velmar_ustring(text.data() + x + 1, text.length() - x - 1);
  } else {
    const auto r = text.Find(utf16_unit('r'));
    const auto c = text.Find(utf16_unit('c'));
    if (r == npos && c == npos) return false;
    if (r != npos) rowsPart = velmar_ustring(text.data(), r);
    if (c != npos) columnsPart = velmar_ustring(text.data(), c);
  }
  if (!rowsPart.empty()) rows = CountFromPart(rowsPart);
  if (!columnsPart.empty()) columns = CountFromPart(columnsPart);
  return xForm ? rows != 0 && columns != 0 : rows != 0 || columns != 0;
}

CVCBParser::EPointEntryMode CVCBParser::GetPointEntryMode() const {
  for (const utf16_unit u : m_text) {
    if (IsAsciiSpace(u)) continue;
    if (u == '[') return kAbsolutePoint;
    if (u == '^') return kPolarPoint;
    return kRelativePoint;
  }
  return kNoPoint;
}

bool CVCBParser::GetCPoint2f(float width, float height, const Point2<float>& referencePoint,
                             Point2<float>& point) const {
  velmar_ustring copy(m_text);
  copy.MakeLower();
  EPointEntryMode kind = kRelativePoint;
  bool addWidth = false;
  bool addHeight = false;
  if (Contains(copy, '<')) {
    RemoveAll(copy, '<', '>');
  } else if (Contains(copy, '[')) {
    kind = kAbsolutePoint;
    RemoveAll(copy, '[', ']');
    addWidth = Contains(copy, 'w');
    addHeight = Contains(copy, 'h');
  } else if (Contains(copy, '^')) {
    kind = kPolarPoint;
    RemoveAll(copy, '^', '^');
  }
  RemoveAll(copy, 'w', 'h');

  // A lone number is the first coordinate; a missing one is 0. An empty
  // text becomes "0" and so fails below.
  const utf16_unit separator = CNumericFormatter::GetSeparatorChar();
  const auto sepPos = copy.Find(separator);
  if (sepPos == 0) {
    copy = velmar_ustring(VELMAR_U("0")) + copy;
  } else if (copy.empty() || (sepPos != velmar_ustring::npos && OnlySpaceAfter(copy, sepPos))) {
    copy += utf16_unit('0');
  } else if (sepPos == velmar_ustring::npos) {
    copy += separator;
    copy += utf16_unit('0');
  }

  double values[2] = {0.0, 0.0};
  const CLengthFormatter formatter(m_lengthInfo);
  if (formatter.Parse(copy, 2, values) != 2) return false;
  double a = values[0];
  double b = values[1];

  if (kind == kPolarPoint) {
    // The angle is a plain number of degrees whatever the length units.
    const auto anglePos = copy.Find(separator);
    double degrees = 0.0;
    if (anglePos != velmar_ustring::npos && anglePos != 0 &&
        CLengthFormatter::Parse(velmar_ustring(copy.data(), anglePos), degrees, UnitsInfo::kNone)) {
      a = degrees;
    }
  }
  if (addWidth) a += width;
  if (addHeight) b += height;

  switch (kind) {
    case kAbsolutePoint:
      point.x = static_cast<float>(a);
      point.y = static_cast<float>(b);
      break;
    case kPolarPoint: {
      // Page y grows downwards: a positive angle turns towards negative y.
      const double theta = -a * kPolarDegreesToRadians;
      const float ux = static_cast<float>(std::cos(theta));
      const float uy = static_cast<float>(std::sin(theta));
      Point2<float> offset{ux, uy};
      const double length = std::hypot(static_cast<double>(ux), static_cast<double>(uy));
      if (length >= kMinDirectionLength) {
        const double factor = static_cast<double>(static_cast<float>(b)) / length;
        offset.x = static_cast<float>(ux * factor);
        offset.y = static_cast<float>(uy * factor);
      }
      point.x = offset.x + referencePoint.x;
      point.y = offset.y + referencePoint.y;
      break;
    }
    default:
      point.x = static_cast<float>(a * m_drawingScale) + referencePoint.x;
      point.y = static_cast<float>(b * m_drawingScale) + referencePoint.y;
      break;
  }
  return true;
}

}  // namespace velmar::utils
