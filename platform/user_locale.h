// The user's numeric conventions, read without touching the process locale.
#pragma once

#include <cstdint>

#include "FolianUtils/ustring.h"

namespace velmar::platform {

// The first UTF-16 unit of the user's current decimal separator, "." when
// it has none; reads the user's settings afresh on every call (slow: cache).
utils::utf16_unit QueryUserDecimalPoint();

// A monotonic clock in milliseconds, cheap enough for every call.
std::int64_t MonotonicMilliseconds();

// strtod in the "C" locale, whatever the process locale is.
double StrtodC(const char* text, char** end);

}  // namespace velmar::platform
