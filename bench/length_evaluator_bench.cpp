// The length evaluator against a general expression evaluator given the
// same sum in its own syntax, both reading a new text each call.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <string>

#include "FolianUtils/length_evaluator.h"
#include "FolianUtils/length_formatter.h"

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

// The single-value parse of one operand, for scale.
void BM_ParseOneLength(benchmark::State& state) {
  const velmar_ustring text("5'-6 1/2\"");
  for (auto _ : state) {
    double inches = 0.0;
    benchmark::DoNotOptimize(
        velmar::utils::CLengthFormatter::Parse(text, inches, UnitsInfo::kInches));
    benchmark::DoNotOptimize(inches);
  }
}
BENCHMARK(BM_ParseOneLength);

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
