#!/usr/bin/env bash
# Builds the examples against an installed package (with find_package, and
# with a plain compiler line from pkg-config), runs each in a fresh home and
# compares what it prints with examples/expected/, and builds and runs every
# C++ snippet of the README and of docs/guide/ (or checks it against the
# example or header it is a piece of), so the text cannot drift from the code.
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
run() {  # run <program> [<file of what it must print>]
  local home
  home="$1.home"
  rm -rf "$home" && mkdir -p "$home/.config/Trelvin/Trelvin 2026/Folian"
  # The support files a host installs (here the help-address table).
  cp examples/support/* "$home/.config/Trelvin/Trelvin 2026/Folian/"
  local out
  out=$(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" XDG_DATA_DIRS="$home/shared" \
    LC_ALL=en_US.UTF-8 LD_LIBRARY_PATH="$prefix/lib" "$1" | sed "s|$home|<home>|g") ||
    { echo "FAIL: $1 exited with an error"; failed=1; return; }
  if [ -n "${2:-}" ] && ! diff -u "$2" <(printf '%s\n' "$out"); then
    echo "FAIL: $1 printed something else than $2"
    failed=1
  fi
}
for name in "${examples[@]}"; do run "$build/$name" "examples/expected/$name.txt"; done
for name in preferences string; do run "$build/pkg-config/$name" "examples/expected/$name.txt"; done

echo "-- the C++ snippets of the README and the guide"
# A snippet whose first line names an example (// examples/x.cpp) is a piece
# of it, and one that names a public header (// include/FolianUtils/x.h)
# quotes its declarations; every other snippet is a whole program, written
# out to be built and run below, with the ```text block right after it, if
# any, as what it must print.
rm -rf "$build/snippets" && mkdir -p "$build/snippets"
python3 - "$prefix" "$build/snippets" README.md docs/guide/*.md <<'PY' || failed=1
import os, re, sys
from pathlib import Path
prefix, out = sys.argv[1], Path(sys.argv[2])
bad = 0
for page in sys.argv[3:]:
    text = open(page, encoding="utf-8").read()
    blocks = re.finditer(r"```cpp\n(.*?)```\n((?:[ \t]*\n)*```text\n(.*?)```\n)?", text, re.S)
    for i, block in enumerate(blocks):
        lines = block.group(1).rstrip("\n").split("\n")
        h = re.match(r"// (include/FolianUtils/\w+\.h)$", lines[0])
        if h:
            # Comments and layout aside, each statement is in the header.
            def flat(text):
                text = re.sub(r"//[^\n]*", " ", text)
                return re.sub(r"\s+", " ", text).replace("( ", "(").strip()
            header = flat(open(os.path.join(prefix, h.group(1)), encoding="utf-8").read())
            for statement in flat("\n".join(lines[1:])).split(";"):
                if statement.strip() and statement.strip() not in header:
                    print(f"FAIL: a declaration in {page} is not in {h.group(1)}: {statement.strip()}")
                    bad = 1
            continue
        m = re.match(r"// (examples/\w+\.cpp)$", lines[0])
        if m:
            source = open(m.group(1), encoding="utf-8").read().split("\n")
            body = lines[1:]
            if not any(source[i:i + len(body)] == body for i in range(len(source))):
                print(f"FAIL: a snippet in {page} is not in {m.group(1)}:\n" + "\n".join(body))
                bad = 1
            continue
        if not re.search(r"^int main\(", block.group(1), re.M):
            print(f"FAIL: a snippet in {page} is no whole program and names no example or "
                  f"header:\n{block.group(1)}")
            bad = 1
            continue
        name = f"{Path(page).stem.lower().replace('-', '_')}_{i}"
        (out / f"{name}.cpp").write_text(block.group(1), encoding="utf-8")
        if block.group(3) is not None:
            (out / f"{name}.expected").write_text(block.group(3), encoding="utf-8")
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
snippets=0
shown=0
for source in "$build/snippets"/*.cpp "$build/header-examples"/*.cpp; do
  [ -e "$source" ] || continue
  program=${source%.cpp}
  # shellcheck disable=SC2046 # the flags are meant to split
  if ! c++ -std=c++17 -Wall -Wextra -Wpedantic -Werror "$source" -o "$program" \
    $(pkg-config --cflags --libs FolianUtils); then
    echo "FAIL: $source does not compile"
    failed=1
    continue
  fi
  expected=$program.expected
  [ -e "$expected" ] || expected=
  run "$program" "$expected"
  case $source in
    "$build/snippets"/*) snippets=$((snippets + 1)) ;;
    *) shown=$((shown + 1)) ;;
  esac
done

if ((failed)); then exit 1; fi
echo "examples: ${#examples[@]} built and run (2 also from pkg-config), $snippets programs of" \
  "the README and the guide and $shown header examples built and run"
