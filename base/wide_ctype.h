// The runtime's wide character classes and case mapping over UTF-16 units,
// which follow the process locale.
#pragma once

#include <cwctype>

namespace velmar::base {

inline bool IsSpace(char32_t u) { return std::iswspace(static_cast<std::wint_t>(u)) != 0; }

// The upper case of a UTF-16 unit, as a unit.
inline char16_t Upper(char32_t u) {
  return static_cast<char16_t>(std::towupper(static_cast<std::wint_t>(u)));
}

}  // namespace velmar::base
