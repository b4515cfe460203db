#include "FolianUtils/numeric_formatter.h"

#include <gtest/gtest.h>

namespace velmar::utils {
namespace {

// Runs under an English and a German user locale.
TEST(NumericFormatterLocaleTest, SeparatorFollowsTheDecimalPoint) {
  const utf16_unit point = CNumericFormatter::GetDecimalPointChar();
  const utf16_unit sep = CNumericFormatter::GetSeparatorChar();
  EXPECT_EQ(sep, point == ',' ? ';' : ',');
  const velmar_ustring values(velmar_ustring::string_type{'1', point, '5', sep, sep, '3'});
  EXPECT_EQ(CNumericFormatter::NumberOfValues(values), 3u);
  EXPECT_EQ(CNumericFormatter::NumberOfValues(velmar_ustring()), 0u);
  EXPECT_EQ(CNumericFormatter::TTOF(
                velmar_ustring(velmar_ustring::string_type{' ', '2', point, '5', 'm'})),
            2.5);
}

}  // namespace
}  // namespace velmar::utils
