// The user's numeric conventions, read without touching the process locale.
#pragma once

#include <cstdint>
#include <string>

namespace velmar::platform {

// The user's current decimal separator in UTF-8, empty when it has none;
// reads the user's settings afresh on every call (slow: cache).
std::string QueryUserDecimalSeparator();

// A monotonic clock in milliseconds, cheap enough for every call.
std::int64_t MonotonicMilliseconds();

// strtod in the "C" locale, whatever the process locale is.
double StrtodC(const char* text, char** end);

}  // namespace velmar::platform
