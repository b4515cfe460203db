#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <tuple>

#include "environment/paths_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

TEST(Paths, NormalizeAppendAndParent) {
  const std::string long_folder = "C:/" + std::string(253, 'd');  // 255 units with the "/"
  const std::pair<velmar_ustring, std::string> cases[] = {
      {NormalizePath("C:\\Users\\x\\"), "C:/Users/x"},
      {NormalizePath("C:\\"), "C:/"},
      {NormalizePath("\\\\server\\share"), "//server/share"},
      {NormalizePath("a//b////c"), "a/b//c"},
      {NormalizePath("C:/a<b>c*d\"e:f?g|h"), "C:/a_b_c_d_e_f_g_h"},
      {NormalizePath("?a\tb\x1F c"), "?a_b_ c"},
      {NormalizePath("/"), ""},
      {NormalizePath("http://host//a:b"), "http://host/a_b"},
      {NormalizePath("file://:x"), "file://_x"},
      {NormalizePath("smb://server//share:"), "smb://server/share_"},
      {NormalizePath("ms-appx:///Assets//x"), "ms-appx:///Assets/x"},
      {AppendPath("C:\\a\\", "\\b\\c"), "C:/a/b/c"},
      {AppendPath("C:/a", "b?"), "C:/a/b_"},
      {AppendPath("", "x\\y"), "x/y"},
      {GetParentFolder("C:\\a\\b"), "C:/a"},
      {GetParentFolder("C:/a"), "C:/"},
      {GetParentFolder("C:"), "C:"},
      {GetParentFolder("/home"), ""},
      {GetParentFolder(velmar_ustring(long_folder + "/file")), long_folder},
      {GetParentFolder(velmar_ustring(long_folder + "d/file")), ""},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got.ToUTF8(), expected);
}

using PathsOnDisk = test::TemporaryFolderTest;

TEST_F(PathsOnDisk, ExistenceQueriesAndCreation) {
  const std::tuple<velmar_ustring, bool, bool, bool> cases[] = {
      {MakeFile("file.txt"), true, false, false},    {m_folder.upath(), true, true, true},
      {Path("file.txt/below"), false, false, false}, {"", false, false, false},
      {Path("a\\b\\c\\"), false, false, true},
  };
  for (const auto& [path, exists, folder, created] : cases) {
    EXPECT_EQ(FileExists(path), exists) << path;
    EXPECT_EQ(IsDirectory(path), folder) << path;
    EXPECT_EQ(CreateDirectories(path), created) << path;
    EXPECT_EQ(IsDirectory(path), created) << path;
  }
  velmar_ustring with_null = m_folder.upath();
  with_null += velmar::utils::utf16_unit(0);
  EXPECT_FALSE(IsDirectory(with_null) || FileExists(with_null));
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

TEST_F(PathsOnDisk, RecursiveSearchGoesDepthFirstAndSkipsUnreadableFolders) {
  // make: made before the search
  // expected: null when not found
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"closed/x.txt", "target.json", nullptr},
      {"one/two/three/target.json", "target.json", "one/two/three/target.json"},
      {"one/target.json", "target.json", "one/target.json"},  // shallower first
      {"", "three/target.json", "one/two/three/target.json"},
      {"", "three", "one/two/three"},
  };
  velmar_ustring found = "unchanged";
  for (const auto& [make, name, expected] : cases) {
    if (*make != 0) MakeFile(make);
    EXPECT_EQ(FindFileRecursive(m_folder.upath(), name, found), expected != nullptr) << name;
    EXPECT_EQ(found, expected != nullptr ? Path(expected) : "unchanged");
  }
  // A file is not searched as a folder.
  EXPECT_FALSE(FindFileRecursive(Path("one/target.json"), "x", found));
  EXPECT_FALSE(FindFileRecursive(Path("missing"), "target.json", found));
  std::filesystem::permissions(m_folder.path() / "closed", std::filesystem::perms::none);
  std::error_code error;
  const bool restricted = !std::filesystem::exists(m_folder.path() / "closed" / "x.txt", error);
  EXPECT_EQ(FindFileRecursive(m_folder.upath(), "x.txt", found), !restricted);
  EXPECT_TRUE(FindFileRecursive(m_folder.upath(), "three", found));
  std::filesystem::permissions(m_folder.path() / "closed", std::filesystem::perms::owner_all);
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
  EXPECT_TRUE(FindFileRecursive(Path("a"), "deep.txt", found));
  EXPECT_EQ(found, Path("a/b/deep.txt"));
  EXPECT_TRUE(FindFileRecursive(Path("a"), "linked.txt", found));
  EXPECT_EQ(found, Path("a/link/linked.txt"));
}

}  // namespace
}  // namespace folian
