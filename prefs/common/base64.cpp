#include "prefs/common/base64.h"

namespace velmar::prefs {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(utils::utf16_unit unit) {
  if (unit >= 'A' && unit <= 'Z') return unit - 'A';
  if (unit >= 'a' && unit <= 'z') return unit - 'a' + 26;
  if (unit >= '0' && unit <= '9') return unit - '0' + 52;
  if (unit == '+') return 62;
  if (unit == '/') return 63;
  return -1;
}

}  // namespace

utils::utf16_string EncodeBase64(const BinaryData& bytes) {
  utils::utf16_string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    const std::uint32_t group =
        (bytes[i] << 16) | (left > 1 ? bytes[i + 1] << 8 : 0) | (left > 2 ? bytes[i + 2] : 0);
    out += static_cast<utils::utf16_unit>(kAlphabet[(group >> 18) & 63]);
    out += static_cast<utils::utf16_unit>(kAlphabet[(group >> 12) & 63]);
    out += static_cast<utils::utf16_unit>(left > 1 ? kAlphabet[(group >> 6) & 63] : '=');
    out += static_cast<utils::utf16_unit>(left > 2 ? kAlphabet[group & 63] : '=');
  }
  return out;
}

bool DecodeBase64(const utils::utf16_string& text, BinaryData& bytes) {
  if (text.size() % 4 != 0) return false;
  BinaryData out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    const int padding = last ? (text[i + 3] == '=') + (text[i + 2] == '=') : 0;
    if (padding == 1 && text[i + 2] == '=') return false;
    std::uint32_t group = 0;
    for (int k = 0; k < 4; ++k) {
      const int sextet = k >= 4 - padding ? 0 : SextetOf(text[i + k]);
      if (sextet < 0) return false;
      group = (group << 6) | static_cast<std::uint32_t>(sextet);
    }
    out.push_back(static_cast<std::uint8_t>(group >> 16));
    if (padding < 2) out.push_back(static_cast<std::uint8_t>(group >> 8));
    if (padding < 1) out.push_back(static_cast<std::uint8_t>(group));
  }
  bytes = std::move(out);
  return true;
}

}  // namespace velmar::prefs
