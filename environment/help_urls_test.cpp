#include "FolianUtils/help_urls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FolianUtils/support_folders.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;
using HelpURLsTest = test::SupportRootsTest;

// The table's own rules are tested in help_url_table_test.cpp; this is the
// shared instance and its support file.
TEST_F(HelpURLsTest, LoadReadsTheSupportFileAndKeepsItsTableOnFailure) {
  CHelpURLs& urls = CHelpURLs::Default();
  EXPECT_EQ(&urls, &CHelpURLs::Default());
  const velmar_ustring file = AppendPath(GetUserSupportFolder(), "help/helpurls.json");
  const std::pair<std::string, std::string> loads[] = {
      {R"({"topic": "{ALL_USERS}/i.html"})", GetInstallSupportFolder().ToUTF8() + "/i.html"},
      {R"({"topic": "trailing comma",})", GetInstallSupportFolder().ToUTF8() + "/i.html"},
      {R"({"topic": "{VERSION}"})", "26"},
      {"", "26"}  // no file: the last table stays
  };
  for (const auto& [text, url] : loads) {
    std::error_code error;
    std::filesystem::remove(test::ToFsPath(file), error);
    if (!text.empty()) WriteFile(file, text);
    urls.Load();
    bool isLocalFile = false;
    EXPECT_EQ(url, urls.GetURL(velmar_ustring("topic"), isLocalFile).ToUTF8()) << text;
    EXPECT_EQ(isLocalFile, url != "26") << text;
    EXPECT_EQ(url, urls.GetURL(velmar_ustring("topic")).ToUTF8()) << text;
  }
  urls.OpenURL(velmar_ustring("missing"));
}

}  // namespace
}  // namespace folian
