#include "units/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "FolianUtils/numeric_formatter.h"
#include "base/utf16.h"
#include "foundation/number_reader.h"

namespace velmar::utils {
namespace {

constexpr int kMaxDecimals = 100;
// Room for the 309 integer digits of the largest double, a sign, the point
// and the decimals.
constexpr std::size_t kFixedCapacity = 320 + kMaxDecimals;
// Texts up to this length are read from a copy on the stack.
constexpr std::size_t kStackCopy = 64;

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
// Below this a double's ulp is at most 2^-12.
constexpr double kFastLimit = 2199023255552.0;  // 2^41
constexpr double kHalfMargin = 1.0 / 1024;

// printf's digits from a scaled integer when the rounding direction is
// beyond doubt: the product is off by at most half an ulp (below 2^-12
// here), so only fractions near one half need the exact conversion.
bool AppendFixedFast(double value, int decimals, velmar_ustring::string_type& text) {
  if (decimals > 9) return false;
  const double scaled = std::fabs(value) * kPowersOfTen[decimals];
  if (!(scaled < kFastLimit)) return false;
  const double below = std::floor(scaled);
  const double fraction = scaled - below;
  if (std::fabs(fraction - 0.5) < kHalfMargin) return false;
  const auto digits = static_cast<std::uint64_t>(fraction > 0.5 ? below + 1 : below);
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, digits);
  const int length = static_cast<int>(result.ptr - buffer);
  if (std::signbit(value)) text.push_back('-');
  const int whole = length > decimals ? length - decimals : 0;
  if (whole == 0) text.push_back('0');
  base::AppendAscii({buffer, static_cast<std::size_t>(whole)}, text);
  if (decimals == 0) return true;
  text.push_back('.');
  for (int i = length; i < decimals; ++i) text.push_back('0');
  base::AppendAscii({buffer + whole, static_cast<std::size_t>(length - whole)}, text);
  return true;
}

}  // namespace

void AppendFixed(double value, int decimals, velmar_ustring::string_type& text) {
  if (decimals < 0) decimals = 6;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  if (AppendFixedFast(value, decimals, text)) return;
  char buffer[kFixedCapacity];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  base::AppendAscii({buffer, static_cast<std::size_t>(result.ptr - buffer)}, text);
}

void AppendWhole(double value, velmar_ustring::string_type& text) {
  // Most whole numbers fit a 64-bit integer, whose conversion is cheaper.
  if (value > -9.0e18 && value < 9.0e18) {
    char buffer[24];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(value));
    base::AppendAscii({buffer, static_cast<std::size_t>(result.ptr - buffer)}, text);
    return;
  }
  AppendFixed(value, 0, text);
}

velmar_ustring FormatNumberText(double value, int decimals) {
  velmar_ustring::string_type text;
  AppendFixed(value, decimals, text);
  const auto point = text.find(utf16_unit('.'));
  if (point == velmar_ustring::string_type::npos) return velmar_ustring(std::move(text));
  std::size_t end = text.size();
  while (end > point + 1 && text[end - 1] == '0') --end;
  if (end == point + 1) --end;
  text.resize(end);
  if (end > point) text[point] = CNumericFormatter::GetDecimalPointChar();
  return velmar_ustring(std::move(text));
}

double ReadNumberText(const utf16_unit* begin, const utf16_unit* end) {
  const std::size_t length = static_cast<std::size_t>(end - begin);
  double value = 0.0;
  if (length < kStackCopy) {
    utf16_unit copy[kStackCopy];
    std::memcpy(copy, begin, length * sizeof(utf16_unit));
    copy[length] = 0;
    ReadDouble(copy, UserDecimalPoint(), value);
  } else {
    const velmar_ustring copy(begin, length);
    ReadDouble(copy.c_str(), UserDecimalPoint(), value);
  }
  return value;
}

}  // namespace velmar::utils
