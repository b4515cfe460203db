// The common preference library over an in-memory file system: any text
// round-trips, every fault is reported and loses nothing, merges apply
// only the store's own changes, and what is written can be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "TrelvinCommonPreferences/json_common.h"
#include "prefs/common/json_codec.h"
#include "prefs/common/memory_file_env.h"

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::KeyValuePairs;
using utils::utf16_unit;
using utils::Variant;
using utils::VariantVector;
using utils::velmar_ustring;
using string_type = velmar_ustring::string_type;

string_type U(const char16_t* text) {
  string_type out;
  for (; *text != 0; ++text) out += static_cast<utf16_unit>(*text);
  return out;
}

const string_type kPrivate = U(u"/m/p.private.json");
const string_type kPublic = U(u"/m/p.public.json");
const string_type kLock = U(u".lock");

class MemoryStore : public JsonCommon {
 public:
  explicit MemoryStore(MemoryFileEnv& env, const string_type& folder = U(u"/m")) {
    SetFileEnv(env);
    m_privateFilePath = velmar_ustring(folder + U(u"/p.private.json"));
    m_publicFilePath = velmar_ustring(folder + U(u"/p.public.json"));
    loaded = LoadPreferences();
  }
  std::string Error() const { return LastSaveError().ToUTF8(); }
  void SetLimit(std::size_t bytes) { SetMaxFileSize(bytes); }
  bool loaded = false;
};

const velmar_ustring general("general");

// Random UTF-16 weighted toward what breaks text codecs: the last block of
// the basic plane, byte-order marks, NUL, pairs and lone surrogates.
string_type RandomText(std::mt19937& random) {
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<int> pick(0, 9);
  std::uniform_int_distribution<unsigned> any(0, 0xFFFF);
  std::uniform_int_distribution<unsigned> high_block(0xF000, 0xFFFF);
  std::uniform_int_distribution<unsigned> surrogate(0xD800, 0xDFFF);
  std::uniform_int_distribution<unsigned> ascii(0, 0x7F);
  string_type text;
  const int count = length(random);
  for (int i = 0; i < count; ++i) {
    switch (pick(random)) {
      case 0:
        text += static_cast<utf16_unit>(high_block(random));
        break;
      case 1:
        text += static_cast<utf16_unit>(0xFEFF);
        break;
      case 2:
        text += static_cast<utf16_unit>(surrogate(random));
        break;
      case 3:
        text += static_cast<utf16_unit>(0xD800 + (any(random) & 0x3FF));
        text += static_cast<utf16_unit>(0xDC00 + (any(random) & 0x3FF));
        break;
      case 4:
        text += static_cast<utf16_unit>(0);
        break;
      case 5:
        text += static_cast<utf16_unit>(0xFFFD);
        break;
      case 6:
        text += static_cast<utf16_unit>(any(random));
        break;
      default:
        text += static_cast<utf16_unit>(ascii(random));
        break;
    }
  }
  return text;
}

// Texts that once broke the file, then random ones: each as a key, a
// value, a category, a list entry and a dictionary's key and value; read
// back from the indented file and from the compact one a store near the
// size limit writes.
TEST(JsonCommonTextTest, AnyTextRoundTripsInEveryPlace) {
  std::vector<string_type> texts = {
      U(u"\xFF08x"),  // fullwidth parenthesis first
      U(u"\xF000"),
      U(u"\xFFFD"),
      U(u"\xFEFF"),
      U(u"\xFEFF\xFEFFtwo marks"),
      U(u"\xFF11"),
      U(u"\xFF03"),
      U(u"\xFA30 compatibility"),
      string_type(1, 0xFFFF),
      string_type(1, 0xFFFE),
      string_type(1, 0) + U(u"after nul"),
      string_type(1, 0xD800),            // lone high surrogate
      string_type(1, 0xDC00) + U(u"x"),  // lone low surrogate first
      U(u"a") + string_type(1, 0xDBFF),  // high surrogate last
      U(u"\xD83D\xDE00 pair"),           // a valid pair stays plain
      U(u"$utf16:0041"),
      U(u"$$"),
      U(u"$"),
  };
  std::mt19937 random(20261205);
  while (texts.size() < 400) {
    const string_type text = RandomText(random);  // a name is never empty
    if (!text.empty()) texts.push_back(text);
  }
  for (const string_type& text : texts) {
    const velmar_ustring value(text);
    MemoryFileEnv env;
    {
      MemoryStore store(env);
      ASSERT_TRUE(store.WriteString(general, value, value));
      ASSERT_TRUE(store.WriteString(general, velmar_ustring("plain"), value));
      ASSERT_TRUE(store.WriteString(value, velmar_ustring("in category"), value));
      ASSERT_TRUE(store.WriteStringVector(velmar_ustring("list"), {value, value}));
      ASSERT_TRUE(store.WriteDictionary(
          velmar_ustring("dict"),
          Dictionary{{value, Variant(KeyValuePairs{{value, Variant(value)}})}}));
      ASSERT_TRUE(store.SavePreferences()) << store.Error();
    }
    for (const bool compact : {false, true}) {
      if (compact) CompactJson(env.entries[kPublic].bytes);
      MemoryStore again(env);
      ASSERT_TRUE(again.loaded) << *env.Bytes(kPublic);
      EXPECT_EQ(again.ReadString(general, value, velmar_ustring("?")).str(), text);
      EXPECT_EQ(again.ReadString(general, velmar_ustring("plain"), velmar_ustring("?")).str(),
                text);
      EXPECT_EQ(again.ReadString(value, velmar_ustring("in category"), velmar_ustring("?")).str(),
                text);
      StringVector list;
      ASSERT_TRUE(again.ReadStringVector(velmar_ustring("list"), list));
      EXPECT_EQ(list, (StringVector{value, value}));
      Dictionary dict;
      ASSERT_TRUE(again.ReadDictionary(velmar_ustring("dict"), dict));
      ASSERT_EQ(dict.count(value), 1u);
      ASSERT_EQ(dict[value].GetType(), Variant::kKeyValuePairs);
      EXPECT_EQ(dict[value].GetKeyValuePairs().at(0).first.str(), text);
      EXPECT_EQ(dict[value].GetKeyValuePairs().at(0).second.GetString().str(), text);
    }
  }
}

// ---- faults --------------------------------------------------------------

struct Fault {
  const char* name;
  void (*inject)(MemoryFileEnv&);
  const char* expected;  // in the error text
};

const Fault kFaults[] = {
    {"disk full on write", [](MemoryFileEnv& env) { env.write_error = "No space left on device"; },
     "No space left on device"},
    {"EIO on flush", [](MemoryFileEnv& env) { env.flush_error = "Input/output error"; },
     "Input/output error"},
    {"read-only folder", [](MemoryFileEnv& env) { env.create_error = "Permission denied"; },
     "Permission denied"},
    {"failing rename", [](MemoryFileEnv& env) { env.replace_error = "Device or resource busy"; },
     "Device or resource busy"},
    {"lock refused", [](MemoryFileEnv& env) { env.lock_error = "Permission denied"; },
     "cannot lock"},
    {"file replaced by a folder",
     [](MemoryFileEnv& env) { env.entries[kPublic].kind = MemoryFileEnv::EntryKind::kFolder; },
     "Is a directory"},
    {"FIFO in the file's place",
     [](MemoryFileEnv& env) { env.entries[kPublic].kind = MemoryFileEnv::EntryKind::kFifo; },
     "not a regular file"},
};

TEST(JsonCommonFaultTest, EveryFaultFailsTheSaveKeepsTheFileAndTheValues) {
  for (const Fault& fault : kFaults) {
    SCOPED_TRACE(fault.name);
    MemoryFileEnv env;
    MemoryStore store(env);
    store.WriteInt(general, velmar_ustring("k"), 1);
    ASSERT_TRUE(store.SavePreferences()) << store.Error();
    EXPECT_TRUE(store.LastSaveError().empty());
    const std::string before = *env.Bytes(kPublic);

    store.WriteInt(general, velmar_ustring("k"), 2);
    fault.inject(env);
    EXPECT_FALSE(store.SavePreferences());
    EXPECT_NE(store.Error().find("/m/p."), std::string::npos) << store.Error();
    EXPECT_NE(store.Error().find(fault.expected), std::string::npos) << store.Error();
    EXPECT_EQ(store.ReadInt(general, velmar_ustring("k"), 0), 2);
    const std::string* now = env.Bytes(kPublic);
    if (now != nullptr) {
      EXPECT_EQ(*now, before);
    }
    for (const auto& entry : env.entries) {
      EXPECT_EQ(entry.first.find(U(u".tmp")), string_type::npos) << "a temporary file is left";
    }

    // Once the fault is gone the same store saves what it holds.
    env = MemoryFileEnv();
    env.entries[kPublic].bytes = before;
    ASSERT_TRUE(store.SavePreferences()) << store.Error();
    EXPECT_TRUE(store.LastSaveError().empty());
    EXPECT_EQ(MemoryStore(env).ReadInt(general, velmar_ustring("k"), 0), 2);
  }
}

TEST(JsonCommonFaultTest, SomethingOtherThanAFileLoadsEmptyAndIsNeverOverwritten) {
  for (const auto kind : {MemoryFileEnv::EntryKind::kFolder, MemoryFileEnv::EntryKind::kFifo}) {
    MemoryFileEnv env;
    env.entries[kPublic].kind = kind;
    MemoryStore store(env);
    EXPECT_FALSE(store.loaded);
    EXPECT_TRUE(store.IsLevelEmpty(kShareLevelPublic));
    store.WriteInt(general, velmar_ustring("k"), 1);
    EXPECT_FALSE(store.SavePreferences());
    EXPECT_EQ(env.entries[kPublic].kind, kind);
  }
}

// ---- limits ---------------------------------------------------------------

Variant Nested(std::size_t levels) {
  Variant value(1);
  for (std::size_t i = 0; i < levels; ++i)
    value = Variant(Dictionary{{velmar_ustring("d"), value}});
  return value;
}

TEST(JsonCommonLimitTest, WhatIsTooDeepToReadIsRefusedWhenWritten) {
  MemoryFileEnv env;
  MemoryStore store(env);
  store.WriteInt(general, velmar_ustring("unrelated"), 5);
  // A named dictionary sits two levels below the root; its own levels count.
  const std::size_t deepest = kMaxJsonDepth - 2;
  EXPECT_TRUE(store.WriteDictionary(velmar_ustring("ok"), Nested(deepest).GetDictionary()));
  EXPECT_FALSE(store.WriteDictionary(velmar_ustring("deep"), Nested(deepest + 1).GetDictionary()));
  EXPECT_FALSE(store.WriteVariant(general, velmar_ustring("deep"), Nested(kMaxJsonDepth)));
  EXPECT_FALSE(store.IsPreferenceSet(general, velmar_ustring("deep")));
  ASSERT_TRUE(store.SavePreferences()) << store.Error();
  MemoryStore again(env);
  ASSERT_TRUE(again.loaded);
  Dictionary read;
  EXPECT_TRUE(again.ReadDictionary(velmar_ustring("ok"), read));
  EXPECT_EQ(again.ReadInt(general, velmar_ustring("unrelated"), 0), 5);
}

// A store whose indented file would pass the size limit is written
// compact, loads and is saved again; one whose compact text passes it is
// refused, the file kept. The limit is lowered to reach it cheaply.
TEST(JsonCommonLimitTest, AStoreNearTheSizeLimitIsSavedCompact) {
  MemoryFileEnv env;
  std::size_t overhead = 0;
  {
    MemoryStore probe(env);
    probe.WriteString(general, velmar_ustring("big"), velmar_ustring("x"));
    ASSERT_TRUE(probe.SavePreferences()) << probe.Error();
    overhead = env.Bytes(kPublic)->size() - 1;
  }
  const std::size_t limit = overhead + 1000;
  const velmar_ustring big(string_type(1001, ' '));
  {
    MemoryStore store(env);
    store.SetLimit(limit);
    store.WriteString(general, velmar_ustring("big"), big);
    ASSERT_TRUE(store.SavePreferences()) << store.Error();
  }
  const std::string* file = env.Bytes(kPublic);
  ASSERT_LE(file->size(), limit);
  EXPECT_EQ(file->find('\n'), std::string::npos);

  MemoryStore again(env);
  again.SetLimit(limit);
  ASSERT_TRUE(again.loaded);
  EXPECT_EQ(again.ReadString(general, velmar_ustring("big"), velmar_ustring()), big);
  again.WriteInt(general, velmar_ustring("small"), 1);
  ASSERT_TRUE(again.SavePreferences()) << again.Error();

  const std::string before = *env.Bytes(kPublic);
  again.WriteString(general, velmar_ustring("more"), velmar_ustring(string_type(64, 'y')));
  EXPECT_FALSE(again.SavePreferences());
  EXPECT_NE(again.Error().find("64 MiB"), std::string::npos) << again.Error();
  EXPECT_EQ(*env.Bytes(kPublic), before);
}

// The real limit: a file one byte over 64 MiB is not read, and the next
// save keeps it aside.
TEST(JsonCommonLimitTest, AFileOverSixtyFourMebibytesIsKeptAsideUnread) {
  MemoryFileEnv env;
  env.entries[kPublic].bytes.assign((std::size_t{64} << 20) + 1, ' ');
  MemoryStore store(env);
  EXPECT_FALSE(store.loaded);
  store.WriteInt(general, velmar_ustring("k"), 1);
  ASSERT_TRUE(store.SavePreferences()) << store.Error();
  EXPECT_EQ(env.Bytes(kPublic + U(u".bad"))->size(), (std::size_t{64} << 20) + 1);
}

// ---- several stores --------------------------------------------------------

TEST(JsonCommonMergeTest, OnlyTheStoresOwnChangesAreApplied) {
  MemoryFileEnv env;
  {
    MemoryStore seed(env);
    seed.WriteInt(general, velmar_ustring("a"), 1);
    seed.WriteInt(general, velmar_ustring("b"), 1);
    seed.WriteInt(velmar_ustring("old"), velmar_ustring("x"), 1);
    seed.WriteBinary(general, velmar_ustring("bin"), {1, 2});
    ASSERT_TRUE(seed.SavePreferences());
  }
  MemoryStore one(env);
  MemoryStore two(env);
  one.WriteInt(general, velmar_ustring("a"), 2);
  one.DeleteCategory(velmar_ustring("old"));
  ASSERT_TRUE(one.SavePreferences());
  two.WriteInt(general, velmar_ustring("b"), 3);
  two.DeletePreference(general, velmar_ustring("bin"));
  two.WriteStringVector(velmar_ustring("recent"), {velmar_ustring("f")});
  ASSERT_TRUE(two.SavePreferences());
  // A value written then deleted again leaves nothing behind.
  one.WriteInt(general, velmar_ustring("temporary"), 1);
  one.DeletePreference(general, velmar_ustring("temporary"));
  ASSERT_TRUE(one.SavePreferences());

  MemoryStore result(env);
  EXPECT_EQ(result.ReadInt(general, velmar_ustring("a"), 0), 2);
  EXPECT_EQ(result.ReadInt(general, velmar_ustring("b"), 0), 3);
  EXPECT_FALSE(result.CategoryExists(velmar_ustring("old")));
  EXPECT_FALSE(result.IsPreferenceSet(general, velmar_ustring("bin")));
  EXPECT_FALSE(result.IsPreferenceSet(general, velmar_ustring("temporary")));
  StringVector recent;
  EXPECT_TRUE(result.ReadStringVector(velmar_ustring("recent"), recent));
  EXPECT_EQ(one.ReadInt(general, velmar_ustring("b"), 0), 3);
}

// Any run of changes, repeated and interleaved, saved over what another
// store saved meanwhile, reads as if it had been made on top of that save:
// however the record of changes is kept short, nothing is lost or undone.
TEST(JsonCommonMergeTest, ChangesSavedOverAnotherSaveReadAsIfMadeOnIt) {
  std::mt19937 random(2026);
  const velmar_ustring names[] = {general, velmar_ustring("c"), velmar_ustring("d")};
  auto name = [&]() -> const velmar_ustring& { return names[random() % std::size(names)]; };
  auto change = [&](std::vector<JsonCommon*> stores) {
    const unsigned op = random() % 16;
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
    {
      MemoryStore other(env);
      for (int i = 0; i < 6; ++i) change({&other});
      ASSERT_TRUE(other.SavePreferences());
    }
    MemoryStore expected(env);
    for (int i = 0; i < 120; ++i) change({&mine, &expected});
    ASSERT_TRUE(mine.SavePreferences()) << mine.Error();

    MemoryStore result(env);
    for (const velmar_ustring& category : names) {
      StringVector got;
      StringVector want;
      EXPECT_EQ(result.ReadStringVector(category, got), expected.ReadStringVector(category, want));
      EXPECT_EQ(got, want);
      for (const velmar_ustring& key : names) {
        EXPECT_EQ(result.ReadInt(category, key, -1), expected.ReadInt(category, key, -1))
            << "round " << round;
      }
    }
  }
}

TEST(JsonCommonLockTest, LoadsCreateNothingAndASaveWaitsOnceForAllItsLocks) {
  MemoryFileEnv env;
  const string_type temporary = kPublic + U(u".tmp");
  env.entries[temporary].bytes = "{\"half";  // left by a save that died
  env.lock_error = "Permission denied";
  const auto entries = env.entries;
  MemoryStore store(env);
  EXPECT_TRUE(store.loaded);
  EXPECT_EQ(env.entries.size(), entries.size());
  EXPECT_TRUE(env.lock_deadlines.empty());
  // A lock file that cannot be opened is the save's failure, not the load's.
  store.WriteInt(general, velmar_ustring("k"), 1);
  EXPECT_FALSE(store.SavePreferences());
  EXPECT_NE(store.Error().find("cannot lock it: Permission denied"), std::string::npos);

  env.lock_error.clear();
  env.lock_deadlines.clear();
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(store.SavePreferences()) << store.Error();
  ASSERT_EQ(env.lock_deadlines.size(), 2u);
  EXPECT_EQ(env.lock_deadlines[0], env.lock_deadlines[1]);
  EXPECT_LE(env.lock_deadlines[0], std::chrono::steady_clock::now() + platform::kLockWait);
  EXPECT_GE(env.lock_deadlines[0], before + platform::kLockWait);
  EXPECT_EQ(env.Bytes(temporary), nullptr);
  EXPECT_NE(env.Bytes(kPublic + kLock), nullptr);
}

// Another process saves while this store's save holds its locks. Whatever
// the paths and whatever happens to the lock files, a value a save reported
// as saved is on disk in the end.
struct Interleaving {
  const char* name;
  const char16_t* other_folder;  // the other store's paths: links when not /m
  bool remove_locks;             // the lock files are removed first
  bool other_saves;
};

const Interleaving kInterleavings[] = {
    {"one folder", u"/m", false, false},
    {"two paths to one file", u"/links", false, false},
    {"lock files removed while held", u"/m", true, true},
    {"lock files removed, two paths", u"/links", true, true},
};

TEST(JsonCommonLockTest, AValueReportedAsSavedIsNeverLost) {
  for (const Interleaving& row : kInterleavings) {
    SCOPED_TRACE(row.name);
    MemoryFileEnv env;
    env.entries[kPrivate].bytes = env.entries[kPublic].bytes = "{\"format\": 1}";
    env.links[U(u"/links/p.private.json")] = kPrivate;
    env.links[U(u"/links/p.public.json")] = U(u"/other/../m/p.public.json");
    env.links[U(u"/other/../m/p.public.json")] = kPublic;
    MemoryStore mine(env);
    MemoryStore other(env, U(row.other_folder));
    mine.WriteInt(general, velmar_ustring("mine"), 1);
    other.WriteInt(general, velmar_ustring("other"), 2);
    bool other_saved = false;
    env.on_write = [&](const string_type&) {
      if (row.remove_locks) {
        env.RemoveFile(kPrivate + kLock);
        env.RemoveFile(kPublic + kLock);
      }
      other_saved = other.SavePreferences();
    };
    ASSERT_TRUE(mine.SavePreferences()) << mine.Error();
    EXPECT_EQ(other_saved, row.other_saves) << other.Error();
    if (!other_saved) {
      EXPECT_NE(other.Error().find("another process holds the lock"), std::string::npos);
    }
    MemoryStore result(env);
    EXPECT_EQ(result.ReadInt(general, velmar_ustring("mine"), 0), 1);
    EXPECT_EQ(result.ReadInt(general, velmar_ustring("other"), 0), other_saved ? 2 : 0);
    EXPECT_EQ(env.links.size(), 3u) << "a link was replaced";
  }
}

// What a link at a preference file's place leads to.
struct LinkTarget {
  const char* name;
  bool exists;
  MemoryFileEnv::EntryKind kind;
  const char* bytes;
  const char* expected;  // in the save's error; empty when the save works
};

const LinkTarget kLinkTargets[] = {
    {"a preference file", true, MemoryFileEnv::EntryKind::kFile,
     "{\"format\": 1, \"categories\": {\"general\": {\"old\": 1}}}", ""},
    {"notes", true, MemoryFileEnv::EntryKind::kFile, "my notes", "which is no preference file"},
    {"another program's JSON", true, MemoryFileEnv::EntryKind::kFile, "{\"general\": {}}",
     "which is no preference file"},
    {"a broken preference file", true, MemoryFileEnv::EntryKind::kFile,
     "{\"format\": 1, \"categories\": 5}", "which is no preference file"},
    {"nothing", false, MemoryFileEnv::EntryKind::kFile, "", "which does not exist"},
    {"a folder", true, MemoryFileEnv::EntryKind::kFolder, "", "which cannot be read"},
};

TEST(JsonCommonLockTest, ALinkIsFollowedOnlyToAPreferenceFile) {
  const string_type target = U(u"/home/notes.txt");
  for (const LinkTarget& row : kLinkTargets) {
    SCOPED_TRACE(row.name);
    MemoryFileEnv env;
    env.links[kPublic] = target;
    if (row.exists) env.entries[target] = MemoryFileEnv::Entry{row.kind, row.bytes};
    const auto entries = env.entries;
    MemoryStore store(env);
    const bool own = *row.expected == 0;
    EXPECT_EQ(store.loaded, own);
    store.WriteInt(general, velmar_ustring("new"), 2);
    EXPECT_EQ(store.SavePreferences(), own);
    EXPECT_EQ(env.links.at(kPublic), target);
    if (own) {
      EXPECT_EQ(MemoryStore(env).ReadInt(general, velmar_ustring("old"), 0), 1);
      EXPECT_NE(env.Bytes(target + kLock), nullptr) << "the lock is beside the target";
      continue;
    }
    EXPECT_NE(store.Error().find("/m/p.public.json: is a link"), std::string::npos);
    EXPECT_NE(store.Error().find("leads to /home/notes.txt, " + std::string(row.expected)),
              std::string::npos)
        << store.Error();
    for (const auto& entry : entries) {
      EXPECT_EQ(env.entries.at(entry.first).bytes, entry.second.bytes);
    }
    for (const auto& entry : env.entries) {
      EXPECT_EQ(entry.first.find(U(u"/home/notes.txt.")), string_type::npos)
          << "nothing is made beside what the link leads to";
      EXPECT_EQ(entry.first.find(U(u".bad")), string_type::npos);
    }
  }
}

TEST(JsonCommonMergeTest, UnreadableCopiesAreBounded) {
  MemoryFileEnv env;
  for (int i = 0; i < 12; ++i) {
    env.entries[kPublic].bytes = "not json " + std::to_string(i);
    MemoryStore store(env);
    ASSERT_TRUE(store.SavePreferences()) << i << ": " << store.Error();
    if (i == 1) {  // each copy gets a name of its own
      EXPECT_EQ(*env.Bytes(kPublic + U(u".bad")), "not json 0");
      EXPECT_EQ(*env.Bytes(kPublic + U(u".bad1")), "not json 1");
    }
  }
  std::vector<std::string> kept;
  for (const auto& entry : env.entries) {
    if (entry.first.find(U(u".bad")) != string_type::npos) kept.push_back(entry.second.bytes);
  }
  EXPECT_EQ(kept.size(), 5u);
  // The newest are kept.
  EXPECT_NE(std::find(kept.begin(), kept.end(), "not json 11"), kept.end());
  EXPECT_EQ(std::find(kept.begin(), kept.end(), "not json 6"), kept.end());
}

}  // namespace
}  // namespace velmar::prefs
