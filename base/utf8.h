// The UTF-8 <-> UTF-16 conversion of the whole library.
//
// One rule for surrogates in both directions: a surrogate code point
// written in UTF-8 (lead byte 0xED) decodes to that single unit, and a unit
// that is not half of a valid pair encodes as its own three-byte form, so
// any sequence of UTF-16 units survives a round trip. IsValid and
// ReplaceInvalid judge text for other programs, which reject surrogate forms.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/utf16.h"

namespace velmar::base::utf8 {
namespace detail {

constexpr char32_t kOffsets[4] = {0x0, 0x3080, 0xE2080, 0x3C82080};

// The length of the sequence at `s` if it is well-formed (the surrogate
// forms 0xED 0xA0..0xBF included), else 0. `size` bytes are available.
inline std::size_t SequenceLength(const unsigned char* s, std::size_t size) {
  const unsigned char lead = s[0];
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;  // overlong
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (length > size || s[1] < low || s[1] > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if ((s[k] & 0xC0) != 0x80) return 0;
  }
  return length;
}

inline bool IsSurrogateForm(const unsigned char* s) { return s[0] == 0xED && s[1] >= 0xA0; }

// The length of the sequence at `s` as other programs read UTF-8, where a
// surrogate form is ill-formed too; 0 when ill-formed.
inline std::size_t StrictSequenceLength(const unsigned char* s, std::size_t size) {
  const std::size_t length = SequenceLength(s, size);
  return length == 3 && IsSurrogateForm(s) ? 0 : length;
}

}  // namespace detail

// Decodes `size` bytes of UTF-8 into `out`. Returns false, leaving `out`
// empty, for truncated or ill-formed input.
template <typename Unit>
bool Decode(const char* bytes, std::size_t size, std::basic_string<Unit>& out) {
  static_assert(sizeof(Unit) == 2, "UTF-16 needs 16-bit units");
  out.clear();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes);

  // First pass validates and counts, so that bad input never yields
  // partial text and the result is allocated once.
  std::size_t units = 0;
  for (std::size_t i = 0; i < size;) {
    const std::size_t length = detail::SequenceLength(s + i, size - i);
    if (length == 0) return false;
    units += length == 4 ? 2 : 1;  // four-byte forms are above U+FFFF
    i += length;
  }

  out.resize(units);
  std::size_t o = 0;
  for (std::size_t i = 0; i < size;) {
    const std::size_t length = detail::SequenceLength(s + i, size - i);
    char32_t cp = 0;
    for (std::size_t k = 0; k < length; ++k) cp = (cp << 6) + s[i + k];
    cp -= detail::kOffsets[length - 1];
    i += length;
    if (cp > 0xFFFF) {
      cp -= 0x10000;
      out[o++] = static_cast<Unit>(0xD800 + (cp >> 10));
      out[o++] = static_cast<Unit>(0xDC00 + (cp & 0x3FF));
    } else {
      out[o++] = static_cast<Unit>(cp);
    }
  }
  return true;
}

// Appends the UTF-8 form of `count` units to `out`; a high surrogate
// followed by a low one is one code point, any other unit is its own value.
template <typename Unit>
void Encode(const Unit* units, std::size_t count, std::string& out) {
  static_assert(sizeof(Unit) == 2, "UTF-16 needs 16-bit units");
  out.reserve(out.size() + count);
  for (std::size_t i = 0; i < count; ++i) {
    char32_t cp = static_cast<char16_t>(units[i]);
    if (IsHighSurrogate(cp) && i + 1 < count &&
        IsLowSurrogate(static_cast<char16_t>(units[i + 1]))) {
      cp = CombineSurrogates(cp, static_cast<char16_t>(units[++i]));
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
}

// UTF-8 as other programs read it: well-formed and without surrogate forms.
// Text headed elsewhere (JSON, a terminal) is checked with this.
inline bool IsValid(std::string_view text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    if (s[i] < 0x80) {  // ASCII runs are the common case
      ++i;
      continue;
    }
    const std::size_t length = detail::StrictSequenceLength(s + i, text.size() - i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// `text` with each byte that starts no valid sequence replaced by U+FFFD.
inline std::string ReplaceInvalid(std::string_view text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = detail::StrictSequenceLength(s + i, text.size() - i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(text, i, length);
      i += length;
    }
  }
  return out;
}

}  // namespace velmar::base::utf8
