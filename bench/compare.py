#!/usr/bin/env python3
"""Side-by-side figures of two or more builds of simplesso_bench on the same machine: the
programs take turns, round after round (the order reversed every other round, so neither always
runs first after the other), each round a few repetitions of every benchmark. Prints, per
benchmark, the median CPU time of every build over all its runs, its fastest run in brackets, and
each build's ratio to the first; a Markdown table, ready for docs/benchmarks.md.

usage: compare.py [--filter REGEX] [--rounds N] [--repetitions N] FIRST SECOND [MORE...]

Each build is NAME=PATH (or a PATH, shown as itself), PATH being its simplesso_bench, e.g.
old=../old/build-release/bench/simplesso_bench. Another program busy on the same cores makes
every figure larger and noisier; the fastest run is the one least disturbed."""
import argparse
import json
import statistics
import subprocess
import sys

UNITS = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


def run(program, pattern, repetitions):
    """CPU time in microseconds of every repetition of every benchmark, by name."""
    out = subprocess.run([program, f"--benchmark_filter={pattern}",
                          f"--benchmark_repetitions={repetitions}", "--benchmark_format=json"],
                         capture_output=True, text=True, check=True).stdout
    times = {}
    for bench in json.loads(out)["benchmarks"]:
        if bench.get("run_type") == "iteration" and "error_occurred" not in bench:
            times.setdefault(bench["run_name"], []).append(
                bench["cpu_time"] * UNITS[bench["time_unit"]])
    return times


def shown(us):
    return f"{us:.3f}" if us < 1 else f"{us:.1f}" if us < 100 else f"{us:.0f}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--filter", default=".", help="benchmarks to run (a regular expression)")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    if len(args.programs) < 2:
        parser.error("give at least two programs")
    builds = [p.split("=", 1) if "=" in p else [p, p] for p in args.programs]
    labels, programs = [b[0] for b in builds], [b[1] for b in builds]
    times, names = {}, []
    for r in range(args.rounds):
        for program in programs if r % 2 == 0 else reversed(programs):
            for name, runs in run(program, args.filter, args.repetitions).items():
                if name not in names:
                    names.append(name)
                times.setdefault((name, program), []).extend(runs)
    print("| Benchmark (us, CPU) | " + " | ".join(labels) + " |")
    print("|---|" + "---|" * len(labels))
    for name in names:
        cells, first = [], None
        for program in programs:
            runs = times.get((name, program))
            if not runs:
                cells.append("-")
                continue
            median = statistics.median(runs)
            cell = f"{shown(median)} ({shown(min(runs))})"
            if first is None:
                first = median
            else:
                cell += f" {median / first:.2f}x"
            cells.append(cell)
        print(f"| `{name}` | " + " | ".join(cells) + " |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
