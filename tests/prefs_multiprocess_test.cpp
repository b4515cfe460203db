// Processes sharing preference files lose nothing, and a killed save
// leaves whole files. The program runs itself as the children.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "FolianUtils/preferences.h"
#include "FolianUtils/temp_preferences.h"
#include "TrelvinCommonPreferences/json_common.h"
#include "environment/support_folders_test_roots.h"
#include "platform/folder_watch.h"

#if defined(_WIN32)
#include <process.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using velmar::utils::velmar_ustring;
using namespace std::chrono_literals;

std::string g_self;

class FileStore : public velmar::prefs::JsonCommon {
 public:
  explicit FileStore(const fs::path& folder) {
    m_privateFilePath = folian::test::FromFsPath(folder / "m.private.json");
    m_publicFilePath = folian::test::FromFsPath(folder / "m.public.json");
    LoadPreferences();
  }
};

const velmar_ustring kGeneral("general");
using Change = velmar::prefs::JsonCommon::ValueChange;

velmar_ustring KeyName(int process, int key) {
  return velmar_ustring("p" + std::to_string(process) + "_k" + std::to_string(key));
}

// Writes and saves keys one by one; exits with the number of failed saves.
int RunWriter(const std::string& mode, const fs::path& folder, int process, int keys) {
  std::optional<FileStore> store;
  int failed = 0;
  for (int key = 0; key < keys; ++key) {
    if (!store || mode == "short") store.emplace(folder);
    store->WriteInt(kGeneral, KeyName(process, key), key);
    if (!store->SavePreferences()) {
      std::fprintf(stderr, "%s\n", store->LastSaveError().ToUTF8().c_str());
      ++failed;
    }
  }
  return std::min(failed, 100);
}

// Saves a store of `keys` keys round after round until killed.
int RunSaver(const fs::path& folder, int keys) {
  FileStore store(folder);
  for (int round = store.ReadInt(kGeneral, velmar_ustring("round"), 0) + 1;; ++round) {
    for (int key = 0; key < keys; ++key) store.WriteInt(kGeneral, KeyName(0, key), round);
    store.WriteInt(kGeneral, velmar_ustring("round"), round);
    store.SavePreferences();
  }
}

// Sets one value and saves; exits with 0 when saved.
int RunSetter(const fs::path& folder, const std::string& key, int value) {
  FileStore store(folder);
  store.WriteInt(kGeneral, velmar_ustring(key), value);
  return store.SavePreferences() ? 0 : 1;
}

#if defined(_WIN32)
using Child = intptr_t;

Child Spawn(const std::vector<std::string>& args) {
  std::vector<std::wstring> quoted{L"\"" + fs::u8path(g_self).wstring() + L"\""};
  for (const std::string& arg : args) quoted.push_back(L"\"" + fs::u8path(arg).wstring() + L"\"");
  std::vector<const wchar_t*> argv;
  for (const std::wstring& arg : quoted) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  const intptr_t child = _wspawnv(_P_NOWAIT, fs::u8path(g_self).wstring().c_str(), argv.data());
  return child == -1 ? 0 : child;
}

int Wait(Child child) {
  int code = -1;
  return _cwait(&code, child, 0) == -1 ? -1 : code;
}
#else
using Child = pid_t;

// `program` (this one by default) with `args`, its output to the file
// `out` when given.
Child Spawn(const std::vector<std::string>& args, const std::string& program = g_self,
            const std::string& out = {}) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!out.empty())
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT, 0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : 0;
}

int Wait(Child child) {
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// How the writers reach the files.
struct Pattern {
  const char* mode;    // "long": one store per process; "short": one per change
  bool through_links;  // odd processes use a folder of links to the files
  bool remove_locks;   // the lock files are removed again and again meanwhile
};

// Another instance of the application sets draft mode and saves.
int RunOtherInstance() {
  folian::Preferences& prefs = folian::Preferences::Default();
  prefs.SetDraftMode(true);
  prefs.Save();
  // Told on the test's own output, where a failure shows why.
  const std::string error = prefs.LastSaveError().ToUTF8();
  if (!error.empty()) std::fprintf(stderr, "the other instance: %s\n", error.c_str());
  return error.empty() ? 0 : 1;
}

class MultiProcessTest : public ::testing::TestWithParam<Pattern> {};

TEST_P(MultiProcessTest, FourProcessesOfFiftyKeysLoseNothing) {
  const Pattern& pattern = GetParam();
  const folian::test::TemporaryFolder folder;
  ASSERT_TRUE(folder.ok());
  const fs::path links = pattern.through_links ? folder.path() / "links" : folder.path();
  if (pattern.through_links) {
    fs::create_directory(links);
    FileStore(folder.path()).SavePreferences();  // links lead to preference files
    for (const char* name : {"m.private.json", "m.public.json"}) {
      std::error_code refused;
      fs::create_symlink(folder.path() / name, links / name, refused);
      if (refused) GTEST_SKIP() << "this system lets no ordinary user make symbolic links";
    }
  }
  std::vector<Child> children;
  for (int process = 0; process < 4; ++process) {
    const fs::path& reached = process % 2 == 1 ? links : folder.path();
    children.push_back(
        Spawn({"--child", pattern.mode, reached.u8string(), std::to_string(process), "50"}));
  }
  std::atomic<bool> done{false};
  std::thread remover([&] {
    while (pattern.remove_locks && !done) {
      std::error_code ignored;
      fs::remove(folder.path() / "m.private.json.lock", ignored);
      fs::remove(folder.path() / "m.public.json.lock", ignored);
      // Far more often than a save takes: no save may lose what another one
      // wrote however often its lock file goes.
      std::this_thread::sleep_for(100us);
    }
  });
  int lost = 0;
  int failed_saves = 0;
  for (const Child child : children) {
    EXPECT_TRUE(child) << "could not start a child";
    if (child) failed_saves += Wait(child);
  }
  done = true;
  remover.join();
  FileStore result(folder.path());
  for (int process = 0; process < 4; ++process) {
    for (int key = 0; key < 50; ++key) {
      lost += result.ReadInt(kGeneral, KeyName(process, key), -1) != key;
    }
  }
  EXPECT_EQ(lost, 0) << "of 200 keys";
  EXPECT_EQ(failed_saves, 0);
}

INSTANTIATE_TEST_SUITE_P(Patterns, MultiProcessTest,
                         ::testing::Values(Pattern{"long", false, false},
                                           Pattern{"short", false, false},
                                           Pattern{"long", true, false},
                                           Pattern{"short", true, true},
                                           Pattern{"long", false, true}));

// Synchronize() shows another instance's save and keeps one's own change.
TEST(MultiProcessSettingsTest, SynchronizeShowsAnotherInstancesSave) {
  const folian::test::ScopedSupportRoots roots;
  if (!roots.usable()) GTEST_SKIP() << "the data folders cannot be redirected here";
  folian::Preferences::Destroy();
  folian::Preferences& prefs = folian::Preferences::Default();
  const Child other = Spawn({"--other-instance"});
  ASSERT_TRUE(other);
  ASSERT_EQ(Wait(other), 0) << "the other instance could not save";
  EXPECT_FALSE(prefs.GetDraftMode()) << "seen before synchronising";
  prefs.SetDraftModeOptions(5);
  ASSERT_TRUE(prefs.Synchronize()) << prefs.LastSaveError().ToUTF8();
  EXPECT_TRUE(prefs.GetDraftMode());
  EXPECT_EQ(prefs.GetDraftModeOptions(), 5);
  folian::Preferences::Destroy();
  // Nothing left unsaved: a fresh instance reads both.
  EXPECT_EQ(folian::Preferences::Default().GetDraftModeOptions(), 5);
  EXPECT_TRUE(folian::Preferences::Default().GetDraftMode());
  folian::Preferences::Destroy();
}

#if !defined(_WIN32)
TEST(LinuxMultiProcessTest, HundredKillsDuringSavesLeaveWholeFiles) {
  const folian::test::TemporaryFolder folder;
  ASSERT_TRUE(folder.ok());
  constexpr int kKeys = 2000;
  // Kills land during saves: timed by how long the first save takes.
  const fs::path file = folder.path() / "m.public.json";
  const auto start = std::chrono::steady_clock::now();
  const Child first = Spawn({"--saver", folder.path().u8string(), std::to_string(kKeys)});
  ASSERT_TRUE(first);
  while (!fs::exists(file) && std::chrono::steady_clock::now() - start < 30s) {
    std::this_thread::sleep_for(2ms);
  }
  const long long first_save = (std::chrono::steady_clock::now() - start) / 1ms;
  kill(first, SIGKILL);
  Wait(first);
  ASSERT_TRUE(fs::exists(file)) << "the child never saved";
  // A watching store never reports a killed save as values removed.
  FileStore watcher(folder.path());
  ASSERT_TRUE(watcher.StartWatching()) << watcher.LastWatchError().ToUTF8();
  int removed = 0;
  std::mt19937 random(9);
  std::uniform_int_distribution<long long> delay_ms(first_save / 2, first_save * 5 / 2);
  int newest_round = 0;
  int saves_seen = 0;
  // A child killed before its first save lengthens the later waits: a
  // loaded machine starts processes more slowly than the first one did.
  long long stretch = 1;
  for (int kill_count = 0; kill_count < 100; ++kill_count) {
    const Child child = Spawn({"--saver", folder.path().u8string(), std::to_string(kKeys)});
    ASSERT_TRUE(child);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms(random) * stretch));
    kill(child, SIGKILL);
    Wait(child);
    for (const auto& change : watcher.ReloadChanges()) removed += change.what == Change::kRemoved;

    FileStore store(folder.path());
    ASSERT_TRUE(store.LoadPreferences()) << "kill " << kill_count << ": a file does not load";
    const int round = store.ReadInt(kGeneral, velmar_ustring("round"), 0);
    // The old or the new values, whole: never a mix, never older ones.
    ASSERT_GE(round, newest_round) << "kill " << kill_count;
    for (int key = 0; key < kKeys; key += 97) {
      ASSERT_EQ(store.ReadInt(kGeneral, KeyName(0, key), -1), round) << "kill " << kill_count;
    }
    saves_seen += round > newest_round;
    if (round == newest_round && stretch < 4) ++stretch;
    newest_round = round;
  }
  // A killed save may leave its temporary files; the next save replaces them.
  int temporary = 0;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find(".bad"), std::string::npos) << name;
    temporary += name.find(".tmp") != std::string::npos;
  }
  EXPECT_LE(temporary, 2);
  EXPECT_GT(saves_seen, 10) << "the children hardly ever saved";
  EXPECT_EQ(removed, 0);
  EXPECT_EQ(watcher.ReadInt(kGeneral, velmar_ustring("round"), -1), newest_round);
}
#endif

// Waits on the store's handle, as a host's event loop would, and takes each
// report until `done` holds or `limit` passes; returns the non-empty reports.
template <typename Store>
std::vector<std::vector<Change>> Follow(Store& store, const std::function<bool()>& done,
                                        std::chrono::milliseconds limit) {
  std::vector<std::vector<Change>> reports;
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    // In slices, so that `done` is asked again while nothing happens.
    if (velmar::platform::WaitForWatch(store.GetWatchHandle(), std::min(left, 50ms)) !=
        velmar::platform::WaitResult::kReady) {
      continue;
    }
    std::vector<Change> report = store.ReloadChanges();
    if (!report.empty()) reports.push_back(std::move(report));
  }
  return reports;
}

void WriteText(const fs::path& file, int a) {
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      << R"({"format": 1, "categories": {"general": {"a": )" << a << "}}}";
}

// Each way a preference file changes reaches a watching store as a report
// of what changed: "a" from 1 to 2. Between the steps of a way, the store
// has taken what it saw and still reads 1: a missing file is not applied.
TEST(WatchTest, EveryWayAFileChangesIsReported) {
  using Step = std::function<void(const fs::path& root, const fs::path& files)>;
  const Step remove_public = [](const fs::path&, const fs::path& files) {
    fs::remove(files / "m.public.json");
  };
  const Step write_public = [](const fs::path&, const fs::path& files) {
    WriteText(files / "m.public.json", 2);
  };
  const struct {
    const char* name;
    bool links;  // needs symbolic links
    std::vector<Step> steps;
  } ways[] = {
      {"another process saves", false, {[](const fs::path&, const fs::path& files) {
         ASSERT_EQ(Wait(Spawn({"--set", files.u8string(), "a", "2"})), 0);
       }}},
      {"an editor writes in place", false, {write_public}},
      {"an editor renames the old file away",
       false,
       {[](const fs::path&, const fs::path& files) {
          fs::rename(files / "m.public.json", files / "m.public.json~");
        },
        write_public}},
      {"deleted and made again", false, {remove_public, write_public}},
      {"the private file", false, {[](const fs::path&, const fs::path& files) {
         WriteText(files / "m.private.json", 2);
       }}},
      {"the folder removed and made again",
       false,
       {[](const fs::path&, const fs::path& files) { fs::remove_all(files); },
        [](const fs::path&, const fs::path& files) {
          fs::create_directory(files);
          WriteText(files / "m.public.json", 2);
        }}},
      {"a link's target replaced", true, {[](const fs::path& root, const fs::path&) {
         ASSERT_EQ(Wait(Spawn({"--set", (root / "targets").u8string(), "a", "2"})), 0);
       }}},
      {"a link re-pointed", true, {[](const fs::path& root, const fs::path& files) {
         WriteText(root / "targets" / "b.json", 2);
         fs::create_symlink(root / "targets" / "b.json", files / "new-link");
         fs::rename(files / "new-link", files / "m.public.json");
       }}},
      {"the folder reached through a link", true, {[](const fs::path& root, const fs::path&) {
         ASSERT_EQ(Wait(Spawn({"--set", (root / "real").u8string(), "a", "2"})), 0);
       }}},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    const folian::test::TemporaryFolder folder;
    ASSERT_TRUE(folder.ok());
    const fs::path root = folder.path();
    fs::create_directories(root / "real");
    fs::create_directories(root / "targets");
    fs::path files = root / "real";
    WriteText(root / "real" / "m.public.json", 1);
    if (way.links) {
      std::error_code refused;
      fs::create_directory_symlink(root / "real", root / "via", refused);
      if (refused) continue;  // this system lets no ordinary user make links
      files = root / "via";
      // The public file leads, through a link, to a file in another folder.
      WriteText(root / "targets" / "m.public.json", 1);
      fs::remove(root / "real" / "m.public.json");
      fs::create_symlink(root / "targets" / "m.public.json", root / "real" / "m.public.json");
    }
    FileStore store(files);
    ASSERT_EQ(store.ReadInt(kGeneral, velmar_ustring("a"), -1), 1);
    ASSERT_TRUE(store.StartWatching()) << store.LastWatchError().ToUTF8();
    for (std::size_t step = 0; step + 1 < way.steps.size(); ++step) {
      way.steps[step](root, files);
      Follow(
          store, [] { return false; }, 200ms);
      EXPECT_EQ(store.ReadInt(kGeneral, velmar_ustring("a"), -1), 1) << "after step " << step;
    }
    way.steps.back()(root, files);
    const auto reports = Follow(
        store, [&] { return store.ReadInt(kGeneral, velmar_ustring("a"), -1) == 2; }, 5s);
    EXPECT_EQ(store.ReadInt(kGeneral, velmar_ustring("a"), -1), 2);
    ASSERT_FALSE(reports.empty());
    const Change& change = reports.back().back();
    EXPECT_EQ(change.what, Change::kChanged);
    EXPECT_EQ(change.category, kGeneral);
    EXPECT_EQ(change.key, velmar_ustring("a"));
    EXPECT_TRUE(store.LastWatchError().empty()) << store.LastWatchError().ToUTF8();
  }
}

// A burst of saves by another process ends with the watching store as the
// disk has it, with at most one report per save, none for its own save.
TEST(WatchTest, ABurstOfSavesEndsEqualToTheDiskAndNoEcho) {
  const folian::test::TemporaryFolder folder;
  ASSERT_TRUE(folder.ok());
  FileStore store(folder.path());
  store.WriteInt(kGeneral, velmar_ustring("own"), 1);
  ASSERT_TRUE(store.SavePreferences());
  ASSERT_TRUE(store.StartWatching()) << store.LastWatchError().ToUTF8();
  store.WriteInt(kGeneral, velmar_ustring("own"), 2);
  ASSERT_TRUE(store.SavePreferences());
  EXPECT_TRUE(Follow(
                  store, [] { return false; }, 300ms)
                  .empty())
      << "its own save came back";
  const Child writer = Spawn({"--child", "short", folder.path().u8string(), "1", "100"});
  ASSERT_TRUE(writer);
  std::atomic<bool> finished{false};
  std::thread waiter([&] { finished = Wait(writer) == 0; });
  auto reports = Follow(
      store, [&] { return finished.load(); }, 60s);
  waiter.join();
  ASSERT_TRUE(finished) << "the writer failed";
  for (auto& late : Follow(
           store, [] { return false; }, 300ms))
    reports.push_back(late);
  EXPECT_LE(reports.size(), 100u);
  EXPECT_GE(reports.size(), 1u);
  FileStore disk(folder.path());
  for (int key = 0; key < 100; ++key) {
    EXPECT_EQ(store.ReadInt(kGeneral, KeyName(1, key), -1), key);
  }
  EXPECT_EQ(disk.ReadInt(kGeneral, velmar_ustring("own"), -1), 2);
  for (const auto& report : reports) {
    for (const Change& change : report) EXPECT_NE(change.key, velmar_ustring("own"));
  }
}

#if !defined(_WIN32)
// The tool as the other process, both ways: its prefs-set reaches a
// watching store, and its prefs-watch prints the application's save and
// ends with status 0 at an interrupt.
TEST(LinuxWatchTest, TheToolSavesAndWatches) {
  const char* tool = std::getenv("FOLIAN_TOOL");
  if (tool == nullptr) GTEST_SKIP() << "FOLIAN_TOOL names no tool";
  const folian::test::ScopedSupportRoots roots;
  ASSERT_TRUE(roots.usable());
  const folian::test::TemporaryFolder out;
  ASSERT_TRUE(out.ok());
  const std::string printed = (out.path() / "watch.txt").string();
  folian::TempPreferences store(26);
  ASSERT_TRUE(store.StartWatching()) << store.LastWatchError().ToUTF8();
  ASSERT_EQ(Wait(Spawn({"prefs-set", "zoom", "150", "--type", "int"}, tool)), 0);
  Follow(
      store, [&] { return store.ReadInt(velmar_ustring("zoom"), 0) == 150; }, 5s);
  EXPECT_EQ(store.ReadInt(velmar_ustring("zoom"), 0), 150);
  const Child watcher = Spawn({"prefs-watch", "--json"}, tool, printed);
  ASSERT_TRUE(watcher);
  std::string text;
  // Saved again until the watcher, which needs a moment to start, prints it.
  for (int value = 200; value < 300 && text.find("\"zoom\"") == std::string::npos; ++value) {
    store.WriteInt(velmar_ustring("zoom"), value);
    store.Save();
    std::this_thread::sleep_for(50ms);
    std::ifstream file(printed);
    text.assign(std::istreambuf_iterator<char>(file), {});
  }
  kill(watcher, SIGINT);
  EXPECT_EQ(Wait(watcher), 0);
  EXPECT_NE(text.find(R"("command":"prefs-watch","ok":true,"key":"zoom","category":"general")"),
            std::string::npos)
      << text;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  g_self = argv[0];
#if !defined(_WIN32)
  g_self = fs::read_symlink("/proc/self/exe").string();
#endif
  if (argc == 6 && std::string(argv[1]) == "--child") {
    return RunWriter(argv[2], fs::u8path(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  }
  if (argc == 2 && std::string(argv[1]) == "--other-instance") return RunOtherInstance();
  if (argc == 5 && std::string(argv[1]) == "--set") {
    return RunSetter(fs::u8path(argv[2]), argv[3], std::atoi(argv[4]));
  }
  if (argc == 4 && std::string(argv[1]) == "--saver") {
    return RunSaver(fs::u8path(argv[2]), std::atoi(argv[3]));
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
