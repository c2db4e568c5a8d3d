#!/usr/bin/env python3
"""Random linear programs, solved by simplesso through a pipe and by an exact reference solver of
this file; every verdict and optimum must agree. Three families: small problems with a few
fractions, fraction-heavy problems (every coefficient typed k/d), and dense problems of 12 to 20
rows and variables. Only the dense family may end in an overflow, and each one that does is
replayed here along the program's own pivots until a value is shown to need more than 64 bits.

usage: check_random.py SIMPLESSO [COUNT]

COUNT small problems (5000 by default), and of the other two families in proportion: COUNT * 2/5
fraction-heavy and COUNT / 25 dense ones (2000 and 200 by default). CI's sanitizer build passes
a smaller COUNT."""
import os
import random
import struct
import subprocess
import sys
from concurrent.futures import ProcessPoolExecutor
from fractions import Fraction as F
from functools import partial
from math import gcd
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


class Typed(F):
    """A coefficient typed as k/d, not reduced, so the program reads the form as written."""

    def __new__(cls, k, d):
        self = super().__new__(cls, k, d)
        self.text = f"{k}/{d}" if d != 1 else str(k)
        return self

    def __str__(self):
        return self.text


def fraction_problem(index):
    """2-6 variables and rows, every coefficient k/d with k in -9..9 and d in 1..7; half of the
    problems have right-hand sides that hold at an integer point, the rest typed k/d too."""
    rng = random.Random(f"fractions {index}")
    n, m = rng.randint(2, 6), rng.randint(2, 6)

    def coefficient():
        return Typed(rng.randint(-9, 9), rng.randint(1, 7))

    x0 = [F(rng.randint(0, 2)) for _ in range(n)]
    feasible = rng.random() < 0.5
    rows = []
    for _ in range(m):
        a, rel = [coefficient() for _ in range(n)], rng.choice("<=>")
        rhs = dot(a, x0) + (rel == "<") - (rel == ">") if feasible else coefficient()
        rows.append((a, rel, rhs))
    return [coefficient() for _ in range(n)], rows


def dense_problem(index):
    """Square problems of 12 to 20 rows and variables, every coefficient in -9..9, mixed
    relations; three in four hold at an integer point (so most of them reach phase 2), the rest
    have right-hand sides in -9..9 too."""
    rng = random.Random(f"dense {index}")
    n = rng.randint(12, 20)
    x0 = [F(rng.randint(0, 2)) for _ in range(n)]
    feasible = rng.random() < 0.75
    rows = []
    for _ in range(n):
        a, rel = [F(rng.randint(-9, 9)) for _ in range(n)], rng.choice("<=>")
        gap = rng.randint(0, 3) * (rel != "=")
        rhs = dot(a, x0) + (gap if rel == "<" else -gap) if feasible else F(rng.randint(-9, 9))
        rows.append((a, rel, rhs))
    costs = [F(rng.randint(-9, 9)) for _ in range(n)]
    if rng.random() < 0.5:
        costs = [abs(c) for c in costs]
    return costs, rows


FAMILIES = {"small": problem, "fractions": fraction_problem, "dense": dense_problem}


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


# Replay of an overflow: the program's own pivot rules on the forms it stores, taken up from the
# last tableau it printed, in Python integers. Forms follow the store's rule (sign to the
# numerator, trial division 101..2 once each, lowest terms past 32 bits); values are checked
# against exact Fraction arithmetic at every step, and the replay stops at the first stored value
# that needs more than 64 bits in lowest terms, which is the overflow the program reported.
class Beyond64(Exception):
    pass


def fits(v, bits):
    return -(1 << bits) <= v < (1 << bits)


def settle(n, d, reduce=True):
    if d < 0:
        n, d = -n, -d
    for k in range(101, 1, -1):
        if n % k == 0 and d % k == 0:
            n, d = n // k, d // k
    if not reduce or (fits(n, 31) and fits(d, 31)):
        return n, d
    g = gcd(n, d)
    n, d = n // g, d // g
    if not (fits(n, 63) and fits(d, 63)):
        raise Beyond64(n, d)
    return n, d


def sub_mul(a, b, c):
    pn, pd = settle(b[0] * c[0], -(b[1] * c[1]), reduce=False)
    return settle(a[0] * pd + pn * a[1], a[1] * pd)


def float32(v):
    """The single-precision value nearest to the integer v, ties to even."""
    shift = max(abs(v).bit_length() - 24, 0)
    q, r = divmod(abs(v), 1 << shift)
    if 2 * r > 1 << shift or (2 * r == 1 << shift and q % 2):
        q += 1
    return float(q << shift) * (1 if v >= 0 else -1)


def entry(f):
    return struct.unpack("f", struct.pack("f", float32(f[0]) / float32(f[1])))[0]


def positive(f):
    return (f[0] > 0) == (f[1] > 0) and f[0] != 0 and f[1] != 0


def negative(f):
    return (f[0] > 0) != (f[1] > 0) and f[0] != 0 and f[1] != 0


def read_tableau(screen, title):
    lines = screen[screen.index(title):].split("\n")
    head = next(i for i, line in enumerate(lines) if line.endswith("\tRHS"))
    cell = lambda text: tuple(map(int, text.split("/"))) if "/" in text else (int(text), 1)
    objective = [None] + [cell(c) for c in lines[head + 2].split("\t")[1:-1]]
    basis, rows = [None], [None]
    for line in lines[head + 4:]:
        if line.startswith("\t"):
            break
        if line.startswith("x"):
            cells = line.split("\t")
            basis.append(int(cells[0][1:]))
            rows.append([None] + [cell(c) for c in cells[1:-1]])
    return objective, rows, basis


class Replay:
    def __init__(self, objective, rows, basis):
        self.obj, self.t, self.basis = objective, rows, basis
        self.n_cols, self.pivots, self.exact = len(objective) - 1, 0, None

    def pivot(self, row, col, obj):
        t, rhs = self.t, self.n_cols
        exact = [[F(*c) for c in r[1:]] for r in [obj] + t[1:]]
        inverse = (t[row][col][1], t[row][col][0])
        for j in range(1, rhs + 1):
            t[row][j] = settle(t[row][j][0] * inverse[0], t[row][j][1] * inverse[1])
        targets = [obj] + [t[i] for i in range(1, len(t)) if i != row]
        for r in targets:
            e = r[col]
            for j in range(1, rhs + 1):
                want = F(*r[j]) - F(*e) * F(*t[row][j])
                try:
                    r[j] = sub_mul(r[j], e, t[row][j])
                except Beyond64:
                    self.exact = (want, j)
                    raise
                assert F(*r[j]) == want
        self.pivots += 1

    def optimal(self, obj):
        return sum(entry(obj[j]) < 0 for j in range(1, self.n_cols)) == self.n_cols - 2

    def iterate(self, obj):
        """The phase loop of the program; True once the objective is optimal or unbounded."""
        lowest, t, rhs = False, self.t, self.n_cols
        while True:
            col, best = 0, 0.0
            for j in range(1, rhs):
                if lowest and positive(obj[j]):
                    col = j
                    break
                if not lowest and entry(obj[j]) > best:
                    col, best = j, entry(obj[j])
            if col == 0:
                return True
            row = 0
            for i in range(1, len(t)):
                if not positive(t[i][col]) or negative(t[i][rhs]):
                    continue
                ratio = F(*t[i][rhs]) / F(*t[i][col])
                if row == 0 or ratio < best_ratio or (
                        ratio == best_ratio and lowest and self.basis[i] < self.basis[row]):
                    row, best_ratio = i, ratio
            if row == 0:
                return True
            self.basis[row] = col
            degenerate = t[row][rhs][0] == 0
            self.pivot(row, col, obj)
            if self.optimal(obj):
                return True
            lowest = degenerate

    def phase2(self, first_artificial):
        t = self.t
        for i in range(1, len(t)):
            if self.basis[i] >= first_artificial:
                j = next((j for j in range(1, first_artificial) if t[i][j][0] != 0), None)
                if j is not None:
                    self.basis[i] = j
                    self.pivot(i, j, self.obj)
        keep = [i for i in range(1, len(t)) if self.basis[i] < first_artificial]
        self.t = [None] + [t[i][:first_artificial] + [t[i][self.n_cols]] for i in keep]
        self.basis = [None] + [self.basis[i] for i in keep]
        self.obj = self.obj[:first_artificial] + [self.obj[self.n_cols]]
        self.n_cols = first_artificial
        return self.iterate(self.obj)


    def price_out(self, obj):
        """Row 0 priced out against the basis phase 1 left, column by column."""
        for j in range(1, self.n_cols + 1):
            if j in self.basis[1:] and obj[j][0] != 0:
                row, e = self.basis.index(j), obj[j]
                for k in range(1, self.n_cols + 1):
                    try:
                        obj[k] = sub_mul(obj[k], e, self.t[row][k])
                    except Beyond64:
                        self.exact = (F(*obj[k]) - F(*e) * F(*self.t[row][k]), k)
                        raise


def shown_after(screen, title):
    at = screen.find(title)
    return at >= 0 and screen.startswith("\n\n\t", at + len(title))


def demonstrate_overflow(screen, costs, rows):
    """Replays the step the program stopped in; returns the text that shows the value, or None
    when the replay finds every value within 64 bits."""
    first_artificial = len(costs) + sum(rel != "=" for _, rel, _ in rows) + 1
    phase2 = "Seconda Fase - Tableau iniziale\n"
    try:
        if shown_after(screen, phase2):
            where, replay = "phase 2", Replay(*read_tableau(screen, phase2))
            replay.phase2(first_artificial)
        elif phase2 in screen:
            where, replay = "pricing out before phase 2", Replay(
                *read_tableau(screen, "Prima Fase - Tableau finale"))
            row0 = [None] + [(-c.numerator, c.denominator) for c in costs]
            replay.obj = row0 + [(0, 1)] * (replay.n_cols + 1 - len(row0))
            replay.price_out(replay.obj)
        else:
            where, replay = "phase 1", Replay(*read_tableau(screen, "Prima Fase - Tableau iniziale"))
            replay.iterate(replay.obj)
    except Beyond64:
        value, column = replay.exact
        return (f"{where}, pivot {replay.pivots + 1}, column {column}: "
                f"{value.numerator.bit_length()}-bit numerator over "
                f"{value.denominator.bit_length()}-bit denominator in lowest terms "
                f"({value.numerator}/{value.denominator})")
    return None


def replay_matches(screen, costs, rows):
    """For a dense problem solved to the end: the replay of phase 2 must arrive at the final
    tableau on the screen, form for form, which shows that it follows the program's pivots."""
    first_artificial = len(costs) + sum(rel != "=" for _, rel, _ in rows) + 1
    replay = Replay(*read_tableau(screen, "Seconda Fase - Tableau iniziale"))
    replay.phase2(first_artificial)
    return (replay.obj, replay.t, replay.basis) == read_tableau(screen, "Seconda Fase - Tableau finale")


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


def check(program, job):
    """(family, outcome, reference verdict, failure or overflow text) of one problem."""
    family, index = job
    outcome, expected, text = check_one(program, family, index)
    return family, outcome, expected, text


def check_one(program, family, index):
    costs, rows = FAMILIES[family](index)
    keys = keys_of(costs, rows)
    try:
        run = subprocess.run([program], input=keys.encode(), capture_output=True, timeout=10)
        expected, value = reference(costs, rows)
    except subprocess.TimeoutExpired:
        return "failed", None, f"{family} problem {index}: timeout; keys {keys!r}"
    except AssertionError:
        return "failed", None, f"{family} problem {index}: reference answer unproved; keys {keys!r}"
    screen = run.stdout.decode()
    said = [v for text, v in VERDICTS.items() if text in screen]
    if run.returncode not in (0, 255) or len(said) != 1:
        return "failed", expected, f"{family} problem {index}: exit status {run.returncode}, verdicts " \
            f"{said}; keys {keys!r}"
    if said == ["overflow"]:
        if family != "dense":
            return "failed", expected, f"{family} problem {index}: overflow; keys {keys!r}"
        shown = demonstrate_overflow(screen, costs, rows)
        if shown is None:
            return "failed", expected, f"dense problem {index}: overflow, but the replay keeps " \
                f"every value within 64 bits; keys {keys!r}"
        return "overflow", expected, f"dense problem {index}: {shown}"
    try:
        shown, x = screen_answer(screen, len(costs))
    except (ValueError, IndexError, ZeroDivisionError):
        return "failed", expected, f"{family} problem {index}: unreadable screen; keys {keys!r}"
    wrong = said[0] != expected or (expected == "optimal" and shown != value)
    if family == "dense" and said[0] == "optimal" and not replay_matches(screen, costs, rows):
        return "failed", expected, f"dense problem {index}: the replay does not follow the " \
            f"program's pivots; keys {keys!r}"
    # The point shown must be feasible and cost what the screen says.
    if said[0] == "optimal" and (dot(costs, x) != shown or min(x) < 0 or
                                 not all(holds(dot(a, x), rel, rhs) for a, rel, rhs in rows)):
        wrong = True
    if wrong:
        return "failed", expected, f"{family} problem {index}: program says {said[0]} {shown}, " \
            f"reference {expected} {value}; keys {keys!r}"
    return "agreed", expected, None


def main():
    small = int(sys.argv[2]) if len(sys.argv) > 2 else 5000
    counts = {"small": small, "fractions": small * 2 // 5, "dense": small // 25}
    jobs = [(family, i) for family in ("dense", "fractions", "small") for i in range(counts[family])]
    tally, failed = {}, 0
    with ProcessPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for family, outcome, expected, text in pool.map(partial(check, sys.argv[1]), jobs,
                                                        chunksize=4):
            tally[(family, outcome, expected)] = tally.get((family, outcome, expected), 0) + 1
            if outcome == "failed":
                failed += 1
                print("FAIL", text)
            elif text:
                print("OVERFLOW", text)
    print("family    outcome  reference  problems")
    for (family, outcome, expected), k in sorted(tally.items(), key=str):
        print(f"{family:9} {outcome:8} {expected or '-':10} {k}")
    print(f"{sum(counts.values()) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
