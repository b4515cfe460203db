#include "foundation/utf8.h"

namespace velmar::utils::utf8 {
namespace {

constexpr unsigned char kTrailingBytes[256] = {
    // 0x00-0xBF: single bytes and continuation bytes.
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xC0-0xDF
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    // 0xE0-0xEF, 0xF0-0xF7, 0xF8-0xFB, 0xFC-0xFF
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};

constexpr char32_t kOffsets[4] = {0x0, 0x3080, 0xE2080, 0x3C82080};

bool IsWellFormed(const unsigned char* s, std::size_t trailing) {
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

}  // namespace

bool Decode(const char* bytes, std::size_t size, velmar_ustring::string_type& out) {
  out.clear();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes);

  // First pass validates and counts, so that bad input never yields
  // partial text and the result is allocated once.
  std::size_t units = 0;
  for (std::size_t i = 0; i < size;) {
    const std::size_t trailing = kTrailingBytes[s[i]];
    if (i + trailing >= size) return false;
    if (!IsWellFormed(s + i, trailing)) return false;
    units += trailing == 3 ? 2 : 1;  // four-byte forms are above U+FFFF
    i += trailing + 1;
  }

  out.resize(units);
  std::size_t o = 0;
  for (std::size_t i = 0; i < size;) {
    const std::size_t trailing = kTrailingBytes[s[i]];
    char32_t cp = 0;
    for (std::size_t k = 0; k <= trailing; ++k) cp = (cp << 6) + s[i + k];
    cp -= kOffsets[trailing];
    i += trailing + 1;
    if (cp > 0xFFFF) {
      cp -= 0x10000;
      out[o++] = static_cast<utf16_unit>(0xD800 + (cp >> 10));
      out[o++] = static_cast<utf16_unit>(0xDC00 + (cp & 0x3FF));
    } else {
      out[o++] = static_cast<utf16_unit>(cp);
    }
  }
  return true;
}

void Encode(const utf16_unit* units, std::size_t count, std::string& out) {
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

}  // namespace velmar::utils::utf8
