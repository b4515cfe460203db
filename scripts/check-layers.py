#!/usr/bin/env python3
"""Checks what the build cannot see of the layers.

The build gives each folder's library the include roots and public include
folders of the folders it declares in DEPS (folian_cc_library in its
CMakeLists.txt), so an include of a folder that is not a dependency fails to
compile (the folian_layers_* ctests). Two faults still compile: an include
that climbs out of its folder with "..", which the compiler resolves beside
the including file, and headers that include each other, which #pragma once
lets through. This script finds both in the libraries' sources and headers;
tests, fuzzers, test support and the programs are not checked.

Usage: check-layers.py [repository root]   (default: this script's parent)
"""

import os
import re
import sys

# Programs above the library, which may include any of it.
PROGRAMS = {"tool"}

SOURCE_SUFFIXES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
LIBRARY = re.compile(r"folian_cc_library\s*\(")


def is_checked(path):
    stem = os.path.splitext(os.path.basename(path))[0]
    return not (stem.endswith("_test") or stem.endswith("_fuzz")
                or stem.endswith("_test_support") or "_test_" in stem)


def library_folders(root):
    """The folders whose CMakeLists.txt makes a library, programs aside."""
    folders = []
    for directory, _, files in os.walk(root):
        folder = os.path.relpath(directory, root).replace(os.sep, "/")
        if "CMakeLists.txt" not in files or folder.startswith("build") or folder in PROGRAMS:
            continue
        with open(os.path.join(directory, "CMakeLists.txt"), encoding="utf-8") as stream:
            if LIBRARY.search(re.sub(r"#.*", "", stream.read())):
                folders.append(folder)
    return folders


def strongly_connected(edges):
    """The components of more than one node of a directed graph (Tarjan)."""
    graph = {}
    for (a, b) in edges:
        graph.setdefault(a, set()).add(b)
        graph.setdefault(b, set())
    index, low, stack, on_stack, components = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(graph[node]):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                component.append(top)
                if top == node:
                    break
            if len(component) > 1:
                components.append(sorted(component))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return components


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(
        os.path.abspath(__file__)))
    folders = library_folders(root)
    # An include resolves against the repository root (a folder's own
    # headers) or a folder's public include folder.
    bases = [""] + [folder + "/include/" for folder in folders
                    if os.path.isdir(os.path.join(root, folder, "include"))]
    files = set()
    for folder in folders:
        for directory, _, names in os.walk(os.path.join(root, folder)):
            files |= {os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")
                      for name in names if name.endswith(SOURCE_SUFFIXES)}

    problems, edges = [], set()
    for path in sorted(files):
        if not is_checked(path):
            continue
        with open(os.path.join(root, path), encoding="utf-8") as stream:
            for number, line in enumerate(stream, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                header = match.group(1)
                if ".." in header.split("/"):
                    problems.append(f"{path}:{number}: {header} climbs out of the include roots")
                    continue
                edges |= {(path, base + header) for base in bases
                          if os.path.isfile(os.path.join(root, base + header))}

    for component in strongly_connected(edges):
        problems.append(f"headers include each other: {' <-> '.join(component)}")
    for problem in problems:
        print(problem)
    print(f"layers: {len(folders)} libraries, {len(files)} files, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
