#include "TrelvinCommonPreferences/json_common.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "environment/support_folders_test_roots.h"

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::KeyValuePairs;
using utils::Variant;
using utils::VariantVector;
using utils::velmar_ustring;
namespace fs = std::filesystem;

// The common library on two files of a private folder.
class FileStore : public JsonCommon {
 public:
  explicit FileStore(const fs::path& folder) {
    m_privateFilePath = folian::test::FromFsPath(folder / "p.private.json");
    m_publicFilePath = folian::test::FromFsPath(folder / "p.public.json");
    loaded = LoadPreferences();
  }
  bool loaded = false;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

int CountEntries(const fs::path& folder, const std::string& suffix) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      ++count;
    }
  }
  return count;
}

class JsonCommonTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_folder.ok()); }
  fs::path Public() const { return m_folder.path() / "p.public.json"; }
  fs::path Private() const { return m_folder.path() / "p.private.json"; }

  folian::test::TemporaryFolder m_folder;
  const velmar_ustring general{"general"};
};

TEST_F(JsonCommonTest, EveryKindOfValueSurvivesSaveAndLoad) {
  const velmar_ustring emoji("a\xF0\x9F\x98\x80z");
  velmar_ustring with_nul("x");
  with_nul += utils::utf16_unit{0};
  with_nul += utils::utf16_unit{'y'};
  const Dictionary nested{
      {velmar_ustring("$dollar"), Variant(1)},
      {velmar_ustring("$type"), Variant(velmar_ustring("int8"))},
      {velmar_ustring("$$two"), Variant(true)},
      {velmar_ustring("deep"), Variant(VariantVector{Variant(), Variant(2.0)})}};
  std::vector<Variant> values = {
      Variant(),
      Variant(false),
      Variant(std::int8_t{-128}),
      Variant(std::int16_t{32767}),
      Variant(std::int32_t{-2147483647 - 1}),
      Variant(std::int64_t{-9223372036854775807LL - 1}),
      Variant(0.1f),
      Variant(std::numeric_limits<float>::quiet_NaN()),
      Variant(5.0),
      Variant(-0.0),
      Variant(std::numeric_limits<double>::denorm_min()),
      Variant(std::numeric_limits<double>::max()),
      Variant(std::numeric_limits<double>::infinity()),
      Variant(-std::numeric_limits<double>::infinity()),
      Variant(std::numeric_limits<double>::quiet_NaN()),
      Variant(emoji),
      Variant(with_nul),
      Variant::Timestamp(18446744073709551615ULL),
      Variant(VariantVector{Variant(1), Variant(velmar_ustring("two")), Variant(nested)}),
      Variant(nested),
      Variant(KeyValuePairs{{velmar_ustring("k"), Variant(1)}, {velmar_ustring("k"), Variant(2)}}),
  };
  // And doubles of random bits, which must come back bit for bit.
  std::mt19937_64 random(42);
  while (values.size() < 2000) {
    const std::uint64_t bits = random();
    double number = 0;
    std::memcpy(&number, &bits, sizeof number);
    if (std::isfinite(number) && number != 0) values.emplace_back(number);
  }
  {
    FileStore store(m_folder.path());
    for (std::size_t i = 0; i < values.size(); ++i) {
      ASSERT_TRUE(store.WriteVariant(general, velmar_ustring(std::to_string(i)), values[i]));
    }
    ASSERT_TRUE(store.SavePreferences());
  }
  FileStore reloaded(m_folder.path());
  ASSERT_TRUE(reloaded.loaded);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const Variant read = reloaded.ReadVariant(general, velmar_ustring(std::to_string(i)));
    EXPECT_EQ(read, values[i]) << "value " << i;
  }
  const Variant zero = reloaded.ReadVariant(general, velmar_ustring("9"));
  EXPECT_TRUE(std::signbit(zero.GetDouble()));
}

TEST_F(JsonCommonTest, HandWrittenNumbersReadExactly) {
  WriteText(Public(), R"({"format": 1, "categories": {"general": {
      "zero_exponent": 0e308, "tenth": 0.1, "tiniest": 5e-324, "largest": 1.7976931348623157e308,
      "negative_zero": -0.0, "int": -2147483648, "int64": 2147483648}}})");
  FileStore store(m_folder.path());
  ASSERT_TRUE(store.loaded);
  auto read = [&](const char* key) {
    return store.ReadDouble(general, velmar_ustring(key), std::nan(""));
  };
  EXPECT_EQ(read("zero_exponent"), 0.0);
  EXPECT_EQ(read("tenth"), 0.1);
  EXPECT_EQ(read("tiniest"), 5e-324);
  EXPECT_EQ(read("largest"), 1.7976931348623157e308);
  EXPECT_TRUE(std::signbit(read("negative_zero")));
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("int"), 0), -2147483647 - 1);
  EXPECT_EQ(store.ReadVariant(general, velmar_ustring("int64")).GetInt64(), 2147483648LL);
  // A number no double holds makes the file unreadable.
  WriteText(Public(), R"({"format": 1, "categories": {"general": {"n": 1e400}}})");
  EXPECT_FALSE(FileStore(m_folder.path()).loaded);
}

TEST_F(JsonCommonTest, ReadsOfAnotherKindGiveTheDefaultExceptExactNumbers) {
  FileStore store(m_folder.path());
  store.WriteDouble(general, velmar_ustring("whole"), 3.0);
  store.WriteDouble(general, velmar_ustring("half"), 3.5);
  store.WriteDouble(general, velmar_ustring("huge"), 1e10);
  store.WriteInt(general, velmar_ustring("int"), 7);
  store.WriteBool(general, velmar_ustring("bool"), true);
  store.WriteString(general, velmar_ustring("text"), velmar_ustring("12"));
  store.WriteVariant(general, velmar_ustring("big"), Variant(std::int64_t{(1LL << 53) + 1}));
  store.WriteVariant(general, velmar_ustring("small64"), Variant(std::int64_t{-40}));
  const velmar_ustring fallback("fallback");
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("whole"), -1), 3);
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("half"), -1), -1);
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("huge"), -1), -1);
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("small64"), -1), -40);
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("bool"), -1), -1);
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("text"), -1), -1);
  EXPECT_EQ(store.ReadDouble(general, velmar_ustring("int"), -1.0), 7.0);
  EXPECT_EQ(store.ReadDouble(general, velmar_ustring("big"), -1.0), -1.0);
  EXPECT_FALSE(store.ReadNumberAsDouble(general, velmar_ustring("big")).has_value());
  EXPECT_EQ(store.ReadNumberAsDouble(general, velmar_ustring("int")), 7.0);
  EXPECT_FALSE(store.ReadBool(general, velmar_ustring("int"), false));
  EXPECT_EQ(store.ReadString(general, velmar_ustring("int"), fallback), fallback);
  EXPECT_EQ(store.ReadString(general, velmar_ustring("text"), fallback), "12");
  EXPECT_EQ(store.ReadInt(velmar_ustring("other"), velmar_ustring("int"), -1), -1);
  EXPECT_TRUE(store.ReadVariant(general, velmar_ustring("absent")).IsEmpty());
  EXPECT_FALSE(store.WriteInt(velmar_ustring(), velmar_ustring("k"), 1));
  EXPECT_FALSE(store.WriteInt(general, velmar_ustring(), 1));
}

TEST_F(JsonCommonTest, NewValuesGoPublicBinaryGoesPrivateAndKnownValuesStayPut) {
  WriteText(Private(), R"({"categories": {"general": {"local": 1}}})");
  FileStore store(m_folder.path());
  ASSERT_TRUE(store.loaded);
  store.WriteInt(general, velmar_ustring("local"), 2);
  store.WriteInt(general, velmar_ustring("joins"), 3);
  store.WriteInt(velmar_ustring("fresh"), velmar_ustring("k"), 4);
  store.WriteBinary(velmar_ustring("window"), velmar_ustring("placement"), {0, 1, 254, 255});
  EXPECT_EQ(store.GetLevel(general, velmar_ustring("local")), kShareLevelPrivate);
  EXPECT_EQ(store.GetLevel(general, velmar_ustring("joins")), kShareLevelPrivate);
  EXPECT_EQ(store.GetLevel(velmar_ustring("fresh"), velmar_ustring("k")), kShareLevelPublic);
  EXPECT_EQ(store.GetLevel(velmar_ustring("window"), velmar_ustring("placement")),
            kShareLevelPrivate);
  EXPECT_EQ(store.GetLevel(general, velmar_ustring("absent")), kShareLevelNone);
  ASSERT_TRUE(store.SavePreferences());
  const std::string public_text = ReadText(Public());
  const std::string private_text = ReadText(Private());
  EXPECT_NE(public_text.find("\"fresh\""), std::string::npos);
  EXPECT_EQ(public_text.find("\"joins\""), std::string::npos);
  EXPECT_NE(private_text.find("\"joins\": 3"), std::string::npos);
  EXPECT_NE(private_text.find("\"placement\": \"AAH+/w==\""), std::string::npos);

  FileStore reloaded(m_folder.path());
  EXPECT_EQ(reloaded.ReadBinary(velmar_ustring("window"), velmar_ustring("placement"), {}),
            (BinaryData{0, 1, 254, 255}));
  EXPECT_GT(reloaded.ReadTimestamp(), 0u);
  EXPECT_EQ(reloaded.ReadTimestamp(), store.ReadTimestamp());
  EXPECT_FALSE(reloaded.IsLevelEmpty(kShareLevelPrivate));
  reloaded.DeleteCategory(general);
  reloaded.DeleteCategory(velmar_ustring("window"));
  EXPECT_TRUE(reloaded.IsLevelEmpty(kShareLevelPrivate));
}

TEST_F(JsonCommonTest, ListsDictionariesAndCategoryOperations) {
  FileStore store(m_folder.path());
  const StringVector recent{velmar_ustring("a.folian"), velmar_ustring("b.folian")};
  const Dictionary scales{{velmar_ustring("1:50"), Variant(50.0)}};
  ASSERT_TRUE(store.WriteStringVector(velmar_ustring("recent"), recent));
  ASSERT_TRUE(store.WriteDictionary(velmar_ustring("scales"), scales));
  store.WriteBool(general, velmar_ustring("keep"), true);
  store.WriteBool(general, velmar_ustring("drop"), true);
  ASSERT_TRUE(store.SavePreferences());

  FileStore reloaded(m_folder.path());
  StringVector list;
  Dictionary dictionary;
  ASSERT_TRUE(reloaded.ReadStringVector(velmar_ustring("recent"), list));
  ASSERT_TRUE(reloaded.ReadDictionary(velmar_ustring("scales"), dictionary));
  EXPECT_EQ(list, recent);
  EXPECT_EQ(dictionary, scales);
  EXPECT_FALSE(reloaded.ReadStringVector(velmar_ustring("scales"), list));
  EXPECT_EQ(list, recent);
  EXPECT_TRUE(reloaded.CategoryExists(velmar_ustring("recent")));
  EXPECT_TRUE(reloaded.IsPreferenceSet(general, velmar_ustring("drop")));
  EXPECT_TRUE(reloaded.DeletePreference(general, velmar_ustring("drop")));
  EXPECT_FALSE(reloaded.DeletePreference(general, velmar_ustring("drop")));

  reloaded.RemoveAllPreferencesExcept(general, velmar_ustring("keep"));
  EXPECT_TRUE(reloaded.ReadBool(general, velmar_ustring("keep"), false));
  EXPECT_FALSE(reloaded.CategoryExists(velmar_ustring("recent")));
  EXPECT_FALSE(reloaded.CategoryExists(velmar_ustring("scales")));
  EXPECT_TRUE(reloaded.DeleteCategory(general));
  EXPECT_FALSE(reloaded.CategoryExists(general));
}

TEST_F(JsonCommonTest, UnknownMembersKeysAndCategoriesAreKept) {
  WriteText(Public(), R"({
    "format": 1, "future": {"x": [1, "two", null]},
    "categories": {"general": {"mine": 1, "theirs": "t"}, "plugin": {"p": 2.5}},
    "lists": {"weird": [1, 2]}
  })");
  {
    FileStore store(m_folder.path());
    ASSERT_TRUE(store.loaded);
    store.WriteInt(general, velmar_ustring("mine"), 2);
    ASSERT_TRUE(store.SavePreferences());
  }
  const std::string text = ReadText(Public());
  EXPECT_NE(text.find("\"future\""), std::string::npos);
  EXPECT_NE(text.find("\n  \"categories\": {\n    \"general\": {\n      \"mine\": 2,\n"),
            std::string::npos)
      << text;
  FileStore reloaded(m_folder.path());
  EXPECT_EQ(reloaded.ReadString(general, velmar_ustring("theirs"), velmar_ustring()), "t");
  EXPECT_EQ(reloaded.ReadDouble(velmar_ustring("plugin"), velmar_ustring("p"), 0), 2.5);
  EXPECT_EQ(reloaded.ReadInt(general, velmar_ustring("mine"), 0), 2);
  StringVector list;
  EXPECT_FALSE(reloaded.ReadStringVector(velmar_ustring("weird"), list));
  EXPECT_TRUE(reloaded.CategoryExists(velmar_ustring("weird")));
}

TEST_F(JsonCommonTest, BadFilesLoadEmptyAndAreKeptAsideBySave) {
  const std::string deep(200000, '[');
  const std::string bad_inputs[] = {
      "{",
      R"({"categories": {"general": {"a": 1}})",
      "[1, 2]",
      "",
      "{\"categories\": {\"general\": {\"a\": \"\xC3\x28\"}}}",
      "{\"a\": 1} trailing",
      deep,
      R"({"categories": [1]})",
      "{\"x\": " + std::string(100, '[') + std::string(100, ']') + "}",
  };
  for (const std::string& bad : bad_inputs) {
    fs::remove_all(m_folder.path() / "bad");
    fs::create_directory(m_folder.path() / "bad");
    const fs::path folder = m_folder.path() / "bad";
    WriteText(folder / "p.public.json", bad);
    FileStore store(folder);
    EXPECT_FALSE(store.loaded) << bad.substr(0, 40);
    EXPECT_TRUE(store.IsLevelEmpty(kShareLevelPublic));
    EXPECT_EQ(ReadText(folder / "p.public.json"), bad) << "loading changed the file";
    store.WriteInt(general, velmar_ustring("after"), 1);
    ASSERT_TRUE(store.SavePreferences());
    EXPECT_EQ(ReadText(folder / "p.public.json.bad"), bad);
    EXPECT_TRUE(FileStore(folder).loaded);
  }
}

TEST_F(JsonCommonTest, AFileThatCannotBeReadIsNeverOverwritten) {
  // A folder in the file's place opens but does not read, on every platform.
  fs::create_directory(Public());
  FileStore store(m_folder.path());
  EXPECT_FALSE(store.loaded);
  store.WriteInt(general, velmar_ustring("k"), 1);
  store.WriteBinary(general, velmar_ustring("b"), {1});
  EXPECT_FALSE(store.SavePreferences());
  EXPECT_NE(store.LastSaveError().ToUTF8().find("p.public.json: cannot read"), std::string::npos)
      << store.LastSaveError().ToUTF8();
  EXPECT_TRUE(fs::is_directory(Public()));
  // The other file is written all the same.
  EXPECT_NE(ReadText(Private()).find("\"b\": \"AQ==\""), std::string::npos);
  EXPECT_EQ(CountEntries(m_folder.path(), ".tmp"), 0);
}

TEST_F(JsonCommonTest, ATemporaryFileLeftByADeadSaveIsReplacedByTheNext) {
  WriteText(m_folder.path() / "p.public.json.tmp", "{\"half");
  WriteText(m_folder.path() / "unrelated.tmp", "keep");
  FileStore store(m_folder.path());
  EXPECT_TRUE(store.loaded);
  EXPECT_EQ(CountEntries(m_folder.path(), ".tmp"), 2) << "a load removes nothing";
  store.WriteInt(general, velmar_ustring("k"), 1);
  ASSERT_TRUE(store.SavePreferences()) << store.LastSaveError().ToUTF8();
  EXPECT_EQ(CountEntries(m_folder.path(), ".tmp"), 1);
  EXPECT_TRUE(fs::exists(m_folder.path() / "unrelated.tmp"));
}

TEST_F(JsonCommonTest, TwoStoresOfTheSameFilesMergeKeyByKey) {
  FileStore first(m_folder.path());
  FileStore second(m_folder.path());
  for (int i = 0; i < 50; ++i) {
    first.WriteInt(general, velmar_ustring("first" + std::to_string(i)), i);
    second.WriteInt(general, velmar_ustring("second" + std::to_string(i)), i);
  }
  first.WriteInt(general, velmar_ustring("who"), 1);
  second.WriteInt(general, velmar_ustring("who"), 2);
  ASSERT_TRUE(first.SavePreferences());
  ASSERT_TRUE(second.SavePreferences());
  // The later save wins for the key both wrote, and only for it.
  EXPECT_EQ(second.ReadInt(general, velmar_ustring("first49"), -1), 49);
  FileStore reloaded(m_folder.path());
  ASSERT_TRUE(reloaded.loaded);
  EXPECT_EQ(reloaded.ReadInt(general, velmar_ustring("who"), 0), 2);
  EXPECT_EQ(reloaded.ReadInt(general, velmar_ustring("second49"), -1), 49);
  EXPECT_EQ(reloaded.ReadInt(general, velmar_ustring("first0"), -1), 0);
  // The first store sees the second's values once it synchronises.
  EXPECT_FALSE(first.IsPreferenceSet(general, velmar_ustring("second0")));
  ASSERT_TRUE(first.Synchronize());
  EXPECT_EQ(first.ReadInt(general, velmar_ustring("second0"), -1), 0);
  EXPECT_EQ(first.ReadInt(general, velmar_ustring("who"), 0), 2);
}

TEST_F(JsonCommonTest, CopiesAreIndependentStoresOfTheSameFiles) {
  FileStore store(m_folder.path());
  store.WriteInt(general, velmar_ustring("k"), 1);
  FileStore copy(store);
  copy.WriteInt(general, velmar_ustring("k"), 2);
  EXPECT_EQ(store.ReadInt(general, velmar_ustring("k"), 0), 1);
  ASSERT_TRUE(copy.SavePreferences());
  EXPECT_EQ(FileStore(m_folder.path()).ReadInt(general, velmar_ustring("k"), 0), 2);
}

#if defined(_WIN32)
TEST_F(JsonCommonTest, AFailedReplaceKeepsTheOldFile) {
  FileStore store(m_folder.path());
  store.WriteInt(general, velmar_ustring("k"), 1);
  ASSERT_TRUE(store.SavePreferences());
  const std::string before = ReadText(Public());
  store.WriteInt(general, velmar_ustring("k"), 2);
  {
    // An open handle without delete sharing makes the replacement fail
    // after the new content was written.
    std::ifstream holder(Public(), std::ios::binary);
    ASSERT_TRUE(holder.is_open());
    EXPECT_FALSE(store.SavePreferences());
  }
  EXPECT_EQ(ReadText(Public()), before);
  EXPECT_EQ(CountEntries(m_folder.path(), ".tmp"), 0);
  EXPECT_EQ(FileStore(m_folder.path()).ReadInt(general, velmar_ustring("k"), 0), 1);
}
#else
class LinuxJsonCommonTest : public JsonCommonTest {};

// Also when the old file could not be read and was set aside.
TEST_F(LinuxJsonCommonTest, AReplacedFileKeepsItsPermissions) {
  for (const char* old : {"{}", "not json"}) {
    WriteText(Public(), old);
    fs::permissions(Public(), fs::perms::owner_read | fs::perms::owner_write);
    FileStore store(m_folder.path());
    store.WriteInt(general, velmar_ustring("k"), 2);
    ASSERT_TRUE(store.SavePreferences()) << store.LastSaveError().ToUTF8();
    EXPECT_EQ(fs::status(Public()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write)
        << old;
  }
  EXPECT_EQ(CountEntries(m_folder.path(), ".bad"), 1);
}

TEST_F(LinuxJsonCommonTest, ALinkedFileStaysALink) {
  const fs::path elsewhere = m_folder.path() / "dotfiles";
  fs::create_directory(elsewhere);
  WriteText(elsewhere / "real.json",
            "{\"format\": 1, \"categories\": {\"general\": {\"old\": 1}}}");
  fs::create_symlink(fs::path("dotfiles") / "real.json", Public());
  FileStore store(m_folder.path());
  ASSERT_TRUE(store.loaded);
  store.WriteInt(general, velmar_ustring("new"), 2);
  ASSERT_TRUE(store.SavePreferences()) << store.LastSaveError().ToUTF8();
  EXPECT_TRUE(fs::is_symlink(Public()));
  const FileStore again(m_folder.path());
  EXPECT_NE(ReadText(elsewhere / "real.json").find("\"new\": 2"), std::string::npos);
  EXPECT_EQ(CountEntries(elsewhere, ".tmp"), 0);
}

unsigned Mode(const fs::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0u;
}

TEST_F(LinuxJsonCommonTest, LockFilesArePrivateAndNeverFollowALink) {
  const fs::path victim = m_folder.path() / "victim";
  fs::create_symlink(victim, m_folder.path() / "p.public.json.lock");
  FileStore store(m_folder.path());
  EXPECT_TRUE(store.loaded);
  EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator()), 1)
      << "a load creates nothing";
  store.WriteInt(general, velmar_ustring("k"), 1);
  EXPECT_FALSE(store.SavePreferences());
  EXPECT_NE(store.LastSaveError().ToUTF8().find("cannot lock it: the lock file is a link"),
            std::string::npos)
      << store.LastSaveError().ToUTF8();
  EXPECT_FALSE(fs::exists(fs::symlink_status(victim)));
  fs::remove(m_folder.path() / "p.public.json.lock");
  ASSERT_TRUE(store.SavePreferences()) << store.LastSaveError().ToUTF8();
  EXPECT_EQ(Mode(m_folder.path() / "p.public.json.lock"), 0600u);
  EXPECT_EQ(Mode(m_folder.path() / "p.private.json.lock"), 0600u);
}

// Run as root in a folder of another user (nobody), the store leaves only
// files that user owns, and a file it sets aside keeps its mode and owner.
TEST_F(LinuxJsonCommonTest, ARunAsRootLeavesFilesTheFoldersOwnerOwns) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give files to another user";
  constexpr uid_t kOwner = 65534;
  WriteText(Public(), "not json");
  ASSERT_EQ(::chmod(Public().c_str(), 0600), 0);
  ASSERT_EQ(::chown(Public().c_str(), kOwner, kOwner), 0);
  ASSERT_EQ(::chown(m_folder.path().c_str(), kOwner, kOwner), 0);
  FileStore store(m_folder.path());
  EXPECT_FALSE(store.loaded);
  store.WriteInt(general, velmar_ustring("k"), 1);
  store.WriteBinary(general, velmar_ustring("b"), {1});
  ASSERT_TRUE(store.SavePreferences()) << store.LastSaveError().ToUTF8();
  for (const char* name : {"p.public.json", "p.private.json", "p.public.json.lock",
                           "p.private.json.lock", "p.public.json.bad"}) {
    struct stat status {};
    ASSERT_EQ(::lstat((m_folder.path() / name).c_str(), &status), 0) << name;
    EXPECT_EQ(status.st_uid, kOwner) << name;
    EXPECT_EQ(status.st_gid, kOwner) << name;
  }
  EXPECT_EQ(Mode(Public()), 0600u);
  EXPECT_EQ(Mode(m_folder.path() / "p.public.json.lock"), 0600u);
}

TEST_F(LinuxJsonCommonTest, AFifoNeverBlocksAndIsNeverOverwritten) {
  ASSERT_EQ(std::system(("mkfifo '" + Public().string() + "'").c_str()), 0);
  FileStore store(m_folder.path());
  EXPECT_FALSE(store.loaded);
  store.WriteInt(general, velmar_ustring("k"), 1);
  EXPECT_FALSE(store.SavePreferences());
  EXPECT_NE(store.LastSaveError().ToUTF8().find("p.public.json: cannot read"), std::string::npos)
      << store.LastSaveError().ToUTF8();
  EXPECT_EQ(fs::status(Public()).type(), fs::file_type::fifo);
}

TEST_F(LinuxJsonCommonTest, AReadOnlyFolderFailsTheSaveWithTheSystemsWords) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  FileStore store(m_folder.path());
  store.WriteInt(general, velmar_ustring("k"), 1);
  ASSERT_TRUE(store.SavePreferences());
  const std::string before = ReadText(Public());
  fs::permissions(m_folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  store.WriteInt(general, velmar_ustring("k"), 2);
  EXPECT_FALSE(store.SavePreferences());
  EXPECT_NE(store.LastSaveError().ToUTF8().find("Permission denied"), std::string::npos)
      << store.LastSaveError().ToUTF8();
  fs::permissions(m_folder.path(), fs::perms::owner_all);
  EXPECT_EQ(ReadText(Public()), before);
  ASSERT_TRUE(store.SavePreferences());
  EXPECT_EQ(FileStore(m_folder.path()).ReadInt(general, velmar_ustring("k"), 0), 2);
}

#endif

}  // namespace
}  // namespace velmar::prefs
