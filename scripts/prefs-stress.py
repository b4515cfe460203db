#!/usr/bin/env python3
"""Several processes saving to one preference store, optionally while a loop
removes the lock files; prints saves, failures and keys lost.

Each process is the several-process test's writer (one store, one key
written and saved at a time); the files are read back at the end. A key is
lost when its save was reported OK and the files do not hold it (in "long"
mode a failed save keeps its values for the next save, so any missing key
counts).

  python3 scripts/prefs-stress.py <folian_prefs_multiprocess_test> PROCESSES KEYS [long|short]
  REMOVE=0 ...   without the loop that removes the lock files
"""
import json
import shutil
import os
import subprocess
import sys
import tempfile
import threading
import time
from collections import Counter

exe, n, keys = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
mode = sys.argv[4] if len(sys.argv) > 4 else "long"
remove = os.environ.get("REMOVE", "1") == "1"
folder = tempfile.mkdtemp(prefix="prefs-stress-")
start = time.time()
procs = [subprocess.Popen([exe, "--child", mode, folder, str(p), str(keys)], stderr=subprocess.PIPE)
         for p in range(n)]
done = False
removals = 0


def remover():
    global removals
    while not done:
        for name in ("m.private.json.lock", "m.public.json.lock"):
            try:
                os.unlink(os.path.join(folder, name))
                removals += 1
            except FileNotFoundError:
                pass


thread = threading.Thread(target=remover)
if remove:
    thread.start()
failed = 0
errors = []
for p in procs:
    _, err = p.communicate()
    failed += p.returncode
    errors += err.decode(errors="replace").splitlines()
done = True
if remove:
    thread.join()
values = {}
for name in ("m.private.json", "m.public.json"):
    try:
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            values.update(json.load(f).get("categories", {}).get("general", {}))
    except FileNotFoundError:
        pass
lost = sum(1 for p in range(n) for k in range(keys) if values.get(f"p{p}_k{k}") != k)
print(f"processes={n} keys={keys} mode={mode} seconds={time.time() - start:.1f} "
      f"saves={n * keys} failed={failed} lost_keys={lost} lock_removals={removals}")
for error, count in Counter(errors).most_common(5):
    print(count, error)
shutil.rmtree(folder, ignore_errors=True)
