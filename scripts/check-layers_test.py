#!/usr/bin/env python3
"""The layer check fails on each kind of fault it exists for, on small trees."""

import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check-layers.py")

# Two folders that make libraries, one with public headers.
TREE = {
    "base/CMakeLists.txt": "folian_cc_library(NAME base PUBLIC_INCLUDES include)\n",
    "units/CMakeLists.txt": "folian_cc_library(NAME units\n  SRCS f.cpp # the formatter\n"
                            "  DEPS base)\n",
    "base/include/FolianUtils/a.h": "",
    "base/b.h": "",
    "units/f.cpp": '#include "FolianUtils/a.h"\n#include "base/b.h"\n',
}

# name, files besides TREE (path -> content), expected exit status, text the
# output must hold
CASES = [
    ("includes of a folder's own and public headers pass", {}, 0, "2 libraries, 3 files, 0 problems"),
    ("headers that include each other fail",
     {"units/a.h": '#include "units/b.h"\n', "units/b.h": '#include "units/a.h"\n'},
     1, "headers include each other: units/a.h <-> units/b.h"),
    ("public headers that include each other fail",
     {"base/include/FolianUtils/a.h": '#include "FolianUtils/c.h"\n',
      "base/include/FolianUtils/c.h": '#include "FolianUtils/a.h"\n'},
     1, "base/include/FolianUtils/a.h <-> base/include/FolianUtils/c.h"),
    ("an include that climbs out of the include roots fails",
     {"units/f.cpp": '#include "../base/b.h"\n'},
     1, "units/f.cpp:1: ../base/b.h climbs out of the include roots"),
    ("tests are not checked",
     {"units/f_test.cpp": '#include "../base/b.h"\n'},
     0, "0 problems"),
]


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for path, content in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as stream:
                stream.write(content)
        result = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return result.returncode, result.stdout


def main():
    failures = 0
    for name, files, status, text in CASES:
        got_status, output = run({**TREE, **files})
        if got_status != status or text not in output:
            failures += 1
            print(f"FAIL {name}: status {got_status} (want {status}), output:\n{output}")
    print(f"layer check: {len(CASES) - failures} of {len(CASES)} cases pass")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
