// Number text shared by the length, angle and scale formatters and parsers.
#pragma once

#include <cstdint>

#include "FolianUtils/ustring.h"

namespace velmar::utils {

// Appends `value` as printf's "%.*f" writes it with `decimals` digits ("."
// as decimal point, whatever the process locale). A negative `decimals`
// means 6, as in printf; more than 100 are written as 100.
void AppendFixed(double value, int decimals, velmar_ustring::string_type& text);

// Appends a whole number (no decimal point), exactly as "%.0f" would.
void AppendWhole(double value, velmar_ustring::string_type& text);

// The short number text: "%.*f" with `decimals`, trailing zeros and a
// trailing decimal point dropped, "." replaced by the decimal point
// character ("2.50" gives "2.5", "3.00" gives "3").
velmar_ustring FormatNumberText(double value, int decimals);

// Reads the number at the start of [begin, end) exactly as TTOF reads that
// text: leading white space skipped, the user's decimal point, stops at the
// first unit that cannot continue the number; 0.0 without a number.
double ReadNumberText(const utf16_unit* begin, const utf16_unit* end);

// The value of an optional "-" followed by ASCII digits, as ReadNumberText
// gives it for that text, without the cost of a general conversion (inline:
// the length reader calls it for every number).
inline double ReadDigitRun(const utf16_unit* begin, const utf16_unit* end) {
  const utf16_unit* p = begin;
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  if (p == end) return 0.0;
  while (p != end && *p == '0') ++p;
  // Up to 19 digits are exact in 64 bits, and their conversion to double
  // rounds once, like the general reader.
  if (end - p > 19) return ReadNumberText(begin, end);
  std::uint64_t whole = 0;
  for (; p != end; ++p) whole = whole * 10 + static_cast<std::uint64_t>(*p - '0');
  const double value = static_cast<double>(whole);
  return negative ? -value : value;
}

}  // namespace velmar::utils
