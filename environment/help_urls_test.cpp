#include "FolianUtils/help_urls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FolianUtils/culture.h"
#include "FolianUtils/support_folders.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

TEST(HelpURLsTest, DefaultIsOneInstance) {
  CHelpURLs& first = CHelpURLs::Default();
  EXPECT_EQ(&first, &CHelpURLs::Default());
}

TEST(HelpURLsTest, LoadReadsTheSupportFileAndKeepsItsTableOnFailure) {
  // The culture is decided before the support folders move, as it would be
  // in the application.
  const std::string web_code = GetFolianWebCode().ToUTF8();
  const test::ScopedSupportRoots roots;
  if (!roots.usable()) GTEST_SKIP() << "the support folders cannot be redirected here";
  const std::filesystem::path help = test::ToFsPath(GetUserSupportFolder()) / "help";
  std::filesystem::create_directories(help);
  const std::filesystem::path file = help / "helpurls.json";
  std::ofstream(file) << R"({"topic": "https://h.invalid/{KWS_CULTURE}/{VERSION}",
                             "local": "{ALL_USERS}/i.html"})";

  CHelpURLs& urls = CHelpURLs::Default();
  urls.Load();
  const std::string topic_url = "https://h.invalid/" + web_code + "/26";
  EXPECT_EQ(topic_url, urls.GetURL(velmar_ustring("topic")).ToUTF8());
  bool isLocalFile = false;
  EXPECT_EQ(GetInstallSupportFolder().ToUTF8() + "/i.html",
            urls.GetURL(velmar_ustring("local"), isLocalFile).ToUTF8());
  EXPECT_TRUE(isLocalFile);
  EXPECT_EQ("", urls.GetURL(velmar_ustring("missing")).ToUTF8());
  urls.OpenURL(velmar_ustring("missing"));

  std::ofstream(file) << R"({"topic": "trailing comma",})";
  urls.Load();
  EXPECT_EQ(topic_url, urls.GetURL(velmar_ustring("topic")).ToUTF8());

  std::ofstream(file) << R"({"other": "x"})";
  urls.Load();
  EXPECT_EQ("", urls.GetURL(velmar_ustring("topic")).ToUTF8());
  EXPECT_EQ("x", urls.GetURL(velmar_ustring("other")).ToUTF8());

  // Found nowhere: the last table stays.
  std::filesystem::remove(file);
  urls.Load();
  EXPECT_EQ("x", urls.GetURL(velmar_ustring("other")).ToUTF8());
}

}  // namespace
}  // namespace folian
