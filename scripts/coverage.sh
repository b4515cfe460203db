#!/usr/bin/env bash
# Line coverage of the library (not of tests, fuzzers or tools) from a build
# configured with --coverage whose tests have run, printed per file and in
# total; fails below the floor.
#   bash scripts/coverage.sh <build folder> [gcov command]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
gcov=${2:-gcov}
# The share of the library's lines the tests run (95.4 % when set, one point
# below it because the several-process and kill tests reach some lock and
# retry lines only on some runs); raise it as tests grow, never lower it to
# let a change in.
floor=94
filters=()
for folder in foundation units vcb prefs environment library platform; do
  filters+=(--filter "$folder/")
done
# CMake's compiler probe leaves a .gcno of its own; it is not ours. The
# FolianUtils public headers are not measured: the floor was set without them.
gcovr --root . --object-directory "$build" --gcov-executable "$gcov" -j"$(nproc)" \
  --exclude-directories '.*/CMakeFiles/[0-9.]+$' "${filters[@]}" \
  --exclude '.*/include/FolianUtils/.*' \
  --exclude '.*_test\.cpp$' --exclude '.*_fuzz\.cpp$' --exclude '.*_test_.*\.h$' \
  --exclude '.*test_support\.h$' --print-summary --fail-under-line "$floor"
