// Format behaves as the Windows wide printf on every platform; these tests
// run natively and against the real runtime under Wine.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>

#include "FolianUtils/ustring.h"

namespace velmar::utils {
namespace {

template <typename... Args>
velmar_ustring Formatted(const velmar_ustring& format, Args... args) {
  velmar_ustring s("unchanged");
  // A failure must leave the string unchanged.
  if (!s.Format(format, args...)) return s == "unchanged" ? velmar_ustring("<error>") : s;
  return s;
}

// One table for every platform: the text the Universal CRT writes (two
// exponent digits, exact decimal ties to even, "hh" and "h" narrowing), with
// UTF-16 strings for %s and %c.
TEST(FormatTest, WritesWhatTheUniversalCrtWrites) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const velmar_ustring word("w\xC3\xB6rd");
  const velmar_ustring smile("\xF0\x9F\x98\x80");
  const char* narrow = "narrow";
  const velmar_ustring a("A");
  const velmar_ustring b("B");
  const velmar_ustring empty;
  const std::pair<velmar_ustring, const char*> cases[] = {
      {Formatted("%5d|%-5d|%05d|%d|%u", 42, 42, 42, INT_MIN, 4000000000u),
       "   42|42   |00042|-2147483648|4000000000"},
      {Formatted("%x %X %o %#x|%I64d|%zu", 255, 255, 8, 255, 1LL << 40, std::size_t{123}),
       "ff FF 10 0xff|1099511627776|123"},
      {Formatted("%f|%.*f|%*d|%*d", 2.5, 3, 3.14159, 6, 12, -6, 12),
       "2.500000|3.142|    12|12    "},
      {Formatted("%e|%E", 1e100, 1e-300), "1.000000e+100|1.000000E-300"},
      {Formatted("%.0f|%.0f|%.0f|%.0f", 0.5, 1.5, 2.5, 3.5), "0|2|2|4"},
      {Formatted("%.1f|%.2f|%.2f|%.1f", 2.25, 0.125, 2.675, 0.05), "2.2|0.12|2.67|0.1"},
      {Formatted("%.3e|%.0e|%.0e", 1234.5, 2.5, 3.5), "1.234e+03|2e+00|4e+00"},
      {Formatted("%g|%g|%g|%g", 100000.0, 1e6, 1e-4, 0.00001234), "100000|1e+06|0.0001|1.234e-05"},
      {Formatted("%.3g|%.15g|%.17g|%g", 1234.5, 0.1, 0.1, 0.0),
       "1.23e+03|0.1|0.10000000000000001|0"},
      {Formatted("%#g|%#.0f|%#.0e|%#x|%#o", 1.0, 3.0, 3.0, 0, 8), "1.00000|3.|3.e+00|0|010"},
      {Formatted("%hhd|%hhu|%hd|%hu", 200, 300, 70000, 70000), "-56|44|4464|4464"},
      {Formatted("%a|%A|%.2a", 1.0, 0.5, 1.0),
       "0x1.0000000000000p+0|0X1.0000000000000P-1|0x1.00p+0"},
      {Formatted("%f|%e|%F|%5.1f|", inf, -inf, inf, inf), "inf|-inf|INF|  inf|"},
      {Formatted("%f|%f|%G", nan, -nan, -nan), "nan|-nan(ind)|-NAN(IND)"},
      {Formatted("%08.3f|%-10.2e|%+.1f|%.0f", -3.14159, 12345.678, 0.05, -0.0),
       "-003.142|1.23e+04  |+0.1|-0"},
      {Formatted("%5.1f|%-5d|%+05d|% d", 9.96, -3, 42, 42), " 10.0|-3   |+0042| 42"},
      {Formatted("%.3d|%.0d|%+.0d|%06.2d|%1.0d|", 5, 0, 0, 7, 0), "005||+|    07| |"},
      {Formatted("%lld|%llu", LLONG_MIN, ULLONG_MAX), "-9223372036854775808|18446744073709551615"},
      {Formatted("%p", reinterpret_cast<void*>(0x1234)), "0000000000001234"},
      {Formatted("[%s|%6s|%-6ls|%.2s]", word.c_str(), word.c_str(), word.c_str(), word.c_str()),
       "[w\xC3\xB6rd|  w\xC3\xB6rd|w\xC3\xB6rd  |w\xC3\xB6]"},
      {Formatted("[%hs|%S|%1s|%03c]", narrow, narrow, empty.c_str(), utf16_unit('y')),
       "[narrow|narrow| |00y]"},
      {Formatted("[%c%c|%hc|%3c]", utf16_unit(0x20AC), utf16_unit('x'), 'n', utf16_unit('y')),
       "[\xE2\x82\xAC"
       "x|n|  y]"},
      {Formatted("%2$s %1$s", a.c_str(), b.c_str()), "B A"},
      {Formatted("%1$*2$d|%3$.*2$f", 7, 4, 3.14159), "   7|3.1416"},
      {Formatted("%1!d! %2 %3!.3f!", 3, word.c_str(), 1.5), "3 w\xC3\xB6rd 1.500"},
      {Formatted("<%s>", smile.c_str()), "<\xF0\x9F\x98\x80>"},
      {Formatted("50%%"), "50%"},
      {Formatted("%\xC2\x80", 1), "<error>"},   // conversions are ASCII letters
      {Formatted("%1$d %d", 1, 2), "<error>"},  // positional and sequential mixed
      {Formatted(velmar_ustring()), "<error>"},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got, velmar_ustring(expected)) << expected;
  EXPECT_EQ(Formatted("<%s>", smile.c_str()).length(), 4u);  // the pair passes through whole
}

}  // namespace
}  // namespace velmar::utils
