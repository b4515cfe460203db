#include "FolianUtils/length_formatter.h"

#include <algorithm>
#include <cmath>

#include "FolianUtils/constants.h"
#include "base/utf16.h"
#include "foundation/localized_strings.h"
#include "units/binary_format.h"
#include "units/length_unit_texts.h"
#include "units/number_text.h"

namespace velmar::utils {
namespace {

using base::AppendAscii;
using units::IsBinaryFormat;
using units::LengthInfo;
using units::UnitsInfo;
using string_type = velmar_ustring::string_type;

// Keeps a value that is a whole number up to rounding noise from being
// truncated to the number below.
constexpr double kWholeNudge = 0.000001;
// From here on every double is a whole number.
constexpr double kAllWhole = 4503599627370496.0;  // 2^52

// 10^precision; exact for every precision a length can have.
double PowerOfTen(int precision) {
  double power = 1.0;
  for (int i = 0; i < precision; ++i) power *= 10.0;
  return power;
}

// floor(q + 0.5) without the carry that the addition itself can round in,
// so that the rounding error never exceeds half a step.
double RoundHalfUp(double q) {
  if (!(q < kAllWhole)) return q;
  const double below = std::floor(q);
  return q - below >= 0.5 ? below + 1.0 : below;
}

// The smallest binary fraction num/den (den = 2 to 64) equal to `fraction`.
bool FindBinaryFraction(double fraction, int& numerator, int& denominator) {
  for (int k = 1; k <= 6; ++k) {
    const int den = 1 << k;
    const double x = den * fraction;
    const int num = static_cast<int>(x);
    if (x - num < kWholeNudge) {
      numerator = num;
      denominator = den;
      return true;
    }
  }
  return false;
}

void AppendInt(int value, string_type& out) { AppendWhole(value, out); }

// Suffixes of GetUnitsString for the metric and point units, built once
// from the texts of that moment.
const velmar_ustring& SpacedUnitText(UnitsInfo::Units units) {
  static const velmar_ustring texts[] = {
      velmar_ustring(" ") + GetLengthUnitTexts().millimeter,
      velmar_ustring(" ") + GetLengthUnitTexts().centimeter,
      velmar_ustring(" ") + GetLengthUnitTexts().meter,
      velmar_ustring(" ") + GetLengthUnitTexts().point,
  };
  return texts[units - UnitsInfo::kMillimeters];
}

// The suffix GetUnitsString returns, without a copy.
const velmar_ustring& UnitSuffix(UnitsInfo::Units units) {
  SetLengthFormatterStrings();
  switch (units) {
    case UnitsInfo::kFeet:
      return GetLengthUnitTexts().foot;
    case UnitsInfo::kMillimeters:
    case UnitsInfo::kCentimeters:
    case UnitsInfo::kMeters:
    case UnitsInfo::kPoints:
      return SpacedUnitText(units);
    default:
      return GetLengthUnitTexts().inch;
  }
}

velmar_ustring FeetName() { return GetLocalizedString("Units of feet", "Feet"); }

velmar_ustring AreaUnitName(UnitsInfo::Format format, UnitsInfo::Units units, double squareInches) {
  static const char* const kDecimalNames[] = {"Inches", "",       "Millimeters", "Centimeters",
                                              "Meters", "Points", "None",        "Mixed"};
  switch (format) {
    case UnitsInfo::kDecimal:
      if (units == UnitsInfo::kFeet) return FeetName();
      if (units >= UnitsInfo::kInches && units <= UnitsInfo::kMixed) {
        return GetLocalizedString(kDecimalNames[units]);
      }
      return velmar_ustring();
    case UnitsInfo::kArchitectural:
      return squareInches < 144.0 ? GetLocalizedString("Inches") : FeetName();
    case UnitsInfo::kEngineering:
    case UnitsInfo::kFractional:
      return FeetName();
    default:
      return velmar_ustring();
  }
}

}  // namespace

LengthUnitTexts& GetLengthUnitTexts() {
  static LengthUnitTexts texts{"\"", "'", "mm", "cm", "m", "pt"};
  return texts;
}

void SetLengthFormatterStrings() {
  LengthUnitTexts& texts = GetLengthUnitTexts();
  if (texts.translated) return;
  texts.translated = true;
  texts.millimeter = GetLocalizedString("Abbreviation for millimeter", "mm");
  texts.centimeter = GetLocalizedString("Abbreviation for centimeter", "cm");
  texts.meter = GetLocalizedString("Abbreviation for meter", "m");
  texts.point = GetLocalizedString("Abbreviation for point", "pt");
}

CLengthFormatter::CLengthFormatter(const LengthInfo& info) : m_lengthInfo(info) {}

CLengthFormatter::CLengthFormatter(const CLengthFormatter& other) = default;

CLengthFormatter& CLengthFormatter::operator=(const CLengthFormatter& other) = default;

CLengthFormatter::~CLengthFormatter() = default;

void CLengthFormatter::SetUseAdaptivePrecision(bool use) { m_useAdaptivePrecision = use; }

double CLengthFormatter::GetLengthPrecisionAsLength(UnitsFormat format, int precision) {
  if (precision <= 0) return format == UnitsInfo::kEngineering ? 12.0 : 1.0;
  switch (format) {
    case UnitsInfo::kDecimal:
      return 1.0 / PowerOfTen(precision);
    case UnitsInfo::kEngineering:
      return 12.0 / PowerOfTen(precision);
    case UnitsInfo::kArchitectural:
    case UnitsInfo::kFractional:
      return std::ldexp(1.0, -precision);
    default:
      return 0.0;
  }
}

int CLengthFormatter::GetPrecision(double value) const {
  const int effective = std::max(m_lengthInfo.GetEffectivePrecision(), 0);
  if (!m_useAdaptivePrecision) return effective;
  const double v = std::fabs(value);
  int precision = 6;
  if (IsBinaryFormat(m_lengthInfo.GetFormat())) {
    if (v > 1000000.0) {
      precision = 0;
    } else if (v > 100000.0) {
      precision = 1;
    } else if (v > 10000.0) {
      precision = 5;
    }
  } else {
    static const double kLimits[] = {100000.0, 10000.0, 1000.0, 100.0, 10.0, 1.0};
    for (int p = 0; p < 6; ++p) {
      if (v > kLimits[p]) {
        precision = p;
        break;
      }
    }
  }
  return std::min(precision, effective);
}

double CLengthFormatter::Round(double value) const {
  const int precision = GetPrecision(value);
  if (precision == 0) return RoundHalfUp(value);
  const double step = GetLengthPrecisionAsLength(m_lengthInfo.GetFormat(), precision);
  if (!(step > 0.0)) return value;
  const double steps = value / step;
  if (!(steps < kAllWhole)) return value;
  return RoundHalfUp(steps) * step;
}

void CLengthFormatter::FormatInches(double value, int precision, string_type& text) const {
  const std::size_t start = text.size();
  const UnitsFormat format = m_lengthInfo.GetFormat();
  const double whole = std::trunc(value + kWholeNudge);
  const double fraction = precision == 0 ? 0.0 : value - whole;
  double step = 1.0;
  if (format == UnitsInfo::kDecimal || format == UnitsInfo::kEngineering) {
    step = 1.0 / PowerOfTen(precision);
  } else if (IsBinaryFormat(format)) {
    step = std::ldexp(1.0, -precision);
  }
  const bool hasFraction = fraction - step > -kLengthTolerance;
  int num = 0;
  int den = 0;
  switch (format) {
    case UnitsInfo::kEngineering:
      if (hasFraction || m_lengthInfo.GetForceFraction()) {
        AppendFixed(value, precision, text);
      } else {
        AppendWhole(whole, text);
      }
      text.push_back('\'');
      break;
    case UnitsInfo::kArchitectural:
      if (!hasFraction && !m_lengthInfo.GetForceFraction()) {
        AppendWhole(whole, text);
        text.push_back('"');
      } else if (FindBinaryFraction(fraction, num, den)) {
        if (whole >= 1.0) {
          AppendWhole(whole, text);
          text.push_back(' ');
        }
        AppendInt(num, text);
        text.push_back('/');
        AppendInt(den, text);
        text.push_back('"');
      }
      break;
    case UnitsInfo::kFractional:
      if (!hasFraction) {
        AppendWhole(whole, text);
      } else if (FindBinaryFraction(fraction, num, den)) {
        if (whole >= 1.0) {
          AppendWhole(whole, text);
          text.push_back(m_lengthInfo.GetSpaceSeparator() ? ' ' : '-');
        }
        AppendInt(num, text);
        text.push_back('/');
        AppendInt(den, text);
      }
      if (!m_lengthInfo.GetSuppressUnits()) text.push_back('"');
      break;
    default:
      AppendFixed(value, precision, text);
      if (!m_lengthInfo.GetSuppressUnits()) text += UnitSuffix(m_lengthInfo.GetUnits()).str();
      break;
  }
  const utf16_unit point = GetDecimalPointChar();
  std::replace(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), utf16_unit('.'),
               point);
}

velmar_ustring CLengthFormatter::Format(double inches) {
  const UnitsFormat format = m_lengthInfo.GetFormat();
  const bool negative = !(std::fabs(inches) == inches);
  double x = inches;
  if (format == UnitsInfo::kDecimal) x *= units::GetFactorFromInches(m_lengthInfo.GetUnits());
  if (!std::isfinite(x)) return velmar_ustring();

  const double a = std::fabs(x);
  const double r = Round(a);
  const double error = std::fabs(a - r);
  const int precision = GetPrecision(x);
  const bool exact = GetLengthPrecisionAsLength(format, precision + 1) >= error;

  string_type text;
  text.reserve(24);
  if (!exact && !m_lengthInfo.GetSuppressApproximation()) AppendAscii("~ ", text);
  if (negative) text.push_back('-');
  switch (format) {
    case UnitsInfo::kDecimal:
    case UnitsInfo::kFractional:
      FormatInches(r, precision, text);
      break;
    case UnitsInfo::kEngineering: {
      const double feet = r / 12.0;
      FormatInches(feet, GetPrecision(feet), text);
      break;
    }
    default: {
      const double feet = std::trunc((r + kWholeNudge) / 12.0);
      const double rest = r - 12.0 * feet;
      if (feet == 0.0) {
        if (rest >= kLengthTolerance) {
          FormatInches(rest, GetPrecision(r), text);
        } else {
          AppendAscii("0\"", text);
        }
      } else if (rest >= kLengthTolerance) {
        AppendWhole(feet, text);
        AppendAscii(m_lengthInfo.GetSpaceSeparator() ? "' " : "'-", text);
        FormatInches(rest, GetPrecision(r), text);
      } else {
        AppendWhole(feet, text);
        if (m_lengthInfo.GetSuppressUnits()) {
          text.push_back('\'');
        } else {
          AppendAscii(m_lengthInfo.GetSpaceSeparator() ? "' 0\"" : "'-0\"", text);
        }
      }
      break;
    }
  }
  return velmar_ustring(std::move(text));
}

velmar_ustring CLengthFormatter::FormatAndStrip(double inches) {
  velmar_ustring formatted = Format(inches);
  if (formatted.empty()) return formatted;
  const string_type& s = formatted.str();
  const std::size_t first = s[0] == '~' ? 1 : 0;
  const utf16_unit point = GetDecimalPointChar();
  const auto isNumberUnit = [point](utf16_unit u) { return (u >= '0' && u <= '9') || u == point; };

  // The number part ends after its last digit or decimal point.
  std::size_t numberEnd = s.size();
  while (numberEnd > first && !isNumberUnit(s[numberEnd - 1])) --numberEnd;
  string_type number = s.substr(first, numberEnd - first);
  if (number.find(point) != string_type::npos) {
    while (!number.empty() && number.back() == '0') number.pop_back();
    if (!number.empty() && number.back() == point) number.pop_back();
  }
  if (!m_lengthInfo.GetSuppressUnits()) number.append(s, numberEnd, string_type::npos);
  return velmar_ustring(std::move(number));
}

velmar_ustring CLengthFormatter::FormatArea(double squareInches) {
  const UnitsFormat format = m_lengthInfo.GetFormat();
  const Units units = m_lengthInfo.GetUnits();
  double divisor = 144.0;
  if (format == UnitsInfo::kDecimal) {
    const double factor = units::GetFactorFromInches(units);
    divisor = 1.0 / (factor * factor);
  } else if (format == UnitsInfo::kArchitectural && squareInches < 144.0) {
    divisor = 1.0;
  }
  const double value = squareInches / divisor;
  if (!std::isfinite(value)) return velmar_ustring();
  velmar_ustring text = FormatNumberText(value, GetPrecision(value));
  if (!m_lengthInfo.GetSuppressUnits()) {
    text += VELMAR_U(" ");
    text += AreaUnitName(format, units, squareInches);
    text += VELMAR_U(" \u00B2");
  }
  return text;
}

velmar_ustring CLengthFormatter::GetUnitsString(Units units) { return UnitSuffix(units); }

velmar_ustring CLengthFormatter::FormatScaleForVCB(double first, double second) {
  LengthInfo info;
  info.SetUnits(UnitsInfo::kNone);
  info.SetFormat(UnitsInfo::kDecimal);
  info.SetPrecision(3);
  info.SetForceFraction(false);
  info.SetSuppressApproximation(true);
  info.SetSuppressUnits(true);
  CLengthFormatter formatter(info);
  velmar_ustring text = formatter.Format(first);
  text += GetSeparatorChar();
  text += VELMAR_U(" ");
  text += formatter.Format(second);
  return text;
}

}  // namespace velmar::utils
