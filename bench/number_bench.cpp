// Reading a typed number: the library's StringToDouble beside the per-call
// setlocale round trip it replaces and beside std::from_chars.
#include <benchmark/benchmark.h>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/ustring.h"

namespace {

using velmar::utils::velmar_ustring;

const velmar_ustring& ShortNumber() {
  static const velmar_ustring text("12.75");
  return text;
}

void BM_StringToDouble(benchmark::State& state) {
  const velmar_ustring& text = ShortNumber();
  for (auto _ : state) {
    double value = 0.0;
    benchmark::DoNotOptimize(velmar::utils::StringToDouble(text.c_str(), value));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_StringToDouble);

// What a literal reading of "switch to the user's locale, wcstod, switch back
// to C" costs on every call.
void BM_SetlocaleRoundTripWcstod(benchmark::State& state) {
  const std::wstring text = L"12.75";
  for (auto _ : state) {
    std::setlocale(LC_ALL, "");
    double value = std::wcstod(text.c_str(), nullptr);
    std::setlocale(LC_ALL, "C");
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_SetlocaleRoundTripWcstod);

void BM_FromChars(benchmark::State& state) {
  const std::string text = "12.75";
  for (auto _ : state) {
    double value = 0.0;
    benchmark::DoNotOptimize(std::from_chars(text.data(), text.data() + text.size(), value));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_FromChars);

void BM_TTOF(benchmark::State& state) {
  const velmar_ustring& text = ShortNumber();
  for (auto _ : state) {
    benchmark::DoNotOptimize(velmar::utils::CNumericFormatter::TTOF(text));
  }
}
BENCHMARK(BM_TTOF);

void BM_FormatFixed(benchmark::State& state) {
  for (auto _ : state) {
    velmar_ustring s;
    s.Format(VELMAR_U("%.*f"), 3, 12.75);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_FormatFixed);

void BM_Utf8RoundTrip(benchmark::State& state) {
  const std::string text = "5'-6 1/2\" \xE2\x80\x94 Ma\xC3\x9F";
  for (auto _ : state) {
    const velmar_ustring s(text);
    benchmark::DoNotOptimize(s.ToUTF8());
  }
}
BENCHMARK(BM_Utf8RoundTrip);

}  // namespace

BENCHMARK_MAIN();
