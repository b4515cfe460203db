// The length reader behind CLengthFormatter::Parse, for the other parsers
// that read lengths with their own set of unit suffixes.
#pragma once

#include <system_error>

#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"
#include "base/ascii.h"

namespace velmar::utils {

// Matches the whole of [begin, end) against a set of unit texts; stores the
// unit and returns true on a match.
using LengthSuffixMatcher = bool (*)(const utf16_unit* begin, const utf16_unit* end,
                                     units::UnitsInfo::Units& unit);

// Where a length ends decides how far the reader looks.
enum class LengthReading {
  // The whole of [begin, end) is one length, as CLengthFormatter::Parse
  // reads it: a unit suffix is all the rest, and the number before the
  // first foot mark is the feet, whatever follows that number.
  kWholeText,
  // One length at `begin`, as an operand of arithmetic: it starts with a
  // number and ends where the notation of a length ends, before an operator
  // or anything else it cannot read; the foot mark only follows the feet.
  kOperand,
};

// One length read from the start of [begin, end), in the manner of
// std::from_chars.
struct LengthRead {
  // The first unit not read (`begin` when nothing was).
  const utf16_unit* ptr = nullptr;
  // std::errc() when a length was read; result_out_of_range when it is not
  // a finite number; invalid_argument when there is none.
  std::errc ec = std::errc::invalid_argument;
  // The length in inches; for an operand without feet or unit, the number
  // as typed. On failure what was read before the fault, as Parse keeps it
  // (0 when the result was not a finite number).
  double value = 0.0;
  // Feet or a unit suffix were read.
  bool isLength = false;
  // The slash of a fraction whose denominator is zero, when that failed it.
  const utf16_unit* zeroDenominator = nullptr;
  // kWholeText: the reading passes over text or gives a sign to one part
  // alone, where arithmetic would read an operator: text after the number
  // before the foot mark («2 * 3'»), a slash right after the foot mark
  // («6'/2»), a decimal part after a blank or hyphen («3-.5"»), a second
  // minus sign («~ -5'6"»).
  bool passesOver = false;
};

// Reads one length; `matcher` decides which unit suffixes a whole text may
// end with (an operand reads the formatter's unit texts).
LengthRead ReadLength(const utf16_unit* begin, const utf16_unit* end, units::UnitsInfo::Units units,
                      LengthSuffixMatcher matcher, LengthReading reading);

// CLengthFormatter::Parse over [begin, end), with `matcher` deciding which
// unit suffixes are accepted: the whole text read as one length (a whole
// text that reads ends at `end`). On failure `out` holds what was read so
// far; a result that is not a finite number fails with `out` = 0.
inline bool ParseLengthText(const utf16_unit* begin, const utf16_unit* end, double& out,
                            units::UnitsInfo::Units units, LengthSuffixMatcher matcher) {
  const LengthRead read = ReadLength(begin, end, units, matcher, LengthReading::kWholeText);
  out = read.value;
  return read.ec == std::errc();
}

// The formatter's unit texts (GetLengthUnitFromString over a range).
bool MatchLengthUnitText(const utf16_unit* begin, const utf16_unit* end,
                         units::UnitsInfo::Units& unit);

// Whether [begin, end) equals `text` ignoring case, unit by unit with the
// rules of velmar_ustring::CompareNoCase (surrogates compared as they are).
bool EqualsNoCase(const utf16_unit* begin, const utf16_unit* end, const velmar_ustring& text);

// The white space of length text: blank, tab, line feed, vertical tab, form
// feed, carriage return.
inline bool IsLengthSpace(utf16_unit u) { return base::IsAsciiSpace(u); }

// Narrows [begin, end) by the white space of length text on both sides.
inline void TrimLengthSpace(const utf16_unit*& begin, const utf16_unit*& end) {
  base::Trim(begin, end, IsLengthSpace);
}

}  // namespace velmar::utils
