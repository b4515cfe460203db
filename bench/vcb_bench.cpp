// The cost of reading a typed measurement-box text every way the host asks,
// beside one switch of the process locale to the user's and back.
#include <benchmark/benchmark.h>

#include <clocale>
#include <string>
#include <vector>

#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/vcb_parser.h"
#include "units/user_notation_test_support.h"

namespace {

using velmar::geometry::Point2;
using velmar::units::LengthInfo;
using velmar::utils::CNumericFormatter;
using velmar::utils::CVCBParser;
using velmar::utils::velmar_ustring;

// "|" is the list separator and "." the decimal point of the user's locale.
velmar_ustring Typed(const std::string& text) {
  return velmar::utils::testing::UserText(text, '|');
}

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = {"12.5",  "5'6 1/2\"", "30\xC2\xB0", "5x",
                                                 "4 x 3", "3|4",       "[w3|h4]",    "^90|10"};
  return texts;
}

void BM_ClassifyTypedText(benchmark::State& state) {
  const std::string& source = Texts()[static_cast<std::size_t>(state.range(0))];
  LengthInfo info;
  info.SetFormat(velmar::units::UnitsInfo::kArchitectural);
  const velmar_ustring text = Typed(source);
  const CVCBParser parser(text, info, 2.0);
  const Point2<float> reference{10.0f, 20.0f};
  for (auto _ : state) {
    double length = 0.0;
    double angle = 0.0;
    double number = 0.0;
    int count = 0;
    bool division = false;
    unsigned rows = 0;
    unsigned columns = 0;
    Point2<float> point;
    bool answers = CVCBParser::IsVCBTrigger(static_cast<wchar_t>(text[0]));
    answers ^= CVCBParser::IsVCBTrigger(text);
    answers ^= parser.GetLength(length);
    answers ^= parser.GetAngle(angle);
    answers ^= parser.GetUnitlessValue(number);
    answers ^= parser.GetArrayOperation(&count, &division);
    answers ^= parser.GetRowsOrColumns(rows, columns);
    const CVCBParser::EPointEntryMode mode = parser.GetPointEntryMode();
    answers ^= parser.GetCPoint2f(100.0f, 50.0f, reference, point);
    benchmark::DoNotOptimize(answers);
    benchmark::DoNotOptimize(length + angle + number);
    benchmark::DoNotOptimize(count + static_cast<int>(division) + static_cast<int>(mode));
    benchmark::DoNotOptimize(rows + columns);
    benchmark::DoNotOptimize(point);
  }
  state.SetLabel(source);
}
BENCHMARK(BM_ClassifyTypedText)->DenseRange(0, 7);

void BM_LocaleRoundTrip(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::setlocale(LC_ALL, ""));
    benchmark::DoNotOptimize(std::setlocale(LC_ALL, "C"));
  }
}
BENCHMARK(BM_LocaleRoundTrip);

}  // namespace

BENCHMARK_MAIN();
