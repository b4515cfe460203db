/// @file
/// The UTF-16 code unit and its plain string, shared by the string class and
/// the layers below it that speak no class of the library. Types and a
/// macro only: nothing here runs on any thread.
///
/// @stable
#pragma once

#include <string>

namespace velmar::utils {

/// @typedef utf16_unit
/// The UTF-16 code unit: the platform's 16-bit wchar_t on Windows, char16_t
/// elsewhere, so that every platform counts the same units.
/// @stable
///
/// @def VELMAR_U(text)
/// A UTF-16 literal on every platform: L"..." on Windows, u"..." elsewhere.
/// @stable
#if defined(_WIN32)
using utf16_unit = wchar_t;
#define VELMAR_U(text) L##text
#else
using utf16_unit = char16_t;
#define VELMAR_U(text) u##text
#endif
static_assert(sizeof(utf16_unit) == 2, "UTF-16 needs 16-bit code units");

/// A plain string of UTF-16 code units, the storage of velmar_ustring.
/// @stable
using utf16_string = std::basic_string<utf16_unit>;

}  // namespace velmar::utils
