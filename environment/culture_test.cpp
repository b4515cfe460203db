#include "FolianUtils/culture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "FolianUtils/support_folders.h"
#include "environment/culture_internal.h"
#include "environment/paths_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

TEST(CultureFromLanguageId, Table) {
  const struct {
    std::uint16_t language_id;
    const char* culture;
  } cases[] = {
      {0x0409, "en-US"}, {0x0809, "en-GB"}, {0x0C09, "en-GB"}, {0x0009, "en-GB"}, {0x0804, "zh-CN"},
      {0x1004, "zh-CN"}, {0x0404, "zh-TW"}, {0x0C04, "zh-TW"}, {0x1404, "zh-TW"}, {0x0816, "pt-PT"},
      {0x0416, "pt-BR"}, {0x0016, "pt-BR"}, {0x0407, "de"},    {0x0807, "de"},    {0x040C, "fr"},
      {0x0411, "ja"},    {0x040D, "iw"},    {0x0414, "no"},    {0x0814, "no"},    {0x0464, "tl"},
      {0x041A, "hr"},    {0x081A, "hr"},    {0x0C1A, "hr"},    {0x0439, "hi"},    {0x0401, "ar"},
      {0x0402, "bg"},    {0x0403, "ca"},    {0x0405, "cs"},    {0x0406, "da"},    {0x0413, "nl"},
      {0x040B, "fi"},    {0x0408, "el"},    {0x040E, "hu"},    {0x0421, "id"},    {0x0410, "it"},
      {0x0412, "ko"},    {0x0426, "lv"},    {0x0427, "lt"},    {0x0415, "pl"},    {0x0418, "ro"},
      {0x0419, "ru"},    {0x041B, "sk"},    {0x0424, "sl"},    {0x0C0A, "es"},    {0x041D, "sv"},
      {0x041E, "th"},    {0x041F, "tr"},    {0x0422, "uk"},    {0x042A, "vi"},    {0x0425, "en-US"},
      {0x0000, "en-US"}, {0x0C00, "en-US"}, {0x043F, "en-US"}, {0xFFFF, "en-US"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CultureFromLanguageId(c.language_id).ToUTF8(), c.culture)
        << std::hex << c.language_id;
  }
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// One process per case: the culture is decided once per process. The ctest
// entries give the user language (LC_ALL), the resource folders to install,
// an optional override ("(empty)" for the empty one) and the expectations.
TEST(CultureProcess, DecidedOnceFromLanguageOverrideAndFolders) {
  const std::string expected = Variable("FOLIAN_EXPECT_CULTURE");
  if (expected.empty()) GTEST_SKIP() << "runs from its own test entries, one per culture";
  test::ScopedSupportRoots roots;
  ASSERT_TRUE(roots.usable());

  std::stringstream folders(Variable("FOLIAN_CULTURE_FOLDERS"));
  for (std::string folder; std::getline(folders, folder, ',');) {
    ASSERT_TRUE(CreateDirectories(AppendPath(GetInstallSupportFolder(), folder.c_str())));
  }
  if (const char* override_culture = std::getenv("FOLIAN_CULTURE_OVERRIDE")) {
    SetCulture(std::string(override_culture) == "(empty)" ? "" : override_culture);
  }

  EXPECT_EQ(GetCulture().ToUTF8(), expected);
  EXPECT_EQ(GetLanguageCode().ToUTF8(), expected.substr(0, 2));
  EXPECT_EQ(GetFolianWebCode().ToUTF8(), Variable("FOLIAN_EXPECT_WEB_CODE"));
  EXPECT_EQ(GetOSLocale().ToUTF8(), Variable("FOLIAN_EXPECT_OS_LOCALE"));

  // Later overrides and newly installed folders change nothing.
  ASSERT_TRUE(CreateDirectories(AppendPath(GetInstallSupportFolder(), "ja")));
  SetCulture("ja");
  EXPECT_EQ(GetCulture().ToUTF8(), expected);
  EXPECT_EQ(GetFolianWebCode().ToUTF8(), Variable("FOLIAN_EXPECT_WEB_CODE"));
}

}  // namespace
}  // namespace folian
