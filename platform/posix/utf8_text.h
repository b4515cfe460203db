// The POSIX calls take paths and texts as UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "FolianUtils/utf16.h"
#include "base/utf8.h"

namespace velmar::platform {

inline std::string ToUtf8(const utils::utf16_string& text) {
  std::string utf8;
  base::utf8::Encode(text.data(), text.size(), utf8);
  return utf8;
}

// Empty when `text` is not UTF-8.
inline utils::utf16_string FromUtf8(std::string_view text) {
  utils::utf16_string units;
  base::utf8::Decode(text.data(), text.size(), units);
  return units;
}

}  // namespace velmar::platform
