// Several processes sharing one pair of preference files: no key is lost
// and no save fails, whether each process keeps one store open or opens a
// fresh store for every change, reaches the files through links, or has
// the lock files removed under it; and a save killed at any moment leaves
// files that load with the old or the new values.
//
// The program runs itself as the child processes ("--child ...").
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "FolianUtils/preferences.h"
#include "TrelvinCommonPreferences/json_common.h"
#include "environment/support_folders_test_roots.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using velmar::utils::velmar_ustring;

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

velmar_ustring KeyName(int process, int key) {
  return velmar_ustring("p" + std::to_string(process) + "_k" + std::to_string(key));
}

bool Save(FileStore& store) {
  if (store.SavePreferences()) return true;
  std::fprintf(stderr, "%s\n", store.LastSaveError().ToUTF8().c_str());
  return false;
}

// Writes `keys` keys of its own, saving after each; the exit status is the
// number of failed saves, each told on the error stream.
int RunWriter(const std::string& mode, const fs::path& folder, int process, int keys) {
  int failed = 0;
  if (mode == "long") {
    FileStore store(folder);
    for (int key = 0; key < keys; ++key) {
      store.WriteInt(kGeneral, KeyName(process, key), key);
      if (!Save(store)) ++failed;
    }
  } else {
    for (int key = 0; key < keys; ++key) {
      FileStore store(folder);
      store.WriteInt(kGeneral, KeyName(process, key), key);
      if (!Save(store)) ++failed;
    }
  }
  return failed > 100 ? 100 : failed;
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

#if defined(_WIN32)
using Child = HANDLE;

Child Spawn(const std::vector<std::string>& args) {
  std::wstring line = L"\"" + fs::u8path(g_self).wstring() + L"\"";
  for (const std::string& arg : args) line += L" \"" + fs::u8path(arg).wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

int Wait(Child child) {
  WaitForSingleObject(child, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(child, &code);
  CloseHandle(child);
  return static_cast<int>(code);
}
#else
using Child = pid_t;

Child Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(g_self.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawn(&pid, g_self.c_str(), nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

int Wait(Child child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

struct Outcome {
  int lost = 0;
  int failed_saves = 0;
};

// How the writers reach the files.
struct Pattern {
  const char* mode;    // "long": one store per process; "short": one per change
  bool through_links;  // odd processes use a folder of links to the files
  bool remove_locks;   // the lock files are removed again and again meanwhile
};

void PrintTo(const Pattern& pattern, std::ostream* out) {
  *out << pattern.mode << (pattern.through_links ? "+links" : "")
       << (pattern.remove_locks ? "+removed-locks" : "");
}

Outcome RunWriters(const Pattern& pattern, const fs::path& folder, int processes, int keys) {
  fs::path links = folder;
  if (pattern.through_links) {
    links = folder / "links";
    fs::create_directory(links);
    FileStore(folder).SavePreferences();  // links lead to preference files
    for (const char* name : {"m.private.json", "m.public.json"}) {
      fs::create_symlink(folder / name, links / name);
    }
  }
  std::vector<Child> children;
  for (int process = 0; process < processes; ++process) {
    const fs::path& reached = process % 2 == 1 ? links : folder;
    children.push_back(Spawn({"--child", pattern.mode, reached.u8string(), std::to_string(process),
                              std::to_string(keys)}));
  }
  std::atomic<bool> done{false};
  std::thread remover([&] {
    while (pattern.remove_locks && !done) {
      std::error_code ignored;
      fs::remove(folder / "m.private.json.lock", ignored);
      fs::remove(folder / "m.public.json.lock", ignored);
      // Often enough to catch many saves holding them, not so often that
      // every save must start over until it gives up.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  Outcome outcome;
  for (const Child child : children) {
    EXPECT_TRUE(child) << "could not start a child";
    if (child) outcome.failed_saves += Wait(child);
  }
  done = true;
  remover.join();
  FileStore result(folder);
  for (int process = 0; process < processes; ++process) {
    for (int key = 0; key < keys; ++key) {
      if (result.ReadInt(kGeneral, KeyName(process, key), -1) != key) ++outcome.lost;
    }
  }
  return outcome;
}

// The application's settings as another instance of the application: sets
// draft mode and saves; the exit status is 0 when the save succeeded.
int RunOtherInstance() {
  folian::Preferences& prefs = folian::Preferences::Default();
  prefs.SetDraftMode(true);
  prefs.Save();
  const bool saved = prefs.LastSaveError().empty();
  folian::Preferences::Destroy();
  return saved ? 0 : 1;
}

class MultiProcessTest : public ::testing::TestWithParam<Pattern> {};

TEST_P(MultiProcessTest, FourProcessesOfFiftyKeysLoseNothing) {
  const Pattern& pattern = GetParam();
  const folian::test::TemporaryFolder folder;
  ASSERT_TRUE(folder.ok());
  std::error_code links_refused;
  fs::create_symlink(folder.path() / "none", folder.path() / "probe", links_refused);
  if (pattern.through_links && links_refused) {
    GTEST_SKIP() << "this system lets no ordinary user make symbolic links";
  }
  fs::remove(folder.path() / "probe", links_refused);
  const auto start = std::chrono::steady_clock::now();
  const Outcome outcome = RunWriters(pattern, folder.path(), 4, 50);
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(outcome.lost, 0) << "of 200 keys";
  EXPECT_EQ(outcome.failed_saves, 0);
  std::printf("%s stores%s%s: 4 processes x 50 keys, %d lost, %d failed saves, %.1f s\n",
              pattern.mode, pattern.through_links ? ", half through links" : "",
              pattern.remove_locks ? ", lock files removed" : "", outcome.lost,
              outcome.failed_saves, seconds);
}

INSTANTIATE_TEST_SUITE_P(Patterns, MultiProcessTest,
                         ::testing::Values(Pattern{"long", false, false},
                                           Pattern{"short", false, false},
                                           Pattern{"long", true, false},
                                           Pattern{"short", true, true},
                                           Pattern{"long", false, true}));

// The host sees another instance's save through Synchronize(), without
// saving, and a change of its own made meanwhile survives the merge.
TEST(MultiProcessSettingsTest, SynchronizeShowsAnotherInstancesSave) {
  const folian::test::ScopedSupportRoots roots;
  if (!roots.usable()) GTEST_SKIP() << "the data folders cannot be redirected here";
  folian::Preferences::Destroy();
  folian::Preferences& prefs = folian::Preferences::Default();
  ASSERT_FALSE(prefs.GetDraftMode());
  ASSERT_TRUE(prefs.Synchronize()) << prefs.LastSaveError().ToUTF8();

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
  folian::Preferences& fresh = folian::Preferences::Default();
  EXPECT_TRUE(fresh.GetDraftMode());
  EXPECT_EQ(fresh.GetDraftModeOptions(), 5);
  folian::Preferences::Destroy();
}

#if !defined(_WIN32)
TEST(LinuxMultiProcessTest, HundredKillsDuringSavesLeaveWholeFiles) {
  const folian::test::TemporaryFolder folder;
  ASSERT_TRUE(folder.ok());
  constexpr int kKeys = 2000;
  // How long a child takes to start and finish its first save, so that
  // the kills land during saves on a fast build and on a slow one alike.
  const fs::path file = folder.path() / "m.public.json";
  const auto start = std::chrono::steady_clock::now();
  const Child first = Spawn({"--saver", folder.path().u8string(), std::to_string(kKeys)});
  ASSERT_TRUE(first);
  while (!fs::exists(file) && std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const auto first_save = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
  ASSERT_TRUE(fs::exists(file)) << "the child never saved";
  std::mt19937 random(9);
  std::uniform_int_distribution<long long> delay_ms(first_save / 2, first_save * 5 / 2);
  int newest_round = 0;
  int saves_seen = 0;
  for (int kill_count = 0; kill_count < 100; ++kill_count) {
    const Child child = Spawn({"--saver", folder.path().u8string(), std::to_string(kKeys)});
    ASSERT_TRUE(child);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    FileStore store(folder.path());
    ASSERT_TRUE(store.LoadPreferences()) << "kill " << kill_count << ": a file does not load";
    const int round = store.ReadInt(kGeneral, velmar_ustring("round"), 0);
    // The old or the new values, whole: never a mix, never older ones.
    ASSERT_GE(round, newest_round) << "kill " << kill_count;
    if (round > 0) {
      for (int key = 0; key < kKeys; key += 97) {
        ASSERT_EQ(store.ReadInt(kGeneral, KeyName(0, key), -1), round) << "kill " << kill_count;
      }
    }
    if (round > newest_round) ++saves_seen;
    newest_round = round;
  }
  // A killed save may leave its temporary files; the next save replaces them.
  int set_aside = 0;
  int temporary = 0;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    set_aside += name.find(".bad") != std::string::npos;
    temporary += name.find(".tmp") != std::string::npos;
  }
  EXPECT_EQ(set_aside, 0);
  EXPECT_LE(temporary, 2);
  EXPECT_GT(saves_seen, 10) << "the children hardly ever saved";
  std::printf("100 kills during saves of %d keys: 0 corrupt, %d rounds saved\n", kKeys,
              newest_round);
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
  if (argc == 4 && std::string(argv[1]) == "--saver") {
    return RunSaver(fs::u8path(argv[2]), std::atoi(argv[3]));
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
