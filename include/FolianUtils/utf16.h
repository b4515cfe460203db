// The UTF-16 code unit and its plain string, shared by the string class and
// the layers below it that speak no class of the library.
#pragma once

#include <string>

namespace velmar::utils {

// The platform's 16-bit wchar_t on Windows, char16_t elsewhere, so that
// every platform counts the same units.
#if defined(_WIN32)
using utf16_unit = wchar_t;
#define VELMAR_U(text) L##text
#else
using utf16_unit = char16_t;
#define VELMAR_U(text) u##text
#endif
static_assert(sizeof(utf16_unit) == 2, "UTF-16 needs 16-bit code units");

using utf16_string = std::basic_string<utf16_unit>;

}  // namespace velmar::utils
