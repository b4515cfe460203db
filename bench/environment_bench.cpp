// Path normalisation and the support-file search: what the help URLs and
// the preference store pay on each lookup.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "environment/paths_internal.h"
#include "environment/support_folders_test_roots.h"

namespace {

using velmar::utils::velmar_ustring;

void BM_NormalizePath(benchmark::State& state) {
  const velmar_ustring path(
      "C:\\Users\\someone\\AppData\\Roaming\\Trelvin\\Trelvin 2026\\Folian\\");
  for (auto _ : state) benchmark::DoNotOptimize(folian::NormalizePath(path));
}
BENCHMARK(BM_NormalizePath);

void BM_AppendPath(benchmark::State& state) {
  const velmar_ustring base("C:/Users/someone/AppData/Roaming/Trelvin/Trelvin 2026/Folian");
  const velmar_ustring name("Resources/en-US/helpurls.json");
  for (auto _ : state) benchmark::DoNotOptimize(folian::AppendPath(base, name));
}
BENCHMARK(BM_AppendPath);

// A tree of range(0) folders on each of three levels, the file in the last.
void BM_FindFileRecursive(benchmark::State& state) {
  folian::test::TemporaryFolder root;
  const int width = static_cast<int>(state.range(0));
  std::filesystem::path last;
  for (int a = 0; a < width; ++a) {
    for (int b = 0; b < width; ++b) {
      for (int c = 0; c < width; ++c) {
        last = root.path() / std::to_string(a) / std::to_string(b) / std::to_string(c);
        std::filesystem::create_directories(last);
      }
    }
  }
  std::ofstream(last / "helpurls.json") << "{}";
  velmar_ustring found;
  for (auto _ : state) {
    benchmark::DoNotOptimize(folian::FindFileRecursive(root.upath(), "helpurls.json", found));
  }
  state.counters["folders"] = width * width * width;
}
BENCHMARK(BM_FindFileRecursive)->Arg(3)->Arg(6);

}  // namespace

BENCHMARK_MAIN();
