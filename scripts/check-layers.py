#!/usr/bin/env python3
"""Fails when a quoted #include runs up a layer or folders include each other.

Each library folder has a rank; code may include its own folder and folders
of a lower rank only. Public headers count for the folder that implements
them. Tests, fuzzers and the programs (tool/, tests/, bench/, fuzz/,
example/) sit above the library and are not checked.

Usage: check-layers.py [repository root]   (default: this script's parent)
"""

import os
import re
import sys

# Bottom first. Folders of equal rank may not include each other.
RANKS = {
    "base": 0,
    "platform": 1,
    "prefs/viewer": 2,
    "prefs/common": 2,
    "foundation": 3,
    "units": 4,
    "environment": 4,
    "vcb": 5,
    "prefs": 6,
    "library": 7,
}

# Public headers whose name matches no source file of the folder that owns them.
PUBLIC_OWNERS = {
    "FolianUtils/FolianUtils.h": "library",
    "FolianUtils/assert.h": "foundation",
    "FolianUtils/constants.h": "base",
    "FolianUtils/export.h": "base",
    "FolianUtils/utf16.h": "base",
    "FolianUtils/point2.h": "foundation",
    "FolianUtils/host_strings.h": "foundation",
    "FolianUtils/dictionary.h": "prefs/common",
    "FolianUtils/variant.h": "prefs/common",
    "TrelvinCommonPreferences/": "prefs/common",
    "TrelvinViewerAPI/": "prefs/viewer",
}

# The common preference library's interface is written in the library's
# string type, so it includes the string's header from below. It may use
# only the header's inline members: that library cannot link FolianUtils,
# which links it, so a call to an out-of-line member fails its link (with
# --no-undefined on Linux, and always for a DLL). Each line is
# "including folder -> included header".
INLINE_ONLY_EDGES = {
    "prefs/common -> FolianUtils/ustring.h",
}

SOURCE_SUFFIXES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def is_checked(path):
    name = os.path.basename(path)
    stem = os.path.splitext(name)[0]
    return not (
        stem.endswith("_test")
        or stem.endswith("_fuzz")
        or stem.endswith("_test_support")
        or "_test_" in stem
    )


def folder_of(path):
    """The ranked folder a repository path belongs to, or None."""
    for folder in sorted(RANKS, key=len, reverse=True):
        if path == folder or path.startswith(folder + "/"):
            return folder
    return None


def public_owner(header, sources_by_stem):
    for prefix, owner in PUBLIC_OWNERS.items():
        if header == prefix or (prefix.endswith("/") and header.startswith(prefix)):
            return owner
    stem = os.path.splitext(os.path.basename(header))[0]
    owners = sources_by_stem.get(stem, set())
    if len(owners) == 1:
        return next(iter(owners))
    return None


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


def resolve(header, root):
    """The repository path of an include name, or None outside the tree."""
    for candidate in (os.path.join("include", header),
                      os.path.join("prefs/common/include", header),
                      os.path.join("prefs/viewer/include", header), header):
        if os.path.isfile(os.path.join(root, candidate)):
            return os.path.normpath(candidate)
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(
        os.path.abspath(__file__)))
    files = []
    for folder in RANKS:
        base = os.path.join(root, folder)
        for directory, _, names in os.walk(base):
            for name in names:
                if name.endswith(SOURCE_SUFFIXES):
                    files.append(os.path.relpath(os.path.join(directory, name), root))
    include_dir = os.path.join(root, "include")
    for directory, _, names in os.walk(include_dir):
        for name in names:
            if name.endswith(".h"):
                files.append(os.path.relpath(os.path.join(directory, name), root))
    files = sorted(set(files))

    sources_by_stem = {}
    for path in files:
        if path.endswith(".cpp") and folder_of(path) and is_checked(path):
            stem = os.path.splitext(os.path.basename(path))[0]
            sources_by_stem.setdefault(stem, set()).add(folder_of(path))

    def owner(path):
        """The folder a file (a repository path or an include name) belongs to."""
        if path.startswith("include/"):
            return public_owner(path[len("include/"):], sources_by_stem)
        found = folder_of(path)
        if found:
            return found
        return public_owner(path, sources_by_stem)

    problems = []
    edges = {}  # (from folder, to folder) -> first example
    seen_known = set()
    header_edges = set()  # (file, included file), for header cycles
    for path in files:
        if not is_checked(path):
            continue
        source_folder = owner(path)
        if source_folder is None:
            problems.append(f"{path}: no layer owns this public header (add it to PUBLIC_OWNERS)")
            continue
        short = path[len("include/"):] if path.startswith("include/") else path
        with open(os.path.join(root, path), encoding="utf-8") as stream:
            for number, line in enumerate(stream, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                header = match.group(1)
                included = resolve(header, root)
                if included:
                    header_edges.add((path, included))
                target = owner(header)
                if target is None:
                    problems.append(f"{path}:{number}: {header} belongs to no layer")
                    continue
                if target == source_folder:
                    continue
                edge = f"{short} -> {header}"
                edges.setdefault((source_folder, target), edge)
                if RANKS[target] < RANKS[source_folder]:
                    continue
                inline_only = f"{source_folder} -> {header}"
                if inline_only in INLINE_ONLY_EDGES:
                    seen_known.add(inline_only)
                    continue
                problems.append(f"{path}:{number}: {source_folder}/ (layer {RANKS[source_folder]})"
                                f" includes {header} of {target}/ (layer {RANKS[target]})")

    for edge in sorted(INLINE_ONLY_EDGES - seen_known):
        problems.append(f"edge no longer present, remove it from INLINE_ONLY_EDGES: {edge}")

    # Cycles between folders, the inline-only edges included.
    cycles = strongly_connected(edges)
    header_cycles = strongly_connected(header_edges)
    for component in header_cycles:
        problems.append(f"headers include each other: {' <-> '.join(component)}")

    for component in cycles:
        inside = [edges[(a, b)] for (a, b) in sorted(edges) if a in component and b in component]
        print("cycle between folders: " + ", ".join(component))
        for example in inside:
            print(f"  {example}")
    for edge in sorted(seen_known):
        print(f"inline-only edge: {edge}")
    for problem in problems:
        print(problem)
    def allowed(a, b):
        return RANKS[b] < RANKS[a] or any(
            edge.startswith(f"{a} -> ") and owner(edge.split(" -> ")[1]) == b
            for edge in INLINE_ONLY_EDGES)

    unknown_cycles = [c for c in cycles
                      if any(not allowed(a, b) for (a, b) in edges if a in c and b in c)]
    print(f"layers: {len(files)} files, {len(edges)} folder edges, {len(cycles)} cycles "
          f"({len(unknown_cycles)} not allowed), {len(problems)} problems")
    return 1 if problems or unknown_cycles else 0


if __name__ == "__main__":
    sys.exit(main())
