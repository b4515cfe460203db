// A host executable that exports the string-table lookup, the way the
// application does; the library is loaded as a module of its own.
#include <gtest/gtest.h>

#include "FolianUtils/host_strings.h"
#include "FolianUtils/ustring.h"
#include "foundation/localized_strings.h"

using velmar::utils::GetLocalizedString;
using velmar::utils::velmar_ustring;

#if defined(_WIN32)
#define FOLIAN_HOST_EXPORT __declspec(dllexport)
#else
#define FOLIAN_HOST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" FOLIAN_HOST_EXPORT bool TRMainStringTableLookUp(const velmar_ustring& key,
                                                           velmar_ustring& result) {
  if (key == "Refused") result = "scribbled";  // writes, then declines
  if (key != "Abbreviation for meter") return false;
  result = "mètre";
  return true;
}

namespace {

bool UpperCaseLookup(const velmar_ustring& key, velmar_ustring& result) {
  result = key;
  for (auto& unit : result) {
    if (unit >= 'a' && unit <= 'z') unit = static_cast<velmar::utils::utf16_unit>(unit - 32);
  }
  return true;
}

// The exported function translates; an unknown key falls back; a declined
// lookup keeps what the host wrote unless there is a fallback. A registered
// function replaces the export, and removing it leaves neither.
TEST(HostLookupTest, ExportedThenRegisteredFunctionTranslates) {
  EXPECT_EQ(GetLocalizedString("Abbreviation for meter", "m"), velmar_ustring("mètre"));
  EXPECT_EQ(GetLocalizedString("Abbreviation for meter"), velmar_ustring("mètre"));
  EXPECT_EQ(GetLocalizedString("Inches"), velmar_ustring("Inches"));
  EXPECT_EQ(GetLocalizedString("Abbreviation for foot", "ft"), velmar_ustring("ft"));
  EXPECT_EQ(GetLocalizedString("Refused", "fallback"), velmar_ustring("fallback"));
  EXPECT_EQ(GetLocalizedString("Refused"), velmar_ustring("scribbled"));

  velmar::utils::RegisterHostStringLookup(&UpperCaseLookup);
  EXPECT_EQ(GetLocalizedString("Inches"), velmar_ustring("INCHES"));
  velmar::utils::RegisterHostStringLookup(nullptr);
  EXPECT_EQ(GetLocalizedString("Abbreviation for meter", "m"), velmar_ustring("m"));
}

}  // namespace
