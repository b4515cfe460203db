#include "base/path_split.h"

#include <gtest/gtest.h>

#include <string>

#include "FolianUtils/utf16.h"

namespace velmar::base {
namespace {

TEST(PathSplit, FolderAndNameAtTheLastSeparator) {
  struct Case {
    std::string path;
    std::string_view separators;
    std::string folder;
    std::string name;
  };
  for (const Case& c :
       {Case{"a\\b/c", kPathSeparators, "a\\b", "c"}, Case{"a/b\\c", kPathSeparators, "a/b", "c"},
        Case{"c", kPathSeparators, ".", "c"}, Case{"/c", kPathSeparators, "/", "c"},
        Case{"a/", kPathSeparators, "a", ""}, Case{"", kPathSeparators, ".", ""},
        Case{"a/b\\c", kPosixPathSeparators, "a", "b\\c"}}) {
    const auto narrow = SplitPath(c.path, c.separators);
    EXPECT_EQ(narrow.folder, c.folder) << c.path;
    EXPECT_EQ(narrow.name, c.name) << c.path;
    const utils::utf16_string wide(c.path.begin(), c.path.end());
    const auto parts = SplitPath(wide, c.separators);
    EXPECT_EQ(std::string(parts.folder.begin(), parts.folder.end()), c.folder) << c.path;
    const std::size_t last = c.folder == "." ? wide.npos : c.path.size() - c.name.size() - 1;
    EXPECT_EQ(LastPathSeparator(wide, c.separators), last) << c.path;
  }
}

}  // namespace
}  // namespace velmar::base
