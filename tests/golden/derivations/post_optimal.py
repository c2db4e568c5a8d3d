#!/usr/bin/env python3
"""The figures after the verdict in the golden teaching runs (tests/golden/passi_*.out), worked
out apart from the program and compared with what each recorded screen shows.

For every optimal run: the optimal basis (traced by hand below, and where the optimum is unique
and not degenerate also found by trying every basis), y = c_B B^-1, the reduced costs, b*y, the
cost and right-hand-side ranges (each finite end probed: inside the basis holds, outside it does
not; see tests/analysis/derivations/derive.py, whose formulas this reuses), a second optimum and
the degenerate basic variables. For an infeasible run the Farkas multipliers are checked to be a
certificate with y*b = w; for an unbounded run the ray is checked on the typed rows.

usage: post_optimal.py [GOLDEN_DIR]   (exit status 1 on any disagreement)"""
import itertools
import os
import re
import sys
from fractions import Fraction as F

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "analysis", "derivations"))
import derive  # noqa: E402  (the textbook formulas, written apart from the program)
from derive import Problem  # noqa: E402

PROBLEMS = []


def optimal(name, problem, basis, columns, kept=None, second=None, degenerate=(),
            only_point=False):
    """basis: the variables of the final tableau's rows in order ("x2", "s1", ...); columns: the
    tableau column of each slack ("s1": 3); second: the second optimum line's figures, or
    ("ray", "xj") for a typed variable in no row at cost 0; only_point: every optimal basis,
    tried one by one, gives the same point (a degenerate optimum, several bases)."""
    PROBLEMS.append(("optimal", name, problem, basis, columns, kept, second, degenerate,
                     only_point))


def infeasible(name, problem, y, w):
    PROBLEMS.append(("infeasible", name, problem, y, w))


def unbounded(name, problem, x0, d):
    PROBLEMS.append(("unbounded", name, problem, x0, d))


# passi_worked: x1 + x2 = 2 (artificial x4), x1 - x2 <= 1 (slack x3). Phase 1 pivots x1 on row 2
# (ratio 1 against 2), then x2 on row 1: basis x2, x1, x = (3/2, 1/2).
optimal("passi_worked", Problem([1, 2], [([1, 1], "=", 2), ([1, -1], "<", 1)]), ["x2", "x1"],
        {"s2": 3})
# passi_beale: the optimum (1, 0, 1, 0) is unique and not degenerate (found below by trying every
# basis): x3 in row 1, row 1's slack x5 in row 2, x1 in row 3.
optimal("passi_beale", Problem([F(-3, 4), 20, F(-1, 2), 6],
                               [([F(1, 4), -8, -1, 9], "<", 0), ([F(1, 2), -12, F(-1, 2), 3], "<", 0),
                                ([0, 0, 1, 0], "<", 1)]), ["x3", "s1", "x1"],
        {"s1": 5, "s2": 6, "s3": 7})
# passi_artificial_out: phase 1 ends at once with x5, x6 basic at 0; x5 leaves for x1 on row 2,
# row 3 (twice row 2) is deleted: basis x3 (row 1), x1 (row 2) at 0.
optimal("passi_artificial_out", Problem([-2, -1, -1], [([1, 1, 1], "<", 6), ([-1, -2, 0], "=", 0),
                                                       ([-2, -4, 0], "=", 0)]), ["x3", "x1"],
        {"s1": 4}, kept=[1, 2], degenerate=("x1",))
# passi_wyndor_min: traced in tests/analysis/derivations/analysis.md.
optimal("passi_wyndor_min", Problem([-3, -5], [([1, 0], "<", 4), ([0, 2], "<", 12),
                                               ([3, 2], "<", 18)]), ["s1", "x2", "x1"],
        {"s1": 3, "s2": 4, "s3": 5})
# passi_equal_greater: traced in analysis.md (= and > rows): basis x3 (the surplus), x2, x1.
optimal("passi_equal_greater", Problem([2, 3], [([1, 1], "=", 4), ([1, 3], ">", 5),
                                                ([1, 0], "<", 3)]), ["s2", "x2", "x1"],
        {"s2": 3, "s3": 4})
# passi_degenerate and passi_multiple: traced in analysis.md.
optimal("passi_degenerate", Problem([-1, -1], [([1, 0], "<", 1), ([0, 1], "<", 1),
                                               ([1, 1], "<", 2)]), ["x1", "x2", "s3"],
        {"s1": 3, "s2": 4, "s3": 5}, degenerate=("x5",))
optimal("passi_multiple", Problem([-1, -1], [([1, 1], "<", 4), ([1, 0], "<", 3)]), ["x2", "x1"],
        {"s1": 3, "s2": 4}, second=("s2", "x4"))
# passi_radiation (Hillier-Lieberman's radiation problem, typed with decimals): the optimum
# (15/2, 9/2) is unique and not degenerate; row 3's surplus x4 = 3/10 is basic in row 2.
optimal("passi_radiation", Problem([F(2, 5), F(1, 2)],
                                   [([F(3, 10), F(1, 10)], "<", F(27, 10)),
                                    ([F(1, 2), F(1, 2)], "=", 6),
                                    ([F(3, 5), F(2, 5)], ">", 6)]), ["x1", "s3", "x2"],
        {"s1": 3, "s3": 4})
# passi_wyndor_max: the Wyndor glass problem under --max, the same tableaux as passi_wyndor_min.
optimal("passi_wyndor_max", Problem([3, 5], [([1, 0], "<", 4), ([0, 2], "<", 12),
                                             ([3, 2], "<", 18)], maximise=True),
        ["s1", "x2", "x1"], {"s1": 3, "s2": 4, "s3": 5})
# passi_wide: a transport from four sources to two sinks (x1..x4 to A, x5..x8 to B), the sinks'
# ">" rows and the "=" row of the total. The optimum (1/2, 4, 0, 0, 2, 0, 3/2, 0) is the only one
# of all the bases tried one by one (all_optimal_bases below, over the set); it is degenerate,
# row 2's surplus x10 basic at 0 because row 7 (the total 8 = 9/2 + 7/2) holds both ">" rows
# tight. The order is the final tableau's rows.
optimal("passi_wide", Problem([3, 2, 5, 6, 1, 5, 2, 4],
                              [([1, 1, 1, 1, 0, 0, 0, 0], ">", F(9, 2)),
                               ([0, 0, 0, 0, 1, 1, 1, 1], ">", F(7, 2)),
                               ([1, 0, 0, 0, 1, 0, 0, 0], "<", F(5, 2)),
                               ([0, 1, 0, 0, 0, 1, 0, 0], "<", 4),
                               ([0, 0, 1, 0, 0, 0, 1, 0], "<", 3),
                               ([0, 0, 0, 1, 0, 0, 0, 1], "<", 2),
                               ([1, 1, 1, 1, 1, 1, 1, 1], "=", 8)]),
        ["x2", "x7", "x1", "x5", "s5", "s6", "s2"],
        {"s1": 9, "s2": 10, "s3": 11, "s4": 12, "s5": 13, "s6": 14}, degenerate=("x10",),
        only_point=True)
# passi_legend: rows 2 and 3 typed with negative right-hand sides; x4 (cost 0, in no row) takes
# the place of row 1's surplus, so s1 is tableau column 4 and x4 as typed is 0. x3 = x1 + 1 and
# x1 >= 2 + 2x2 make z = 3x1 + 3x2 + 1 least at (2, 0, 3): basis x1, s1 (= 1), x3. x4 itself may
# grow at no cost in no row: the second optimum is the ray along it.
optimal("passi_legend", Problem([2, 3, 1, 0], [([1, 1, 1, 0], ">", 4), ([-1, 2, 0, 0], "<", -2),
                                               ([1, 0, -1, 0], "=", -1)]),
        ["x1", "s1", "x3"], {"s1": 4, "s2": 5}, second=("ray", "x4"))
# passi_infeasible: x1 enters row 1; basis x1, artificial of row 2: y = (-1, 1), w = 1.
infeasible("passi_infeasible", Problem([1, 1], [([1, 1], "<", 1), ([1, 1], ">", 2)]), [-1, 1], 1)
# passi_unbounded: x1 enters row 1 (ratio 1); x2's column (-1, 0): x0 = (1, 0), d = (1, 1).
unbounded("passi_unbounded", Problem([-1, -1], [([1, -1], "<", 1), ([-1, 1], "<", 1)]), [1, 0],
          [1, 1])

FAILED = []


def expect(condition, what):
    if not condition:
        FAILED.append(what)
        print("  DISAGREES:", what)


def logical_lines(screen):
    """The lines with every wrapped list joined again: a continuation starts with four spaces and
    is neither a range line nor a zero-combination line (eight spaces)."""
    lines = []
    for line in screen.split("\n"):
        continuation = (line.startswith("    ") and not line.startswith("     ")
                        and not re.match(r"    [cb]\d+ = ", line))
        if continuation and lines:
            lines[-1] += " " + line[4:]
        else:
            lines.append(line)
    return lines


def line_starting(lines, prefix):
    found = [ln for ln in lines if ln.startswith(prefix)]
    return found[0] if found else None


def values_line(prefix, name, values):
    return prefix + " " + ", ".join(f"{name}{k} = {v}" for k, v in enumerate(values, 1))


def show(v, infinite):
    return infinite if v is None else str(v)


def all_optimal_bases(p):
    names = p.names()
    found = []
    for basis in itertools.combinations(names, p.m):
        try:
            ok = derive.figures(p, list(basis))[0]
        except StopIteration:  # singular
            continue
        if ok:
            found.append(set(basis))
    return found


def optimal_points(p):
    """The points of every optimal basis, tried one by one."""
    points = set()
    for basis in all_optimal_bases(p):
        points.add(tuple(derive.figures(p, sorted(basis))[3]))
    return points


def check_optimal(lines, name, p, basis, columns, kept, second, degenerate, only_point):
    ok, y, d, x, xB = derive.figures(p, basis, kept)
    expect(ok, f"{name}: the traced basis is not optimal")
    if only_point:
        expect(optimal_points(p) == {tuple(x)}, f"{name}: another optimal point")
    if not degenerate and all(v != 0 for k, v in d.items() if k not in basis) and kept is None:
        expect(all_optimal_bases(p) == [set(basis)], f"{name}: the optimal basis is not unique")
    printed = [f"x{columns[b]}" if b in columns else b for b in basis]
    expect(line_starting(lines, "Base ottima:") == "Base ottima: " + ", ".join(printed),
           f"{name}: basis line")
    expect(values_line("Prezzi ombra:", "y", y) in lines, f"{name}: prices {y}")
    z = sum(a * b for a, b in zip(p.c, x))
    by = sum(r[2] * v for r, v in zip(p.rows, y))
    expect(by == z, f"{name}: b*y {by} is not z {z}")
    expect(f"Verifica duale: y ammissibile e b*y = c*x = {z}" in lines, f"{name}: dual check")
    reduced = [d[f"x{j}"] for j in range(1, p.n + 1)]
    expect(values_line("Costi ridotti:", "x", reduced) in lines, f"{name}: reduced {reduced}")
    kept_rows = kept or list(range(1, p.m + 1))
    for j in range(1, p.n + 1):
        low, high = derive.cost_range(p, basis, j, kept_rows)
        derive.probe_cost(p, basis, j, low, high, kept_rows)
        text = f"    c{j} = {p.c[j - 1]} in " + (f"[{low}, " if low is not None else "(-inf, ") + (
            f"{high}]" if high is not None else "+inf)")
        expect(text in lines, f"{name}: {text.strip()}")
    for i in range(1, p.m + 1):
        low, high = derive.rhs_range(p, basis, i, kept_rows)
        derive.probe_rhs(p, basis, i, low, high, kept_rows)
        text = f"    b{i} = {p.rows[i - 1][2]} in " + (
            f"[{low}, " if low is not None else "(-inf, ") + (
            f"{high}]" if high is not None else "+inf)")
        expect(text in lines, f"{name}: {text.strip()}")
    shown = line_starting(lines, "Ottimo non unico:")
    if second is None:
        expect(shown is None, f"{name}: a second optimum is shown")
    elif second[0] == "ray":
        j = int(second[1][1:])
        ray = [F(int(k == j)) for k in range(1, p.n + 1)]
        expect(all(a[j - 1] == 0 for a, _, _ in p.rows) and p.c[j - 1] == 0,
               f"{name}: {second[1]} is in a row or costs something")
        expect(shown is not None and shown.startswith(f"Ottimo non unico: {second[1]} ") and
               shown.endswith(values_line(",", "d", ray)[1:]), f"{name}: ray {ray}")
    else:
        t, other = derive.second_vertex(p, basis, second[0], kept)
        expect(shown is not None and shown.startswith(f"Ottimo non unico: {second[1]} ") and
               shown.endswith(", ".join(f"x{j} = {v}" for j, v in enumerate(other, 1))),
               f"{name}: second optimum {other}")
    shown = line_starting(lines, "Soluzione degenere:")
    if not degenerate:
        expect(shown is None and min(xB) > 0, f"{name}: degeneracy shown")
    else:
        zero = [f"x{columns[b]}" if b in columns else b for b, v in zip(basis, xB) if v == 0]
        expect(tuple(zero) == tuple(degenerate) and shown is not None and
               all(f"{v} (riga" in shown for v in zero), f"{name}: degenerate {zero}")


def check_infeasible(lines, name, p, y, w):
    derive.farkas(name, p, [F(v) for v in y], F(w))
    expect(values_line("Certificato:", "y", y) in lines, f"{name}: certificate {y}")
    coeff = [sum(F(v) * a[j] for (a, _, _), v in zip(p.rows, y)) for j in range(p.n)]
    shown = line_starting(lines, "Combinazione")
    expect(shown is not None and shown.endswith(f">= {w}"), f"{name}: combination")
    expect(all(c <= 0 for c in coeff), f"{name}: coefficients {coeff}")
    expect(any(ln.startswith("Verifica: ogni y_i") for ln in lines), f"{name}: check line")


def check_unbounded(lines, name, p, x0, d):
    derive.ray(name, p, x0, d)
    expect(values_line("Direzione illimitata:", "d", d) in lines, f"{name}: direction {d}")
    expect(values_line("Punto di partenza x0:", "x", x0) in lines, f"{name}: x0 {x0}")
    cd = sum(F(a) * b for a, b in zip(p.c, d))
    expect(any(f"c*d = {cd} " in ln for ln in lines), f"{name}: c*d = {cd}")


def main():
    golden = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..")
    for kind, name, *rest in PROBLEMS:
        print("==", name)
        path = os.path.join(golden, name + ".out")
        if not os.path.exists(path):
            expect(False, f"{name}: no recorded screen")
            continue
        lines = logical_lines(open(path).read())
        {"optimal": check_optimal, "infeasible": check_infeasible,
         "unbounded": check_unbounded}[kind](lines, name, *rest)
    FAILED.extend(derive.FAILED)
    print("FAILED:" if FAILED else "every figure agrees", *FAILED, sep="\n  ")
    return 1 if FAILED else 0


if __name__ == "__main__":
    sys.exit(main())
