// "%.*f" of a double into ASCII without the C runtime's printf.
#pragma once

#include <cstddef>

namespace velmar::utils {

// The largest finite double needs 309 integer digits, a point and the
// decimals; 400 characters hold every case with up to 64 decimals.
inline constexpr std::size_t kFixedDecimalCapacity = 400;

// Writes `value` with `decimals` digits after a "." (none, and no point,
// for 0), rounded as printf rounds in the "C" locale, into `out` (at least
// kFixedDecimalCapacity characters, not terminated). Returns the count
// written. Decimals outside 0 to 64 are clamped to that range.
std::size_t WriteFixedDecimal(char* out, double value, int decimals);

}  // namespace velmar::utils
