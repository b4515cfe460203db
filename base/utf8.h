// The UTF-8 <-> UTF-16 conversion of the whole library.
//
// One rule for surrogates in both directions: a surrogate code point
// written in UTF-8 (lead byte 0xED) decodes to that single unit, and a unit
// that is not half of a valid pair encodes as its own three-byte form, so
// any sequence of UTF-16 units survives a round trip.
#pragma once

#include <cstddef>
#include <string>

namespace velmar::base::utf8 {
namespace detail {

// Trailing bytes by lead byte; continuation bytes and 0xC0/0xC1 are
// rejected by IsWellFormed.
inline std::size_t TrailingBytes(unsigned char lead) {
  if (lead < 0xC0) return 0;
  if (lead < 0xE0) return 1;
  if (lead < 0xF0) return 2;
  if (lead < 0xF8) return 3;
  return lead < 0xFC ? 4 : 5;
}

constexpr char32_t kOffsets[4] = {0x0, 0x3080, 0xE2080, 0x3C82080};

inline bool IsWellFormed(const unsigned char* s, std::size_t trailing) {
  const unsigned char lead = s[0];
  if ((lead >= 0x80 && lead <= 0xC1) || lead > 0xF4) return false;
  for (std::size_t k = 1; k <= trailing; ++k) {
    if (s[k] < 0x80 || s[k] > 0xBF) return false;
  }
  if (lead == 0xE0 && s[1] < 0xA0) return false;
  if (lead == 0xF0 && s[1] < 0x90) return false;
  if (lead == 0xF4 && s[1] > 0x8F) return false;
  return true;
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
    const std::size_t trailing = detail::TrailingBytes(s[i]);
    if (i + trailing >= size) return false;
    if (!detail::IsWellFormed(s + i, trailing)) return false;
    units += trailing == 3 ? 2 : 1;  // four-byte forms are above U+FFFF
    i += trailing + 1;
  }

  out.resize(units);
  std::size_t o = 0;
  for (std::size_t i = 0; i < size;) {
    const std::size_t trailing = detail::TrailingBytes(s[i]);
    char32_t cp = 0;
    for (std::size_t k = 0; k <= trailing; ++k) cp = (cp << 6) + s[i + k];
    cp -= detail::kOffsets[trailing];
    i += trailing + 1;
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
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < count) {
      const char32_t low = static_cast<char16_t>(units[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = (cp << 10) + low - 0x35FDC00;
        ++i;
      }
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

}  // namespace velmar::base::utf8
