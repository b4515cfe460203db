#include "FolianUtils/help_urls.h"

#include <gtest/gtest.h>

#include "FolianUtils/support_folders.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;
using HelpURLsTest = test::SupportRootsTest;

// The table's own rules are tested in help_url_table_test.cpp; this is the
// shared instance and its support file, whose table a failed load keeps.
TEST_F(HelpURLsTest, LoadReadsTheSupportFile) {
  CHelpURLs& urls = CHelpURLs::Default();
  const velmar_ustring file = AppendPath(GetUserSupportFolder(), "help/helpurls.json");
  const velmar_ustring local = GetInstallSupportFolder() + "/i.html";
  for (const char* text : {R"({"topic": "{ALL_USERS}/i.html"})", "", R"({"topic": "comma",})"}) {
    WriteFile(file, text);
    urls.Load();
    bool isLocalFile = false;
    EXPECT_EQ(urls.GetURL(velmar_ustring("topic"), isLocalFile), local) << text;
    EXPECT_TRUE(isLocalFile);
  }
  WriteFile(file, R"({"other": "{VERSION}"})");
  urls.Load();
  EXPECT_EQ(urls.GetURL(velmar_ustring("other")), "26");
  EXPECT_EQ(&urls, &CHelpURLs::Default());
}

}  // namespace
}  // namespace folian
