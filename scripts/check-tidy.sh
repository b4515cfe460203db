#!/usr/bin/env bash
# clang-tidy with the checks of .clang-tidy over the library's own sources
# (not tests, fuzzers or tools), using a build's compile_commands.json; any
# finding fails.
#   bash scripts/check-tidy.sh <build folder configured with clang++>
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
mapfile -t files < <(grep -o '"file": "[^"]*"' "$build/compile_commands.json" | cut -d'"' -f4 |
  grep -E "^$PWD/(foundation|units|vcb|prefs|environment|library|platform)/" |
  grep -vE '_(test|fuzz)\.cpp$' | sort -u)
log=$build/clang-tidy.log
if ! run-clang-tidy-14 -quiet -p "$build" -j"$(nproc)" "${files[@]}" >"$log" 2>&1; then
  # Without its colours, one line per finding.
  sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E ': (warning|error): ' | sort -u || cat "$log"
  echo "clang-tidy: findings above (whole output in $log)"
  exit 1
fi
echo "clang-tidy: ${#files[@]} files, no findings"
