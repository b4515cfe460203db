#include "base/utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/utf16.h"

namespace velmar::base::utf8 {
namespace {

std::string Encoded(const std::u16string& units) {
  std::string out;
  Encode(units.data(), units.size(), out);
  return out;
}

// Every code point takes its shortest form, decodes back to its units and
// is valid for other programs unless it is a surrogate.
TEST(Utf8, EveryCodePointRoundTrips) {
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    std::u16string units;
    AppendCodePoint(cp, units);
    const std::string bytes = Encoded(units);
    const std::size_t length = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    ASSERT_EQ(bytes.size(), length) << std::hex << cp;
    std::u16string back;
    ASSERT_TRUE(Decode(bytes.data(), bytes.size(), back)) << std::hex << cp;
    ASSERT_EQ(back, units) << std::hex << cp;
    ASSERT_EQ(units.size() == 2 ? CombineSurrogates(units[0], units[1]) : units[0], cp);
    ASSERT_EQ(IsValid(bytes), !IsSurrogate(cp)) << std::hex << cp;
  }
  EXPECT_EQ(Encoded(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

// Any sequence of units survives, lone and reversed surrogates included, and
// the text is valid exactly when no surrogate is alone.
TEST(Utf8, AnyUnitsRoundTrip) {
  const char16_t alphabet[] = {'a', 0, 0xD7FF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFF};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::u16string units(random() % 5, u'a');
    for (char16_t& unit : units) unit = alphabet[random() % std::size(alphabet)];
    const std::string bytes = Encoded(units);
    std::u16string back;
    ASSERT_TRUE(Decode(bytes.data(), bytes.size(), back));
    ASSERT_EQ(back, units);
    ASSERT_EQ(IsValid(bytes), !HasLoneSurrogate(units.data(), units.size()));
  }
}

struct Utf8Case {
  const char* text;
  bool decodes;  // as the library reads it, surrogate forms included
  bool valid;    // as other programs read it
};

TEST(Utf8, RejectsOrReplacesIllFormedText) {
  // The boundaries of each form, surrogates, and each way to be ill-formed.
  for (const Utf8Case& c :
       {Utf8Case{"\xC2\x80\xDF\xBF", true, true}, Utf8Case{"\xE0\xA0\x80", true, true},
        Utf8Case{"\xED\x9F\xBF", true, true}, Utf8Case{"\xED\xA0\x80", true, false},
        Utf8Case{"\xED\xBF\xBF", true, false}, Utf8Case{"\xF0\x90\x80\x80", true, true},
        Utf8Case{"\xF4\x8F\xBF\xBF", true, true}, Utf8Case{"5\xFF", false, false},
        Utf8Case{"\x80", false, false}, Utf8Case{"\xC1\xBF", false, false},
        Utf8Case{"\xE0\x9F\xBF", false, false}, Utf8Case{"\xF0\x8F\xBF\xBF", false, false},
        Utf8Case{"\xF4\x90\x80\x80", false, false}, Utf8Case{"\xF5\x80\x80\x80", false, false},
        Utf8Case{"\xEF\xBF", false, false}, Utf8Case{"\xF0\x9D\x84", false, false},
        Utf8Case{"\xE2\x28\xA1", false, false}, Utf8Case{"\xE2\x82\x28", false, false},
        Utf8Case{"\xF0\x9D\x84\x28", false, false}}) {
    const std::string text = c.text;
    std::u16string units = u"old";
    EXPECT_EQ(Decode(text.data(), text.size(), units), c.decodes) << testing::PrintToString(text);
    EXPECT_EQ(units.empty(), !c.decodes);
    EXPECT_EQ(IsValid(text), c.valid) << testing::PrintToString(text);
    EXPECT_EQ(ReplaceInvalid(text) == text, c.valid) << testing::PrintToString(text);
  }
  // Each byte that starts no valid sequence becomes one U+FFFD.
  const std::string bad = "\xEF\xBF\xBD";
  EXPECT_EQ(ReplaceInvalid("a\xFF\xC3\xA9\xE2\x82"), "a" + bad + "\xC3\xA9" + bad + bad);
  EXPECT_EQ(ReplaceInvalid("\xED\xA0\x80"), bad + bad + bad);
}

}  // namespace
}  // namespace velmar::base::utf8
