#include "tool/split_words.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace folian::tool {

bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::string word;
  bool inWord = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\\') {
      if (++i == line.size()) {
        error = "trailing backslash";
        return false;
      }
      word += line[i];
    } else if (c == '\'') {
      const std::size_t close = line.find('\'', i + 1);
      if (close == std::string::npos) {
        error = "unterminated ' quote";
        return false;
      }
      word.append(line, i + 1, close - i - 1);
      i = close;
    } else if (c == '"') {
      for (++i;; ++i) {
        if (i == line.size()) {
          error = "unterminated \" quote";
          return false;
        }
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size() &&
            std::string("\"\\$`").find(line[i + 1]) != std::string::npos) {
          ++i;
        }
        word += line[i];
      }
    } else {
      // A run of plain characters at once.
      const std::size_t end = std::min(line.find_first_of(" \t\\'\"", i), line.size());
      word.append(line, i, end - i);
      i = end - 1;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return true;
}

}  // namespace folian::tool
