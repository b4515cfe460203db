#include "FolianUtils/ustring.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmar::utils {
namespace {

using Units = std::vector<unsigned>;

Units UnitsOf(const velmar_ustring& s) {
  Units out;
  for (const utf16_unit u : s) out.push_back(static_cast<char16_t>(u));
  return out;
}

velmar_ustring FromUnits(const Units& units) {
  velmar_ustring s;
  for (const unsigned u : units) s += static_cast<utf16_unit>(u);
  return s;
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  Units units;  // empty: the whole result must be empty
};

class Utf8DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8DecodeTest, DecodesOrRejectsWhole) {
  const DecodeCase& c = GetParam();
  EXPECT_EQ(UnitsOf(velmar_ustring(c.bytes)), c.units) << c.name;
  EXPECT_EQ(UnitsOf(velmar_ustring::FromUTF8(c.bytes)), c.units) << c.name;
  if (c.bytes.find('\0') == std::string::npos) {
    EXPECT_EQ(UnitsOf(velmar_ustring(c.bytes.c_str())), c.units) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8DecodeTest,
    ::testing::Values(
        DecodeCase{"ascii", "abc", {'a', 'b', 'c'}}, DecodeCase{"two_byte", "\xC3\xA9", {0xE9}},
        DecodeCase{"three_byte", "\xE2\x82\xAC", {0x20AC}},
        DecodeCase{"four_byte_pair", "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
        DecodeCase{"highest_code_point", "\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},
        DecodeCase{"surrogate_code_point_kept", "\xED\xA0\x80", {0xD800}},
        DecodeCase{"embedded_nul", std::string("a\0b", 3), {'a', 0, 'b'}},
        DecodeCase{"stray_ff", "a\xFF", {}}, DecodeCase{"continuation_as_lead", "\x80", {}},
        DecodeCase{"overlong_c0", "\xC0\x80", {}}, DecodeCase{"overlong_c1", "\xC1\xBF", {}},
        DecodeCase{"overlong_e0", "\xE0\x80\x80", {}},
        DecodeCase{"overlong_f0", "\xF0\x80\x80\x80", {}},
        DecodeCase{"above_10ffff", "\xF4\x90\x80\x80", {}},
        DecodeCase{"lead_f5", "\xF5\x80\x80\x80", {}},
        DecodeCase{"five_byte_form", "\xF8\x88\x80\x80\x80", {}},
        DecodeCase{"bad_trailing_byte", "\xC3\x28", {}},
        DecodeCase{"truncated_at_end", "ok\xE2\x82", {}},
        DecodeCase{"lone_lead_at_end", "ok\xC3", {}}, DecodeCase{"empty", "", {}}),
    [](const ::testing::TestParamInfo<DecodeCase>& test) { return std::string(test.param.name); });

TEST(UstringTest, NullEmptyAndViewedTextDecodesToWhatIsThere) {
  EXPECT_TRUE(velmar_ustring(static_cast<const char*>(nullptr)).empty());
  EXPECT_TRUE(velmar_ustring(static_cast<const utf16_unit*>(nullptr)).empty());
  velmar_ustring s("keep");
  s = static_cast<const char*>(nullptr);
  EXPECT_EQ(s, velmar_ustring("keep"));
  s = "\xFF";  // invalid UTF-8 replaces with nothing
  EXPECT_TRUE(s.empty());
  EXPECT_TRUE(velmar_ustring::FromUTF8(std::string_view()).empty());
  const std::string_view text("ab\xE2\x82\xAC");
  EXPECT_EQ(velmar_ustring::FromUTF8(text.substr(0, 2)), velmar_ustring("ab"));
  EXPECT_TRUE(velmar_ustring::FromUTF8(text.substr(0, 4)).empty());  // cut inside the euro sign
  s.AssignFromMultiByte("plain ascii");
  EXPECT_EQ(s, velmar_ustring("plain ascii"));
  s.AssignFromMultiByte(nullptr);
  EXPECT_TRUE(s.empty());
}

// Any valid UTF-16 text comes back unchanged through UTF-8.
TEST(UstringTest, Utf16RoundTripsThroughUtf8) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    Units units;
    for (int i = static_cast<int>(random() % 8); i > 0; --i) {
      const unsigned limit = i % 2 == 0 ? 0x7FF : 0xFFFF;  // short forms as well
      unsigned unit = 1 + static_cast<unsigned>(random() % limit);
      if (unit >= 0xDC00 && unit < 0xE000) unit -= 0x400;  // a lone low becomes a pair's high
      units.push_back(unit);
      if (unit >= 0xD800 && unit < 0xDC00) units.push_back(0xDC00 + random() % 0x400);
    }
    const std::string utf8 = FromUnits(units).ToUTF8();
    ASSERT_EQ(UnitsOf(velmar_ustring::FromUTF8(utf8)), units) << utf8;
    ASSERT_TRUE(FromUnits(units) == utf8.c_str());
  }
}

TEST(UstringTest, EncodesPairsAndLoneSurrogates) {
  struct Case {
    Units units;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {{'A'}, "A"},
      {{0x7FF}, "\xDF\xBF"},
      {{0xFFFF}, "\xEF\xBF\xBF"},
      {{0xD83D, 0xDE00}, "\xF0\x9F\x98\x80"},
      {{0xD800}, "\xED\xA0\x80"},                      // lone high
      {{0xDE00, 0xD83D}, "\xED\xB8\x80\xED\xA0\xBD"},  // reversed pair
      {{0xD83D, 'x'}, "\xED\xA0\xBDx"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromUnits(c.units).ToUTF8(), c.utf8);
    EXPECT_TRUE(FromUnits(c.units) == c.utf8.c_str());
    std::ostringstream stream;
    stream << FromUnits(c.units);
    EXPECT_EQ(stream.str(), c.utf8);
  }
  std::ostringstream padded;
  padded << std::setw(6) << std::setfill('.') << velmar_ustring("\xC3\xA9") << '|';
  EXPECT_EQ(padded.str(), "....\xC3\xA9|");  // width counts bytes, as for std::string
  EXPECT_EQ(velmar_ustring("\xF0\x9F\x98\x80").length(), 2u);
}

TEST(UstringTest, NarrowComparisonIsBytewiseAndMoveEmptiesTheSource) {
  const velmar_ustring s("caf\xC3\xA9");
  EXPECT_TRUE(s == "caf\xC3\xA9");
  EXPECT_FALSE(s == "cafe");
  EXPECT_FALSE(s == "caf\xC3\xA9!");
  EXPECT_TRUE(velmar_ustring() == "");
  velmar_ustring a("text that is longer than any small buffer");
  velmar_ustring b(std::move(a));
  EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): documented state
  velmar_ustring c;
  c = std::move(b);
  EXPECT_TRUE(b.empty());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(c, velmar_ustring("text that is longer than any small buffer"));
}

template <typename Error, typename Action>
void ExpectThrows(Action action, const char* message) {
  try {
    action();
    ADD_FAILURE() << "no exception";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(UstringTest, CheckedAccessAndGrowthThrowTheDocumentedMessages) {
  const velmar_ustring s("abc");
  EXPECT_EQ(s.at(2), 'c');
  ExpectThrows<std::out_of_range>([&] { (void)s.at(3); }, "invalid string position");
  ExpectThrows<std::out_of_range>([&] { (void)s.Mid(5u, 1u); }, "invalid string position");
  const std::size_t n = s.str().max_size() + 1;
  const char* const too_long = "string too long";
  ExpectThrows<std::length_error>([&] { velmar_ustring t(n, u'x'); }, too_long);
  ExpectThrows<std::length_error>([&] { velmar_ustring t(s.c_str(), n); }, too_long);
  ExpectThrows<std::length_error>([&] { velmar_ustring("ab").resize(n); }, too_long);
  ExpectThrows<std::length_error>([&] { velmar_ustring("ab").append(s.c_str(), n); }, too_long);
  // Within the maximum the same operations work and keep the text.
  velmar_ustring t("ab");
  t.resize(4, u'c');
  t.append(velmar_ustring("de").c_str(), 1);
  EXPECT_EQ(t, "abccd");
}

TEST(UstringTest, SubstringsClampOrThrow) {
  const velmar_ustring s("abc");
  EXPECT_EQ(s.Left(-3), velmar_ustring());
  EXPECT_EQ(s.Left(2), velmar_ustring("ab"));
  EXPECT_EQ(s.Left(10), s);
  EXPECT_EQ(s.Right(-1), velmar_ustring());
  EXPECT_EQ(s.Right(2), velmar_ustring("bc"));
  EXPECT_EQ(s.Right(10), s);
  EXPECT_EQ(s.Mid(-4), s);
  EXPECT_EQ(s.Mid(1), velmar_ustring("bc"));
  EXPECT_EQ(s.Mid(5), velmar_ustring());
  EXPECT_EQ(s.Mid(1u, 1u), velmar_ustring("b"));
  EXPECT_EQ(s.Mid(1u, 99u), velmar_ustring("bc"));
  EXPECT_EQ(s.Mid(3u, 1u), velmar_ustring());
}

TEST(UstringTest, SearchesReturnPositionsOrNpos) {
  const velmar_ustring s("abcabc");
  constexpr auto npos = velmar_ustring::npos;
  EXPECT_EQ(s.Find(velmar_ustring("bc")), 1u);
  EXPECT_EQ(s.Find(velmar_ustring("bc"), 2), 4u);
  EXPECT_EQ(s.Find(velmar_ustring("bc"), 5), npos);
  EXPECT_EQ(s.Find(velmar_ustring("abcabcabc")), npos);
  EXPECT_EQ(s.Find(velmar_ustring(), 3), 3u);
  EXPECT_EQ(s.Find(utf16_unit('c')), 2u);
  EXPECT_EQ(s.Find(utf16_unit('c'), 6), npos);
  EXPECT_EQ(s.ReverseFind(utf16_unit('a')), 3u);
  EXPECT_EQ(s.ReverseFind(utf16_unit('a'), 2), 0u);
  EXPECT_EQ(s.ReverseFind(utf16_unit('a'), 100), 3u);
  EXPECT_EQ(velmar_ustring().ReverseFind(utf16_unit('a')), npos);
  EXPECT_EQ(s.ReverseFind(utf16_unit('z')), npos);
}

TEST(UstringTest, CompareIsOrdinalWithShorterFirst) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  for (const Case& c : {Case{"abc", "abc", 0}, Case{"ab", "abc", -1}, Case{"abd", "abc", 1},
                        Case{"B", "a", -1}, Case{"", "", 0}, Case{"", "a", -1}}) {
    EXPECT_EQ(velmar_ustring(c.a).Compare(velmar_ustring(c.b)), c.expected) << c.a << " " << c.b;
  }
  // Surrogates sort above every BMP unit below them, as plain 16-bit values.
  EXPECT_EQ(FromUnits({0xD83D}).Compare(FromUnits({0xFF00})), -1);
}

TEST(UstringTest, CompareNoCase) {
  struct Case {
    Units a;
    Units b;
    int expected;
  };
  const std::vector<Case> cases = {
      {{'H', 'e', 'L', 'L', 'o'}, {'h', 'E', 'l', 'l', 'O'}, 0},
      {{'a'}, {'B'}, -1},
      {{'B'}, {'a'}, 1},
      {{'a', 'b'}, {'A'}, 1},
      {{'a'}, {'A', 'b'}, -1},
      {{}, {}, 0},
      {{0xD800}, {0xD801}, -1},           // surrogates stop the walk
      {{0xDC00, 'a'}, {0xDC00, 'A'}, 0},  // equal surrogates continue
      {{'a', 0, 'x'}, {'A', 0, 'y'}, 0},  // the walk ends at a zero unit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromUnits(c.a).CompareNoCase(FromUnits(c.b)), c.expected);
  }
}

TEST(UstringTest, ReplaceCountsNonOverlappingOccurrences) {
  struct Case {
    const char* text;
    const char* old_text;
    const char* new_text;
    int count;
    const char* result;
  };
  for (const Case& c : {Case{"a<b", "<", "", 1, "ab"}, Case{"aaaa", "aa", "b", 2, "bb"},
                        Case{"aaa", "aa", "b", 1, "ba"}, Case{"abc", "x", "y", 0, "abc"},
                        Case{"abc", "b", "b", 0, "abc"}, Case{"abc", "", "x", 0, "abc"},
                        Case{"a.b.c", ".", "::", 2, "a::b::c"}, Case{"", "a", "b", 0, ""}}) {
    velmar_ustring s(c.text);
    EXPECT_EQ(s.Replace(velmar_ustring(c.old_text), velmar_ustring(c.new_text)), c.count) << c.text;
    EXPECT_EQ(s, velmar_ustring(c.result)) << c.text;
  }
}

TEST(UstringTest, TrimAndLower) {
  const velmar_ustring padded(" \t\n 12.5 \r\n\t");
  EXPECT_EQ(padded.Trimmed(), velmar_ustring("12.5"));
  velmar_ustring left(padded);
  left.TrimLeft();
  EXPECT_EQ(left, velmar_ustring("12.5 \r\n\t"));
  velmar_ustring right(padded);
  right.TrimRight();
  EXPECT_EQ(right, velmar_ustring(" \t\n 12.5"));
  EXPECT_EQ(velmar_ustring(" \t ").Trimmed(), velmar_ustring());

  velmar_ustring mixed = FromUnits({'A', 'b', 'Z', 0xD800, '1'});
  mixed.MakeLower();
  EXPECT_EQ(UnitsOf(mixed), (Units{'a', 'b', 'z', 0xD800, '1'}));
}

TEST(UstringTest, ToIntIsAtol) {
  struct Case {
    const char* text;
    long value;
  };
  for (const Case& c : {Case{"12r", 12}, Case{"r", 0}, Case{"  -7", -7}, Case{"+3x", 3},
                        Case{"", 0}, Case{"4 5", 4}}) {
    EXPECT_EQ(velmar_ustring(c.text).ToInt(), c.value) << c.text;
  }
}

TEST(UstringTest, ConcatenationDecodesNarrowText) {
  const velmar_ustring s = velmar_ustring("5") + "\xE2\x80\xB3";
  EXPECT_EQ(UnitsOf(s), (Units{'5', 0x2033}));
  velmar_ustring t("a");
  t += utf16_unit('b');
  t += velmar_ustring("c");
  t += VELMAR_U("d");
  EXPECT_EQ(t, velmar_ustring("abcd"));
}

}  // namespace
}  // namespace velmar::utils
