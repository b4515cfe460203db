// Character classes that hold in every locale, for parsers whose meaning
// must not change with the user's settings.
#pragma once

namespace velmar::base {

constexpr bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

// The value of a hexadecimal digit of either case, or -1.
constexpr int HexDigitValue(char32_t c) {
  if (IsDigit(c)) return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

// The digits of lower-case hexadecimal, by value.
inline constexpr char kLowerHexDigits[] = "0123456789abcdef";

// The "C" isspace set: blank, tab, line feed, vertical tab, form feed,
// carriage return.
constexpr bool IsAsciiSpace(char32_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

template <typename Unit>
constexpr Unit LowerAscii(Unit c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Unit>(c - 'A' + 'a') : c;
}

// The first unit of [p, end) that is not in the class `in_class`.
template <typename Unit, typename InClass>
constexpr const Unit* SkipWhile(const Unit* p, const Unit* end, InClass in_class) {
  while (p != end && in_class(*p)) ++p;
  return p;
}

template <typename Unit>
constexpr const Unit* SkipAsciiSpace(const Unit* p, const Unit* end) {
  return SkipWhile(p, end, [](Unit c) { return IsAsciiSpace(c); });
}

template <typename Unit>
constexpr const Unit* SkipDigits(const Unit* p, const Unit* end) {
  return SkipWhile(p, end, [](Unit c) { return IsDigit(c); });
}

// Narrows [begin, end) by `is_space` from both sides.
template <typename Unit, typename IsSpace>
void Trim(const Unit*& begin, const Unit*& end, IsSpace is_space) {
  begin = SkipWhile(begin, end, is_space);
  while (end != begin && is_space(end[-1])) --end;
}

}  // namespace velmar::base
