#!/usr/bin/env python3
"""The layer check fails on each kind of fault it exists for, on small trees."""

import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check-layers.py")

# The one inline-only edge, which every tree must hold.
STRING = {"prefs/common/i.h": '#include "FolianUtils/ustring.h"\n',
          "include/FolianUtils/ustring.h": "", "foundation/ustring.cpp": ""}

# name, files (path -> content) besides STRING, expected exit status, text
# the output must hold
CASES = [
    ("downward includes pass",
     {"platform/a.h": '#include "base/b.h"\n', "base/b.h": "", "units/c.cpp": '#include "platform/a.h"\n'},
     0, "0 problems"),
    ("an include up a layer fails",
     {"platform/a.h": '#include "prefs/b.h"\n', "prefs/b.h": ""},
     1, "platform/ (layer 1) includes prefs/b.h"),
    ("folders of one rank may not include each other",
     {"units/a.cpp": '#include "environment/b.h"\n', "environment/b.h": ""},
     1, "units/ (layer 4) includes environment/b.h"),
    ("headers that include each other fail",
     {"units/a.h": '#include "units/b.h"\n', "units/b.h": '#include "units/a.h"\n'},
     1, "headers include each other"),
    ("a public header no layer owns fails",
     {"include/FolianUtils/orphan.h": ""},
     1, "no layer owns this public header"),
    ("the string header is allowed from the common preference library only",
     {"platform/b.h": '#include "FolianUtils/ustring.h"\n'},
     1, "platform/ (layer 1) includes FolianUtils/ustring.h"),
    ("an allowed edge that is gone fails, so the allowance cannot outlive it",
     {"prefs/common/i.h": None},
     1, "edge no longer present"),
    ("tests above the library are not checked",
     {"platform/a_test.cpp": '#include "prefs/b.h"\n', "prefs/b.h": ""},
     0, "0 problems"),
]


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for path, content in files.items():
            if content is None:
                continue
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as stream:
                stream.write(content)
        result = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return result.returncode, result.stdout


def main():
    failures = 0
    for name, files, status, text in CASES:
        got_status, output = run({**STRING, **files})
        if got_status != status or text not in output:
            failures += 1
            print(f"FAIL {name}: status {got_status} (want {status}), output:\n{output}")
    print(f"layer check: {len(CASES) - failures} of {len(CASES)} cases pass")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
