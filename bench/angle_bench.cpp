// Angle formatting against the locale switch it avoids: formatting an angle
// must cost well under one setlocale("") / setlocale("C") round trip.
#include <benchmark/benchmark.h>

#include <clocale>

#include "FolianUtils/angle_formatter.h"

namespace {

using velmar::units::AngleInfo;
using velmar::units::UnitsInfo;
using velmar::utils::AngleFormatter;
using velmar::utils::velmar_ustring;

void BM_AngleFormat(benchmark::State& state) {
  AngleInfo info;
  info.SetUnits(UnitsInfo::kDegrees, false);
  info.SetPrecision(2, false);
  AngleFormatter formatter(info);
  double radians = 0.1234;
  for (auto _ : state) {
    benchmark::DoNotOptimize(formatter.Format(radians));
    radians += 0.001;
  }
}
BENCHMARK(BM_AngleFormat);

void BM_AngleFormatRadians(benchmark::State& state) {
  AngleFormatter formatter{AngleInfo{}};
  double radians = -3.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(formatter.Format(radians));
    radians += 0.001;
  }
}
BENCHMARK(BM_AngleFormatRadians);

void BM_FormatAngleForVCB(benchmark::State& state) {
  double radians = 0.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(AngleFormatter::FormatAngleForVCB(radians));
    radians += 0.001;
  }
}
BENCHMARK(BM_FormatAngleForVCB);

void BM_AngleParse(benchmark::State& state) {
  const velmar_ustring text("~ 12.5°");
  double value = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(AngleFormatter::Parse(text, value));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_AngleParse);

// The price of one locale-switching conversion.
void BM_SetlocaleRoundTrip(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::setlocale(LC_ALL, ""));
    benchmark::DoNotOptimize(std::setlocale(LC_ALL, "C"));
  }
}
BENCHMARK(BM_SetlocaleRoundTrip);

}  // namespace

BENCHMARK_MAIN();
