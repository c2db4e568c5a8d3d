#!/usr/bin/env python3
"""Includes point one way, down the rooms of src/: console -> analysis -> simplex -> standard_form
-> model. A file may include its own room and any room below it, never one above; model includes
nothing of ours. Every include that names a file under src/ (as `#include "room/x.h"`, relative to
the including file, or in angle brackets) is placed in its room; a room missing from the list
below, or a quoted include that names no file, fails too, so the check never passes by not
looking.

usage: check_layers.py SRC_DIR"""
import os
import re
import sys

ROOMS = ["model", "standard_form", "simplex", "analysis", "console"]  # lowest first
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def room_of(path, src):
    """The room of a file under src, or None for a file outside it."""
    rel = os.path.relpath(os.path.realpath(path), os.path.realpath(src))
    if rel.startswith(".."):
        return None
    return rel.split(os.sep)[0] if os.sep in rel else ""


def target_of(name, bracket, including, src):
    """The file an include names, or None when it is not one of ours."""
    candidates = [os.path.join(src, name)]
    if bracket == '"':
        candidates.insert(0, os.path.join(os.path.dirname(including), name))
    for candidate in candidates:
        if os.path.isfile(candidate):
            return candidate
    return None


def main():
    src = sys.argv[1]
    faults, checked = [], 0
    for folder, _, files in sorted(os.walk(src)):
        for file in sorted(files):
            if not file.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, file)
            shown = os.path.relpath(path, os.path.dirname(os.path.realpath(src)))
            room = room_of(path, src)
            if room not in ROOMS:
                faults.append(f"{shown}: its room '{room}' has no place in the layers {ROOMS}")
                continue
            with open(path, encoding="utf-8") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    bracket, name = match.groups()
                    target = target_of(name, bracket, path, src)
                    if target is None:
                        if bracket == '"':
                            faults.append(f"{shown}:{number}: \"{name}\" names no file")
                        continue
                    checked += 1
                    to = room_of(target, src)
                    if to not in ROOMS or ROOMS.index(to) > ROOMS.index(room):
                        faults.append(f"{shown}:{number}: {room} may not include {name} "
                                      f"(includes point {' -> '.join(reversed(ROOMS))})")
    for fault in faults:
        print(fault)
    if checked == 0:
        print(f"no include of ours found under {src}")
        return 1
    print(f"{checked} includes checked, {len(faults)} pointing the wrong way")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
