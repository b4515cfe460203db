#!/usr/bin/env bash
# Builds and runs every test: native (g++), AddressSanitizer + UBSan, the
# Windows build under Wine, a bounded run of each fuzzer, the examples and
# a subproject build, clang++ with coverage, ThreadSanitizer and
# clang-tidy; prints the line coverage of the library and the time taken.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)
started=$(date +%s)

bash scripts/install-deps.sh all

# The build itself rejects an include of a folder that is not a dependency
# (the folian_layers_* ctests of each build); this finds what compiles all
# the same: includes climbing out with "..", headers including each other.
echo "== layers =="
python3 scripts/check-layers_test.py
python3 scripts/check-layers.py

passed=0
run_ctest() {
  local log="$1/ctest.log"
  # A build whose tests went off (no GoogleTest) fails here.
  (cd "$1" && ctest --output-on-failure --no-tests=error -j"$jobs") | tee "$log"
  passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log")))
}

echo "== native (g++) =="
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"
run_ctest build/native
echo "-- the API reference: every public name documented, no Doxygen warning"
cmake --build build/native --target docs
passed=$((passed + 1))
echo "-- the examples against the installed package"
rm -rf build/native-install
cmake --install build/native --prefix build/native-install >/dev/null
bash scripts/check-examples.sh build/native-install build/examples-native
passed=$((passed + 1))
echo "-- the interface and load/unload tests against the installed package"
cmake -S tests/interface -B build/interface-native \
  -DCMAKE_PREFIX_PATH="$root/build/native-install" >/dev/null
cmake --build build/interface-native -j"$jobs" >/dev/null
run_ctest build/interface-native
echo "-- no STB_GNU_UNIQUE symbol keeps a library loaded"
unique=$(for library in build/native-install/lib/*.so; do
  nm -D --defined-only "$library" | awk -v lib="$library" '$2 == "u" { print lib ": " $3 }'
done)
if [ -n "$unique" ]; then
  echo "$unique"
  echo "STB_GNU_UNIQUE symbols found"
  exit 1
fi
passed=$((passed + 1))
echo "-- the shared libraries export their interface, no standard-library instantiations"
leaked=$(for library in build/native-install/lib/*.so; do
  nm -D --defined-only "$library" | awk -v lib="$library" '$3 ~ /^_Z(T[ISV])?Z?N?K?(St|9__gnu_cxx)/ { print lib ": " $3 }'
done)
if [ -n "$leaked" ]; then
  echo "$leaked" | c++filt
  echo "standard-library symbols exported"
  exit 1
fi
passed=$((passed + 1))

echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
cmake --preset sanitizers >/dev/null
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/asan

echo "== Windows x86-64 (MinGW-w64) under Wine =="
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"
run_ctest build/windows
echo "-- the examples against the installed Windows package, under Wine"
rm -rf build/windows-install
cmake --install build/windows --prefix build/windows-install >/dev/null
bash scripts/check-examples-windows.sh build/windows-install build/examples-windows \
  build/windows/wineprefix
passed=$((passed + 1))
echo "-- the interface and load/unload tests against the installed package, under Wine"
cmake -S tests/interface -B build/interface-windows \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DFolianUtils_DIR="$root/build/windows-install/lib/cmake/FolianUtils" \
  -DFOLIAN_WINEPREFIX="$root/build/windows/wineprefix" >/dev/null
cmake --build build/interface-windows -j"$jobs" >/dev/null
run_ctest build/interface-windows

echo "== fuzzers (bounded) =="
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j"$jobs"
shopt -s nullglob
for fuzzer in build/fuzz/bin/*_fuzz; do
  name=$(basename "$fuzzer")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/corpus/${name%_fuzz}
  log=build/fuzz/$name.log
  echo "-- $name (${FOLIAN_FUZZ_SECONDS:-20} s)"
  if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions=$root/fuzz/ubsan.supp \
    "$fuzzer" -max_total_time="${FOLIAN_FUZZ_SECONDS:-20}" -max_len=4096 -timeout=10 \
    "$corpus" $([ -d "$seeds" ] && echo "$seeds") >"$log" 2>&1; then
    tail -60 "$log"
    echo "fuzzer $name failed; the input is in $root (crash-*, timeout-*, oom-*)"
    exit 1
  fi
  grep -E "^Done|DONE" "$log" | tail -1
  passed=$((passed + 1))
done

echo "== subproject (add_subdirectory, no GoogleTest) and the benchmarks preset =="
bash scripts/check-subproject.sh build/subproject
passed=$((passed + 1))
cmake --preset benchmarks >/dev/null
passed=$((passed + 1))

echo "== clang++ with coverage =="
cmake -S . -B build/clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_SHARED_LINKER_FLAGS=--coverage >/dev/null
cmake --build build/clang -j"$jobs"
find build/clang -name '*.gcda' -delete
run_ctest build/clang

echo "== ThreadSanitizer: the any-thread calls from several threads at once =="
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLIAN_BUILD_TOOL=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build/tsan -j"$jobs" --target folian_any_thread_test
(cd build/tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --output-on-failure --no-tests=error -R '^folian_any_thread_test$') | tee build/tsan/ctest.log
passed=$((passed + 1))

echo "== clang-tidy over the library =="
bash scripts/check-tidy.sh build/clang
passed=$((passed + 1))

echo "== line coverage of the library (clang++ build) =="
bash scripts/coverage.sh build/clang "llvm-cov-14 gcov"
passed=$((passed + 1))

echo "== non-blank lines of tests and of code (a figure, not a check) =="
python3 scripts/count-lines.py

echo "summary: $passed passed, 0 failed in $((($(date +%s) - started) / 60)) min $((($(date +%s) - started) % 60)) s"
