#include "FolianUtils/scale_formatter.h"

#include <cmath>
#include <cstddef>

#include "FolianUtils/units_info.h"
#include "base/ascii.h"
#include "units/length_parser_internal.h"
#include "units/number_text.h"

namespace velmar::utils::ScaleFormatter {
namespace {

using units::UnitsInfo;

using base::IsDigit;
using base::LowerAscii;

bool IsRatioSeparator(utf16_unit u) { return u == ':' || u == '/' || u == '='; }

// The whole text is made of digits, "." and "," (an empty text too).
bool IsNumberCharacters(const utf16_unit* begin, const utf16_unit* end) {
  for (; begin != end; ++begin) {
    if (!IsDigit(*begin) && *begin != '.' && *begin != ',') return false;
  }
  return true;
}

bool EqualsAsciiNoCase(const utf16_unit* begin, const utf16_unit* end, const char* text) {
  for (; begin != end; ++begin, ++text) {
    if (*text == '\0' || LowerAscii(*begin) != static_cast<utf16_unit>(*text)) return false;
  }
  return *text == '\0';
}

// The units a side of a ratio may name; untranslated, unlike the unit
// texts of length fields, so that a typed scale means the same everywhere.
bool MatchScaleUnit(const utf16_unit* begin, const utf16_unit* end, UnitsInfo::Units& unit) {
  static const struct {
    const char* text;
    UnitsInfo::Units unit;
  } kUnits[] = {
      {"cm", UnitsInfo::kCentimeters}, {"mm", UnitsInfo::kMillimeters}, {"m", UnitsInfo::kMeters},
      {"\"", UnitsInfo::kInches},      {"'", UnitsInfo::kFeet},         {"yd", UnitsInfo::kYards},
  };
  for (const auto& candidate : kUnits) {
    if (EqualsAsciiNoCase(begin, end, candidate.text)) {
      unit = candidate.unit;
      return true;
    }
  }
  return false;
}

enum class Side { kNumber, kLength, kInvalid };

// By the trailing run of characters that are neither digits nor white
// space: none is a number, a unit is a length, anything else is invalid.
Side Classify(const utf16_unit* begin, const utf16_unit* end) {
  const utf16_unit* run = end;
  while (run != begin && !IsDigit(run[-1]) && !IsLengthSpace(run[-1])) --run;
  if (run == end) return Side::kNumber;
  UnitsInfo::Units unit = UnitsInfo::kNone;
  return MatchScaleUnit(run, end, unit) ? Side::kLength : Side::kInvalid;
}

double Finite(double value) { return std::isfinite(value) ? value : 0.0; }

double ReadNumber(const utf16_unit* begin, const utf16_unit* end) {
  return IsNumberCharacters(begin, end) ? Finite(ReadNumberText(begin, end)) : 0.0;
}

double ReadRatio(const utf16_unit* firstBegin, const utf16_unit* firstEnd,
                 const utf16_unit* secondBegin, const utf16_unit* secondEnd) {
  TrimLengthSpace(firstBegin, firstEnd);
  TrimLengthSpace(secondBegin, secondEnd);
  const Side side = Classify(firstBegin, firstEnd);
  if (side == Side::kInvalid || side != Classify(secondBegin, secondEnd)) return 0.0;
  double first = 0.0;
  double second = 0.0;
  if (!ParseLengthText(firstBegin, firstEnd, first, UnitsInfo::kInches, MatchScaleUnit) ||
      !ParseLengthText(secondBegin, secondEnd, second, UnitsInfo::kInches, MatchScaleUnit) ||
      second == 0.0) {
    return 0.0;
  }
  return Finite(first / second);
}

}  // namespace

velmar_ustring Format(double scale) {
  if (!(scale > 0.0)) return velmar_ustring("0");
  const bool reduction = scale <= 1.0;
  const double value = reduction ? 1.0 / scale : scale;
  const velmar_ustring shown = FormatNumberText(value, 2);
  velmar_ustring text;
  if (shown != FormatNumberText(value, 8)) text += VELMAR_U("~ ");
  if (reduction) {
    text += VELMAR_U("1:");
    text += shown;
  } else {
    text += shown;
    text += VELMAR_U(":1");
  }
  return text;
}

double Parse(const velmar_ustring& text) {
  if (text.Find(utf16_unit('-')) != velmar_ustring::npos) return 0.0;
  const utf16_unit* begin = text.data();
  const utf16_unit* end = begin + text.length();
  if (begin != end && *begin == '~') ++begin;
  if (begin == end) return 0.0;

  if (end[-1] == '%') return ReadNumber(begin, end - 1) / 100.0;

  const utf16_unit* separators[2] = {nullptr, nullptr};
  std::size_t count = 0;
  for (const utf16_unit* p = begin; p != end; ++p) {
    if (!IsRatioSeparator(*p)) continue;
    if (count == 2) return 0.0;
    separators[count++] = p;
  }
  if (count == 0) return ReadNumber(begin, end);
  if (count == 1) return ReadRatio(begin, separators[0], separators[0] + 1, end);
  return 0.0;
}

}  // namespace velmar::utils::ScaleFormatter
