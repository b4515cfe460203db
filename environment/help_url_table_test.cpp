#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FolianUtils/help_urls.h"
#include "FolianUtils/support_folders.h"
#include "environment/help_url_table_internal.h"
#include "environment/support_folders_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

class HelpURLTableTest : public test::SupportRootsTest {
 protected:
  HelpURLTableTest() : table([this](const velmar_ustring& url) { opened.push_back(url); }) {}

  // For addresses without folder placeholders.
  std::string Lookup(const std::string& key) {
    bool isLocalFile = false;
    const std::string url = table.GetURL(velmar_ustring(key), isLocalFile).ToUTF8();
    EXPECT_FALSE(isLocalFile) << key;
    return url;
  }

  std::vector<velmar_ustring> opened;
  HelpURLTable table;
};

// The first member of the name counts, when it is a string.
TEST_F(HelpURLTableTest, FillsPlaceholdersAndSetsTheLocalFileFlag) {
  ASSERT_TRUE(
      table.Parse(R"({"p": "{PLATFORM}-{VERSION}-{KWS_CULTURE}", "twice": "{VERSION}/{VERSION}",
      "lower": "{version}", "braces": "{{VERSION}}", "all": "{ALL_USERS}/a|{ALL_USERS}/b",
      "install": "{INSTALL_DIR}/i", "number": 5, "dup": "first", "dup": "second", "dup2": 1,
      "dup2": "second", "Key": "upper", "a\u0000b": "nul", "\u00e9": "escaped"})"));
  const std::string all_users = GetInstallSupportFolder().ToUTF8();
  const std::tuple<std::string, bool, std::string, bool> cases[] = {
      {"p", false, "win-26-" + m_web_code.ToUTF8(), false},
      {"twice", true, "26/26", true},
      {"lower", false, "{version}", false},
      {"braces", false, "{26}", false},
      {"all", false, all_users + "/a|" + all_users + "/b", true},
      {"install", false, GetApplicationFolder().ToUTF8() + "/i", true},
      {"number", false, "", false},
      {"missing", true, "", true},
      {"dup", false, "first", false},
      {"dup2", false, "", false},
      {"key", false, "", false},
      {"a", false, "", false},
      {std::string("a\0b", 3), false, "nul", false},
      {"\xC3\xA9", false, "escaped", false}};
  for (const auto& [key, flag_before, url, flag_after] : cases) {
    bool isLocalFile = flag_before;
    EXPECT_EQ(url, table.GetURL(velmar_ustring(key), isLocalFile).ToUTF8()) << key;
    EXPECT_EQ(flag_after, isLocalFile) << key;
  }
}

TEST_F(HelpURLTableTest, LoadsStrictJsonAndKeepsTheTableOnFailure) {
  EXPECT_TRUE(table.LoadFile(MakeFile("helpurls.json", R"({"a": "file {VERSION}"})")));
  EXPECT_EQ("file 26", Lookup("a"));
  std::string big = "{\"a\": \"big\"}";
  big.resize(HelpURLTable::kMaxFileSize + 1, ' ');
  const velmar_ustring failing[] = {
      velmar_ustring(),
      Path("missing.json"),
      m_folder.upath(),
      MakeFile("bom.json", "\xEF\xBB\xBF{}"),
      MakeFile("not-utf8.json", "{\"a\": \"\xFF\"}"),
      MakeFile("comma.json", "{\"a\": \"comma\",}"),
      MakeFile("two.json", "{} {}"),
      MakeFile("nul.json", std::string("{}\0", 3)),
      MakeFile("deep.json", std::string(200000, '[')),
      MakeFile("big.json", big),
  };
  for (const velmar_ustring& path : failing) {
    EXPECT_FALSE(table.LoadFile(path)) << path;
    EXPECT_EQ("file 26", Lookup("a"));
  }
  big.pop_back();
  EXPECT_TRUE(table.LoadFile(MakeFile("big.json", big)));
  EXPECT_EQ("big", Lookup("a"));
  // Deep nesting parses; a root that is not an object answers nothing.
  const std::string nested = std::string(200000, '[') + std::string(200000, ']');
  EXPECT_TRUE(table.Parse("{\"deep\": " + nested + ", \"b\": \"\xC3\xA9t\xC3\xA9\"}"));
  EXPECT_EQ("", Lookup("a"));
  EXPECT_EQ("\xC3\xA9t\xC3\xA9", Lookup("b"));
  EXPECT_TRUE(table.Parse("\"b\""));
  EXPECT_EQ("", Lookup("b"));
}

TEST_F(HelpURLTableTest, OpensOnlyAddressesThatExist) {
  table.OpenURL(velmar_ustring("a"));  // a fresh table knows nothing
  ASSERT_TRUE(table.Parse(R"({"a": "https://h.invalid/{VERSION}", "n": 1, "e": ""})"));
  for (const char* key : {"missing", "n", "e", ""}) table.OpenURL(velmar_ustring(key));
  EXPECT_TRUE(opened.empty());
  table.OpenURL(velmar_ustring("a"));
  EXPECT_EQ(opened, std::vector<velmar_ustring>{velmar_ustring("https://h.invalid/26")});
}

// The shared instance reads the support file; a failed load keeps its table.
TEST_F(HelpURLTableTest, TheSharedTableReadsTheSupportFile) {
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
