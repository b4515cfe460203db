// A host executable that exports the string-table lookup, as the application
// does, with the library as a module of its own; the words show in the text.
#include <gtest/gtest.h>

#include <string>

#include "FolianUtils/host_strings.h"
#include "FolianUtils/length_formatter.h"
#include "FolianUtils/ustring.h"

using namespace velmar::units;
using namespace velmar::utils;

#if defined(_WIN32)
#define FOLIAN_HOST_EXPORT __declspec(dllexport)
#else
#define FOLIAN_HOST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" FOLIAN_HOST_EXPORT bool TRMainStringTableLookUp(const velmar_ustring& key,
                                                           velmar_ustring& result) {
  // Writes, then declines.
  if (key == "Meters" || key == "Units of feet") result = "scribbled";
  if (key != "Abbreviation for meter") return false;
  result = "mètre";
  return true;
}

namespace {

bool UpperCaseLookup(const velmar_ustring& key, velmar_ustring& result) {
  result = key;
  for (auto& unit : result) {
    if (unit >= 'a' && unit <= 'z') unit = static_cast<utf16_unit>(unit - 32);
  }
  return true;
}

// Area text (decimal, the default format) ends with the unit's name.
std::string AreaName(UnitsInfo::Units units) {
  LengthInfo info;
  info.SetUnits(units);
  return CLengthFormatter(info).FormatArea(1.0).ToUTF8();
}

// The export translates; an unknown word stays English; a declined lookup
// keeps what the host wrote unless the word has a fallback. A registered
// function replaces the export, and removing it leaves neither.
TEST(HostLookupTest, ExportedThenRegisteredFunctionTranslates) {
  EXPECT_EQ(CLengthFormatter::GetUnitsString(UnitsInfo::kMeters), velmar_ustring(" mètre"));
  EXPECT_EQ(AreaName(UnitsInfo::kInches), "1 Inches ²");
  EXPECT_EQ(AreaName(UnitsInfo::kMeters), "0 scribbled ²");
  EXPECT_EQ(AreaName(UnitsInfo::kFeet), "0.01 Feet ²");

  RegisterHostStringLookup(&UpperCaseLookup);
  EXPECT_EQ(AreaName(UnitsInfo::kInches), "1 INCHES ²");
  RegisterHostStringLookup(nullptr);
  EXPECT_EQ(AreaName(UnitsInfo::kMeters), "0 Meters ²");
}

}  // namespace
