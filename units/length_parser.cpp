// The reading half of CLengthFormatter.
#include <cmath>
#include <cstddef>
#include <cwctype>
#include <system_error>

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
using base::SkipAsciiSpace;
using base::SkipDigits;
using base::Upper;

const utf16_unit* FindUnit(const utf16_unit* begin, const utf16_unit* end, utf16_unit unit) {
  return base::SkipWhile(begin, end, [unit](utf16_unit u) { return u != unit; });
}

// A cheap first look before the case-blind comparison, which is costly per
// unit: ASCII units decide by themselves.
bool MayStartUnit(utf16_unit u, utf16_unit first) {
  if (u == first || u >= 0x80 || first >= 0x80) return true;
  const utf16_unit lower = u | 0x20;
  return lower >= 'a' && lower <= 'z' && lower == (first | 0x20);
}

// The unit texts a length may end with, in the order a tie is decided.
constexpr struct {
  velmar_ustring LengthUnitTexts::*text;
  UnitsInfo::Units unit;
} kUnitTexts[] = {
    {&LengthUnitTexts::centimeter, UnitsInfo::kCentimeters},
    {&LengthUnitTexts::millimeter, UnitsInfo::kMillimeters},
    {&LengthUnitTexts::meter, UnitsInfo::kMeters},
    {&LengthUnitTexts::inch, UnitsInfo::kInches},
    {&LengthUnitTexts::foot, UnitsInfo::kFeet},
    {&LengthUnitTexts::point, UnitsInfo::kPoints},
};

const LengthUnitTexts& TranslatedUnitTexts() {
  const LengthUnitTexts& texts = GetLengthUnitTexts();
  if (!texts.translated) SetLengthFormatterStrings();
  return texts;
}

// The end of the longest unit text at `p`, the foot mark excepted (in an
// operand it only follows the feet); null when there is none.
const utf16_unit* ScanUnit(const utf16_unit* p, const utf16_unit* end, UnitsInfo::Units& unit) {
  if (p == end) return nullptr;
  const LengthUnitTexts& texts = TranslatedUnitTexts();
  const std::size_t room = static_cast<std::size_t>(end - p);
  const utf16_unit* best = nullptr;
  for (const auto& candidate : kUnitTexts) {
    if (candidate.unit == UnitsInfo::kFeet) continue;
    const velmar_ustring& text = texts.*candidate.text;
    const std::size_t length = text.length();
    if (length == 0 || room < length || !MayStartUnit(*p, text[0])) continue;
    if ((best == nullptr || p + length > best) && EqualsNoCase(p, p + length, text)) {
      best = p + length;
      unit = candidate.unit;
    }
  }
  return best;
}

bool IsSpaceOrHyphen(utf16_unit u) { return IsLengthSpace(u) || u == '-'; }

// Reads one length; see LengthReading for where it ends.
class LengthReader {
 public:
  LengthReader(UnitsInfo::Units units, LengthSuffixMatcher matcher, LengthReading reading)
      : m_units(units),
        m_matcher(matcher),
        m_whole(reading == LengthReading::kWholeText),
        m_point(CNumericFormatter::GetDecimalPointChar()) {}

  LengthRead Read(const utf16_unit* begin, const utf16_unit* const end) const {
    LengthRead read;
    read.ptr = begin;
    const utf16_unit* last = end;
    bool negative = false;
    if (m_whole) {
      TrimLengthSpace(begin, last);
      if (begin != last && *begin == '~') ++begin;
      negative = begin != last && *begin == '-';
      if (negative) ++begin;
      const utf16_unit* sign = SkipAsciiSpace(begin, last);
      read.passesOver = sign != last && *sign == '-';
    } else if (!StartsNumber(begin, last)) {
      return read;
    }

    double feet = 0.0;
    const utf16_unit* footMark = FootMark(begin, last, read);
    if (footMark != last) {
      // Plain digits, the usual feet, skip the general conversion.
      feet = SkipDigits(begin, footMark) == footMark ? ReadDigitRun(begin, footMark)
                                                     : ReadNumberText(begin, footMark);
      read.isLength = true;
      begin = footMark + 1;
      // «5'-6"», «5' 6"», «5' - 6"»: blanks and hyphens join the inches.
      const utf16_unit* inches = base::SkipWhile(begin, last, IsSpaceOrHyphen);
      if (m_whole) {
        if (inches != last) {
          begin = inches;
          read.passesOver = read.passesOver || *inches == '/';
        }
      } else if (StartsNumber(inches, last)) {
        begin = inches;
      } else {
        last = begin;
      }
    }

    double inches = 0.0;
    bool ok = true;
    const utf16_unit* stop = begin;
    if (begin != last) ok = ReadInches(begin, last, inches, stop, read);
    double value = feet * 12.0 + inches;
    if (negative) value = -value;
    // Overflowing digits or a typed "inf" or "nan" are no length.
    if (!std::isfinite(value)) {
      read.ec = std::errc::result_out_of_range;
      return read;
    }
    read.value = value;
    if (ok) {
      read.ec = std::errc();
      read.ptr = m_whole ? end : stop;
    }
    return read;
  }

 private:
  bool StartsNumber(const utf16_unit* p, const utf16_unit* end) const {
    return p != end && (IsDigit(*p) || (*p == m_point && p + 1 != end && IsDigit(p[1])));
  }

  // Digits with an optional decimal part.
  const utf16_unit* ScanNumber(const utf16_unit* p, const utf16_unit* end, bool& anyDigit) const {
    const utf16_unit* digits = SkipDigits(p, end);
    anyDigit = digits != p;
    if (digits == end || *digits != m_point) return digits;
    const utf16_unit* decimals = SkipDigits(digits + 1, end);
    anyDigit = anyDigit || decimals != digits + 1;
    return decimals;
  }

  // Digits of a denominator; a decimal part makes them no denominator
  // («1/2.5» divides).
  bool IsDenominator(const utf16_unit* first, const utf16_unit* last, const utf16_unit* end) const {
    return last != first && (last == end || *last != m_point);
  }

  // The foot mark that ends the feet, or `end`. An operand's feet are a
  // number and blanks; a whole text's are whatever comes before its first
  // foot mark, read from its start.
  const utf16_unit* FootMark(const utf16_unit* begin, const utf16_unit* end,
                             LengthRead& read) const {
    bool anyDigit = false;
    const utf16_unit* next =
        SkipAsciiSpace(ScanNumber(SkipAsciiSpace(begin, end), end, anyDigit), end);
    const utf16_unit* afterNumber = anyDigit && next != end && *next == '\'' ? next : end;
    if (!m_whole) return afterNumber;
    const utf16_unit* mark = FindUnit(begin, end, '\'');
    if (mark == begin) return end;
    read.passesOver = read.passesOver || mark != afterNumber;
    return mark;
  }

  // The part after any feet: a number, a fraction or a mixed number, then
  // an optional unit suffix; `out` is in inches when a unit or the feet
  // make the operand a length. On failure `out` holds what was read so far.
  bool ReadInches(const utf16_unit* begin, const utf16_unit* end, double& out,
                  const utf16_unit*& stop, LengthRead& read) const {
    const utf16_unit* numberStart = SkipAsciiSpace(begin, end);
    const utf16_unit* p = numberStart;
    if (p != end && *p == '-') ++p;
    const utf16_unit* numberEnd = SkipDigits(p, end);
    out = ReadDigitRun(numberStart, numberEnd);
    stop = numberEnd;

    const utf16_unit* afterBlanks = SkipAsciiSpace(numberEnd, end);
    p = afterBlanks;
    if (p != end && *p == '-') ++p;
    p = SkipAsciiSpace(p, end);
    if (p != end) {
      const utf16_unit c = *p;
      if (c == m_point) {
        if (m_whole) {
          // The number is read from the start of the text, so a decimal
          // part after a blank or a hyphen is passed over.
          out = ReadNumberText(begin, end);
          read.passesOver = read.passesOver || p != numberEnd;
          p = SkipAsciiSpace(SkipDigits(p + 1, end), end);
        } else if (p == numberEnd) {
          stop = SkipDigits(p + 1, end);
          out = ReadNumberText(numberStart, stop);
        }
      } else if (c == '/') {
        const utf16_unit* first = SkipAsciiSpace(p + 1, end);
        const utf16_unit* last = SkipDigits(first, end);
        if (m_whole || (p == afterBlanks && IsDenominator(first, last, end))) {
          const double numerator = out;
          out = 0.0;
          if (last != first) {
            const double denominator = ReadDigitRun(first, last);
            if (!(denominator > kSmallestDenominator)) {
              read.zeroDenominator = p;
              return false;
            }
            out = numerator / denominator;
          }
          stop = last;
          p = SkipAsciiSpace(last, end);
        }
      } else if (IsDigit(c)) {
        // «5 1/2», «5-1/2», «5 - 1/2»: a mixed number.
        const utf16_unit* numeratorEnd = SkipDigits(p, end);
        const utf16_unit* slash = SkipAsciiSpace(numeratorEnd, end);
        const bool isSlash = slash != end && *slash == '/';
        if (m_whole && !isSlash) return false;
        const utf16_unit* first = isSlash ? SkipAsciiSpace(slash + 1, end) : end;
        const utf16_unit* last = SkipDigits(first, end);
        if (isSlash && (m_whole || IsDenominator(first, last, end))) {
          if (last != first) {
            const double denominator = ReadDigitRun(first, last);
            if (!(denominator > kSmallestDenominator)) {
              read.zeroDenominator = slash;
              return false;
            }
            const double fraction = ReadDigitRun(p, numeratorEnd) / denominator;
            out = out < 0.0 ? out - fraction : out + fraction;
          }
          stop = last;
          p = SkipAsciiSpace(last, end);
        }
      }
    }

    UnitsInfo::Units units = m_units;
    if (m_whole) {
      // A unit suffix is all the rest.
      if (p != end && !m_matcher(p, end, units)) return false;
    } else if (const utf16_unit* unitEnd = ScanUnit(SkipAsciiSpace(stop, end), end, units)) {
      stop = unitEnd;
      read.isLength = true;
    }
    if (m_whole || read.isLength) out /= units::GetFactorFromInches(units);
    return true;
  }

  const UnitsInfo::Units m_units;
  const LengthSuffixMatcher m_matcher;
  const bool m_whole;
  const utf16_unit m_point;
};

}  // namespace

bool EqualsNoCase(const utf16_unit* begin, const utf16_unit* end, const velmar_ustring& text) {
  if (static_cast<std::size_t>(end - begin) != text.length()) return false;
  for (const utf16_unit u : text) {
    const utf16_unit v = *begin++;
    if (u == v) continue;
    // Two ASCII units that differ ignoring case differ in every locale;
    // the runtime's case mapping is costly.
    if (u < 0x80 && v < 0x80 && base::LowerAscii(u) != base::LowerAscii(v)) return false;
    if (IsSurrogate(u) || IsSurrogate(v) || Upper(u) != Upper(v)) return false;
  }
  return true;
}

bool MatchLengthUnitText(const utf16_unit* begin, const utf16_unit* end, UnitsInfo::Units& unit) {
  const LengthUnitTexts& texts = TranslatedUnitTexts();
  const std::size_t length = static_cast<std::size_t>(end - begin);
  for (const auto& candidate : kUnitTexts) {
    const velmar_ustring& text = texts.*candidate.text;
    if (length != text.length()) continue;
    if (length != 0 && !MayStartUnit(*begin, text[0])) continue;
    if (EqualsNoCase(begin, end, text)) {
      unit = candidate.unit;
      return true;
    }
  }
  return false;
}

LengthRead ReadLength(const utf16_unit* begin, const utf16_unit* end, UnitsInfo::Units units,
                      LengthSuffixMatcher matcher, LengthReading reading) {
  return LengthReader(units, matcher, reading).Read(begin, end);
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

LengthReadResult CLengthFormatter::ReadLength(const utf16_unit* first, const utf16_unit* last,
                                              double& inches, Units units) {
  const bool negative = first != last && *first == '-';
  const LengthRead read = utils::ReadLength(first + (negative ? 1 : 0), last, units,
                                            MatchLengthUnitText, LengthReading::kOperand);
  if (read.ec != std::errc()) return {first, read.ec};
  const double value = read.isLength ? read.value : read.value / units::GetFactorFromInches(units);
  inches = negative ? -value : value;
  return {read.ptr, read.ec};
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
