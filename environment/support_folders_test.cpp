#include "FolianUtils/support_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "environment/paths_internal.h"
#include "environment/support_folders_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

class SupportFolders : public test::SupportRootsTest {
 protected:
  static velmar_ustring Under(const velmar_ustring& root, const char* relative) {
    return AppendPath(root, velmar_ustring("Trelvin/") + relative);
  }
};

TEST_F(SupportFolders, FoldersAreComposedAndCreatedAndTheNewestEarlierOneUpgrades) {
  const std::pair<velmar_ustring, velmar_ustring> cases[] = {
      {GetUserSupportFolder(), Under(m_roots.roaming(), "Trelvin 2026/Folian")},
      {GetUserSupportFolder(0), Under(m_roots.roaming(), "Viewer")},
      {GetInstallSupportFolder(), Under(m_roots.common(), "Trelvin 2026/Folian")},
      {GetUserAppFolder("Other", 25, false), Under(m_roots.local(), "Trelvin 2025/Other")}};
  for (const auto& [folder, expected] : cases) {
    EXPECT_EQ(folder, expected);
    EXPECT_TRUE(IsDirectory(folder));
  }
  EXPECT_TRUE(UserAppFolderExists("Other", 25, false));
  EXPECT_FALSE(UserAppFolderExists("Other", 25, true));
  GetUserSupportFolder(17);
  GetUserAppFolder("Folian", 25, false);
  EXPECT_EQ(GetVersionForUpgrade(), -1) << "current, too old and local folders do not count";
  for (const auto& [made, expected] : {std::pair{18, 18}, {24, 24}, {22, 24}}) {
    GetUserSupportFolder(made);
    EXPECT_EQ(GetVersionForUpgrade(), expected);
  }
  EXPECT_FALSE(IsDirectory(Under(m_roots.roaming(), "Trelvin 2025")))
      << "the search creates nothing";
}

TEST_F(SupportFolders, SearchPrefersTheUserFolderAndFindsNestedNames) {
  const velmar_ustring common =
      Under(m_roots.common(), "Trelvin 2026/Folian/Resources/fr/s.folian-test");
  const velmar_ustring user = Under(m_roots.roaming(), "Trelvin 2026/Folian/a/s.folian-test");
  std::vector<velmar_ustring> folders{"kept"};
  EXPECT_EQ(FindSupportFolders("s.folian-test", folders), 0);
  EXPECT_TRUE(IsDirectory(GetParentFolder(GetParentFolder(user)))) << "the search made it";
  WriteFile(common);
  EXPECT_EQ(FindSupportFile("s.folian-test"), common);
  EXPECT_EQ(FindSupportFile("s.folian-test", "Resources\\fr"), common);
  EXPECT_EQ(FindSupportFile("s.folian-test", "de"), velmar_ustring());
  EXPECT_EQ(FindSupportFile("fr"), GetParentFolder(common));
  WriteFile(user);
  EXPECT_EQ(FindSupportFolders("s.folian-test", folders), 1);
  EXPECT_EQ(folders, (std::vector<velmar_ustring>{"kept", user}));
}

TEST(ApplicationFolder, HoldsTheTestsAndTrelvinIsFoundBesideIt) {
  const velmar_ustring folder = GetApplicationFolder();
  EXPECT_TRUE(FileExists(AppendPath(folder, "folian_tests")) ||
              FileExists(AppendPath(folder, "folian_tests.exe")));
  const velmar_ustring beside = AppendPath(GetParentFolder(folder), "Trelvin");
  if (FileExists(beside)) GTEST_SKIP() << "a Trelvin folder already sits beside the tests";
  EXPECT_EQ(PathToTrelvin(), velmar_ustring());
  ASSERT_TRUE(CreateDirectories(beside));
  EXPECT_EQ(PathToTrelvin(), velmar_ustring()) << "the folder alone is not the program";
  std::ofstream(test::ToFsPath(AppendPath(beside, "Trelvin.exe"))) << "MZ";
  EXPECT_EQ(PathToTrelvin(), AppendPath(beside, "Trelvin.exe"));
  std::error_code error;
  std::filesystem::remove_all(test::ToFsPath(beside), error);
}

}  // namespace
}  // namespace folian
