// Files, locks and links, through the in-memory file system.
#include "prefs/common/preference_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>
#include <set>
#include <string>

#include "prefs/common/memory_store_test_support.h"

namespace velmar::prefs::test {
namespace {

using Kind = MemoryFileEnv::EntryKind;

const string_type kLock = U(u".lock");
const velmar_ustring kKey("k");

bool HasEntryWith(const MemoryFileEnv& env, const string_type& part) {
  return std::any_of(env.entries.begin(), env.entries.end(), [&](const auto& entry) {
    return entry.first.find(part) != string_type::npos;
  });
}

// An error at one step, or something other than a file in its place.
const struct {
  std::string MemoryFileEnv::*step;
  const char* error;
  Kind kind;
} kFaults[] = {
    {&MemoryFileEnv::write_error, "No space left on device", Kind::kFile},
    {&MemoryFileEnv::flush_error, "Input/output error", Kind::kFile},
    {&MemoryFileEnv::create_error, "Permission denied", Kind::kFile},
    {&MemoryFileEnv::replace_error, "Device or resource busy", Kind::kFile},
    {&MemoryFileEnv::lock_error, "Operation not permitted", Kind::kFile},
    {nullptr, "Is a directory", Kind::kFolder},
    {nullptr, "not a regular file", Kind::kFifo},
};

// A fault fails the save with the system's words and keeps the file, the
// values and no temporary file; the other file is saved all the same.
TEST(PreferenceFileTest, EveryFaultFailsTheSaveKeepsTheFileAndTheValues) {
  for (const auto& fault : kFaults) {
    SCOPED_TRACE(fault.error);
    MemoryFileEnv env;
    env.entries[kPublic + U(u".tmp")].bytes = "{\"half";
    MemoryStore store(env);
    EXPECT_EQ(env.entries.size(), 1u);
    store.WriteInt(kGeneral, kKey, 1);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(store.SavePreferences()) << store.Error();
    ASSERT_EQ(env.lock_deadlines.size(), 2u);
    EXPECT_EQ(env.lock_deadlines[0], env.lock_deadlines[1]);
    EXPECT_GE(env.lock_deadlines[0], start + platform::kLockWait);
    EXPECT_LE(env.lock_deadlines[0], std::chrono::steady_clock::now() + platform::kLockWait);
    const std::string before = *env.Bytes(kPublic);

    store.WriteInt(kGeneral, kKey, 2);
    store.WriteBinary(kGeneral, kKey, {1});
    if (fault.step != nullptr) env.*fault.step = fault.error;
    env.entries[kPublic].kind = fault.kind;
    EXPECT_FALSE(store.SavePreferences());
    EXPECT_NE(store.Error().find("/m/p."), std::string::npos) << store.Error();
    EXPECT_NE(store.Error().find(fault.error), std::string::npos) << store.Error();
    EXPECT_FALSE(HasEntryWith(env, U(u".tmp"))) << "a temporary file is left";
    if (fault.kind == Kind::kFile) {
      EXPECT_EQ(*env.Bytes(kPublic), before);
    } else {
      EXPECT_NE(env.Bytes(kPrivate)->find("\"k\": \"AQ==\""), std::string::npos);
      env.entries[kPublic].bytes.clear();
      EXPECT_FALSE(MemoryStore(env).loaded);
    }
    env = MemoryFileEnv();
    env.entries[kPublic].bytes = before;
    ASSERT_TRUE(store.SavePreferences()) << store.Error();
    EXPECT_EQ(MemoryStore(env).ReadInt(kGeneral, kKey, 0), 2);
  }
}

// Another store saves while this one holds the locks, as it writes its
// new file or between its last check of the lock and the rename: what a
// save reports as saved is on disk in the end. Without another store, a
// writer that took a removed lock only removes the temporary files.
TEST(PreferenceFileTest, AValueReportedAsSavedIsNeverLost) {
  const struct {
    const char16_t* other_folder;  // the other store's paths: links when not /m
    bool remove_locks;             // the lock files are removed first
    bool at_rename;                // the other's turn: at the rename, not the write
  } cases[] = {{u"/m", false, false},    {u"/links", false, false}, {u"/m", true, false},
               {u"/links", true, false}, {u"/m", false, true},      {u"/m", true, true},
               {u"/links", true, true},  {nullptr, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    MemoryFileEnv env;
    env.entries[kPrivate].bytes = env.entries[kPublic].bytes = "{\"format\": 1}";
    env.links[U(u"/links/p.private.json")] = kPrivate;
    env.links[U(u"/links/p.public.json")] = U(u"/other/../m/p.public.json");
    env.links[U(u"/other/../m/p.public.json")] = kPublic;
    MemoryStore mine(env);
    MemoryStore other(env, U(c.other_folder != nullptr ? c.other_folder : u"/m"));
    mine.WriteInt(kGeneral, velmar_ustring("mine"), 1);
    other.WriteInt(kGeneral, velmar_ustring("other"), 2);
    bool other_saved = false;
    auto& turn = c.at_rename ? env.on_replace : env.on_write;
    turn = [&](const string_type&) {
      if (c.remove_locks) {
        env.RemoveFile(kPrivate + kLock);
        env.RemoveFile(kPublic + kLock);
      }
      if (c.other_folder != nullptr) {
        other_saved = other.SavePreferences();
        return;
      }
      for (auto entry = env.entries.begin(); entry != env.entries.end();) {
        entry = entry->first.find(U(u".tmp")) != string_type::npos ? env.entries.erase(entry)
                                                                   : std::next(entry);
      }
    };
    ASSERT_TRUE(mine.SavePreferences()) << mine.Error();
    EXPECT_EQ(other_saved, c.remove_locks) << other.Error();
    EXPECT_EQ(other.Error().find("another process holds the lock") == std::string::npos,
              other_saved || c.other_folder == nullptr);
    EXPECT_FALSE(HasEntryWith(env, U(u".tmp"))) << "a temporary file is left";
    MemoryStore result(env);
    EXPECT_EQ(result.ReadInt(kGeneral, velmar_ustring("mine"), 0), 1);
    EXPECT_EQ(result.ReadInt(kGeneral, velmar_ustring("other"), 0), other_saved ? 2 : 0);
  }
}

// A link is followed only to a preference file, and to the file it leads
// to now when it is re-pointed while the save waits for the old one's lock.
TEST(PreferenceFileTest, ALinkIsFollowedOnlyToAPreferenceFile) {
  const string_type target = U(u"/home/notes.txt");
  const string_type moved = U(u"/home/moved.json");
  const char* own_file = "{\"format\": 1, \"categories\": {\"general\": {\"old\": 1}}}";
  const struct {
    bool exists;
    Kind kind;
    const char* bytes;
    const char* expected;  // in the save's error; empty when the save works
    bool repointed;        // the target's lock is held until the link leads elsewhere
  } cases[] = {
      {true, Kind::kFile, own_file, "", false},
      {true, Kind::kFile, own_file, "", true},
      {true, Kind::kFile, "my notes", "which is no preference file", false},
      {true, Kind::kFile, "{\"general\": {}}", "which is no preference file", false},
      {false, Kind::kFile, "", "which does not exist", false},
      {true, Kind::kFolder, "", "which cannot be read", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.bytes) + std::to_string(c.repointed));
    MemoryFileEnv env;
    env.links[kPublic] = target;
    if (c.exists) env.entries[target] = MemoryFileEnv::Entry{c.kind, c.bytes};
    const auto entries = env.entries;
    MemoryStore store(env);
    const bool own = *c.expected == 0;
    EXPECT_EQ(store.loaded, own);
    store.WriteInt(kGeneral, velmar_ustring("new"), 2);
    std::unique_ptr<platform::FileLock> held;
    if (c.repointed) env.entries[moved] = env.entries[target];
    ASSERT_TRUE(!c.repointed || env.Lock(target + kLock, {}, {}, held).ok());
    env.on_wait = [&](const string_type&) { env.links[kPublic] = moved; };
    EXPECT_EQ(store.SavePreferences(), own) << store.Error();
    EXPECT_EQ(env.links.at(kPublic), c.repointed ? moved : target);
    if (own) {
      MemoryStore saved(env);
      EXPECT_EQ(saved.ReadInt(kGeneral, velmar_ustring("new"), 0) +
                    saved.ReadInt(kGeneral, velmar_ustring("old"), 0),
                3);
      EXPECT_NE(env.Bytes((c.repointed ? moved : target) + kLock), nullptr) << "beside the target";
      EXPECT_EQ(*env.Bytes(target) == c.bytes, c.repointed);
      continue;
    }
    EXPECT_NE(store.Error().find("/m/p.public.json: is a link"), std::string::npos);
    EXPECT_NE(store.Error().find("leads to /home/notes.txt, " + std::string(c.expected)),
              std::string::npos)
        << store.Error();
    for (const auto& entry : entries) {
      EXPECT_EQ(env.entries.at(entry.first).bytes, entry.second.bytes);
    }
    EXPECT_FALSE(HasEntryWith(env, U(u"notes.txt.")) || HasEntryWith(env, U(u".bad")));
  }
}

// Unreadable files are kept aside, the newest five, and the new file takes
// their mode and owner. A copy planted with the largest number of ours is
// numbered anew; names that are no copy of ours stay as they are.
TEST(PreferenceFileTest, UnreadableCopiesAreBounded) {
  MemoryFileEnv env;
  env.entries[kPublic + U(u".bad999999999999999999")].bytes = "planted";
  for (const char16_t* foreign : {u".bad1000000000000000000", u".bad01", u".bad1x"}) {
    env.entries[kPublic + U(foreign)].bytes = "foreign";
  }
  for (int i = 0; i < 12; ++i) {
    env.entries[kPublic].bytes = "not json " + std::to_string(i);
    MemoryStore store(env);
    ASSERT_TRUE(store.SavePreferences()) << i << ": " << store.Error();
    EXPECT_NE(env.entries.at(kPublic).permissions_from.find(U(u".bad")), string_type::npos)
        << "the new file takes the mode and owner of the one kept aside";
  }
  std::multiset<std::string> kept;
  for (const auto& entry : env.entries) {
    if (entry.first.find(U(u".bad")) != string_type::npos) kept.insert(entry.second.bytes);
  }
  EXPECT_EQ(kept,
            (std::multiset<std::string>{"foreign", "foreign", "foreign", "not json 10",
                                        "not json 11", "not json 7", "not json 8", "not json 9"}));
}

}  // namespace
}  // namespace velmar::prefs::test
