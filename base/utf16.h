// Facts about UTF-16 code units.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "FolianUtils/utf16.h"

namespace velmar::base {

constexpr bool IsSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }
constexpr bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point of a high surrogate followed by a low one.
constexpr char32_t CombineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Appends `code_point` (at most U+10FFFF) as one unit or a surrogate pair.
template <typename Unit>
void AppendCodePoint(char32_t code_point, std::basic_string<Unit>& out) {
  static_assert(sizeof(Unit) == 2, "UTF-16 needs 16-bit units");
  if (code_point > 0xFFFF) {
    code_point -= 0x10000;
    out += static_cast<Unit>(0xD800 + (code_point >> 10));
    out += static_cast<Unit>(0xDC00 + (code_point & 0x3FF));
  } else {
    out += static_cast<Unit>(code_point);
  }
}

// Whether a surrogate in `count` units is not half of a pair; such text has
// no UTF-8 form that other programs accept.
template <typename Unit>
bool HasLoneSurrogate(const Unit* units, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t u = static_cast<char16_t>(units[i]);
    if (IsHighSurrogate(u) && i + 1 < count &&
        IsLowSurrogate(static_cast<char16_t>(units[i + 1]))) {
      ++i;
    } else if (IsSurrogate(u)) {
      return true;
    }
  }
  return false;
}

// Appends ASCII text, one unit per byte; for the library's own fixed texts
// (keys, suffixes, unit names), never for text from outside.
inline void AppendAscii(std::string_view ascii, utils::utf16_string& out) {
  out.reserve(out.size() + ascii.size());
  for (const char c : ascii) out += static_cast<utils::utf16_unit>(static_cast<unsigned char>(c));
}

inline utils::utf16_string FromAscii(std::string_view ascii) {
  utils::utf16_string out;
  AppendAscii(ascii, out);
  return out;
}

}  // namespace velmar::base
