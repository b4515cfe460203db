#include "foundation/localized_strings.h"

#include <gtest/gtest.h>

namespace velmar::utils {
namespace {

// The tests link the library into the executable itself, where the host's
// table is never asked: text stays untranslated. tests/host_lookup_test.cpp
// covers a host with the exported function.
TEST(LocalizedStringsTest, LinkedIntoTheExecutableStaysUntranslated) {
  velmar_ustring text("old");
  EXPECT_FALSE(LookUpLocalizedString("Feet", text));
  EXPECT_EQ(text, velmar_ustring("Feet"));
  EXPECT_EQ(GetLocalizedString("Abbreviation for meter", "m"), velmar_ustring("m"));
  // Not UTF-8: the runtime's conversion decides, the fallback stands.
  const velmar_ustring converted = GetLocalizedString("\xE9t\xE9");
  EXPECT_TRUE(converted.empty() || converted.length() == 3u);
  EXPECT_EQ(GetLocalizedString(nullptr), velmar_ustring());
}

}  // namespace
}  // namespace velmar::utils
