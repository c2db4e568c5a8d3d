#!/usr/bin/env python3
"""Feeds every file of a folder to simplesso as its whole keyboard input: each run must end by
itself within a time limit with the status of the final key (255 for Enter, 0 otherwise), never
by a crash, a sanitizer report or a hang.  Usage: replay_corpus.py path/to/simplesso folder"""
import pathlib, subprocess, sys

program, folder = sys.argv[1], pathlib.Path(sys.argv[2])
files = sorted(p for p in folder.iterdir() if p.is_file())
failures = []
for path in files:
    with path.open("rb") as keys:
        try:
            run = subprocess.run([program], stdin=keys, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE, timeout=20)
        except subprocess.TimeoutExpired:
            failures.append(f"{path.name}: still running after 20 s")
            continue
    if run.returncode not in (0, 255):
        failures.append(f"{path.name}: exit status {run.returncode}\n{run.stderr.decode()[-2000:]}")
print(f"{len(files)} inputs replayed, {len(failures)} failed")
sys.exit("\n".join(failures) if failures or not files else None)
