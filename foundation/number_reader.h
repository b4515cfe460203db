// Locale-aware reading of numbers from UTF-16 text.
#pragma once

#include <cstddef>

#include "FolianUtils/ustring.h"

namespace velmar::utils {

// Reads the number at the start of `text` after white space, the way wcstod
// does in a locale whose decimal separator is `decimal_point`. Stores the
// value (0.0 when there is none) and returns the code units consumed,
// white space included; 0 when there is no number.
std::size_t ReadDouble(const utf16_unit* text, utf16_unit decimal_point, double& value);

// The first UTF-16 unit of the user's current decimal separator, "." when
// it has none; reads the user's settings afresh on every call.
utf16_unit QueryUserDecimalPoint();

// The user's current decimal separator, re-read at most every 100 ms so
// that a changed user locale is seen without a cost on every call.
utf16_unit UserDecimalPoint();
// Makes the next UserDecimalPoint() read the user's settings again.
void ForgetUserDecimalPoint();

// Puts the process locale back to "C" if something changed it; cheap when
// it already is "C".
void RestoreCLocale();

}  // namespace velmar::utils
