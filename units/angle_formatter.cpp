#include "FolianUtils/angle_formatter.h"

#include <charconv>
#include <cmath>

#include "FolianUtils/constants.h"
#include "environment/localized_strings.h"

namespace velmar::utils {
namespace {

using units::AngleInfo;
using units::UnitsInfo;

constexpr utf16_unit kDegreeMark = 0x00B0;

const velmar_ustring& DegreeText() {
  static const velmar_ustring text(1, kDegreeMark);
  return text;
}

const velmar_ustring& RadianText() {
  static const velmar_ustring text = GetLocalizedString("Radian unit string (short)", " r");
  return text;
}

const velmar_ustring& UnitText(UnitsInfo::Units units) {
  return units == UnitsInfo::kDegrees ? DegreeText() : RadianText();
}

// "%.<decimals>lf" of `value` with the user's decimal point. to_chars
// rounds like the C runtime's printf and needs neither a locale nor a
// format string, which keeps the formatter cheap.
void AppendFixed(velmar_ustring& text, double value, int decimals) {
  // The largest finite double has 309 integer digits.
  char buffer[384];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  const utf16_unit point = CNumericFormatter::GetDecimalPointChar();
  for (const char* p = buffer; p != result.ptr; ++p) {
    text += *p == '.' ? point : static_cast<utf16_unit>(*p);
  }
}

}  // namespace

AngleFormatter::AngleFormatter(const AngleInfo& info) : m_angleInfo(info) {}

AngleFormatter::AngleFormatter(const AngleFormatter& other)
    : CNumericFormatter(other), m_angleInfo(other.m_angleInfo) {}

AngleFormatter& AngleFormatter::operator=(const AngleFormatter& other) {
  m_angleInfo = other.m_angleInfo;
  return *this;
}

AngleFormatter::~AngleFormatter() = default;

velmar_ustring AngleFormatter::Format(double radians) {
  const bool negative = radians < 0;
  const double value = radians / m_angleInfo.GetConversionFactor();
  // A negative precision set by the host has no printable format: it
  // counts as whole units.
  const int effective = m_angleInfo.GetEffectivePrecision();
  const int precision = effective < 0 ? 0 : effective;
  const double step =
      m_angleInfo.GetPrecisionAsValue(m_angleInfo.GetFormat(), precision, m_angleInfo.GetUnits());
  const double magnitude = std::fabs(value);
  const double rounded = std::floor(magnitude / step + 0.5) * step;

  velmar_ustring text;
  if (std::fabs(magnitude - rounded) > step && !m_angleInfo.GetSuppressApproximation()) {
    text += VELMAR_U("~ ");
  }
  if (negative) text += utf16_unit('-');
  AppendFixed(text, rounded, precision);
  if (!m_angleInfo.GetSuppressUnits()) text += UnitText(m_angleInfo.GetUnits());
  return text;
}

velmar_ustring AngleFormatter::FormatAngleForVCB(double radians) {
  if (std::fabs(radians) < kLengthTolerance) radians = 0.0;
  AngleInfo settings;
  settings.SetPrecision(1);
  settings.SetUnits(UnitsInfo::kDegrees);
  settings.SetSuppressApproximation(true);
  return AngleFormatter(settings).Format(radians);
}

bool AngleFormatter::Parse(const velmar_ustring& text, double& out) {
  out = 0.0;
  if (text.empty()) return false;
  velmar_ustring t = text;
  if (t[0] == '~') t.erase(0, 1);
  if (t.empty()) return false;

  const utf16_unit last = t[t.length() - 1];
  const velmar_ustring& radian = RadianText();
  if (last == kDegreeMark || (radian.length() == 1 && last == radian[0])) {
    t.erase(t.length() - 1);
  }
  // Whatever the last character is, a "%" anywhere marks a percentage.
  const bool percent = t.Find(utf16_unit('%')) != velmar_ustring::npos;
  if (percent) t.erase(t.length() - 1);

  const bool ok = StringToDouble(t.c_str(), out);
  if (ok && percent) out = out / 100.0 * 360.0;
  return ok;
}

}  // namespace velmar::utils
