#!/usr/bin/env bash
# Builds the examples with MinGW-w64 against an installed Windows package and
# runs those that touch no folders under Wine, comparing what they print with
# examples/expected/ (the same text as on Linux).
#   bash scripts/check-examples-windows.sh <install prefix> <build folder> <Wine prefix>
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
prefix=$(cd "$1" && pwd)
mkdir -p "$2"
build=$(cd "$2" && pwd)
mkdir -p "$3"
wineprefix=$(cd "$3" && pwd)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S examples -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFolianUtils_DIR="$prefix/lib/cmake/FolianUtils" \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
# Windows finds DLLs beside the program.
cp "$prefix"/bin/*.dll "$build/"
failed=0
for name in measurements measurement_box string; do
  if ! diff -u "examples/expected/$name.txt" \
    <(WINEDEBUG=-all WINEPREFIX="$wineprefix" LC_ALL=en_US.UTF-8 \
      /usr/lib/wine/wine64 "$build/$name.exe" | tr -d '\r'); then
    echo "FAIL: $name.exe under Wine printed something else than examples/expected/$name.txt"
    failed=1
  fi
done
if ((failed)); then exit 1; fi
echo "examples under Wine: 3 built with MinGW-w64 against the installed package and run"
