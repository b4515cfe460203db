#include "tool/split_words.h"

#include <gtest/gtest.h>

namespace folian::tool {
namespace {

struct SplitCase {
  const char* line;
  std::vector<std::string> words;
};

TEST(SplitWords, SplitsAsAShellDoes) {
  const SplitCase cases[] = {
      {"", {}},
      {"  \t ", {}},
      {"parse-length 5", {"parse-length", "5"}},
      {"  a\t b  ", {"a", "b"}},
      {"a 'b c' d", {"a", "b c", "d"}},
      {"'it''s'", {"its"}},
      {R"(a "b \" c")", {"a", "b \" c"}},
      {R"("\$ \` \\ \n")", {R"($ ` \ \n)"}},
      {R"(5\' 6\")", {"5'", "6\""}},
      {R"('1"=4'\')", {"1\"=4'"}},
      {"''", {""}},
      {R"(a"b"'c')", {"abc"}},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string> words = {"left over"};
    std::string error;
    EXPECT_TRUE(SplitWords(c.line, words, error)) << c.line;
    EXPECT_EQ(words, c.words) << c.line;
  }
}

TEST(SplitWords, RefusesUnfinishedQuotesAndEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"a 'b", "unterminated ' quote"},
      {"a \"b", "unterminated \" quote"},
      {"a \"b\\\"", "unterminated \" quote"},
      {"a\\", "trailing backslash"},
  };
  for (const auto& [line, message] : cases) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(SplitWords(line, words, error)) << line;
    EXPECT_EQ(error, message) << line;
  }
}

}  // namespace
}  // namespace folian::tool
