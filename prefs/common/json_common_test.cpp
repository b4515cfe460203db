// The store over the in-memory file system: reads, levels and merges.
#include "TrelvinCommonPreferences/json_common.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "prefs/common/memory_store_test_support.h"

namespace velmar::prefs::test {
namespace {

velmar_ustring Name(const char* text) { return velmar_ustring(text); }

// A number reads as an int or a double only when exactly one.
TEST(JsonCommonTest, ReadsOfAnotherKindGiveTheDefaultExceptExactNumbers) {
  const struct {
    Variant value;
    int as_int;
    double as_double;
  } cases[] = {
      {Variant(3.0), 3, 3.0},
      {Variant(3.5), -1, 3.5},
      {Variant(1e10), -1, 1e10},
      {Variant(std::int64_t{-40}), -40, -40.0},
      {Variant(std::int64_t{(1LL << 53) + 1}), -1, -1.0},
      {Variant(velmar_ustring("12")), -1, -1.0},
  };
  MemoryFileEnv env;
  MemoryStore store(env);
  for (const auto& c : cases) {
    store.WriteVariant(kGeneral, Name("v"), c.value);
    EXPECT_EQ(store.ReadInt(kGeneral, Name("v"), -1), c.as_int);
    EXPECT_EQ(store.ReadDouble(kGeneral, Name("v"), -1.0), c.as_double);
    EXPECT_EQ(store.ReadNumberAsDouble(kGeneral, Name("v")).value_or(-1.0), c.as_double);
  }
  store.WriteInt(kGeneral, Name("v"), 7);
  EXPECT_FALSE(store.ReadBool(kGeneral, Name("v"), false));
  EXPECT_EQ(store.ReadString(kGeneral, Name("v"), Name("fallback")), "fallback");
  EXPECT_FALSE(store.WriteInt(velmar_ustring(), Name("k"), 1));
  EXPECT_FALSE(store.WriteInt(kGeneral, velmar_ustring(), 1));
  // Saved over a value another program put in the other file, it replaces it.
  env.entries[kPrivate].bytes = R"({"format": 1, "categories": {"general": {"v": 1}}})";
  ASSERT_TRUE(store.SavePreferences()) << store.Error();
  EXPECT_EQ(MemoryStore(env).ReadInt(kGeneral, Name("v"), 0), 7);
}

// New values go public unless their category is private; binary data is
// private; what the store does not know of a file is kept.
TEST(JsonCommonTest, ValuesGoToTheirFileAndUnknownMembersAreKept) {
  MemoryFileEnv env;
  env.entries[kPrivate].bytes = R"({"categories": {"general": {"local": 1}}})";
  env.entries[kPublic].bytes = R"({"format": 1, "future": {"x": [1, "two", null]},
    "categories": {"plugin": {"p": 2.5}}, "lists": {"weird": [1, 2]}})";
  MemoryStore store(env);
  ASSERT_TRUE(store.loaded);
  store.WriteInt(kGeneral, Name("joins"), 3);
  store.WriteInt(Name("fresh"), Name("k"), 4);
  store.WriteBinary(Name("window"), Name("placement"), {0, 1, 254, 255});
  EXPECT_EQ(store.GetLevel(kGeneral, Name("joins")), kShareLevelPrivate);
  EXPECT_EQ(store.GetLevel(Name("fresh"), Name("k")), kShareLevelPublic);
  EXPECT_EQ(store.GetLevel(Name("window"), Name("placement")), kShareLevelPrivate);
  ASSERT_TRUE(store.SavePreferences());
  EXPECT_NE(env.Bytes(kPrivate)->find("\"joins\": 3"), std::string::npos);
  EXPECT_NE(env.Bytes(kPrivate)->find("\"placement\": \"AAH+/w==\""), std::string::npos);
  EXPECT_NE(env.Bytes(kPublic)->find("\n  \"categories\": {\n    \"fresh\": {\n      \"k\": 4\n"),
            std::string::npos)
      << *env.Bytes(kPublic);
  EXPECT_NE(env.Bytes(kPublic)->find("\"future\""), std::string::npos);
  // A save leaves alone a file it has nothing new for.
  const std::uint64_t kept = env.entries[kPrivate].id;
  store.WriteInt(Name("fresh"), Name("k"), 5);
  ASSERT_TRUE(store.SavePreferences());
  EXPECT_EQ(env.entries[kPrivate].id, kept);

  MemoryStore reloaded(env);
  EXPECT_EQ(reloaded.ReadTimestamp(), store.ReadTimestamp());
  EXPECT_EQ(reloaded.ReadDouble(Name("plugin"), Name("p"), 0), 2.5);
  StringVector list;
  EXPECT_FALSE(reloaded.ReadStringVector(Name("weird"), list));
  EXPECT_FALSE(reloaded.IsLevelEmpty(kShareLevelPrivate));
  reloaded.DeleteCategory(kGeneral);
  EXPECT_FALSE(reloaded.DeletePreference(kGeneral, Name("joins")));
  EXPECT_TRUE(reloaded.DeletePreference(Name("window"), Name("placement")));
  EXPECT_TRUE(reloaded.DeleteCategory(Name("window")));
  EXPECT_TRUE(reloaded.IsLevelEmpty(kShareLevelPrivate));
}

// Changes saved over another store's save, or over a file it removed, read
// as if made on top of it; an idle copy sees both once it synchronises.
TEST(JsonCommonMergeTest, ChangesSavedOverAnotherSaveReadAsIfMadeOnIt) {
  std::mt19937 random(2026);
  const velmar_ustring names[] = {kGeneral, Name("c"), Name("d")};
  auto name = [&]() -> const velmar_ustring& { return names[random() % std::size(names)]; };
  auto change = [&](const std::vector<JsonCommon*>& stores) {
    const unsigned op = random() % 17;
    const velmar_ustring& category = name();
    const velmar_ustring& key = name();
    const int value = static_cast<int>(random() % 100);
    const velmar_ustring kept = random() % 2 ? key : velmar_ustring();
    for (JsonCommon* store : stores) {
      if (op < 9) {
        store->WriteInt(category, key, value);
      } else if (op < 12) {
        store->DeletePreference(category, key);
      } else if (op < 14) {
        store->DeleteCategory(category);
      } else if (op < 15) {
        store->WriteStringVector(category, {key});
      } else if (op < 16) {
        store->WriteBinary(category, key, {static_cast<std::uint8_t>(value)});
      } else {
        store->RemoveAllPreferencesExcept(category, kept);
      }
    }
  };
  for (int round = 0; round < 100; ++round) {
    MemoryFileEnv env;
    {
      MemoryStore seed(env);
      for (int i = 0; i < 6; ++i) change({&seed});
      ASSERT_TRUE(seed.SavePreferences());
    }
    MemoryStore mine(env);
    MemoryStore idle(mine);
    {
      MemoryStore other(env);
      for (int i = 0; i < 6; ++i) change({&other});
      ASSERT_TRUE(other.SavePreferences());
    }
    if (round % 4 == 0) env.RemoveFile(kPublic);
    // Edited by hand: names this store writes to the public file.
    if (round % 4 == 2) {
      env.entries[kPrivate].bytes = R"({"categories": {"c": {"d": 7}}, "lists": {"d": ["x"]}})";
    }
    MemoryStore expected(env);
    for (int i = 0; i < (round % 2 == 0 ? 3 : 120); ++i) change({&mine, &expected});
    ASSERT_TRUE(mine.SavePreferences()) << mine.Error();
    ASSERT_TRUE(idle.Synchronize());

    MemoryStore fresh(env);
    for (JsonCommon* result : {static_cast<JsonCommon*>(&idle), static_cast<JsonCommon*>(&fresh)}) {
      for (const velmar_ustring& category : names) {
        EXPECT_EQ(result->CategoryExists(category), expected.CategoryExists(category));
        StringVector got;
        StringVector want;
        EXPECT_EQ(result->ReadStringVector(category, got),
                  expected.ReadStringVector(category, want));
        EXPECT_EQ(got, want);
        for (const velmar_ustring& key : names) {
          EXPECT_EQ(result->ReadInt(category, key, -1), expected.ReadInt(category, key, -1));
          EXPECT_EQ(result->ReadBinary(category, key, {}), expected.ReadBinary(category, key, {}));
        }
      }
    }
  }
}

// Another store's save of what `edit` changes.
std::function<void(MemoryFileEnv&)> Saved(std::function<void(JsonCommon&)> edit) {
  return [edit](MemoryFileEnv& env) {
    MemoryStore other(env);
    edit(other);
    ASSERT_TRUE(other.SavePreferences()) << other.Error();
  };
}

// What a watching store reports after another process's save: each value
// that changed, nothing for its own save or one that changed no value, and
// never a file that is missing or not whole; its unsaved changes stay.
TEST(JsonCommonWatchTest, AReloadMergesAndReportsOnlyWhatOthersChanged) {
  using Change = JsonCommon::ValueChange;
  const std::string saved = R"({"categories": {"general": {"a": 1, "mine": 1}}})";
  const struct {
    const char* name;
    std::function<void(MemoryFileEnv&)> other;
    std::vector<std::string> report;  // "<what> <category>/<key> <new int, or list, or ->"
    int a;                            // "a" afterwards
  } cases[] = {
      {"another value",
       Saved([](JsonCommon& other) { other.WriteInt(kGeneral, Name("a"), 2); }),
       {"1 general/a 2 (1)"},
       2},
      {"a new key and a list",
       Saved([](JsonCommon& other) {
         other.WriteInt(Name("c"), Name("b"), 3);
         other.WriteStringVector(Name("l"), {Name("x")});
       }),
       {"0 c/b 3", "0 l/ list"},
       1},
      {"a key deleted",
       Saved([](JsonCommon& other) { other.DeletePreference(kGeneral, Name("a")); }),
       {"2 general/a -"},
       -1},
      {"the same values again",
       Saved([](JsonCommon& other) { other.WriteInt(kGeneral, Name("a"), 1); }),
       {},
       1},
      {"this store's own save", nullptr, {}, 5},
      {"the file removed", [](MemoryFileEnv& env) { env.RemoveFile(kPublic); }, {}, 1},
      {"half written",
       [&](MemoryFileEnv& env) { env.entries[kPublic].bytes = saved.substr(0, 30); },
       {},
       1},
      {"emptied", [](MemoryFileEnv& env) { env.entries[kPublic].bytes.clear(); }, {}, 1},
  };
  for (const auto& c : cases) {
    MemoryFileEnv env;
    env.entries[kPublic].bytes = saved;
    MemoryStore store(env);
    ASSERT_TRUE(store.StartWatching()) << store.LastWatchError().ToUTF8();
    // Unsaved: kept through every reload, and written by the next save.
    store.WriteInt(kGeneral, Name("mine"), 9);
    if (c.other) {
      c.other(env);
    } else {
      store.WriteInt(kGeneral, Name("a"), 5);
      ASSERT_TRUE(store.SavePreferences());
    }
    std::vector<std::string> report;
    auto text = [](const Variant& value) -> std::string {
      if (value.GetType() == Variant::kInt32) return std::to_string(value.GetInt32());
      return value.GetType() == Variant::kVector ? "list" : "-";
    };
    for (const Change& change : store.ReloadChanges()) {
      report.push_back(
          std::to_string(change.what) + " " + change.category.ToUTF8() + "/" + change.key.ToUTF8() +
          " " + text(change.new_value) +
          (change.what == Change::kChanged ? " (" + text(change.old_value) + ")" : ""));
    }
    EXPECT_EQ(report, c.report) << c.name;
    EXPECT_EQ(store.ReadInt(kGeneral, Name("a"), -1), c.a) << c.name;
    EXPECT_EQ(store.ReadInt(kGeneral, Name("mine"), -1), 9) << c.name;
    EXPECT_TRUE(store.ReloadChanges().empty()) << c.name;
  }
}

// A store whose watch the system refuses works as before; a copy does not
// watch, nor does a store never loaded.
TEST(JsonCommonWatchTest, AWatchRefusedLeavesTheStoreAsItWas) {
  MemoryFileEnv env;
  env.watch_error = "No space left on device";
  MemoryStore store(env);
  EXPECT_FALSE(store.StartWatching());
  EXPECT_EQ(store.LastWatchError(), "cannot watch the preference files: No space left on device");
  EXPECT_TRUE(store.ReloadChanges().empty());
  store.WriteInt(kGeneral, Name("k"), 1);
  EXPECT_TRUE(store.SavePreferences());
  env.watch_error.clear();
  ASSERT_TRUE(store.StartWatching());
  EXPECT_TRUE(store.IsWatching() && store.LastWatchError().empty());
  EXPECT_FALSE(MemoryStore(store).IsWatching());
  store.StopWatching();
  EXPECT_FALSE(store.IsWatching() || JsonCommon().StartWatching());
}

}  // namespace
}  // namespace velmar::prefs::test
