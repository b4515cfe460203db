#include "base/utf8.h"

#include <gtest/gtest.h>

namespace velmar::base::utf8 {
namespace {

struct Utf8Case {
  const char* text;
  bool valid;
};

TEST(Utf8Strict, ValidOnlyForWellFormedSequences) {
  const Utf8Case cases[] = {
      {"", true},
      {"abc", true},
      {"\xC3\xA9", true},           // é
      {"\xE2\x82\xAC", true},       // €
      {"\xF0\x9D\x84\x9E", true},   // U+1D11E
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
      {"\xED\x9F\xBF", true},       // U+D7FF, below the surrogates
      {"\xFF", false},              // never in UTF-8
      {"5\xFF", false},             // after ASCII
      {"\x80", false},              // lone continuation byte
      {"\xC0\xAF", false},          // overlong "/"
      {"\xC1\xBF", false},          // overlong
      {"\xE0\x80\xAF", false},      // overlong
      {"\xF0\x80\x80\xAF", false},  // overlong
      {"\xED\xA0\x80", false},      // high surrogate
      {"\xED\xBF\xBF", false},      // low surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xF5\x80\x80\x80", false},  // no such lead byte
      {"\xC3", false},              // cut short
      {"\xE2\x82", false},          // cut short
      {"\xF0\x9D\x84", false},      // cut short
      {"\xE2\x28\xA1", false},      // bad continuation
  };
  for (const Utf8Case& c : cases) {
    EXPECT_EQ(IsValid(c.text), c.valid) << testing::PrintToString(std::string(c.text));
  }
}

TEST(Utf8Strict, ReplacesEachBadByteAndKeepsTheRest) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(ReplaceInvalid("a\xFF"
                           "b"),
            "a" + replacement + "b");
  EXPECT_EQ(ReplaceInvalid("\xE2\x82"), replacement + replacement);
  EXPECT_EQ(ReplaceInvalid("\xC3\xA9\xED\xA0\x80"),
            "\xC3\xA9" + replacement + replacement + replacement);
  EXPECT_EQ(ReplaceInvalid("ok \xE2\x82\xAC"), "ok \xE2\x82\xAC");
  EXPECT_TRUE(IsValid(ReplaceInvalid("\xF0\x80\x80\xAF\xFF\x80")));
}

}  // namespace
}  // namespace velmar::base::utf8
