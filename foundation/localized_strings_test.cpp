#include "foundation/localized_strings.h"

#include <gtest/gtest.h>

namespace velmar::utils {
namespace {

// The tests link the library into the executable itself, where the host's
// table is never asked: text stays untranslated. tests/host_lookup_test.cpp
// covers a host with the exported function.
TEST(LocalizedStringsTest, LinkedIntoTheExecutableStaysUntranslated) {
  EXPECT_EQ(GetLocalizedString("Inches"), velmar_ustring("Inches"));
  EXPECT_EQ(GetLocalizedString("Abbreviation for meter", "m"), velmar_ustring("m"));
  velmar_ustring text("old");
  EXPECT_FALSE(LookUpLocalizedString("Feet", text));
  EXPECT_EQ(text, velmar_ustring("Feet"));
}

TEST(LocalizedStringsTest, InvalidUtf8KeysFallBackToTheRuntimeConversion) {
  velmar_ustring text;
  EXPECT_FALSE(LookUpLocalizedString("plain", text));
  EXPECT_EQ(text, velmar_ustring("plain"));
  // Latin-1 bytes: the runtime's conversion decides, the fallback stands.
  const char* latin1 = "\xE9t\xE9";
  EXPECT_EQ(GetLocalizedString(latin1, "fallback"), velmar_ustring("fallback"));
  const velmar_ustring converted = GetLocalizedString(latin1);
  EXPECT_TRUE(converted.empty() || converted.length() == 3u);
  EXPECT_EQ(GetLocalizedString(nullptr, "fallback"), velmar_ustring("fallback"));
  EXPECT_EQ(GetLocalizedString(""), velmar_ustring());
}

}  // namespace
}  // namespace velmar::utils
