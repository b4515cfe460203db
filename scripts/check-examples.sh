#!/usr/bin/env bash
# Builds the examples against an installed package (with find_package, and
# with a plain compiler line from pkg-config), runs each in a fresh home and
# compares what it prints with examples/expected/, and checks that every C++
# snippet of the README is a piece of an example, or declarations quoted from
# an installed public header, so the two cannot drift.
#   bash scripts/check-examples.sh <install prefix> <build folder>
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$(cd "$1" && pwd)
mkdir -p "$2"
build=$(cd "$2" && pwd)
examples=(measurements measurement_box preferences environment string)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "-- examples with find_package(FolianUtils)"
cmake -S examples -B "$build" -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

echo "-- examples with \$(pkg-config --cflags --libs FolianUtils)"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
pkg-config --exists --print-errors FolianUtils
echo "-- the licence and the changelog are installed where the package files say"
test -f "$(pkg-config --variable=license_file FolianUtils)"
grep -q 'FolianUtils_LICENSE_FILE' "$prefix/lib/cmake/FolianUtils/FolianUtilsConfig.cmake"
test -f "$prefix/share/doc/FolianUtils/CHANGELOG.md"
mkdir -p "$build/pkg-config"
for name in preferences string; do
  # shellcheck disable=SC2046 # the flags are meant to split
  c++ -std=c++17 -Wall -Wextra -Wpedantic -Werror "examples/$name.cpp" \
    -o "$build/pkg-config/$name" $(pkg-config --cflags --libs FolianUtils)
done

failed=0
run() {  # run <name> <program>
  local home
  home="$build/home-$1-$(basename "$(dirname "$2")")"
  rm -rf "$home" && mkdir -p "$home/.config/Trelvin/Trelvin 2026/Folian"
  # The support files a host installs (here the help-address table).
  cp examples/support/* "$home/.config/Trelvin/Trelvin 2026/Folian/"
  local out
  out=$(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" XDG_DATA_DIRS="$home/shared" \
    LC_ALL=en_US.UTF-8 LD_LIBRARY_PATH="$prefix/lib" "$2" | sed "s|$home|<home>|g") ||
    { echo "FAIL: $2 exited with an error"; failed=1; return; }
  if ! diff -u "examples/expected/$1.txt" <(printf '%s\n' "$out"); then
    echo "FAIL: $2 printed something else than examples/expected/$1.txt"
    failed=1
  fi
}
for name in "${examples[@]}"; do run "$name" "$build/$name"; done
for name in preferences string; do run "$name" "$build/pkg-config/$name"; done

echo "-- README snippets are pieces of the examples"
python3 - "$prefix" "${examples[@]}" <<'PY' || failed=1
import os, re, sys
readme = open("README.md", encoding="utf-8").read()
seen = set()
bad = 0
for block in re.findall(r"```cpp\n(.*?)```", readme, re.S):
    lines = block.rstrip("\n").split("\n")
    h = re.match(r"// (include/FolianUtils/\w+\.h)$", lines[0])
    if h:
        # Declarations quoted from a header: comments and layout aside, each
        # statement is there.
        def flat(text):
            text = re.sub(r"//[^\n]*", " ", text)
            return re.sub(r"\s+", " ", text).replace("( ", "(").strip()
        header = flat(open(os.path.join(sys.argv[1], h.group(1)), encoding="utf-8").read())
        for statement in flat("\n".join(lines[1:])).split(";"):
            if statement.strip() and statement.strip() not in header:
                print(f"FAIL: a README declaration is not in {h.group(1)}: {statement.strip()}")
                bad = 1
        continue
    m = re.match(r"// (examples/(\w+)\.cpp)$", lines[0])
    if not m:
        continue
    seen.add(m.group(2))
    source = open(m.group(1), encoding="utf-8").read().split("\n")
    body = lines[1:]
    if not any(source[i:i + len(body)] == body for i in range(len(source))):
        print(f"FAIL: a README snippet is not in {m.group(1)}:\n" + "\n".join(body))
        bad = 1
for name in sys.argv[2:]:
    if name not in seen:
        print(f"FAIL: the README shows no snippet of examples/{name}.cpp")
        bad = 1
sys.exit(bad)
PY
echo "-- the examples in the installed headers' comments"
# Each example as a program: its #include lines, then the rest as the body
# of main().
rm -rf "$build/header-examples" && mkdir -p "$build/header-examples"
python3 - "$prefix/include/FolianUtils" "$build/header-examples" <<'PY' || failed=1
import re, sys
from pathlib import Path
headers, out = Path(sys.argv[1]), Path(sys.argv[2])
# The main class of each service shows one.
required = {"length_formatter.h", "vcb_parser.h", "preferences.h", "help_urls.h", "ustring.h"}
bad = 0
for header in sorted(headers.glob("*.h")):
    text = header.read_text(encoding="utf-8")
    blocks = re.findall(r"/// @code\{\.cpp\}\n(.*?)/// @endcode", text, re.S)
    if not blocks and header.name in required:
        print(f"FAIL: {header.name} shows no example of its main class")
        bad = 1
    for i, block in enumerate(blocks):
        lines = [re.sub(r"^ *///( |$)", "", line) for line in block.rstrip("\n").split("\n")]
        includes = [line for line in lines if line.startswith("#include")]
        body = ["  " + line if line else "" for line in lines if not line.startswith("#include")]
        body = "\n".join(body).strip("\n").split("\n")
        program = "\n".join(includes + ["", "int main() {"] + body + ["}", ""])
        (out / f"{header.stem}_{i}.cpp").write_text(program, encoding="utf-8")
sys.exit(bad)
PY
shown=0
for source in "$build/header-examples"/*.cpp; do
  program=${source%.cpp}
  # shellcheck disable=SC2046 # the flags are meant to split
  if ! c++ -std=c++17 -Wall -Wextra -Wpedantic -Werror "$source" -o "$program" \
    $(pkg-config --cflags --libs FolianUtils); then
    echo "FAIL: $source does not compile"
    failed=1
    continue
  fi
  home="$build/home-$(basename "$program")"
  rm -rf "$home" && mkdir -p "$home"
  env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" XDG_DATA_DIRS="$home/shared" \
    LC_ALL=en_US.UTF-8 LD_LIBRARY_PATH="$prefix/lib" "$program" >"$program.out" ||
    { echo "FAIL: $program exited with an error"; failed=1; }
  shown=$((shown + 1))
done

if ((failed)); then exit 1; fi
echo "examples: ${#examples[@]} built and run (2 also from pkg-config), README snippets match," \
  "$shown header examples built and run"
