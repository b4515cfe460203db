// Length formatting and parsing against the cost of one locale switch.
#include <benchmark/benchmark.h>

#include <clocale>

#include "FolianUtils/length_formatter.h"

namespace {

using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::CLengthFormatter;
using velmar::utils::velmar_ustring;

LengthInfo Settings(UnitsInfo::Format format, UnitsInfo::Units units, int precision) {
  LengthInfo info;
  info.SetFormat(format, false);
  info.SetUnits(units, false);
  info.SetPrecision(precision, false);
  return info;
}

void BM_SetlocaleRoundTrip(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::setlocale(LC_ALL, ""));
    benchmark::DoNotOptimize(std::setlocale(LC_ALL, "C"));
  }
}
BENCHMARK(BM_SetlocaleRoundTrip);

void BM_FormatArchitectural(benchmark::State& state) {
  CLengthFormatter formatter(Settings(UnitsInfo::kArchitectural, UnitsInfo::kInches, 4));
  double inches = 66.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(inches);
    benchmark::DoNotOptimize(formatter.Format(inches));
  }
}
BENCHMARK(BM_FormatArchitectural);

void BM_FormatDecimal(benchmark::State& state) {
  CLengthFormatter formatter(Settings(UnitsInfo::kDecimal, UnitsInfo::kMillimeters, 2));
  double inches = 1.0005;
  for (auto _ : state) {
    benchmark::DoNotOptimize(inches);
    benchmark::DoNotOptimize(formatter.Format(inches));
  }
}
BENCHMARK(BM_FormatDecimal);

void BM_ParseFeetInchesFraction(benchmark::State& state) {
  const velmar_ustring text("5'-6 1/2\"");
  for (auto _ : state) {
    double value = 0.0;
    benchmark::DoNotOptimize(CLengthFormatter::Parse(text, value, UnitsInfo::kInches));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ParseFeetInchesFraction);

void BM_ParseDecimalWithUnit(benchmark::State& state) {
  const velmar_ustring text("2.5 mm");
  for (auto _ : state) {
    double value = 0.0;
    benchmark::DoNotOptimize(CLengthFormatter::Parse(text, value, UnitsInfo::kInches));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ParseDecimalWithUnit);

}  // namespace

BENCHMARK_MAIN();
