#!/usr/bin/env python3
"""Random small linear programs, solved by simplesso through a pipe and by an exact reference
solver of this file; every verdict and optimum must agree.

usage: check_random.py SIMPLESSO [COUNT]"""
import os
import random
import subprocess
import sys
from concurrent.futures import ProcessPoolExecutor
from fractions import Fraction as F
from functools import partial
from operator import mul

VERDICTS = {"Soluzione Ottima!": "optimal", "Problema inammissibile!": "infeasible",
            "Problema illimitato!": "unbounded", "error: overflow aritmetico!": "overflow"}


def dot(a, b):
    return sum(map(mul, a, b))


def number(rng):
    # Small values keep every tableau inside 32 bits; a few fractions as a student types them.
    if rng.random() < 0.2:
        return F(0)
    if rng.random() < 0.15:
        return F(rng.choice([-3, -1, 1, 2, 3, 5]), rng.choice([2, 3, 4]))
    return F(rng.randint(-5, 5))


def problem(index):
    """Costs and rows (coefficients, relation, right-hand side) of problem number index. Most
    problems are feasible by construction (their rows hold at a point x0, often tightly), the
    rest have random right-hand sides; some rows repeat, negate or add up earlier ones."""
    rng = random.Random(index)
    n, m = rng.randint(2, 8), rng.randint(1, 8)
    x0 = [F(rng.randint(0, 3) * (rng.random() < 0.8)) for _ in range(n)]
    feasible = rng.random() < 0.7
    rows = []
    while len(rows) < m:
        kind = rng.random()
        if rows and kind < 0.2:
            a, rel, rhs = rng.choice(rows)
            if kind < 0.07:  # the same constraint twice
                rows.append((a, rel, rhs))
            elif kind < 0.12:  # the same constraint with every sign turned round
                rows.append(([-v for v in a], {"<": ">", ">": "<", "=": "="}[rel], -rhs))
            else:  # implied by two rows of one relation
                b, _, rhs_b = rng.choice([r for r in rows if r[1] == rel])
                rows.append(([u + v for u, v in zip(a, b)], rel, rhs + rhs_b))
            continue
        a, rel = [number(rng) for _ in range(n)], rng.choice("<=>")
        if feasible:
            gap = rng.choice([0, 0, 0, 1, 2, F(1, 2)]) * (rel != "=")
            rows.append((a, rel, dot(a, x0) + (gap if rel == "<" else -gap)))
        else:
            rows.append((a, rel, rng.choice([F(0), number(rng), F(rng.randint(-9, 9))])))
    costs = [number(rng) for _ in range(n)]
    if rng.random() < 0.5:
        costs = [abs(c) for c in costs]
    return costs, rows


def keys_of(costs, rows):
    lines = [" ".join(map(str, costs))]
    lines += [" ".join(map(str, a)) + f" {rel} {rhs}" for a, rel, rhs in rows]
    assert all(len(line) <= 98 for line in lines)
    return "\n" + "\n".join(lines) + "\nq\n" + "\n" * 5


# Reference: two-phase simplex with Bland's rule over exact fractions, on the standard form
# with every right-hand side made non-negative and one artificial column per row. Each answer
# is proved before it is trusted: a feasible point with equal primal and dual values and no
# negative reduced cost (optimum; with phase-1 costs and a positive value, infeasibility), or a
# feasible point with an improving ray (unbounded).
def pivot(t, p, q):
    t[p] = [v / t[p][q] for v in t[p]]
    for i, r in enumerate(t):
        if i != p and r[q]:
            t[i] = [v - r[q] * w for v, w in zip(r, t[p])]


def bland(t, basis, cost, n_std):
    """Pivots until optimal (returns None) or until a column proves unboundedness (returned)."""
    while True:
        reduced = [cost[j] - dot([cost[b] for b in basis], [r[j] for r in t]) for j in range(n_std)]
        q = next((j for j in range(n_std) if reduced[j] < 0), None)
        if q is None:
            return None
        rows = [(r[-1] / r[q], basis[i], i) for i, r in enumerate(t) if r[q] > 0]
        if not rows:
            return q
        p = min(rows)[2]
        pivot(t, p, q)
        basis[p] = q


def proved_value(a0, t, basis, cost, n_std):
    m = len(t)
    x = [F(0)] * (n_std + m)
    for i, b in enumerate(basis):
        x[b] = t[i][-1]
    assert min(x) >= 0 and all(dot(r, x) == r[-1] for r in a0)
    y = [dot([cost[b] for b in basis], [r[n_std + k] for r in t]) for k in range(m)]
    assert all(cost[j] >= dot(y, [r[j] for r in a0]) for j in range(n_std))
    value = dot(cost, x)
    assert value == dot(y, [r[-1] for r in a0])
    return value, x


def reference(costs, rows):
    n, m = len(costs), len(rows)
    n_std = n + sum(rel != "=" for _, rel, _ in rows)
    t, slack = [], n
    for i, (a, rel, rhs) in enumerate(rows):
        sign = -1 if rhs < 0 else 1
        r = [F(sign * v) for v in a] + [F(0)] * (n_std - n + m) + [F(sign * rhs)]
        if rel != "=":
            r[slack], slack = F(sign if rel == "<" else -sign), slack + 1
        r[n_std + i] = F(1)
        t.append(r)
    a0, basis = [list(r) for r in t], [n_std + i for i in range(m)]
    phase1 = [F(0)] * n_std + [F(1)] * m
    bland(t, basis, phase1, n_std)
    if proved_value(a0, t, basis, phase1, n_std)[0] > 0:
        return "infeasible", None
    for i in range(m):  # artificials left at zero leave the basis where a real column can enter
        q = next((j for j in range(n_std) if t[i][j]), None)
        if basis[i] >= n_std and q is not None:
            pivot(t, i, q)
            basis[i] = q
    cost = [F(c) for c in costs] + [F(0)] * (n_std - n + m)
    q = bland(t, basis, cost, n_std)
    if q is not None:
        ray = [F(0)] * len(cost)
        ray[q] = F(1)
        for i, b in enumerate(basis):
            ray[b] -= t[i][q]
        assert min(ray) >= 0 and dot(cost, ray) < 0 and all(dot(r, ray) == 0 for r in a0)
        x = proved_value(a0, t, basis, [F(0)] * len(cost), n_std)[1]
        assert not any(x[n_std:] + ray[n_std:])
        return "unbounded", None
    value, x = proved_value(a0, t, basis, cost, n_std)
    assert not any(x[n_std:])
    return "optimal", value


def screen_answer(screen, n):
    """Objective value and point (x1..xn) of the last tableau on the screen."""
    lines = screen.split("\n")
    head = max(i for i, line in enumerate(lines) if line.endswith("\tRHS"))
    value = F(lines[head + 2].split("\t")[-2])
    x = [F(0)] * (n + 1)
    for line in lines[head + 4 :]:
        if line.startswith("\t"):
            break
        cells = line.split("\t")
        if line.startswith("x") and int(cells[0][1:]) <= n:
            x[int(cells[0][1:])] = F(cells[-2])
    return value, x[1:]


def holds(lhs, rel, rhs):
    return (lhs <= rhs, lhs == rhs, lhs >= rhs)["<=>".index(rel)]


def check(program, index):
    """(outcome, reference verdict, failure text) of problem index."""
    costs, rows = problem(index)
    keys = keys_of(costs, rows)
    try:
        run = subprocess.run([program], input=keys.encode(), capture_output=True, timeout=10)
        expected, value = reference(costs, rows)
    except subprocess.TimeoutExpired:
        return "failed", None, f"problem {index}: timeout; keys {keys!r}"
    except AssertionError:
        return "failed", None, f"problem {index}: reference answer unproved; keys {keys!r}"
    screen = run.stdout.decode()
    said = [v for text, v in VERDICTS.items() if text in screen]
    if run.returncode not in (0, 255) or len(said) != 1:
        return "failed", expected, f"problem {index}: exit status {run.returncode}, verdicts " \
            f"{said}; keys {keys!r}"
    if said == ["overflow"]:
        return "overflow", expected, None
    try:
        shown, x = screen_answer(screen, len(costs))
    except (ValueError, IndexError, ZeroDivisionError):
        return "failed", expected, f"problem {index}: unreadable screen; keys {keys!r}"
    wrong = said[0] != expected or (expected == "optimal" and shown != value)
    # The point shown must be feasible and cost what the screen says.
    if said[0] == "optimal" and (dot(costs, x) != shown or min(x) < 0 or
                                 not all(holds(dot(a, x), rel, rhs) for a, rel, rhs in rows)):
        wrong = True
    if wrong:
        return "failed", expected, f"problem {index}: program says {said[0]} {shown}, " \
            f"reference {expected} {value}; keys {keys!r}"
    return "agreed", expected, None


def main():
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 5000
    tally, failed = {}, 0
    with ProcessPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for outcome, expected, failure in pool.map(partial(check, sys.argv[1]), range(count),
                                                   chunksize=25):
            tally[(outcome, expected)] = tally.get((outcome, expected), 0) + 1
            if failure:
                failed += 1
                print("FAIL", failure)
    print("outcome  reference  problems")
    for (outcome, expected), k in sorted(tally.items(), key=str):
        print(f"{outcome:8} {expected or '-':10} {k}")
    print(f"{count - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
