#!/usr/bin/env bash
# Builds and installs FolianUtils, builds the examples against the installed
# package and runs those that leave no files behind, and runs the
# command-line tool's demos.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
prefix=$PWD/build/install

bash scripts/install-deps.sh main

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFOLIAN_BUILD_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build build/release -j"$jobs"
cmake --install build/release >/dev/null

cmake -S examples -B build/examples -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build build/examples -j"$jobs"
for example in measurements measurement_box string; do
  echo "== examples/$example.cpp, built with find_package(FolianUtils) =="
  "build/examples/$example"
done

echo "== folianutils demo: measurements =="
"$prefix/bin/folianutils" demo
echo "== folianutils vcb-demo: what the measurement box reads =="
"$prefix/bin/folianutils" vcb-demo
