#!/usr/bin/env python3
"""The layer check fails on each kind of fault it exists for, on small trees."""

import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check-layers.py")

# Four folders that declare their dependencies as the build does, and the
# one inline-only edge, which every tree must hold.
TREE = {
    "base/CMakeLists.txt": "folian_cc_library(NAME base)\n",
    "platform/CMakeLists.txt": "folian_cc_library(NAME platform SRCS a.cpp DEPS base)\n",
    "foundation/CMakeLists.txt":
        "folian_cc_library(NAME foundation\n  SRCS ustring.cpp\n  DEPS base # the codec\n"
        "  platform)\n",
    "units/CMakeLists.txt": "folian_cc_library(NAME units SRCS f.cpp DEPS foundation)\n",
    "environment/CMakeLists.txt": "folian_cc_library(NAME environment SRCS e.cpp DEPS platform)\n",
    "prefs/common/CMakeLists.txt": "folian_cc_library(NAME prefs_common SRCS i.cpp DEPS base)\n",
    "prefs/common/i.h": '#include "FolianUtils/ustring.h"\n',
    "include/FolianUtils/ustring.h": "",
    "foundation/ustring.cpp": "",
    "include/FolianUtils/constants.h": "",
    "include/FolianUtils/env.h": "",
    "environment/env.cpp": "",
}

# name, files (path -> content, None removes) besides TREE, expected exit
# status, text the output must hold
CASES = [
    ("public headers of dependencies, direct or further down, pass",
     {"units/f.cpp": '#include "FolianUtils/ustring.h"\n#include "FolianUtils/constants.h"\n'},
     0, "0 problems"),
    ("a public header of a folder above fails",
     {"platform/a.h": '#include "FolianUtils/ustring.h"\n'},
     1, "platform/ includes FolianUtils/ustring.h of foundation/, which is not among its"),
    ("a public header of a folder beside fails",
     {"units/f.cpp": '#include "FolianUtils/env.h"\n'},
     1, "units/ includes FolianUtils/env.h of environment/"),
    ("headers that include each other fail",
     {"units/a.h": '#include "units/b.h"\n', "units/b.h": '#include "units/a.h"\n'},
     1, "headers include each other"),
    ("an include that climbs out of the include roots fails",
     {"platform/a.cpp": '#include "../units/a.h"\n', "units/a.h": ""},
     1, "climbs out of the include roots"),
    ("a public header no folder owns fails",
     {"include/FolianUtils/orphan.h": ""},
     1, "no folder owns this public header"),
    ("an allowed edge that is gone fails, so the allowance cannot outlive it",
     {"prefs/common/i.h": None},
     1, "edge no longer present"),
    ("tests are not checked",
     {"platform/a_test.cpp": '#include "FolianUtils/env.h"\n'},
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
        got_status, output = run({**TREE, **files})
        if got_status != status or text not in output:
            failures += 1
            print(f"FAIL {name}: status {got_status} (want {status}), output:\n{output}")
    print(f"layer check: {len(CASES) - failures} of {len(CASES)} cases pass")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
