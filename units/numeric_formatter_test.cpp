#include "FolianUtils/numeric_formatter.h"

#include <gtest/gtest.h>

namespace velmar::utils {
namespace {

// Runs under an English and a German user locale.
TEST(NumericFormatterLocaleTest, SeparatorFollowsTheDecimalPoint) {
  const utf16_unit point = CNumericFormatter::GetDecimalPointChar();
  EXPECT_TRUE(point == '.' || point == ',');
  EXPECT_EQ(CNumericFormatter::GetSeparatorChar(), point == ',' ? ';' : ',');
  EXPECT_EQ(CNumericFormatter::GetDecimalPointChar(), point);  // cached
}

TEST(NumericFormatterLocaleTest, NumberOfValuesCountsEverySeparator) {
  const utf16_unit sep = CNumericFormatter::GetSeparatorChar();
  const utf16_unit point = CNumericFormatter::GetDecimalPointChar();
  auto text = [&](std::initializer_list<utf16_unit> units) {
    velmar_ustring s;
    for (const utf16_unit u : units) s += u;
    return s;
  };
  EXPECT_EQ(CNumericFormatter::NumberOfValues(velmar_ustring()), 0u);
  EXPECT_EQ(CNumericFormatter::NumberOfValues(text({'5'})), 1u);
  EXPECT_EQ(CNumericFormatter::NumberOfValues(text({sep, sep})), 3u);
  EXPECT_EQ(CNumericFormatter::NumberOfValues(text({'1', point, '5', sep, '2', sep, '3'})), 3u);
  EXPECT_EQ(CNumericFormatter::NumberOfValues(text({'1', point, '5'})), 1u);
}

TEST(NumericFormatterLocaleTest, TtofReadsTheLeadingNumber) {
  const utf16_unit point = CNumericFormatter::GetDecimalPointChar();
  velmar_ustring text(VELMAR_U("  2"));
  text += point;
  text += VELMAR_U("5mm");
  EXPECT_EQ(CNumericFormatter::TTOF(text), 2.5);
  EXPECT_EQ(CNumericFormatter::TTOF(velmar_ustring("abc")), 0.0);
  EXPECT_EQ(CNumericFormatter::TTOF(velmar_ustring()), 0.0);
}

}  // namespace
}  // namespace velmar::utils
