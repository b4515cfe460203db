#!/usr/bin/env bash
# Builds the library the way another project embeds it (add_subdirectory),
# in an outer project with a `docs` target of its own, with no GoogleTest
# sources within reach: tests, tool, benchmarks, fuzzers, the reference and
# installation must be off by default, nothing but the project's own folder
# may appear in the outer build, the static library is not built, and a
# program of the outer project must build against FolianUtils::FolianUtils
# and run. Then the two ways a parent ships the shared libraries with its
# program, each run from its install prefix with no library path set:
# FOLIAN_INSTALL=ON in the subproject, and install(IMPORTED_RUNTIME_ARTIFACTS)
# in a project that found the installed package. Last, a top-level configure
# without GoogleTest turns the tests off and says how to.
#   bash scripts/check-subproject.sh <build folder>
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mkdir -p "$1"
build=$(cd "$1" && pwd)
outer=$build/outer
rm -rf "$outer" "$build/build" "$build/install" "$build/shipped" "$build/found" "$build/top"
mkdir -p "$outer"
cat >"$outer/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.21)
project(Outer LANGUAGES CXX)
include(GNUInstallDirs)
add_custom_target(docs COMMAND \${CMAKE_COMMAND} -E echo outer-reference VERBATIM)
option(OUTER_SHIPS_FOLIAN "Install FolianUtils with the program" OFF)
if(OUTER_SHIPS_FOLIAN)
  set(FOLIAN_INSTALL ON)
endif()
add_subdirectory("$root" folian)
add_executable(outer main.cpp)
target_link_libraries(outer PRIVATE FolianUtils::FolianUtils)
set_target_properties(outer PROPERTIES INSTALL_RPATH "\\\$ORIGIN/../\${CMAKE_INSTALL_LIBDIR}")
install(TARGETS outer)
CMAKE
cp examples/measurements.cpp "$outer/main.cpp"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
expected=examples/expected/measurements.txt
# Runs an installed program as a user would: no library path, a UTF-8 locale.
run_installed() {
  diff -u "$expected" <(env -u LD_LIBRARY_PATH LC_ALL=en_US.UTF-8 "$1") ||
    { echo "FAIL: $1 did not run from its install prefix"; exit 1; }
}

# A GoogleTest folder that does not exist: nothing may ask for it.
cmake -S "$outer" -B "$build/build" -DCMAKE_BUILD_TYPE=Release \
  -DFOLIAN_GTEST_SOURCE_DIR="$build/no-googletest" "${launcher[@]}" >/dev/null
for option in BUILD_TESTS BUILD_TOOL BUILD_BENCHMARKS BUILD_FUZZERS BUILD_DOCS INSTALL; do
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
stray=$(cd "$build/build" && ls -A | grep -vxE 'CMakeCache.txt|CMakeFiles|Makefile|cmake_install.cmake|install_manifest.txt|outer|folian|build.ninja|\.ninja_.*' || true)
if [ -n "$stray" ]; then
  echo "FAIL: the subproject wrote into the outer build's root: $stray"
  exit 1
fi
grep -q outer-reference <<<"$(cmake --build "$build/build" --target docs)" ||
  { echo "FAIL: the outer project's docs target is not its own"; exit 1; }
cmake --install "$build/build" --prefix "$build/install" >/dev/null
installed=$(cd "$build/install" && find . -type f)
if [ "$installed" != "./bin/outer" ]; then
  echo "FAIL: installing the outer project installed this one:" $installed
  exit 1
fi
diff -u "$expected" <(LC_ALL=en_US.UTF-8 "$build/build/outer")

echo "-- a parent that turns FOLIAN_INSTALL on ships the libraries with its program"
# The reference asked for in a subproject lives beside the parent's docs.
cmake "$build/build" -DOUTER_SHIPS_FOLIAN=ON -DFOLIAN_BUILD_DOCS=ON >/dev/null
cmake --build "$build/build" -j"$(nproc)" >/dev/null
cmake --install "$build/build" --prefix "$build/shipped" >/dev/null
run_installed "$build/shipped/bin/outer"

echo "-- a parent that found the package ships it with install(IMPORTED_RUNTIME_ARTIFACTS)"
mkdir -p "$build/found/source"
cp examples/measurements.cpp "$build/found/source/main.cpp"
cat >"$build/found/source/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.21)
project(Found LANGUAGES CXX)
include(GNUInstallDirs)
find_package(FolianUtils CONFIG REQUIRED)
add_executable(app main.cpp)
target_link_libraries(app PRIVATE FolianUtils::FolianUtils)
set_target_properties(app PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS app)
install(IMPORTED_RUNTIME_ARTIFACTS FolianUtils::FolianUtils
  FolianUtils::TrelvinCommonPreferences FolianUtils::TrelvinViewerAPI)
CMAKE
cmake -S "$build/found/source" -B "$build/found/build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$build/shipped" "${launcher[@]}" >/dev/null
cmake --build "$build/found/build" >/dev/null
cmake --install "$build/found/build" --prefix "$build/found/install" >/dev/null
run_installed "$build/found/install/bin/app"

echo "-- a top-level configure without GoogleTest"
log=$(cmake -S . -B "$build/top" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DFOLIAN_BUILD_DOCS=OFF 2>&1) ||
  { echo "$log"; echo "FAIL: a top-level configure without GoogleTest failed"; exit 1; }
if ! grep -q 'FOLIAN_BUILD_TESTS=OFF' <<<"$log" || [ -e "$build/top/tests" ]; then
  echo "$log"
  echo "FAIL: without GoogleTest the tests are not turned off with a word why"
  exit 1
fi
echo "subproject: configured without GoogleTest beside a parent's docs, built and ran an outer" \
  "program; both ways of shipping the libraries ran from their prefix; tests off without GoogleTest"
