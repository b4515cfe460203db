#include "base/path_split.h"

#include <gtest/gtest.h>

#include <string>

#include "FolianUtils/utf16.h"

namespace velmar::base {
namespace {

TEST(PathSplit, FolderAndNameAtTheLastSeparator) {
  const struct {
    const char* path;
    std::string_view separators;
    const char* folder;
    const char* name;
    int last;  // -1: none
  } cases[] = {{"a\\b/c.json", kPathSeparators, "a\\b", "c.json", 3},
               {"a/b\\c.json", kPathSeparators, "a/b", "c.json", 3},
               {"c.json", kPathSeparators, ".", "c.json", -1},
               {"/c.json", kPathSeparators, "/", "c.json", 0},  // the root
               {"a/", kPathSeparators, "a", "", 1},
               {"", kPathSeparators, ".", "", -1},
               {"a/b\\c.json", kPosixPathSeparators, "a", "b\\c.json", 1},  // a backslash in a name
               {"b\\c.json", kPosixPathSeparators, ".", "b\\c.json", -1}};
  for (const auto& c : cases) {
    const std::string path = c.path;
    const auto narrow = SplitPath(path, c.separators);
    EXPECT_EQ(narrow.folder, c.folder) << c.path;
    EXPECT_EQ(narrow.name, c.name) << c.path;
    const utils::utf16_string wide(path.begin(), path.end());
    const auto parts = SplitPath(wide, c.separators);
    EXPECT_EQ(std::string(parts.folder.begin(), parts.folder.end()), c.folder) << c.path;
    EXPECT_EQ(std::string(parts.name.begin(), parts.name.end()), c.name) << c.path;
    const std::size_t last = LastPathSeparator(wide, c.separators);
    EXPECT_EQ(last, c.last < 0 ? wide.npos : static_cast<std::size_t>(c.last)) << c.path;
  }
}

}  // namespace
}  // namespace velmar::base
