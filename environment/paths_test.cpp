#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "environment/paths_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

struct PathCase {
  std::string input;
  std::string expected;
};

TEST(NormalizePath, Table) {
  const PathCase cases[] = {
      {"", ""},
      {"C:\\Users\\x\\", "C:/Users/x"},
      {"C:\\", "C:/"},
      {"C:/", "C:/"},
      {"C:", "C:"},
      {"\\\\server\\share\\a", "//server/share/a"},
      {"a//b", "a/b"},
      {"a///b", "a//b"},
      {"a////b", "a//b"},
      {"C:/a?b|c", "C:/a_b_c"},
      {"C:/a<b>c*d\"e:f", "C:/a_b_c_d_e_f"},
      {"C:/Data/", "C:/Data"},
      {"C:/Data//", "C:/Data"},
      {"x", "x"},
      {"/", ""},
      {"//", "/"},
      {"/home/user/", "/home/user"},
      {"http://host//a:b", "http://host/a_b"},
      {"file:///C:/a", "file:///C_/a"},
      {"file://:x", "file://_x"},
      {"smb://server/share", "smb://server/share"},
      {"ms-appx:///Assets//x", "ms-appx:///Assets/x"},
      {"a\tb\x01", "a_b_"},
      {"?a", "?a"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(NormalizePath(c.input.c_str()).ToUTF8(), c.expected) << "input: " << c.input;
  }
  for (const char* path : {"C:\\a\\\\b\\", "//server//x", "a:b:c", "C:/x/y?", "http://a//b//"}) {
    const velmar_ustring once = NormalizePath(path);
    EXPECT_EQ(NormalizePath(once), once) << path;  // idempotent on these
  }
}

TEST(AppendPath, Table) {
  const struct {
    const char* base;
    const char* relative;
    const char* expected;
  } cases[] = {
      {"C:/a/", "/b", "C:/a/b"},
      {"C:/a", "b", "C:/a/b"},
      {"C:\\a\\", "\\b\\c", "C:/a/b/c"},
      {"", "x\\y", "x/y"},
      {"", "", ""},
      {"C:/a", "", "C:/a"},
      {"C:/a", "//b", "C:/a/b"},
      {"C:/", "Trelvin", "C:/Trelvin"},
      {"/home", "x?y", "/home/x_y"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AppendPath(c.base, c.relative).ToUTF8(), c.expected)
        << "base: " << c.base << " relative: " << c.relative;
  }
}

TEST(GetParentFolder, Table) {
  const PathCase cases[] = {
      {"C:/Program Files/App/App.exe", "C:/Program Files/App"},
      {"C:/a/b", "C:/a"},
      {"C:\\a\\b", "C:/a"},
      {"C:/a", "C:/"},
      {"C:/", "C:/"},
      {"C:", "C:"},
      {"/home/user", "/home"},
      {"/home", ""},
      {"name", ""},
      {"", ""},
      {"C:/" + std::string(253, 'd') + "/file", "C:/" + std::string(253, 'd')},  // 255 at most
      {"C:/" + std::string(254, 'd') + "/file", ""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(GetParentFolder(c.input.c_str()).ToUTF8(), c.expected) << "input: " << c.input;
  }
}

class PathsOnDisk : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_folder.ok()); }
  velmar_ustring Path(const char* relative) const { return AppendPath(m_folder.upath(), relative); }
  void MakeFile(const char* relative) const {
    std::ofstream(test::ToFsPath(Path(relative))) << "x";
  }
  test::TemporaryFolder m_folder;
};

TEST_F(PathsOnDisk, ExistenceQueries) {
  MakeFile("file.txt");
  EXPECT_TRUE(FileExists(Path("file.txt")));
  EXPECT_FALSE(IsDirectory(Path("file.txt")));
  EXPECT_TRUE(FileExists(m_folder.upath()));
  EXPECT_TRUE(IsDirectory(m_folder.upath()));
  EXPECT_FALSE(FileExists(Path("missing")));
  EXPECT_FALSE(IsDirectory(Path("missing")));
  EXPECT_FALSE(IsDirectory(Path("file.txt/below")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(IsDirectory(""));
  velmar_ustring with_null = m_folder.upath();
  with_null += velmar::utils::utf16_unit(0);
  with_null += VELMAR_U("x");
  EXPECT_FALSE(IsDirectory(with_null));
  EXPECT_FALSE(FileExists(with_null));
}

TEST_F(PathsOnDisk, CreateDirectoriesMakesMissingAncestors) {
  const velmar_ustring deep = Path("a/b/c/d");
  EXPECT_TRUE(CreateDirectories(deep));
  EXPECT_TRUE(IsDirectory(deep));
  EXPECT_TRUE(CreateDirectories(deep));
  EXPECT_TRUE(CreateDirectories(Path("a\\b\\e\\")));
  EXPECT_TRUE(IsDirectory(Path("a/b/e")));
  EXPECT_FALSE(CreateDirectories(""));
  MakeFile("file.txt");
  EXPECT_FALSE(CreateDirectories(Path("file.txt/below")));
  EXPECT_FALSE(CreateDirectories(Path("file.txt")));
}

#if !defined(_WIN32)
// Link loops need symbolic links, which Windows grants only to some users.
using LinuxPathsOnDisk = PathsOnDisk;

TEST_F(LinuxPathsOnDisk, StatusFailureOtherThanMissingIsRaised) {
  std::error_code error;
  std::filesystem::create_symlink("loop2", m_folder.path() / "loop1", error);
  std::filesystem::create_symlink("loop1", m_folder.path() / "loop2", error);
  ASSERT_FALSE(error);
  EXPECT_FALSE(FileExists(Path("loop1")));
  try {
    IsDirectory(Path("loop1"));
    ADD_FAILURE() << "a link loop must raise";
  } catch (const std::filesystem::filesystem_error& e) {
    EXPECT_NE(std::string(e.what()).find("status"), std::string::npos) << e.what();
    EXPECT_EQ(e.code(), std::errc::too_many_symbolic_link_levels);
  }
  EXPECT_THROW(CreateDirectories(Path("loop1/x")), std::filesystem::filesystem_error);
}
#endif

TEST_F(PathsOnDisk, RecursiveSearchGoesDepthFirstAndNamesTheMatch) {
  velmar_ustring found = "unchanged";
  EXPECT_FALSE(FindFileRecursive(m_folder.upath(), "target.json", found));
  EXPECT_EQ(found, "unchanged");

  ASSERT_TRUE(CreateDirectories(Path("one/two/three")));
  MakeFile("one/two/three/target.json");
  ASSERT_TRUE(FindFileRecursive(m_folder.upath(), "target.json", found));
  EXPECT_EQ(found, Path("one/two/three/target.json"));

  // A match at a shallower level of the same branch is found first.
  MakeFile("one/target.json");
  ASSERT_TRUE(FindFileRecursive(m_folder.upath(), "target.json", found));
  EXPECT_EQ(found, Path("one/target.json"));

  // A name with a folder part matches below any level; folders match too.
  ASSERT_TRUE(FindFileRecursive(m_folder.upath(), "three/target.json", found));
  EXPECT_EQ(found, Path("one/two/three/target.json"));
  ASSERT_TRUE(FindFileRecursive(m_folder.upath(), "three", found));
  EXPECT_EQ(found, Path("one/two/three"));

  // A file that shares the name of a searched folder is not descended into.
  EXPECT_FALSE(FindFileRecursive(Path("one/target.json"), "x", found));
  EXPECT_FALSE(FindFileRecursive(Path("missing"), "target.json", found));
}

TEST_F(PathsOnDisk, RecursiveSearchEndsOnLinkCycles) {
  ASSERT_TRUE(CreateDirectories(Path("a/b")));
  std::error_code error;
  std::filesystem::create_directory_symlink(m_folder.path(), m_folder.path() / "a" / "b" / "up",
                                            error);
  std::filesystem::create_directory_symlink(m_folder.path() / "a", m_folder.path() / "a" / "again",
                                            error);
  if (error) GTEST_SKIP() << "folder links unavailable: " << error.message();
  velmar_ustring found;
  EXPECT_FALSE(FindFileRecursive(m_folder.upath(), "nowhere.txt", found));
  MakeFile("a/b/deep.txt");
  ASSERT_TRUE(FindFileRecursive(m_folder.upath(), "deep.txt", found));
  EXPECT_EQ(found, Path("a/b/deep.txt"));
}

TEST_F(PathsOnDisk, RecursiveSearchSkipsUnreadableFolders) {
  ASSERT_TRUE(CreateDirectories(Path("closed/inner")));
  ASSERT_TRUE(CreateDirectories(Path("open")));
  MakeFile("closed/inner/x.txt");
  MakeFile("open/y.txt");
  std::error_code error;
  std::filesystem::permissions(m_folder.path() / "closed", std::filesystem::perms::none, error);
  velmar_ustring found;
  ASSERT_TRUE(FindFileRecursive(m_folder.upath(), "y.txt", found));
  EXPECT_EQ(found, Path("open/y.txt"));
  const bool still_readable = std::filesystem::exists(m_folder.path() / "closed" / "inner", error);
  if (still_readable) GTEST_SKIP() << "permissions do not restrict this user";
  EXPECT_FALSE(FindFileRecursive(m_folder.upath(), "x.txt", found));
}

}  // namespace
}  // namespace folian
