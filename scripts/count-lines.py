#!/usr/bin/env python3
"""Prints the non-blank lines of tests and of code, and their ratio.

Tests: every file under tests/, and every other file whose name holds "test"
(test sources, test-support headers, the tool's case table), outside
scripts/, examples/, bench/, cmake/ and docs/. Code: the .cpp and .h files
of the library's folders and tool/ whose name holds neither "test"
nor "_fuzz". Fuzz targets, benchmarks, examples and scripts count as
neither. Only the files git tracks count, so build folders never do.

Usage: scripts/count-lines.py [-v]   (-v lists every counted file)
"""
import subprocess
import sys
from pathlib import Path

CODE_FOLDERS = ("base", "platform", "foundation", "units", "vcb", "prefs", "environment",
                "library", "tool")
NEITHER = ("scripts", "examples", "bench", "cmake", "docs")


def kind(path):
    parts = path.split("/")
    name = parts[-1].lower()
    if parts[0] == "tests" or ("test" in name and parts[0] not in NEITHER):
        return "test"
    if parts[0] in CODE_FOLDERS and name.endswith((".cpp", ".h")) and "_fuzz" not in name:
        return "code"
    return None


def nonblank(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return sum(1 for line in f if line.strip())


def main():
    root = Path(__file__).resolve().parent.parent
    files = subprocess.run(["git", "-C", str(root), "ls-files"], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    counts = {"test": 0, "code": 0}
    for path in files:
        k = kind(path)
        if k is None or not (root / path).is_file():
            continue
        lines = nonblank(root / path)
        counts[k] += lines
        if "-v" in sys.argv:
            print(f"{k} {lines:6} {path}")
    ratio = counts["test"] / counts["code"] if counts["code"] else 0.0
    print(f"tests {counts['test']}, code {counts['code']}, ratio {ratio:.2f}")


if __name__ == "__main__":
    main()
