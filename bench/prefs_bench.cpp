// Preference store timings: a whole load and save of a large store, and
// single-key reads and writes. The support folders point at a temporary
// folder, never at the user's own.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "FolianUtils/preference_store.h"
#include "TrelvinCommonPreferences/json_common.h"
#include "environment/support_folders_test_roots.h"

namespace {

using velmar::utils::velmar_ustring;

class FileStore : public velmar::prefs::JsonCommon {
 public:
  explicit FileStore(const std::filesystem::path& folder) {
    m_privateFilePath = folian::test::FromFsPath(folder / "b.private.json");
    m_publicFilePath = folian::test::FromFsPath(folder / "b.public.json");
    LoadPreferences();
  }
};

void FillStore(velmar::prefs::JsonCommon& store, int count) {
  const velmar_ustring general("general");
  for (int i = 0; i < count; ++i) {
    const velmar_ustring key("Key" + std::to_string(i));
    switch (i % 4) {
      case 0:
        store.WriteInt(general, key, i);
        break;
      case 1:
        store.WriteDouble(general, key, i * 0.37);
        break;
      case 2:
        store.WriteBool(general, key, i % 3 == 0);
        break;
      default:
        store.WriteString(general, key,
                          velmar_ustring("C:/Users/someone/Documents/file" + std::to_string(i)));
        break;
    }
  }
}

void BM_LoadAndSave10000Keys(benchmark::State& state) {
  const folian::test::TemporaryFolder folder;
  {
    FileStore seed(folder.path());
    FillStore(seed, 10000);
    seed.SavePreferences();
  }
  // One change, so the save writes the whole file, as a save of nothing
  // would not.
  const velmar_ustring general("general");
  for (auto _ : state) {
    FileStore store(folder.path());
    store.WriteInt(general, velmar_ustring("Changed"), 1);
    benchmark::DoNotOptimize(store.SavePreferences());
  }
}
BENCHMARK(BM_LoadAndSave10000Keys)->Unit(benchmark::kMillisecond);

// A save of one change to a 10,000-key store: with the files as this store
// left them (the baseline), and after another process changed them, so the
// save reads, parses and merges them first.
void SaveOneChange(benchmark::State& state, bool other_process_saved) {
  const folian::test::TemporaryFolder folder;
  {
    FileStore seed(folder.path());
    FillStore(seed, 10000);
    seed.SavePreferences();
  }
  FileStore mine(folder.path());
  FileStore other(folder.path());
  const velmar_ustring general("general");
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    if (other_process_saved) {
      other.WriteInt(general, velmar_ustring("Other"), round);
      other.SavePreferences();
    }
    mine.WriteInt(general, velmar_ustring("Mine"), round);
    state.ResumeTiming();
    benchmark::DoNotOptimize(mine.SavePreferences());
  }
}

void BM_SaveUnchanged10000Keys(benchmark::State& state) { SaveOneChange(state, false); }
BENCHMARK(BM_SaveUnchanged10000Keys)->Unit(benchmark::kMillisecond);

void BM_SaveMergingChanged10000Keys(benchmark::State& state) { SaveOneChange(state, true); }
BENCHMARK(BM_SaveMergingChanged10000Keys)->Unit(benchmark::kMillisecond);

class BenchStore : public folian::utils::Preferences {
 public:
  explicit BenchStore(int version) : Preferences(version) {}
};

std::vector<velmar_ustring> Keys(int count) {
  std::vector<velmar_ustring> keys;
  for (int i = 0; i < count; ++i) keys.emplace_back("Key" + std::to_string(i));
  return keys;
}

void BM_SingleKeyReadBool(benchmark::State& state) {
  const folian::test::ScopedSupportRoots roots;
  BenchStore store(26);
  const std::vector<velmar_ustring> keys = Keys(static_cast<int>(state.range(0)));
  for (const auto& key : keys) store.WriteBool(key, true);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.ReadBool(keys[i], false));
    if (++i == keys.size()) i = 0;
  }
}
BENCHMARK(BM_SingleKeyReadBool)->Arg(100)->Arg(10000)->Iterations(1000000);

void BM_SingleKeyWriteInt(benchmark::State& state) {
  const folian::test::ScopedSupportRoots roots;
  BenchStore store(26);
  const std::vector<velmar_ustring> keys = Keys(static_cast<int>(state.range(0)));
  std::size_t i = 0;
  int value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.WriteInt(keys[i], ++value));
    if (++i == keys.size()) i = 0;
  }
}
BENCHMARK(BM_SingleKeyWriteInt)->Arg(100)->Arg(10000)->Iterations(1000000);

}  // namespace

BENCHMARK_MAIN();
