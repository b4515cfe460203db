// Format behaves as the Windows wide printf on every platform; these tests
// run natively and against the real runtime under Wine.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "FolianUtils/ustring.h"

namespace velmar::utils {
namespace {

template <typename... Args>
velmar_ustring Formatted(const velmar_ustring& format, Args... args) {
  velmar_ustring s("unchanged");
  if (!s.Format(format, args...)) return velmar_ustring("<error>");
  return s;
}

TEST(FormatTest, NumericConversionsMatchPrintf) {
  struct Case {
    velmar_ustring got;
    const char* expected;
  };
  const Case cases[] = {
      {Formatted("%d", 42), "42"},
      {Formatted("%5d|%-5d|%05d", 42, 42, 42), "   42|42   |00042"},
      {Formatted("%+d % d", 7, 7), "+7  7"},
      {Formatted("%d", INT_MIN), "-2147483648"},
      {Formatted("%u", 4000000000u), "4000000000"},
      {Formatted("%x %X %o %#x", 255, 255, 8, 255), "ff FF 10 0xff"},
      {Formatted("%lld", -9000000000000LL), "-9000000000000"},
      {Formatted("%I64d", static_cast<long long>(1) << 40), "1099511627776"},
      {Formatted("%zu", static_cast<std::size_t>(123)), "123"},
      {Formatted("%f", 2.5), "2.500000"},
      {Formatted("%.2f", 1.005), "1.00"},
      {Formatted("%.*f", 3, 3.14159), "3.142"},
      {Formatted("%*d", 6, 12), "    12"},
      {Formatted("%*d", -6, 12), "12    "},
      {Formatted("%.0f", 1.5), "2"},
      {Formatted("%g", 0.0001), "0.0001"},
      {Formatted("%10.4f|", -3.14159265), "   -3.1416|"},
      {Formatted("%d%%", 5), "5%"},
      {Formatted("%.17g", 0.1), "0.10000000000000001"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, velmar_ustring(c.expected)) << c.expected;
}

// Exact decimal ties and exponent widths are the platform runtime's own:
// glibc rounds ties to even, the Windows runtime away from zero, and older
// Windows runtimes write three exponent digits.
TEST(FormatTest, TiesAndExponentsFollowThePlatformRuntime) {
#if defined(_WIN32)
  EXPECT_EQ(Formatted("%.0f|%.1f", 0.5, 2.25), velmar_ustring("1|2.3"));
  const velmar_ustring exponent = Formatted("%.3g", 1234.5);
  EXPECT_TRUE(exponent == "1.23e+03" || exponent == "1.23e+003");
#else
  EXPECT_EQ(Formatted("%.0f|%.1f", 0.5, 2.25), velmar_ustring("0|2.2"));
  EXPECT_EQ(Formatted("%.3g", 1234.5), velmar_ustring("1.23e+03"));
#endif
}

TEST(FormatTest, StringConversionsTakeUtf16) {
  const velmar_ustring word("w\xC3\xB6rd");
  const char* narrow = "narrow";
  struct Case {
    velmar_ustring got;
    const char* expected;
  };
  const Case cases[] = {
      {Formatted("[%s]", word.c_str()), "[w\xC3\xB6rd]"},
      {Formatted("[%ls]", word.c_str()), "[w\xC3\xB6rd]"},
      {Formatted("[%6s]", word.c_str()), "[  w\xC3\xB6rd]"},
      {Formatted("[%-6s]", word.c_str()), "[w\xC3\xB6rd  ]"},
      {Formatted("[%.2s]", word.c_str()), "[w\xC3\xB6]"},
      {Formatted("[%hs]", narrow), "[narrow]"},
      {Formatted("[%S]", narrow), "[narrow]"},
      {Formatted("[%c%c]", utf16_unit(0x20AC), utf16_unit('x')),
       "[\xE2\x82\xAC"
       "x]"},
      {Formatted("[%hc]", 'n'), "[n]"},
      {Formatted("[%3c]", utf16_unit('y')), "[  y]"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, velmar_ustring(c.expected)) << c.expected;
}

TEST(FormatTest, SurrogatePairsPassThrough) {
  const velmar_ustring smile("\xF0\x9F\x98\x80");
  velmar_ustring s;
  ASSERT_TRUE(s.Format(VELMAR_U("<%s>"), smile.c_str()));
  EXPECT_EQ(s.length(), 4u);
  EXPECT_EQ(s, velmar_ustring("<\xF0\x9F\x98\x80>"));
}

TEST(FormatTest, PositionalArguments) {
  const velmar_ustring a("A");
  const velmar_ustring b("B");
  struct Case {
    velmar_ustring got;
    const char* expected;
  };
  const Case cases[] = {
      {Formatted("%2$s %1$s", a.c_str(), b.c_str()), "B A"},
      {Formatted("%1$d-%2$.1f", 3, 2.75), "3-2.8"},
      {Formatted("%2$d/%1$d", 1, 2), "2/1"},
      {Formatted("%1$*2$d|", 7, 4), "   7|"},
      {Formatted("%1$.*2$f", 3.14159, 2), "3.14"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, velmar_ustring(c.expected)) << c.expected;
}

TEST(FormatTest, MessageStyleArguments) {
  const velmar_ustring name("five");
  EXPECT_EQ(Formatted("%1!d! %2", 3, name.c_str()), velmar_ustring("3 five"));
  EXPECT_EQ(Formatted("%2 then %1", name.c_str(), name.c_str()), velmar_ustring("five then five"));
  EXPECT_EQ(Formatted("%1!.3f! units", 1.5), velmar_ustring("1.500 units"));
}

TEST(FormatTest, ErrorsAndEmptyFormatLeaveTheStringUnchanged) {
  velmar_ustring s("unchanged");
  EXPECT_FALSE(s.Format(velmar_ustring()));
  EXPECT_EQ(s, velmar_ustring("unchanged"));
  // Mixing positional and sequential arguments is a format error.
  EXPECT_FALSE(s.Format(VELMAR_U("%1$d %d"), 1, 2));
  EXPECT_EQ(s, velmar_ustring("unchanged"));
}

TEST(FormatTest, TextWithoutConversions) {
  EXPECT_EQ(Formatted("plain"), velmar_ustring("plain"));
  EXPECT_EQ(Formatted("50%%"), velmar_ustring("50%"));
}

}  // namespace
}  // namespace velmar::utils
