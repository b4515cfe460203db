// The length reader behind CLengthFormatter::Parse, for the other parsers
// that read lengths with their own set of unit suffixes.
#pragma once

#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"
#include "base/ascii.h"

namespace velmar::utils {

// Matches the whole of [begin, end) against a set of unit texts; stores the
// unit and returns true on a match.
using LengthSuffixMatcher = bool (*)(const utf16_unit* begin, const utf16_unit* end,
                                     units::UnitsInfo::Units& unit);

// CLengthFormatter::Parse over [begin, end), with `matcher` deciding which
// unit suffixes are accepted. On failure `out` holds what was read so far;
// a result that is not a finite number fails with `out` = 0.
bool ParseLengthText(const utf16_unit* begin, const utf16_unit* end, double& out,
                     units::UnitsInfo::Units units, LengthSuffixMatcher matcher);

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
