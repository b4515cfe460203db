#include "units/fixed_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace velmar::utils {
namespace {

// Exact powers of ten.
constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
constexpr int kFastDecimals = static_cast<int>(sizeof kPowers / sizeof kPowers[0]) - 1;
// Below 2^40 the scaled value is within 2^-13 of the exact product, so a
// fraction further than kTieMargin from one half rounds as the exact
// decimal would; anything else takes the exact path.
constexpr double kFastLimit = 1099511627776.0;
constexpr double kTieMargin = 1.0 / 1024.0;

}  // namespace

std::size_t WriteFixedDecimal(char* out, double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 64) decimals = 64;
  if (decimals <= kFastDecimals && value >= 0.0 && !std::signbit(value)) {
    const double scaled = value * kPowers[decimals];
    if (scaled < kFastLimit) {
      const double whole = std::floor(scaled);
      const double fraction = scaled - whole;
      if (std::fabs(fraction - 0.5) > kTieMargin) {
        std::uint64_t digits = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
        // At least one digit before the point.
        char reversed[32];
        int count = 0;
        do {
          reversed[count++] = static_cast<char>('0' + digits % 10);
          digits /= 10;
        } while (digits != 0 || count <= decimals);
        std::size_t size = 0;
        for (int i = count - 1; i >= 0; --i) {
          if (i == decimals - 1) out[size++] = '.';
          out[size++] = reversed[i];
        }
        return size;
      }
    }
  }
  const auto result =
      std::to_chars(out, out + kFixedDecimalCapacity, value, std::chars_format::fixed, decimals);
  return static_cast<std::size_t>(result.ptr - out);
}

}  // namespace velmar::utils
