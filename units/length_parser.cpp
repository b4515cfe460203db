// The reading half of CLengthFormatter.
#include <cmath>
#include <cwctype>

#include "FolianUtils/length_formatter.h"
#include "base/ascii.h"
#include "base/utf16.h"
#include "base/wide_ctype.h"
#include "units/length_parser_internal.h"
#include "units/length_unit_texts.h"
#include "units/number_text.h"

namespace velmar::utils {
namespace {

using units::UnitsInfo;

// A fraction's denominator must be a usable divisor.
constexpr double kSmallestDenominator = 0.000001;

using base::IsDigit;
using base::IsSurrogate;
using base::Upper;

const utf16_unit* SkipSpace(const utf16_unit* p, const utf16_unit* end) {
  while (p != end && IsLengthSpace(*p)) ++p;
  return p;
}

const utf16_unit* SkipDigits(const utf16_unit* p, const utf16_unit* end) {
  while (p != end && IsDigit(*p)) ++p;
  return p;
}

const utf16_unit* FindUnit(const utf16_unit* begin, const utf16_unit* end, utf16_unit unit) {
  while (begin != end && *begin != unit) ++begin;
  return begin;
}

// The part after any feet: a number, a fraction or a mixed number, then an
// optional unit suffix; `out` is in inches on success.
bool ParseInches(const utf16_unit* begin, const utf16_unit* end, double& out,
                 UnitsInfo::Units units, LengthSuffixMatcher matcher) {
  out = 0.0;
  if (begin == end) return false;
  const utf16_unit* p = SkipSpace(begin, end);
  const utf16_unit* numberStart = p;
  if (p != end && *p == '-') ++p;
  p = SkipDigits(p, end);
  out = ReadDigitRun(numberStart, p);

  p = SkipSpace(p, end);
  if (p != end && *p == '-') ++p;
  p = SkipSpace(p, end);
  if (p != end) {
    const utf16_unit c = *p;
    if (c == CNumericFormatter::GetDecimalPointChar()) {
      out = ReadNumberText(begin, end);
      p = SkipSpace(SkipDigits(p + 1, end), end);
    } else if (c == '/') {
      const double numerator = out;
      out = 0.0;
      const utf16_unit* denominatorStart = SkipSpace(p + 1, end);
      p = SkipDigits(denominatorStart, end);
      if (p != denominatorStart) {
        const double denominator = ReadDigitRun(denominatorStart, p);
        if (!(denominator > kSmallestDenominator)) return false;
        out = numerator / denominator;
      }
      p = SkipSpace(p, end);
    } else if (IsDigit(c)) {
      const utf16_unit* numeratorStart = p;
      const utf16_unit* numeratorEnd = SkipDigits(p, end);
      p = SkipSpace(numeratorEnd, end);
      if (p == end || *p != '/') return false;
      const utf16_unit* denominatorStart = SkipSpace(p + 1, end);
      p = SkipDigits(denominatorStart, end);
      if (p != denominatorStart) {
        const double denominator = ReadDigitRun(denominatorStart, p);
        if (!(denominator > kSmallestDenominator)) return false;
        const double fraction = ReadDigitRun(numeratorStart, numeratorEnd) / denominator;
        out = out < 0.0 ? out - fraction : out + fraction;
      }
      p = SkipSpace(p, end);
    }
    if (p != end && !matcher(p, end, units)) return false;
  }
  out /= units::GetFactorFromInches(units);
  return true;
}

}  // namespace

bool EqualsNoCase(const utf16_unit* begin, const utf16_unit* end, const velmar_ustring& text) {
  if (static_cast<std::size_t>(end - begin) != text.length()) return false;
  for (const utf16_unit u : text) {
    const utf16_unit v = *begin++;
    if (u == v) continue;
    if (IsSurrogate(u) || IsSurrogate(v) || Upper(u) != Upper(v)) return false;
  }
  return true;
}

bool MatchLengthUnitText(const utf16_unit* begin, const utf16_unit* end, UnitsInfo::Units& unit) {
  SetLengthFormatterStrings();
  const LengthUnitTexts& texts = GetLengthUnitTexts();
  const struct {
    const velmar_ustring& text;
    UnitsInfo::Units unit;
  } kOrder[] = {
      {texts.centimeter, UnitsInfo::kCentimeters},
      {texts.millimeter, UnitsInfo::kMillimeters},
      {texts.meter, UnitsInfo::kMeters},
      {texts.inch, UnitsInfo::kInches},
      {texts.foot, UnitsInfo::kFeet},
      {texts.point, UnitsInfo::kPoints},
  };
  for (const auto& candidate : kOrder) {
    if (EqualsNoCase(begin, end, candidate.text)) {
      unit = candidate.unit;
      return true;
    }
  }
  return false;
}

bool ParseLengthText(const utf16_unit* begin, const utf16_unit* end, double& out,
                     UnitsInfo::Units units, LengthSuffixMatcher matcher) {
  out = 0.0;
  TrimLengthSpace(begin, end);
  if (begin != end && *begin == '~') ++begin;
  const bool negative = begin != end && *begin == '-';
  if (negative) ++begin;

  double feet = 0.0;
  const utf16_unit* footMark = FindUnit(begin, end, '\'');
  if (footMark != end && footMark != begin) {
    feet = ReadNumberText(begin, footMark);
    begin = footMark + 1;
    const utf16_unit* rest = begin;
    while (rest != end && (IsLengthSpace(*rest) || *rest == '-')) ++rest;
    if (rest != end) begin = rest;
  }

  double inches = 0.0;
  bool result = true;
  if (begin != end) result = ParseInches(begin, end, inches, units, matcher);
  out = feet * 12.0 + inches;
  if (negative) out = -out;
  // Overflowing digits or a typed "inf" or "nan" are no length.
  if (!std::isfinite(out)) {
    out = 0.0;
    return false;
  }
  return result;
}

bool CLengthFormatter::Parse(const velmar_ustring& text, double& out, Units units) {
  return ParseLengthText(text.data(), text.data() + text.length(), out, units, MatchLengthUnitText);
}

int CLengthFormatter::Parse(const velmar_ustring& text, int count, double* out, Units units) {
  if (out == nullptr) return 0;
  const utf16_unit* begin = text.data();
  const utf16_unit* end = begin + text.length();
  TrimLengthSpace(begin, end);
  if (begin != end && *begin == '~') ++begin;
  const utf16_unit separator = GetSeparatorChar();
  int stored = 0;
  while (stored < count && begin != end) {
    const utf16_unit* tokenEnd = FindUnit(begin, end, separator);
    double value = 0.0;
    if (tokenEnd != begin && !ParseLengthText(begin, tokenEnd, value, units, MatchLengthUnitText)) {
      break;
    }
    out[stored++] = value;
    begin = tokenEnd == end ? end : tokenEnd + 1;
  }
  return stored;
}

bool CLengthFormatter::Parse(const velmar_ustring& text, double& out) const {
  return Parse(text, out, m_lengthInfo.GetUnits());
}

int CLengthFormatter::Parse(const velmar_ustring& text, int count, double* out) const {
  return Parse(text, count, out, m_lengthInfo.GetUnits());
}

bool CLengthFormatter::GetLengthUnitFromString(const velmar_ustring& text, Units* units) {
  if (units == nullptr) return false;
  return MatchLengthUnitText(text.data(), text.data() + text.length(), *units);
}

bool CLengthFormatter::GetLengthUnitFromRawString(const velmar_ustring& text, Units* units) {
  if (units == nullptr) return false;
  *units = UnitsInfo::kNone;
  const utf16_unit separator = GetSeparatorChar();
  const utf16_unit* begin = text.data();
  const utf16_unit* const end = begin + text.length();
  bool found = false;
  while (begin != end) {
    const utf16_unit* tokenEnd = FindUnit(begin, end, separator);
    const utf16_unit* first = begin;
    const utf16_unit* last = tokenEnd;
    begin = tokenEnd == end ? end : tokenEnd + 1;
    TrimLengthSpace(first, last);
    if (first == last) continue;
    Units unit = UnitsInfo::kNone;
    if (!((last - first >= 2 && MatchLengthUnitText(last - 2, last, unit)) ||
          MatchLengthUnitText(last - 1, last, unit))) {
      continue;
    }
    found = true;
    if (*units == UnitsInfo::kNone) {
      *units = unit;
    } else if (*units != unit) {
      *units = UnitsInfo::kMixed;
    }
  }
  return found;
}

}  // namespace velmar::utils
