#include "FolianUtils/ustring.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace velmar::utils {
namespace {

velmar_ustring FromUnits(std::u16string_view units) {
  return velmar_ustring(velmar_ustring::string_type(units.begin(), units.end()));
}

// The codec itself is tested in base/utf8_test.cpp; these are the ways in
// and out of the string.
TEST(UstringTest, NarrowTextDecodesWholeOrNotAtAllAndEncodesEveryUnit) {
  EXPECT_EQ(velmar_ustring(std::string("a\0\xC3\xA9", 4)),
            FromUnits(std::u16string_view(u"a\0\xE9", 3)));
  EXPECT_TRUE(velmar_ustring::FromUTF8(std::string_view("ab\xE2\x82\xAC", 4)).empty());
  velmar_ustring s(static_cast<const char*>(nullptr));
  s.AssignFromMultiByte("plain ascii");
  s = static_cast<const char*>(nullptr);
  EXPECT_EQ(s, velmar_ustring("plain ascii"));
  s = "\xFF";
  EXPECT_TRUE(s.empty());
  EXPECT_EQ(velmar_ustring("5") + "\xE2\x80\xB3" + velmar_ustring("x"), FromUnits(u"5\x2033x"));
  velmar_ustring lone = FromUnits(u"\xD83Dx");  // a high surrogate alone
  EXPECT_EQ(lone.ToUTF8(), "\xED\xA0\xBDx");
  EXPECT_TRUE(lone == "\xED\xA0\xBDx");
  EXPECT_FALSE(lone == "\xED\xA0\xBD");
  EXPECT_TRUE(velmar_ustring() == static_cast<const char*>(nullptr));
  velmar_ustring moved;
  moved = std::move(lone);
  EXPECT_TRUE(lone.empty());  // NOLINT(bugprone-use-after-move): documented state
  EXPECT_EQ(moved, FromUnits(u"\xD83Dx"));
}

// The messages are documented: the standard library's own name its internals.
TEST(UstringTest, CheckedAccessAndGrowthThrowTheDocumentedMessages) {
  velmar_ustring s("abc");
  EXPECT_THROW((void)s.Mid(4u, 1u), std::out_of_range);
  EXPECT_THROW(s.erase(4), std::out_of_range);
  const std::size_t n = s.str().max_size() + 1;
  EXPECT_THROW(velmar_ustring(n, u'x'), std::length_error);
  EXPECT_THROW(s.resize(n), std::length_error);
  try {
    s.append(s.c_str(), n);
  } catch (const std::length_error& e) {
    EXPECT_STREQ(e.what(), "string too long");
  }
  try {
    (void)s.at(3);
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "invalid string position");
  }
  // Within the maximum the same operations work and keep the text.
  s.resize(5, u'c');
  s.append(velmar_ustring("de").c_str(), 1);
  EXPECT_EQ(s.erase(4), velmar_ustring("abcc"));
  EXPECT_EQ(s.at(3), 'c');
}

TEST(UstringTest, SubstringsClamp) {
  const velmar_ustring s("abcabc");
  const std::pair<velmar_ustring, const char*> cases[] = {
      {s.Left(-3), ""},         {s.Left(7), "abcabc"}, {s.Right(2), "bc"},
      {s.Right(7), "abcabc"},   {s.Mid(-4), "abcabc"}, {s.Mid(7), ""},
      {s.Mid(1u, 9u), "bcabc"}, {s.Mid(6u, 1u), ""}};
  for (const auto& [got, expected] : cases) {
    EXPECT_EQ(got, velmar_ustring(expected)) << expected;
  }
}

TEST(UstringTest, CompareIsOrdinalAndNoCaseStopsAtSurrogatesAndZero) {
  const std::u16string_view surrogate_a(u"\xDC00\x61", 2);
  const std::u16string_view surrogate_upper_a(u"\xDC00\x41", 2);
  const std::tuple<std::u16string_view, std::u16string_view, int, int> cases[] = {
      {u"abc", u"abc", 0, 0},
      {u"ab", u"abc", -1, -1},
      {u"abd", u"abc", 1, 1},
      {u"B", u"a", -1, 1},
      {u"HeLLo", u"hEllO", -1, 0},
      {u"", u"", 0, 0},
      {u"\xD83D", u"\xFF00", -1, -1},
      {u"\xD800", u"\xD801", -1, -1},
      {surrogate_a, surrogate_upper_a, 1, 0},  // equal surrogates continue the walk
      {std::u16string_view(u"a\0x", 3), std::u16string_view(u"A\0y", 3), 1, 0}};
  for (const auto& [a, b, ordinal, no_case] : cases) {
    EXPECT_EQ(FromUnits(a).Compare(FromUnits(b)), ordinal) << FromUnits(a);
    EXPECT_EQ(FromUnits(a).CompareNoCase(FromUnits(b)), no_case) << FromUnits(a);
  }
}

TEST(UstringTest, ReplaceTrimLowerAndToInt) {
  const std::tuple<const char*, const char*, const char*, int, const char*> cases[] = {
      {"aaa", "aa", "b", 1, "ba"},
      {"a.b.c", ".", "::", 2, "a::b::c"},
      {"abc", "x", "y", 0, "abc"},
      {"abc", "b", "b", 0, "abc"},
      {"abc", "", "x", 0, "abc"}};
  for (const auto& [text, old_text, new_text, count, result] : cases) {
    velmar_ustring s(text);
    EXPECT_EQ(s.Replace(velmar_ustring(old_text), velmar_ustring(new_text)), count) << text;
    EXPECT_EQ(s, velmar_ustring(result)) << text;
  }
  velmar_ustring text(" \t\n 12.5 \r\n\t");
  EXPECT_EQ(text.Trimmed(), velmar_ustring("12.5"));
  text.TrimLeft();
  EXPECT_EQ(text, velmar_ustring("12.5 \r\n\t"));
  EXPECT_EQ(velmar_ustring(" \t ").Trimmed(), velmar_ustring());
  text = FromUnits(u"AbZ\xD800");
  text.MakeLower();
  EXPECT_EQ(text, FromUnits(u"abz\xD800"));
  EXPECT_EQ(velmar_ustring("  -7r").ToInt(), -7);
}

}  // namespace
}  // namespace velmar::utils
