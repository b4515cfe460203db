// Splitting a batch request into words the way a POSIX shell does.
#pragma once

#include <string>
#include <vector>

namespace folian::tool {

// Blanks separate words, '...' is literal, "..." keeps blanks and takes
// \" \\ \$ \` escapes, and a backslash outside quotes escapes the next
// character. False, with `error` set, for an unterminated quote or a
// trailing backslash.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

}  // namespace folian::tool
