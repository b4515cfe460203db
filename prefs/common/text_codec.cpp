#include "prefs/common/text_codec.h"

#include <cstdint>

namespace velmar::prefs {
namespace {

using string_type = utils::velmar_ustring::string_type;
using unit = utils::utf16_unit;

constexpr char32_t kReplacement = 0xFFFD;

bool IsHigh(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point at `i`, advancing past it; lone surrogates give U+FFFD.
char32_t NextCodePoint(const string_type& text, std::size_t& i) {
  const char32_t first = static_cast<std::uint16_t>(text[i++]);
  if (IsHigh(first) && i < text.size()) {
    const char32_t second = static_cast<std::uint16_t>(text[i]);
    if (IsLow(second)) {
      ++i;
      return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }
  }
  return (IsHigh(first) || IsLow(first)) ? kReplacement : first;
}

void AppendUnits(char32_t code_point, string_type& out) {
  if (code_point >= 0x10000) {
    code_point -= 0x10000;
    out += static_cast<unit>(0xD800 + (code_point >> 10));
    out += static_cast<unit>(0xDC00 + (code_point & 0x3FF));
  } else {
    out += static_cast<unit>(code_point);
  }
}

}  // namespace

std::string EncodeUtf8(const string_type& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextCodePoint(text, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool DecodeUtf8(const char* bytes, std::size_t size, string_type& text) {
  text.clear();
  text.reserve(size);
  for (std::size_t i = 0; i < size;) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t trailing = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      trailing = 1, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trailing = 2, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trailing = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (size - i <= trailing) return false;
    for (std::size_t k = 1; k <= trailing; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    AppendUnits(c, text);
    i += trailing + 1;
  }
  return true;
}

bool DecodeUtf8(const std::string& bytes, string_type& text) {
  return DecodeUtf8(bytes.data(), bytes.size(), text);
}

string_type WithoutLoneSurrogates(const string_type& text) {
  string_type out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) AppendUnits(NextCodePoint(text, i), out);
  return out;
}

}  // namespace velmar::prefs
