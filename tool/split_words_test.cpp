#include "tool/split_words.h"

#include <gtest/gtest.h>

namespace folian::tool {
namespace {

// A line splits as a shell splits it, or is refused with the reason (no
// words then).
TEST(SplitWords, SplitsAsAShellDoes) {
  const struct {
    const char* line;
    std::vector<std::string> words;
    const char* error;
  } cases[] = {
      {"  \t ", {}, ""},
      {"  a\t b  ", {"a", "b"}, ""},
      {"a 'b c' d", {"a", "b c", "d"}, ""},
      {R"(a "b \" c")", {"a", "b \" c"}, ""},
      {R"("\$ \` \\ \n")", {R"($ ` \ \n)"}, ""},
      {R"(5\' 6\")", {"5'", "6\""}, ""},
      {"''", {""}, ""},
      {R"(a"b"'c')", {"abc"}, ""},
      {"a 'b", {}, "unterminated ' quote"},
      {"a \"b\\\"", {}, "unterminated \" quote"},
      {"a\\", {}, "trailing backslash"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words = {"left over"};
    std::string error;
    EXPECT_EQ(SplitWords(c.line, words, error), *c.error == '\0') << c.line;
    EXPECT_EQ(error, c.error) << c.line;
    if (*c.error == '\0') {
      EXPECT_EQ(words, c.words) << c.line;
    }
  }
}

}  // namespace
}  // namespace folian::tool
