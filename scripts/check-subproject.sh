#!/usr/bin/env bash
# Builds the library the way another project embeds it (add_subdirectory),
# with no GoogleTest sources within reach: tests, tool, benchmarks and
# fuzzers must be off by default, and a program of the outer project must
# build against FolianUtils::FolianUtils and run.
#   bash scripts/check-subproject.sh <build folder>
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mkdir -p "$1"
build=$(cd "$1" && pwd)
outer=$build/outer
rm -rf "$outer" "$build/build"
mkdir -p "$outer"
cat >"$outer/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.21)
project(Outer LANGUAGES CXX)
add_subdirectory("$root" folian)
add_executable(outer main.cpp)
target_link_libraries(outer PRIVATE FolianUtils::FolianUtils)
CMAKE
cp examples/measurements.cpp "$outer/main.cpp"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# A GoogleTest folder that does not exist: configuring fails if anything asks for it.
cmake -S "$outer" -B "$build/build" -DCMAKE_BUILD_TYPE=Release \
  -DFOLIAN_GTEST_SOURCE_DIR="$build/no-googletest" "${launcher[@]}" >/dev/null
for option in TESTS TOOL BENCHMARKS FUZZERS; do
  grep -q "^FOLIAN_BUILD_$option:BOOL=OFF$" "$build/build/CMakeCache.txt" ||
    { echo "FAIL: FOLIAN_BUILD_$option is not off in a subproject"; exit 1; }
done
grep -q "^FOLIAN_WARNINGS_AS_ERRORS:BOOL=OFF$" "$build/build/CMakeCache.txt" ||
  { echo "FAIL: warnings are errors in a subproject"; exit 1; }
cmake --build "$build/build" -j"$(nproc)" >/dev/null
if [ -e "$build/build/googletest" ] || [ -e "$build/build/folian/tool" ]; then
  echo "FAIL: a subproject build made test or tool targets"
  exit 1
fi
diff -u examples/expected/measurements.txt <(LC_ALL=en_US.UTF-8 "$build/build/outer")
echo "subproject: configured without GoogleTest, built and ran an outer program"
