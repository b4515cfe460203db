#!/usr/bin/env bash
# Builds the library the way another project embeds it (add_subdirectory),
# with no GoogleTest sources within reach: tests, tool, benchmarks, fuzzers
# and installation must be off by default, nothing but the project's own
# folder may appear in the outer build, the static library is not built,
# and a program of the outer project must build against
# FolianUtils::FolianUtils and run.
#   bash scripts/check-subproject.sh <build folder>
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mkdir -p "$1"
build=$(cd "$1" && pwd)
outer=$build/outer
rm -rf "$outer" "$build/build" "$build/install"
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
for option in BUILD_TESTS BUILD_TOOL BUILD_BENCHMARKS BUILD_FUZZERS INSTALL; do
  grep -q "^FOLIAN_$option:BOOL=OFF$" "$build/build/CMakeCache.txt" ||
    { echo "FAIL: FOLIAN_$option is not off in a subproject"; exit 1; }
done
grep -q "^FOLIAN_WARNINGS_AS_ERRORS:BOOL=OFF$" "$build/build/CMakeCache.txt" ||
  { echo "FAIL: warnings are errors in a subproject"; exit 1; }
cmake --build "$build/build" -j"$(nproc)" >/dev/null
if [ -e "$build/build/folian/googletest" ] || [ -e "$build/build/folian/tool" ]; then
  echo "FAIL: a subproject build made test or tool targets"
  exit 1
fi
if [ -n "$(find "$build/build" -type f -name '*FolianUtilsStatic.a' -print -quit)" ]; then
  echo "FAIL: a subproject build made the static library"
  exit 1
fi
# The outer build's root holds the outer project's files and the folder
# it gave this project, nothing else.
stray=$(cd "$build/build" && ls -A | grep -vxE 'CMakeCache.txt|CMakeFiles|Makefile|cmake_install.cmake|outer|folian|build.ninja|\.ninja_.*' || true)
if [ -n "$stray" ]; then
  echo "FAIL: the subproject wrote into the outer build's root: $stray"
  exit 1
fi
cmake --install "$build/build" --prefix "$build/install" >/dev/null
if [ -n "$(find "$build/install" -type f -print -quit 2>/dev/null)" ]; then
  echo "FAIL: installing the outer project installed this one"
  exit 1
fi
diff -u examples/expected/measurements.txt <(LC_ALL=en_US.UTF-8 "$build/build/outer")
echo "subproject: configured without GoogleTest, built and ran an outer program"
