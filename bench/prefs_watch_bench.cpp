// How soon a watching store sees another process's save: from the moment
// the saving process is about to rename its new file into place to the
// report in the watcher, over 1,000 saves, beside the floor of one process
// waking another through a pipe; and how often an idle watcher wakes.
// Linux only: it forks, and reads the scheduler's counts from /proc.
#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "TrelvinCommonPreferences/json_common.h"
#include "environment/support_folders_test_roots.h"
#include "platform/durable_file.h"
#include "platform/folder_watch.h"

namespace {

using velmar::utils::velmar_ustring;
namespace platform = velmar::platform;
using Clock = std::chrono::steady_clock;

const velmar_ustring kGeneral("general");
constexpr int kSaves = 1000;

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

// The file system, noting when a save is about to put its file in place.
class TimedEnv : public platform::FileEnv {
 public:
  explicit TimedEnv(std::atomic<std::int64_t>* renamed_at) : m_renamedAt(renamed_at) {}
  platform::ReadOutcome ReadFile(const velmar::utils::utf16_string& path, std::size_t max_size,
                                 std::string& bytes) override {
    return m_env.ReadFile(path, max_size, bytes);
  }
  platform::Status WriteNewFile(const velmar::utils::utf16_string& path, const std::string& bytes,
                                const velmar::utils::utf16_string& from) override {
    return m_env.WriteNewFile(path, bytes, from);
  }
  platform::Status ReplaceAtomically(const velmar::utils::utf16_string& source,
                                     const velmar::utils::utf16_string& target) override {
    m_renamedAt->store(Now());
    return m_env.ReplaceAtomically(source, target);
  }
  platform::Status RenameWithoutReplacing(const velmar::utils::utf16_string& source,
                                          const velmar::utils::utf16_string& target) override {
    return m_env.RenameWithoutReplacing(source, target);
  }
  bool RemoveFile(const velmar::utils::utf16_string& path) override {
    return m_env.RemoveFile(path);
  }
  bool ListFolder(const velmar::utils::utf16_string& folder,
                  std::vector<velmar::utils::utf16_string>& names) override {
    return m_env.ListFolder(folder, names);
  }
  platform::Status Lock(const velmar::utils::utf16_string& path, platform::LockDeadline deadline,
                        const platform::KeepWaiting& keep_waiting,
                        std::unique_ptr<platform::FileLock>& lock) override {
    return m_env.Lock(path, deadline, keep_waiting, lock);
  }
  std::vector<velmar::utils::utf16_string> LinkChain(
      const velmar::utils::utf16_string& path) override {
    return m_env.LinkChain(path);
  }
  platform::Status OpenWatch(std::unique_ptr<platform::FolderWatch>& watch) override {
    return m_env.OpenWatch(watch);
  }

 private:
  platform::FileEnv& m_env = platform::DefaultFileEnv();
  std::atomic<std::int64_t>* m_renamedAt;
};

class FileStore : public velmar::prefs::JsonCommon {
 public:
  FileStore(const std::filesystem::path& folder, platform::FileEnv* env = nullptr) {
    if (env != nullptr) SetFileEnv(*env);
    m_privateFilePath = folian::test::FromFsPath(folder / "w.private.json");
    m_publicFilePath = folian::test::FromFsPath(folder / "w.public.json");
    LoadPreferences();
  }
};

double LoadAverage() {
  double load = 0.0;
  std::ifstream("/proc/loadavg") >> load;
  return load;
}

void Report(benchmark::State& state, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms.empty() ? 0.0 : ms[ms.size() / 2];
  state.counters["p99_ms"] = ms.empty() ? 0.0 : ms[ms.size() * 99 / 100];
  state.counters["load_average"] = LoadAverage();
}

// The child saves value i when told to through `go`, 1,000 times; the
// parent watches and times each report.
void BM_SaveToReport(benchmark::State& state) {
  const folian::test::TemporaryFolder folder;
  auto* renamed_at = static_cast<std::atomic<std::int64_t>*>(
      mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  std::vector<double> latencies;
  int missed = 0;
  for (auto _ : state) {
    FileStore(folder.path()).SavePreferences();
    int go[2];
    if (pipe(go) != 0) std::abort();
    const pid_t child = fork();
    if (child == 0) {
      TimedEnv env(renamed_at);
      FileStore store(folder.path(), &env);
      char token = 0;
      for (int i = 1; i <= kSaves && read(go[0], &token, 1) == 1; ++i) {
        store.WriteInt(kGeneral, velmar_ustring("n"), i);
        store.SavePreferences();
      }
      _exit(0);
    }
    FileStore watcher(folder.path());
    if (!watcher.StartWatching()) state.SkipWithError("the watch could not start");
    for (int i = 1; i <= kSaves && watcher.IsWatching(); ++i) {
      if (write(go[1], "g", 1) != 1) std::abort();
      bool seen = false;
      while (!seen && platform::WaitForWatch(watcher.GetWatchHandle(), std::chrono::seconds(5)) ==
                          platform::WaitResult::kReady) {
        const bool reported = !watcher.ReloadChanges().empty();
        seen = reported && watcher.ReadInt(kGeneral, velmar_ustring("n"), 0) == i;
        if (seen) latencies.push_back((Now() - renamed_at->load()) / 1e6);
      }
      missed += !seen;
    }
    close(go[1]);
    close(go[0]);
    waitpid(child, nullptr, 0);
  }
  Report(state, latencies);
  state.counters["missed"] = missed;
}
BENCHMARK(BM_SaveToReport)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: one process waking another through a pipe, 1,000 times.
void BM_PipeWakeUp(benchmark::State& state) {
  auto* sent_at = static_cast<std::atomic<std::int64_t>*>(
      mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  std::vector<double> latencies;
  for (auto _ : state) {
    int there[2];
    int back[2];
    if (pipe(there) != 0 || pipe(back) != 0) std::abort();
    const pid_t child = fork();
    if (child == 0) {
      close(back[1]);
      close(there[0]);
      char token = 0;
      while (read(back[0], &token, 1) == 1) {
        sent_at->store(Now());
        if (write(there[1], "x", 1) != 1) break;
      }
      _exit(0);
    }
    close(back[0]);
    close(there[1]);
    char token = 0;
    for (int i = 0; i < kSaves; ++i) {
      if (write(back[1], "g", 1) != 1 || read(there[0], &token, 1) != 1) std::abort();
      latencies.push_back((Now() - sent_at->load()) / 1e6);
    }
    close(back[1]);
    close(there[0]);
    waitpid(child, nullptr, 0);
  }
  Report(state, latencies);
}
BENCHMARK(BM_PipeWakeUp)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

long VoluntarySwitches(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::atol(line.c_str() + 24);
  }
  return -1;
}

// A watching process left alone for 10 s: how often it woke.
void BM_IdleWakeUps(benchmark::State& state) {
  const folian::test::TemporaryFolder folder;
  FileStore(folder.path()).SavePreferences();
  long woke = 0;
  for (auto _ : state) {
    const pid_t child = fork();
    if (child == 0) {
      FileStore watcher(folder.path());
      if (!watcher.StartWatching()) _exit(1);
      platform::WaitForWatch(watcher.GetWatchHandle(), std::chrono::milliseconds(-1));
      _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long before = VoluntarySwitches(child);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    woke = VoluntarySwitches(child) - before;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  state.counters["wake_ups_in_10s"] = static_cast<double>(woke);
}
BENCHMARK(BM_IdleWakeUps)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
