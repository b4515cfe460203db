#include "platform/folder_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "environment/support_folders_test_roots.h"

#if defined(__linux__)
#include <errno.h>

#include "platform/posix/folder_watch_internal.h"
#endif

namespace velmar::platform {
namespace {

namespace fs = std::filesystem;
using Path = const fs::path&;
using std::chrono::milliseconds;

utils::utf16_string Units(const char* ascii) { return {ascii, ascii + std::strlen(ascii)}; }
void Write(Path file) { std::ofstream(file, std::ios::binary) << "x"; }

// Takes events into `seen` until one of `kind` for `name` comes, 5 s at most.
bool TakeUntil(FolderWatch& watch, FolderEvent::Kind kind, const char* name,
               std::vector<FolderEvent>& seen) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (std::size_t checked = seen.size(); std::chrono::steady_clock::now() < deadline;) {
    if (WaitForWatch(watch.handle(), milliseconds(100)) == WaitResult::kReady) {
      watch.TakeEvents(seen);
    }
    for (; checked < seen.size(); ++checked) {
      if (seen[checked].kind == kind && seen[checked].name == Units(name)) return true;
    }
  }
  return false;
}

// Two watches on one folder: each sees every change though the first takes
// its events before the second looks; once everything is taken and nothing
// changes, neither handle is ready; and a folder gone can be watched again.
TEST(FolderWatchTest, EachWatchSeesEachChangeOnce) {
  const struct {
    const char* what;
    void (*before)(Path folder, Path sibling);
    void (*act)(Path folder, Path sibling);
    FolderEvent::Kind kind;
    const char* name;
  } kRows[] = {
    {"created", nullptr, [](Path folder, Path) { Write(folder / "new.txt"); }, FolderEvent::kEntry,
     "new.txt"},
    {"written in place", [](Path folder, Path) { Write(folder / "old.txt"); },
     [](Path folder, Path) { std::ofstream(folder / "old.txt", std::ios::app) << "y"; },
     FolderEvent::kEntry, "old.txt"},
    {"renamed in", [](Path, Path sibling) { Write(sibling / "in.txt"); },
     [](Path folder, Path sibling) { fs::rename(sibling / "in.txt", folder / "in.txt"); },
     FolderEvent::kEntry, "in.txt"},
    {"renamed away", [](Path folder, Path) { Write(folder / "out.txt"); },
     [](Path folder, Path sibling) { fs::rename(folder / "out.txt", sibling / "out.txt"); },
     FolderEvent::kEntry, "out.txt"},
    {"removed", [](Path folder, Path) { Write(folder / "gone.txt"); },
     [](Path folder, Path) { fs::remove(folder / "gone.txt"); }, FolderEvent::kEntry, "gone.txt"},
#if !defined(_WIN32)
    // Wine removes a folder only once the watch's own handle has closed.
    {"folder removed", nullptr, [](Path folder, Path) { fs::remove_all(folder); },
     FolderEvent::kFolderGone, ""},
#endif
  };
  folian::test::TemporaryFolder root;
  const fs::path folder = root.path() / "watched";
  const fs::path sibling = root.path() / "sibling";
  const utils::utf16_string name = folian::test::FromFsPath(folder).str();
  ASSERT_TRUE(fs::create_directory(sibling));
  std::unique_ptr<FolderWatch> watches[2];
  for (auto& watch : watches) ASSERT_TRUE(OpenFolderWatch(watch).ok());
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    fs::create_directory(folder);
    if (row.before != nullptr) row.before(folder, sibling);
    for (auto& watch : watches) ASSERT_TRUE(watch->Add(name).ok());
    row.act(folder, sibling);
    for (auto& watch : watches) {
      std::vector<FolderEvent> seen;
      EXPECT_TRUE(TakeUntil(*watch, row.kind, row.name, seen));
      // Stragglers of the change (Windows reports a write in steps).
      std::this_thread::sleep_for(milliseconds(100));
      watch->TakeEvents(seen);
      EXPECT_EQ(WaitForWatch(watch->handle(), milliseconds(50)), WaitResult::kTimedOut);
      int gone = 0;
      for (const FolderEvent& event : seen) {
        EXPECT_EQ(event.folder, name);
        gone += event.kind == FolderEvent::kFolderGone ? 1 : 0;
      }
      EXPECT_EQ(gone, row.kind == FolderEvent::kFolderGone ? 1 : 0);
      watch->Remove(name);
    }
  }
  // Made again after the last row removed it, watched again, then removed
  // from one watch only, the folder reports to the other alone.
  fs::create_directory(folder);
  for (auto& watch : watches) ASSERT_TRUE(watch->Add(name).ok());
  watches[0]->Remove(name);
  Write(folder / "late.txt");
  std::vector<FolderEvent> seen[2];
  EXPECT_TRUE(TakeUntil(*watches[1], FolderEvent::kEntry, "late.txt", seen[1]));
  watches[0]->TakeEvents(seen[0]);
  EXPECT_TRUE(seen[0].empty());
}

#if defined(__linux__)
int InotifyInstances() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    count += fs::read_symlink(entry.path(), error).string() == "anon_inode:inotify";
  }
  return count;
}

// The per-user limits are reported by name, and every watch shares one
// instance. (How seldom an idle watch wakes is measured by the watch
// benchmark.)
TEST(LinuxFolderWatchTest, SharesOneInstanceAndNamesTheLimits) {
  folian::test::TemporaryFolder root;
  const utils::utf16_string name = folian::test::FromFsPath(root.path()).str();
  InotifyCalls& calls = InotifyCallsInUse();
  const InotifyCalls system = calls;
  std::unique_ptr<FolderWatch> watches[2];
  calls.init = [](int) { return errno = EMFILE, -1; };
  const Status refused = OpenFolderWatch(watches[0]);
  calls = system;
  EXPECT_NE(refused.reason().find("fs.inotify.max_user_instances"), std::string::npos);
  EXPECT_EQ(watches[0], nullptr);

  const int before = InotifyInstances();
  for (auto& watch : watches) ASSERT_TRUE(OpenFolderWatch(watch).ok());
  EXPECT_EQ(InotifyInstances(), before + 1);
  calls.add_watch = [](int, const char*, std::uint32_t) { return errno = ENOSPC, -1; };
  const Status full = watches[0]->Add(name);
  calls = system;
  EXPECT_NE(full.reason().find("fs.inotify.max_user_watches"), std::string::npos);
  EXPECT_EQ(watches[0]->Add(name + Units("/none")).reason(), std::strerror(ENOENT));
}
#endif

}  // namespace
}  // namespace velmar::platform
