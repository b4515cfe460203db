// Test texts written once with "." as decimal point, read in whatever
// locale the tests run in.
#pragma once

#include <string>

#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils::testing {

// `text` with every "." written as the user's decimal point and every
// `list_separator` as the user's list separator (none when it is 0).
inline std::string InUserNotation(std::string text, char list_separator = ',') {
  const char point = static_cast<char>(CNumericFormatter::GetDecimalPointChar());
  const char separator = static_cast<char>(CNumericFormatter::GetSeparatorChar());
  for (char& c : text) {
    if (c == '.') {
      c = point;
    } else if (list_separator != 0 && c == list_separator) {
      c = separator;
    }
  }
  return text;
}

inline velmar_ustring UserText(const std::string& text, char list_separator = ',') {
  return velmar_ustring(InUserNotation(text, list_separator));
}

}  // namespace velmar::utils::testing
