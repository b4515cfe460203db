#include "FolianUtils/support_folders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>
#include <vector>

#include "FolianUtils/application.h"
#include "environment/paths_internal.h"
#include "environment/support_folders_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

TEST(ApplicationIdentity, Strings) {
  EXPECT_EQ(ApplicationName(), "Folian");
  EXPECT_EQ(FileExtensionOnly(), "folian");
  EXPECT_EQ(FileExtension(), ".folian");
  EXPECT_EQ(&FileExtension(), &FileExtension());
  EXPECT_EQ(&ApplicationName(), &ApplicationName());
}

TEST(ComposeSupportPath, Table) {
  const struct {
    const char* base;
    int version;
    const char* expected;
  } cases[] = {
      {"C:/Data", 26, "C:/Data/Trelvin/Trelvin 2026/Folian"},
      {"C:/Data/", 24, "C:/Data/Trelvin/Trelvin 2024/Folian"},
      {"C:/Data", 9, "C:/Data/Trelvin/Trelvin 209/Folian"},
      {"C:/Data", 0, "C:/Data/Trelvin/Viewer"},
      {"", 26, "Trelvin/Trelvin 2026/Folian"},
      {"", 0, "Trelvin/Viewer"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposeSupportPath(c.base, "Folian", c.version).ToUTF8(), c.expected)
        << c.base << " " << c.version;
  }
}

class SupportFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!m_roots.usable()) GTEST_SKIP() << "the support folders cannot be redirected here";
    ASSERT_FALSE(m_roots.roaming().empty());
    ASSERT_FALSE(m_roots.common().empty());
  }
  static void MakeFile(const velmar_ustring& path) {
    ASSERT_TRUE(CreateDirectories(GetParentFolder(path)));
    std::ofstream(test::ToFsPath(path)) << "{}";
  }
  test::ScopedSupportRoots m_roots;
};

TEST_F(SupportFolders, FoldersAreComposedAndCreated) {
  const std::pair<velmar_ustring, velmar_ustring> cases[] = {
      {GetUserSupportFolder(), m_roots.roaming() + "/Trelvin/Trelvin 2026/Folian"},
      {GetUserSupportFolder(26), m_roots.roaming() + "/Trelvin/Trelvin 2026/Folian"},
      {GetUserSupportFolder(0), m_roots.roaming() + "/Trelvin/Viewer"},
      {GetInstallSupportFolder(), m_roots.common() + "/Trelvin/Trelvin 2026/Folian"},
      {GetUserAppFolder("Other", 25, false), m_roots.local() + "/Trelvin/Trelvin 2025/Other"},
  };
  for (const auto& [folder, expected] : cases) {
    EXPECT_EQ(folder, expected);
    EXPECT_TRUE(IsDirectory(folder));
  }
  EXPECT_TRUE(UserAppFolderExists("Other", 25, false));
  EXPECT_FALSE(UserAppFolderExists("Other", 25, true));
  EXPECT_FALSE(IsDirectory(m_roots.roaming() + "/Trelvin/Trelvin 2025"));
}

TEST_F(SupportFolders, UpgradeVersionIsTheNewestEarlierOne) {
  EXPECT_EQ(GetVersionForUpgrade(), -1);
  GetUserSupportFolder(26);
  GetUserSupportFolder(17);
  GetUserAppFolder("Folian", 25, false);
  EXPECT_EQ(GetVersionForUpgrade(), -1) << "current, too old and local folders do not count";
  GetUserSupportFolder(22);
  EXPECT_EQ(GetVersionForUpgrade(), 22);
  GetUserSupportFolder(24);
  EXPECT_EQ(GetVersionForUpgrade(), 24);
  GetUserSupportFolder(18);
  EXPECT_EQ(GetVersionForUpgrade(), 24);
  EXPECT_FALSE(IsDirectory(m_roots.roaming() + "/Trelvin/Trelvin 2025/Folian"))
      << "the search creates nothing";
}

TEST_F(SupportFolders, SearchPrefersTheUserFolder) {
  const velmar_ustring user_file = m_roots.roaming() + "/Trelvin/Trelvin 2026/Folian/helpurls.json";
  const velmar_ustring common_file =
      m_roots.common() + "/Trelvin/Trelvin 2026/Folian/helpurls.json";
  MakeFile(common_file);
  EXPECT_EQ(FindSupportFile("helpurls.json"), common_file);
  MakeFile(user_file);
  EXPECT_EQ(FindSupportFile("helpurls.json"), user_file);
}

TEST_F(SupportFolders, SearchFindsNestedAndFolderQualifiedNames) {
  const velmar_ustring nested =
      m_roots.common() + "/Trelvin/Trelvin 2026/Folian/Resources/fr/strings.json";
  MakeFile(nested);
  EXPECT_EQ(FindSupportFile("strings.json"), nested);
  EXPECT_EQ(FindSupportFile("strings.json", "fr"), nested);
  EXPECT_EQ(FindSupportFile("strings.json", "Resources/fr"), nested);
  EXPECT_EQ(FindSupportFile("strings.json", "de"), velmar_ustring());
  EXPECT_EQ(FindSupportFile("fr"), m_roots.common() + "/Trelvin/Trelvin 2026/Folian/Resources/fr");
}

TEST_F(SupportFolders, MissingFileGivesEmptyAndCreatesTheFolders) {
  EXPECT_EQ(FindSupportFile("no-such-file.folian-test"), velmar_ustring());
  EXPECT_TRUE(IsDirectory(m_roots.roaming() + "/Trelvin/Trelvin 2026/Folian"));
  EXPECT_TRUE(IsDirectory(m_roots.common() + "/Trelvin/Trelvin 2026/Folian"));
}

TEST_F(SupportFolders, FindSupportFoldersAppendsOneOrNone) {
  std::vector<velmar_ustring> folders{"kept"};
  EXPECT_EQ(FindSupportFolders("absent.folian-test", folders), 0);
  EXPECT_EQ(folders, std::vector<velmar_ustring>{"kept"});
  const velmar_ustring file = m_roots.roaming() + "/Trelvin/Trelvin 2026/Folian/a/x.folian-test";
  MakeFile(file);
  MakeFile(m_roots.common() + "/Trelvin/Trelvin 2026/Folian/x.folian-test");
  EXPECT_EQ(FindSupportFolders("x.folian-test", folders), 1);
  EXPECT_EQ(folders, (std::vector<velmar_ustring>{"kept", file}));
}

TEST(ApplicationFolder, IsTheExecutablesFolder) {
  const velmar_ustring folder = GetApplicationFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(IsDirectory(folder));
  EXPECT_EQ(NormalizePath(folder), folder);
  // The test program itself is found there, which no other folder holds.
#if defined(_WIN32)
  EXPECT_TRUE(FileExists(AppendPath(folder, "folian_tests.exe")));
#else
  EXPECT_TRUE(FileExists(AppendPath(folder, "folian_tests")));
#endif
}

TEST(ApplicationFolder, TrelvinIsFoundBesideIt) {
  const velmar_ustring beside = AppendPath(GetParentFolder(GetApplicationFolder()), "Trelvin");
  const velmar_ustring executable = AppendPath(beside, "Trelvin.exe");
  if (FileExists(beside)) GTEST_SKIP() << "a Trelvin folder already sits beside the tests";
  EXPECT_EQ(PathToTrelvin(), velmar_ustring());
  struct Cleanup {
    std::filesystem::path folder;
    ~Cleanup() {
      std::error_code error;
      std::filesystem::remove_all(folder, error);
    }
  } cleanup{test::ToFsPath(beside)};
  ASSERT_TRUE(CreateDirectories(beside));
  EXPECT_EQ(PathToTrelvin(), velmar_ustring()) << "the folder alone is not the program";
  std::ofstream(test::ToFsPath(executable)) << "MZ";
  EXPECT_EQ(PathToTrelvin(), executable);
}

}  // namespace
}  // namespace folian
