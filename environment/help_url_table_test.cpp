#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FolianUtils/culture.h"
#include "FolianUtils/support_folders.h"
#include "environment/help_url_table_internal.h"
#include "environment/support_folders_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

velmar_ustring U(const std::string& utf8) { return velmar_ustring(utf8); }

class HelpURLTableTest : public ::testing::Test {
 protected:
  HelpURLTableTest() : table([this](const velmar_ustring& url) { opened.push_back(url); }) {}

  void SetUp() override {
    ASSERT_TRUE(folder_owner.ok());
    if (!roots.usable()) GTEST_SKIP() << "the support folders cannot be redirected here";
  }

  velmar_ustring WriteFile(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return velmar_ustring(path.u8string());
  }

  // For addresses without folder placeholders.
  std::string Lookup(const std::string& key) {
    bool isLocalFile = false;
    const std::string url = table.GetURL(U(key), isLocalFile).ToUTF8();
    EXPECT_FALSE(isLocalFile) << key;
    return url;
  }

  // The culture is decided before the support folders move, as it would be
  // in the application.
  const velmar_ustring web_code = GetFolianWebCode();
  test::ScopedSupportRoots roots;
  test::TemporaryFolder folder_owner;
  const std::filesystem::path& folder = folder_owner.path();
  std::vector<velmar_ustring> opened;
  HelpURLTable table;
};

TEST_F(HelpURLTableTest, FillsPlaceholdersInOrder) {
  ASSERT_TRUE(table.Parse(R"({"a": "{PLATFORM}-{VERSION}-{KWS_CULTURE}",
      "twice": "{VERSION}/{VERSION}", "lower": "{version}", "open": "{PLATFORM",
      "braces": "{{VERSION}}", "other": "{HELP}", "plain": "https://example.invalid/x?y=1"})"));
  EXPECT_EQ("win-26-" + web_code.ToUTF8(), Lookup("a"));
  if (GetCulture() == U("en-US")) {
    EXPECT_EQ("win-26-en", Lookup("a"));
  }
  EXPECT_EQ("26/26", Lookup("twice"));
  EXPECT_EQ("{version}", Lookup("lower"));
  EXPECT_EQ("{PLATFORM", Lookup("open"));
  EXPECT_EQ("{26}", Lookup("braces"));
  EXPECT_EQ("{HELP}", Lookup("other"));
  EXPECT_EQ("https://example.invalid/x?y=1", Lookup("plain"));
}

TEST_F(HelpURLTableTest, FolderPlaceholdersSetTheLocalFileFlag) {
  ASSERT_TRUE(table.Parse(R"({"all": "{ALL_USERS}/a|{ALL_USERS}/b",
      "install": "{INSTALL_DIR}/help/index.html", "web": "https://h.invalid/{KWS_CULTURE}",
      "empty": ""})"));
  const std::string all_users = GetInstallSupportFolder().ToUTF8();
  const std::string install_dir = GetApplicationFolder().ToUTF8();
  const struct {
    const char* key;
    bool flag_before;
    std::string url;
    bool flag_after;
  } cases[] = {
      {"all", false, all_users + "/a|" + all_users + "/b", true},
      {"install", false, install_dir + "/help/index.html", true},
      {"web", false, "https://h.invalid/" + web_code.ToUTF8(), false},
      {"web", true, "https://h.invalid/" + web_code.ToUTF8(), true},
      {"all", true, all_users + "/a|" + all_users + "/b", true},
      {"empty", false, "", false},
      {"empty", true, "", true},
      {"missing", true, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + (c.flag_before ? " set" : " clear"));
    bool isLocalFile = c.flag_before;
    EXPECT_EQ(c.url, table.GetURL(U(c.key), isLocalFile).ToUTF8());
    EXPECT_EQ(c.flag_after, isLocalFile);
  }
}

TEST_F(HelpURLTableTest, OnlyStringMembersAreAddresses) {
  ASSERT_TRUE(table.Parse(R"({"number": 5, "object": {"number": "x"}, "array": ["x"],
      "null": null, "true": true, "dup": "first", "dup": "second",
      "dup2": 1, "dup2": "second", "Key": "upper", "größe": "umlaut",
      "a\u0000b": "nul", "\u00e9": "escaped"})"));
  const struct {
    std::string key;
    std::string url;
  } cases[] = {
      {"number", ""},   {"object", ""},      {"array", ""}, {"null", ""},
      {"true", ""},     {"dup", "first"},    {"dup2", ""},  {"key", ""},
      {"Key", "upper"}, {"größe", "umlaut"}, {"a", ""},     {std::string("a\0b", 3), "nul"},
      {"é", "escaped"}, {"missing", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    bool isLocalFile = true;
    EXPECT_EQ(c.url, table.GetURL(U(c.key), isLocalFile).ToUTF8());
    EXPECT_TRUE(isLocalFile);
  }
}

TEST_F(HelpURLTableTest, RejectsTextThatIsNotStrictJson) {
  ASSERT_TRUE(table.Parse(R"({"a": "kept"})"));
  const std::string rejected[] = {
      "",
      "   ",
      "\xEF\xBB\xBF{\"a\": \"bom\"}",
      "{\"a\": \"comment\"} // note",
      "/* note */ {\"a\": \"comment\"}",
      "{\"a\": \"comma\",}",
      "{'a': 'single'}",
      "{\"a\": NaN}",
      "{\"a\": \"x\"} {\"b\": \"y\"}",
      "{\"a\": \"unterminated}",
      std::string("{\"a\": \"nul\"}\0 junk", 19),
      "{\"a\": \"\\uD800\"}",
      std::string(200000, '['),
      std::string(200000, '{'),
  };
  for (const std::string& text : rejected) {
    SCOPED_TRACE(text.substr(0, 40));
    EXPECT_FALSE(table.Parse(text));
    EXPECT_EQ("kept", Lookup("a"));
  }
}

TEST_F(HelpURLTableTest, DeepButValidDocumentsParse) {
  const int depth = 200000;
  const std::string nested = std::string(depth, '[') + std::string(depth, ']');
  EXPECT_TRUE(table.Parse("{\"deep\": " + nested + ", \"a\": \"x\"}"));
  EXPECT_EQ("x", Lookup("a"));
  EXPECT_EQ("", Lookup("deep"));
  // A root that is not an object replaces the table but answers nothing.
  EXPECT_TRUE(table.Parse(nested));
  EXPECT_EQ("", Lookup("a"));
  EXPECT_TRUE(table.Parse("\"a\""));
  EXPECT_EQ("", Lookup("a"));
}

TEST_F(HelpURLTableTest, LoadsFilesAndKeepsTheTableOnFailure) {
  EXPECT_TRUE(table.LoadFile(WriteFile("helpurls.json", R"({"a": "file {VERSION}"})")));
  EXPECT_EQ("file 26", Lookup("a"));

  const velmar_ustring failing[] = {
      velmar_ustring(),
      velmar_ustring((folder / "missing.json").u8string()),
      velmar_ustring(folder.u8string()),
      WriteFile("bad-utf8.json", "{\"a\": \"\xFF\"}"),
      WriteFile("bom.json", "\xEF\xBB\xBF{\"a\": \"bom\"}"),
      WriteFile("empty.json", ""),
      WriteFile("trailing.json", "{\"a\": \"comma\",}"),
  };
  for (const velmar_ustring& path : failing) {
    SCOPED_TRACE(path.ToUTF8());
    EXPECT_FALSE(table.LoadFile(path));
    EXPECT_EQ("file 26", Lookup("a"));
  }

  EXPECT_TRUE(table.LoadFile(WriteFile("second.json", "{\"b\": \"\xC3\xA9t\xC3\xA9\"}")));
  EXPECT_EQ("", Lookup("a"));
  EXPECT_EQ("été", Lookup("b"));
}

TEST_F(HelpURLTableTest, OversizedFilesAreNotRead) {
  std::string text = "{\"a\": \"big\"}";
  text.resize(HelpURLTable::kMaxFileSize + 1, ' ');
  EXPECT_FALSE(table.LoadFile(WriteFile("big.json", text)));
  text.resize(HelpURLTable::kMaxFileSize);
  EXPECT_TRUE(table.LoadFile(WriteFile("big.json", text)));
  EXPECT_EQ("big", Lookup("a"));
}

TEST_F(HelpURLTableTest, OpensOnlyAddressesThatExist) {
  table.OpenURL(U("a"));  // a fresh table knows nothing
  for (const char* key : {"a", ""}) EXPECT_EQ("", Lookup(key));
  ASSERT_TRUE(table.Parse(R"({"a": "https://h.invalid/{VERSION}", "n": 1, "e": ""})"));
  for (const char* key : {"missing", "n", "e", ""}) table.OpenURL(U(key));
  EXPECT_TRUE(opened.empty());
  table.OpenURL(U("a"));
  ASSERT_EQ(1u, opened.size());
  EXPECT_EQ("https://h.invalid/26", opened[0].ToUTF8());
}

}  // namespace
}  // namespace folian
