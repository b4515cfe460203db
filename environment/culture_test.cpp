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

TEST(CultureFromLanguageId, Table) {
  const std::pair<std::uint16_t, const char*> cases[] = {
      {0x0409, "en-US"}, {0x0009, "en-GB"}, {0x0804, "zh-CN"}, {0x1004, "zh-CN"},
      {0x0C04, "zh-TW"}, {0x0816, "pt-PT"}, {0x0416, "pt-BR"}, {0x081A, "hr"},
      {0x040D, "iw"},    {0xFFFF, "en-US"}};
  for (const auto& [language_id, culture] : cases) {
    EXPECT_EQ(CultureFromLanguageId(language_id).ToUTF8(), culture) << std::hex << language_id;
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
