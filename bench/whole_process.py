#!/usr/bin/env python3
"""Whole-process timing: wall time of complete runs of a built program, keyboard input from
keystroke files, screens to /dev/null, next to an empty C++ program built the same way (the cost
of starting any process, the floor).

    bench/whole_process.py build/simplesso
    bench/whole_process.py build/simplesso old-build/simplesso --runs 300

Every run of every program and keystroke file is interleaved with the others in one shuffled
round after another, so a slow spell of the machine falls on all of them alike. With a second
program the table also gives the ratio first/second (below 1: the first is faster), and the
screens of the two are compared once, byte for byte, before any timing.
"""

import argparse
import os
import random
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_KEYS = [os.path.join(HERE, "data", name) for name in ("dense_5x5.keys", "dense_20x20.keys")]
EMPTY_NAME = "simplesso_empty"


def run_once(program, keys_path):
    """Starts the program with the keystroke file as its keyboard and /dev/null as its screen,
    waits for it and returns the wall time in seconds. posix_spawn keeps the timing's own cost
    small and the same for every program."""
    actions = [
        (os.POSIX_SPAWN_OPEN, 0, keys_path, os.O_RDONLY, 0),
        (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
    ]
    start = time.perf_counter()
    pid = os.posix_spawn(program, [program], {}, file_actions=actions)
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    if not os.WIFEXITED(status):
        sys.exit(f"{program} < {keys_path} did not exit normally (status {status})")
    return elapsed


def screen(program, keys_path):
    with open(keys_path, "rb") as keys:
        return subprocess.run([program], stdin=keys, capture_output=True).stdout


def sibling_empty(program):
    path = os.path.join(os.path.dirname(os.path.abspath(program)), EMPTY_NAME)
    return path if os.access(path, os.X_OK) else None


def ms(seconds):
    return f"{seconds * 1000:8.3f}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program", help="the program to time")
    parser.add_argument("other", nargs="?", help="a second program to time side by side")
    parser.add_argument("--keys", nargs="+", default=DEFAULT_KEYS, help="keystroke files")
    parser.add_argument("--runs", type=int, default=200, help="runs of each program per file")
    parser.add_argument("--empty", help=f"floor of the first program (default: its {EMPTY_NAME})")
    parser.add_argument("--other-empty", help="floor of the second program (default: its own)")
    parser.add_argument("--shuffle", type=int, default=1, help="number that fixes the run order")
    args = parser.parse_args()

    programs = [("first", args.program, args.empty or sibling_empty(args.program))]
    if args.other:
        programs.append(("second", args.other, args.other_empty or sibling_empty(args.other)))
    for label, program, empty in programs:
        if not os.access(program, os.X_OK):
            sys.exit(f"{program} is not an executable program")
        if empty is None:
            sys.exit(f"no empty program for the {label} program: build {EMPTY_NAME} or give one")

    if args.other:
        for keys in args.keys:
            same = screen(args.program, keys) == screen(args.other, keys)
            print(f"screens of {os.path.basename(keys)}: {'identical' if same else 'DIFFERENT'}")

    # One timed job per (program or floor, keystroke file); the floor runs on the same input.
    jobs = []
    for label, program, empty in programs:
        for keys in args.keys:
            jobs.append((label, "program", program, keys))
            jobs.append((label, "floor", empty, keys))
    times = {(label, kind, keys): [] for label, kind, _, keys in jobs}
    order = random.Random(args.shuffle)
    for job in jobs:  # one warm-up run each, untimed, so the page cache holds every file
        run_once(job[2], job[3])
    for _ in range(args.runs):
        order.shuffle(jobs)
        for job in jobs:
            label, kind, path, keys = job
            times[label, kind, keys].append(run_once(path, keys))

    def median(label, kind, keys):
        return statistics.median(times[label, kind, keys])

    print(f"median wall time in ms of {args.runs} interleaved runs each")
    for label, program, empty in programs:
        print(f"  {label}: {program}  (floor: {empty})")
    header = f"{'keystroke file':<20} {'first':>8} {'floor':>8}"
    if args.other:
        header += f" {'second':>8} {'floor':>8} {'ratio':>6} {'ratio-floor':>11}"
    print(header)
    for keys in args.keys:
        first, first_floor = median("first", "program", keys), median("first", "floor", keys)
        line = f"{os.path.basename(keys):<20} {ms(first)} {ms(first_floor)}"
        if args.other:
            second = median("second", "program", keys)
            second_floor = median("second", "floor", keys)
            above = (first - first_floor) / (second - second_floor) if second > second_floor else 0
            line += f" {ms(second)} {ms(second_floor)} {first / second:6.3f} {above:11.3f}"
        print(line)
    if args.other:
        print("ratio: first / second; ratio-floor: the same for the time above each floor")


if __name__ == "__main__":
    main()
