// The length evaluator against a general expression evaluator given the
// same sum in its own syntax, both reading a new text each call.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstdint>
#include <string>

#include "FolianUtils/length_evaluator.h"

namespace {

using velmar::units::EvaluateLength;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::velmar_ustring;

void BM_EvaluateLength(benchmark::State& state) {
  LengthInfo info;
  info.SetFormat(UnitsInfo::kArchitectural, false);
  info.SetPrecision(4, false);
  const velmar_ustring text("(5'-6 1/2\" + 3 1/2\") * 2");
  for (auto _ : state) {
    double inches = 0.0;
    benchmark::DoNotOptimize(EvaluateLength(text, info, inches));
    benchmark::DoNotOptimize(inches);
  }
}
BENCHMARK(BM_EvaluateLength);

// Texts that make a careless reader back up: many digits that look like the
// start of a mixed number, and long runs of blanks, hyphens and slashes. The
// time per text should grow with its length, not with its square: compare
// the medians at 12 and 120 repetitions.
void BM_EvaluateBacktrackingText(benchmark::State& state) {
  static const char* const kUnits[] = {"1 - 2 ", "5' - - ", "1 1 ", "(-", "1/2/"};
  std::string text;
  for (int64_t i = 0; i < state.range(1); ++i) text += kUnits[state.range(0)];
  const velmar_ustring typed(text);
  LengthInfo info;
  info.SetFormat(UnitsInfo::kArchitectural, false);
  for (auto _ : state) {
    double inches = 0.0;
    benchmark::DoNotOptimize(EvaluateLength(typed, info, inches));
    benchmark::DoNotOptimize(inches);
  }
  state.SetLabel(kUnits[state.range(0)]);
}
BENCHMARK(BM_EvaluateBacktrackingText)->ArgsProduct({{0, 1, 2, 3, 4}, {12, 120}});

void BM_MuParserSameSum(benchmark::State& state) {
  mu::Parser parser;
  const mu::string_type text = "(5*12+6+1/2+3+1/2)*2";
  for (auto _ : state) {
    parser.SetExpr(text);
    benchmark::DoNotOptimize(parser.Eval());
  }
}
BENCHMARK(BM_MuParserSameSum);

}  // namespace

BENCHMARK_MAIN();
