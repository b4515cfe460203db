#!/usr/bin/env python3
"""Checks what the build cannot see of the layers.

The build gives each folder's library the include roots of the folders it
declares in DEPS (folian_cc_library in its CMakeLists.txt), so an include of
"units/..." from a folder that does not depend on units/ fails to compile.
The public headers share one folder (include/), which every library sees;
this script checks that a library includes only the public headers of
itself and of the folders it depends on, directly or through others, that
every public header has an owner, that no include climbs out of its folder
with "..", and that no headers include each other. Tests, fuzzers, test
support and the programs are not checked.

Usage: check-layers.py [repository root]   (default: this script's parent)
"""

import os
import re
import sys

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

# Public include folders, relative to the repository root.
PUBLIC_ROOTS = ("include", "prefs/common/include", "prefs/viewer/include")

# The common preference library's interface is written in the library's
# string type, so it includes the string's header from below. It may use
# only the header's inline members: that library cannot link FolianUtils,
# which links it, so a call to an out-of-line member fails its link (with
# --no-undefined on Linux, and always for a DLL). Each line is
# "including folder -> included header".
INLINE_ONLY_EDGES = {
    "prefs/common -> FolianUtils/ustring.h",
}

# Programs above the library, which may include any of it.
PROGRAMS = {"tool"}

SOURCE_SUFFIXES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
LIBRARY = re.compile(r"folian_cc_library\s*\((.*?)\)", re.S)
KEYWORDS = {"NAME", "SRCS", "DEPS", "PUBLIC_INCLUDES", "LINK", "PRIVATE_LINK", "DEFINES"}


def is_checked(path):
    stem = os.path.splitext(os.path.basename(path))[0]
    return not (stem.endswith("_test") or stem.endswith("_fuzz")
                or stem.endswith("_test_support") or "_test_" in stem)


def read_libraries(root):
    """{folder: set of folders it depends on}, from the folders' CMakeLists.txt."""
    names, deps = {}, {}
    for directory, _, files in os.walk(root):
        if "CMakeLists.txt" not in files or os.path.relpath(directory, root).startswith("build"):
            continue
        with open(os.path.join(directory, "CMakeLists.txt"), encoding="utf-8") as stream:
            text = re.sub(r"#.*", "", stream.read())
        for match in LIBRARY.finditer(text):
            fields, key = {}, None
            for word in match.group(1).split():
                if word in KEYWORDS:
                    key = word
                    fields.setdefault(key, [])
                elif key:
                    fields[key].append(word)
            folder = os.path.relpath(directory, root).replace(os.sep, "/")
            if folder in PROGRAMS:
                continue
            names[fields["NAME"][0]] = folder
            deps[folder] = fields.get("DEPS", [])
    return {folder: {names[d] for d in ds if d in names} for folder, ds in deps.items()}


def closure(deps):
    """{folder: every folder it reaches through its dependencies}."""
    reach = {}

    def visit(folder, trail):
        if folder in reach:
            return reach[folder]
        found = set()
        for dep in deps.get(folder, ()):
            if dep not in trail:
                found |= {dep} | visit(dep, trail | {dep})
        reach[folder] = found
        return found

    for folder in deps:
        visit(folder, {folder})
    return reach


def folder_of(path, folders):
    """The library folder a repository path belongs to, or None."""
    for folder in sorted(folders, key=len, reverse=True):
        if path.startswith(folder + "/"):
            return folder
    return None


def public_owner(header, sources_by_stem):
    for prefix, owner in PUBLIC_OWNERS.items():
        if header == prefix or (prefix.endswith("/") and header.startswith(prefix)):
            return owner
    owners = sources_by_stem.get(os.path.splitext(os.path.basename(header))[0], set())
    return next(iter(owners)) if len(owners) == 1 else None


def public_path(header, root):
    """The repository path of a public header, or None."""
    for base in PUBLIC_ROOTS:
        if os.path.isfile(os.path.join(root, base, header)):
            return os.path.normpath(os.path.join(base, header))
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


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(
        os.path.abspath(__file__)))
    deps = read_libraries(root)
    reach = closure(deps)
    files = []
    for folder in list(deps) + ["include"]:
        for directory, _, names in os.walk(os.path.join(root, folder)):
            files += [os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")
                      for name in names if name.endswith(SOURCE_SUFFIXES)]
    files = sorted(set(files))

    sources_by_stem = {}
    for path in files:
        folder = folder_of(path, deps)
        if path.endswith(".cpp") and folder and is_checked(path):
            sources_by_stem.setdefault(os.path.splitext(os.path.basename(path))[0],
                                       set()).add(folder)

    def owner(path):
        public = next((path[len(base) + 1:] for base in PUBLIC_ROOTS
                       if path.startswith(base + "/")), None)
        if public is not None:
            return public_owner(public, sources_by_stem)
        return folder_of(path, deps)

    problems, seen_inline, header_edges = [], set(), set()
    for path in files:
        if not is_checked(path):
            continue
        source = owner(path)
        if source is None:
            problems.append(f"{path}: no folder owns this public header (add it to PUBLIC_OWNERS)")
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
                included = public_path(header, root)
                if included is None:
                    if os.path.isfile(os.path.join(root, header)):
                        header_edges.add((path, header))
                    continue  # a folder's own header: the build checks it
                header_edges.add((path, included))
                target = public_owner(header, sources_by_stem)
                if target is None or target == source or target in reach.get(source, ()):
                    continue
                edge = f"{source} -> {header}"
                if edge in INLINE_ONLY_EDGES:
                    seen_inline.add(edge)
                    continue
                problems.append(f"{path}:{number}: {source}/ includes {header} of {target}/,"
                                f" which is not among its dependencies")

    for edge in sorted(INLINE_ONLY_EDGES - seen_inline):
        problems.append(f"edge no longer present, remove it from INLINE_ONLY_EDGES: {edge}")
    for component in strongly_connected(header_edges):
        problems.append(f"headers include each other: {' <-> '.join(component)}")
    for edge in sorted(seen_inline):
        print(f"inline-only edge: {edge}")
    for problem in problems:
        print(problem)
    print(f"layers: {len(deps)} libraries, {len(files)} files, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
