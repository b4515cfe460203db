// UTF-8 checks at the tool's edges: arguments and batch lines must be valid
// UTF-8, and everything written as JSON is.
#pragma once

#include <string>
#include <string_view>

namespace folian::tool {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// `text` with each ill-formed sequence replaced by U+FFFD.
std::string ReplaceInvalidUtf8(std::string_view text);

}  // namespace folian::tool
