#!/usr/bin/env bash
# Builds and runs every test: native, AddressSanitizer + UBSan, the Windows
# build under Wine, and a bounded run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

bash scripts/install-deps.sh

passed=0
run_ctest() {
  local log="$1/ctest.log"
  (cd "$1" && ctest --output-on-failure -j"$jobs") | tee "$log"
  passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log")))
}

echo "== native (g++) =="
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j"$jobs"
run_ctest build/native
echo "-- an outside project against the installed package"
cmake --install build/native --prefix build/native-install >/dev/null
cmake -S example -B build/example-native -DCMAKE_PREFIX_PATH="$root/build/native-install" >/dev/null
cmake --build build/example-native -j"$jobs" >/dev/null
build/example-native/folian_example
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

echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DFOLIAN_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/asan

echo "== Windows x86-64 (MinGW-w64) under Wine =="
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/windows -j"$jobs"
run_ctest build/windows
echo "-- the interface and load/unload tests against the installed package, under Wine"
cmake --install build/windows --prefix build/windows-install >/dev/null
cmake -S tests/interface -B build/interface-windows \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DFolianUtils_DIR="$root/build/windows-install/lib/cmake/FolianUtils" \
  -DFOLIAN_WINEPREFIX="$root/build/windows/wineprefix" >/dev/null
cmake --build build/interface-windows -j"$jobs" >/dev/null
run_ctest build/interface-windows

echo "== fuzzers (bounded) =="
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFOLIAN_BUILD_FUZZERS=ON -DFOLIAN_BUILD_TESTS=OFF -DFOLIAN_BUILD_TOOL=OFF >/dev/null
cmake --build build/fuzz -j"$jobs"
shopt -s nullglob
for fuzzer in build/fuzz/bin/*_fuzz; do
  name=$(basename "$fuzzer")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/corpus/${name%_fuzz}
  log=build/fuzz/$name.log
  echo "-- $name (${FOLIAN_FUZZ_SECONDS:-30} s)"
  if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions=$root/fuzz/ubsan.supp \
    "$fuzzer" -max_total_time="${FOLIAN_FUZZ_SECONDS:-30}" -max_len=4096 -timeout=10 \
    "$corpus" $([ -d "$seeds" ] && echo "$seeds") >"$log" 2>&1; then
    tail -60 "$log"
    echo "fuzzer $name failed; the input is in $root (crash-*, timeout-*, oom-*)"
    exit 1
  fi
  grep -E "^Done|DONE" "$log" | tail -1
  passed=$((passed + 1))
done
echo "summary: $passed passed, 0 failed"
