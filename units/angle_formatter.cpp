#include "FolianUtils/angle_formatter.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "FolianUtils/constants.h"
#include "foundation/localized_strings.h"
#include "units/number_text.h"

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

// GetPrecisionAsValue for the precisions an angle can have, without the
// cost of pow on every call; the literals are the correctly rounded powers.
double StepOf(const AngleInfo& info, int precision) {
  static constexpr double kTenths[] = {1.0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};
  constexpr int kCount = static_cast<int>(sizeof kTenths / sizeof kTenths[0]);
  if (precision >= kCount) {
    return info.GetPrecisionAsValue(info.GetFormat(), precision, info.GetUnits());
  }
  return kTenths[precision] * info.GetConversionFactor();
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
  const double step = StepOf(m_angleInfo, precision);
  const double magnitude = std::fabs(value);
  const double rounded = std::floor(magnitude / step + 0.5) * step;

  const bool approximate =
      std::fabs(magnitude - rounded) > step && !m_angleInfo.GetSuppressApproximation();
  const velmar_ustring* unit =
      m_angleInfo.GetSuppressUnits() ? nullptr : &UnitText(m_angleInfo.GetUnits());

  velmar_ustring::string_type text;
  if (approximate) text += VELMAR_U("~ ");
  if (negative) text += utf16_unit('-');
  const std::size_t number = text.size();
  AppendFixed(rounded, precision, text);
  const std::size_t point = text.find(utf16_unit('.'), number);
  if (point != velmar_ustring::string_type::npos) text[point] = GetDecimalPointChar();
  if (unit != nullptr) text += unit->str();
  return velmar_ustring(std::move(text));
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
