#!/usr/bin/env python3
"""Fails when a public name of the installed headers is missing from the API
reference, which Doxygen's own warnings cannot see: a name it drops without
a word (a using-declaration) or a header left out of its input.

Reads the headers as clang-format lays them out (a class at the margin, its
members two spaces in, its end "};" at the margin) and the reference's XML
and search index, and checks that
  - every header is a file of the reference;
  - every public and protected member of every class (functions, using-
    declarations, type aliases, enumerations, data) is in the class's member
    list and in the search index, and so is every exported free function,
    constant and alias at namespace level;
  - every declaration marked [[nodiscard]] says "Result must be checked".

Usage: scripts/check-reference.py [--warn-only] <docs output> <header folder>...
"""
import html
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

NAMESPACE = re.compile(r"^namespace ([\w:]+) \{")
CLASS = re.compile(r"^(?:class|struct) (?:\w+_API )?(\w+)(?: final)?(?: :[^;]*)? \{$")
ACCESS = re.compile(r"^ (public|protected|private):")
# A member, two spaces in: what it declares, most specific first.
MEMBER_FORMS = [
    re.compile(r"^using (?:[\w:]+::)(\w+);"),             # using-declaration
    re.compile(r"^using (\w+) ="),                         # type alias
    re.compile(r"^enum (?:class )?(\w+)"),                 # enumeration
    re.compile(r"(operator\s*[^\s(]+|~?\w+)\s*\("),        # function
    re.compile(r"(\w+)(?:\[[^\]]*\])?\s*(?:=[^;]*|\{[^;]*\})?;$"),  # data
]
# At namespace level, the exported or inline names.
FREE_FORMS = [
    re.compile(r"^(?:\[\[nodiscard\]\] )?FOLIAN_API .*?(operator\s*[^\s(]+|\w+)\("),
    re.compile(r"^inline constexpr [\w:<>]+ (\w+)"),
    re.compile(r"^using (\w+) ="),
]
SKIP = re.compile(r"^(//|#|template\b|static_assert\b|\}|\)|:)")


def public_names(header):
    """(scope, name) of each public name the header declares; the number of
    its [[nodiscard]] declarations."""
    names = []
    namespace = ""
    cls = None
    access = "public"
    nodiscard = 0
    for line in header.read_text(encoding="utf-8").splitlines():
        if line.lstrip().startswith("[[nodiscard]]"):
            nodiscard += 1
        if m := NAMESPACE.match(line):
            namespace = m.group(1)
        elif m := CLASS.match(line):
            cls = f"{namespace}::{m.group(1)}"
            access = "private" if line.startswith("class") else "public"
            names.append((namespace, m.group(1)))
        elif cls and line.startswith("};"):
            cls = None
        elif cls and (m := ACCESS.match(line)):
            access = m.group(1)
        elif cls and access != "private" and re.match(r"^  \S", line):
            code = line.strip()
            # A deleted member is no name to use.
            if SKIP.match(code) or code.endswith("= delete;"):
                continue
            for form in MEMBER_FORMS:
                if m := form.search(code):
                    names.append((cls, m.group(1).replace(" ", "")))
                    break
        elif not cls:
            for form in FREE_FORMS:
                if m := form.match(line):
                    names.append((namespace, m.group(1).replace(" ", "")))
                    break
    return names, nodiscard


def main():
    args = sys.argv[1:]
    warn_only = "--warn-only" in args
    args = [a for a in args if a != "--warn-only"]
    docs = Path(args[0])
    headers = sorted(h for folder in args[1:] for h in Path(folder).glob("*.h"))
    index = ET.parse(docs / "xml" / "index.xml").getroot()
    files = {c.findtext("name") for c in index if c.get("kind") == "file"}
    members = {}  # qualified class name -> names in its member list
    checked_paragraphs = 0
    for compound in index:
        if compound.get("kind") in ("class", "struct"):
            tree = ET.parse(docs / "xml" / f"{compound.get('refid')}.xml").getroot()
            members[compound.findtext("name")] = {
                m.findtext("name") for m in tree.iter("member")} | {
                m.findtext("name") for m in tree.iter("memberdef")}
        if compound.get("kind") in ("class", "struct", "file", "namespace"):
            text = (docs / "xml" / f"{compound.get('refid')}.xml").read_text(encoding="utf-8")
            checked_paragraphs += text.count("<title>Result must be checked</title>")
    # Search entries: [id, [name, [link, 1, scope], ...]]; overloads name
    # their scope with the member and its parameters.
    search = set()
    for js in (docs / "html" / "search").glob("all_*.js"):
        text = html.unescape(js.read_text(encoding="utf-8"))
        for entry in re.finditer(r"\['[^']*',\['([^']*)',(.*?)\]\]\]?,?\n", text):
            for scope in re.findall(r",1,'([^']*)'", entry.group(2)):
                search.add((entry.group(1), re.sub(r"::[^:]*\(.*$|\(.*$", "", scope)))

    missing = []
    checked = 0
    nodiscard = 0
    for header in headers:
        if header.name not in files:
            missing.append(f"{header}: not a file of the reference")
        names, count = public_names(header)
        nodiscard += count
        for scope, name in names:
            checked += 1
            if scope in members and name not in members[scope]:
                missing.append(f"{header.name}: {scope}::{name} not in the member list")
            # An entry's scope is the owner, or the owner and the member.
            if not any(n == name and (s == scope or s.startswith(f"{scope}::"))
                       for n, s in search):
                missing.append(f"{header.name}: {scope}::{name} not in the search index")
    if checked_paragraphs != nodiscard:
        missing.append(f"{nodiscard} declarations are [[nodiscard]], but {checked_paragraphs} "
                       "say \"Result must be checked\" (docs/nodiscard.sed)")
    for line in missing:
        print(f"{'warning' if warn_only else 'error'}: {line}")
    print(f"reference: {len(headers)} headers, {checked} public names, {nodiscard} results "
          f"to check; {len(missing)} missing")
    return 1 if missing and not warn_only else 0


if __name__ == "__main__":
    sys.exit(main())
