#include <gtest/gtest.h>

#include <filesystem>
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
  const PathCase cases[] = {{"", ""},
                            {"C:\\Users\\x\\", "C:/Users/x"},
                            {"C:\\", "C:/"},
                            {"C:", "C:"},
                            {"\\\\server\\share\\a", "//server/share/a"},
                            {"a//b////c", "a/b//c"},
                            {"C:/a<b>c*d\"e:f?g|h", "C:/a_b_c_d_e_f_g_h"},
                            {"/", ""},
                            {"//", "/"},
                            {"http://host//a:b", "http://host/a_b"},
                            {"file://:x", "file://_x"},
                            {"smb://server//share:", "smb://server/share_"},
                            {"ms-appx:///Assets//x", "ms-appx:///Assets/x"},
                            {"?a\tb\x1F c", "?a_b_ c"}};
  for (const PathCase& c : cases) {
    EXPECT_EQ(NormalizePath(c.input.c_str()).ToUTF8(), c.expected) << "input: " << c.input;
  }
}

TEST(AppendPath, Table) {
  const struct {
    const char* base;
    const char* relative;
    const char* expected;
  } cases[] = {{"C:\\a\\", "\\b\\c", "C:/a/b/c"},
               {"C:/a", "b", "C:/a/b"},
               {"", "x\\y", "x/y"},
               {"C:/a", "", "C:/a"},
               {"C:/a", "//b", "C:/a/b"},
               {"/home", "x?y", "/home/x_y"}};
  for (const auto& c : cases) {
    EXPECT_EQ(AppendPath(c.base, c.relative).ToUTF8(), c.expected) << c.base << " " << c.relative;
  }
}

TEST(GetParentFolder, Table) {
  const PathCase cases[] = {
      {"C:\\a\\b", "C:/a"},
      {"C:/a", "C:/"},
      {"C:", "C:"},
      {"/home/user", "/home"},
      {"/home", ""},
      {"name", ""},
      {"C:/" + std::string(253, 'd') + "/file", "C:/" + std::string(253, 'd')},  // 255 at most
      {"C:/" + std::string(254, 'd') + "/file", ""}};
  for (const PathCase& c : cases) {
    EXPECT_EQ(GetParentFolder(c.input.c_str()).ToUTF8(), c.expected) << "input: " << c.input;
  }
}

using PathsOnDisk = test::TemporaryFolderTest;

TEST_F(PathsOnDisk, ExistenceQueriesAndCreation) {
  const struct {
    velmar_ustring path;
    bool exists;
    bool folder;
    bool created;
  } cases[] = {{MakeFile("file.txt"), true, false, false},
               {m_folder.upath(), true, true, true},
               {Path("file.txt/below"), false, false, false},
               {"", false, false, false},
               {Path("a\\b\\c\\"), false, false, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
    EXPECT_EQ(IsDirectory(c.path), c.folder) << c.path;
    EXPECT_EQ(CreateDirectories(c.path), c.created) << c.path;
    EXPECT_EQ(IsDirectory(c.path), c.created) << c.path;
  }
  velmar_ustring with_null = m_folder.upath();
  with_null += velmar::utils::utf16_unit(0);
  EXPECT_FALSE(IsDirectory(with_null));
  EXPECT_FALSE(FileExists(with_null));
}

#if !defined(_WIN32)
// Link loops need symbolic links, which Windows grants only to some users.
using LinuxPathsOnDisk = test::TemporaryFolderTest;

TEST_F(LinuxPathsOnDisk, StatusFailureOtherThanMissingIsRaised) {
  std::filesystem::create_symlink("loop", m_folder.path() / "loop");
  EXPECT_FALSE(FileExists(Path("loop")));
  try {
    IsDirectory(Path("loop"));
    ADD_FAILURE() << "a link loop must raise";
  } catch (const std::filesystem::filesystem_error& e) {
    EXPECT_EQ(e.code(), std::errc::too_many_symbolic_link_levels) << e.what();
    EXPECT_NE(std::string(e.what()).find("status"), std::string::npos) << e.what();
  }
  EXPECT_THROW(CreateDirectories(Path("loop/x")), std::filesystem::filesystem_error);
}
#endif

TEST_F(PathsOnDisk, RecursiveSearchGoesDepthFirstAndNamesTheMatch) {
  velmar_ustring found = "unchanged";
  EXPECT_FALSE(FindFileRecursive(m_folder.upath(), "target.json", found));
  EXPECT_EQ(found, "unchanged");
  const struct {
    const char* make;  // made before the search
    const char* name;
    const char* found;
  } cases[] = {{"one/two/three/target.json", "target.json", "one/two/three/target.json"},
               {"one/target.json", "target.json", "one/target.json"},  // shallower first
               {"", "three/target.json", "one/two/three/target.json"},
               {"", "three", "one/two/three"}};
  for (const auto& c : cases) {
    if (*c.make != 0) MakeFile(c.make);
    ASSERT_TRUE(FindFileRecursive(m_folder.upath(), c.name, found)) << c.name;
    EXPECT_EQ(found, Path(c.found));
  }
  // A file is not searched as a folder.
  EXPECT_FALSE(FindFileRecursive(Path("one/target.json"), "x", found));
  EXPECT_FALSE(FindFileRecursive(Path("missing"), "target.json", found));
}

// Folder links are followed, and each real folder is listed once.
TEST_F(PathsOnDisk, RecursiveSearchFollowsLinksAndEndsOnCycles) {
  MakeFile("a/b/deep.txt");
  MakeFile("elsewhere/linked.txt");
  const std::filesystem::path root = m_folder.path() / "a";
  std::error_code error;
  std::filesystem::create_directory_symlink(root, root / "b" / "up", error);
  std::filesystem::create_directory_symlink(root, root / "again", error);
  std::filesystem::create_directory_symlink(m_folder.path() / "elsewhere", root / "link", error);
  if (error) GTEST_SKIP() << "folder links unavailable: " << error.message();
  velmar_ustring found;
  EXPECT_FALSE(FindFileRecursive(Path("a"), "nowhere.txt", found));
  ASSERT_TRUE(FindFileRecursive(Path("a"), "deep.txt", found));
  EXPECT_EQ(found, Path("a/b/deep.txt"));
  ASSERT_TRUE(FindFileRecursive(Path("a"), "linked.txt", found));
  EXPECT_EQ(found, Path("a/link/linked.txt"));
}

TEST_F(PathsOnDisk, RecursiveSearchSkipsUnreadableFolders) {
  MakeFile("closed/inner/x.txt");
  const std::filesystem::path closed = m_folder.path() / "closed";
  std::filesystem::permissions(closed, std::filesystem::perms::none);
  std::error_code error;
  const bool restricted = !std::filesystem::exists(closed / "inner", error);
  velmar_ustring found;
  EXPECT_EQ(FindFileRecursive(m_folder.upath(), "x.txt", found), !restricted);
  MakeFile("open/y.txt");
  EXPECT_TRUE(FindFileRecursive(m_folder.upath(), "y.txt", found));
  std::filesystem::permissions(closed, std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace folian
