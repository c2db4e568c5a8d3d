#!/usr/bin/env python3
"""Independent derivation of the figures that tests/analysis_test.cpp expects: dual values,
reduced costs, cost and right-hand-side ranges, second optima, Farkas certificates and rays, for
the small problems of that test, in exact fractions.

Written from the textbook definitions alone (B the basis matrix on the typed rows, y = c_B B^-1,
d_j = c_j - y A_j, ranges from x_B + delta B^-1 e_i >= 0 and from the reduced costs keeping their
sign), not from the program. Every finite range end is then confirmed by probing: just inside it
the basis is still feasible (optimal), just outside it is not; every infinite end by a far value.
The final basis of each case (which column is basic in which tableau row) is traced by hand in
analysis.md; here it is only checked to be feasible and optimal.

usage: derive.py   (prints every figure; exits 1 if any check fails)"""
import sys
from fractions import Fraction as F

FAILED = []


def check(condition, what):
    if not condition:
        FAILED.append(what)
        print("  CHECK FAILED:", what)


def inverse(m):
    n = len(m)
    a = [list(map(F, row)) + [F(int(i == j)) for j in range(n)] for i, row in enumerate(m)]
    for c in range(n):
        r = next(r for r in range(c, n) if a[r][c] != 0)
        a[c], a[r] = a[r], a[c]
        p = a[c][c]
        a[c] = [v / p for v in a[c]]
        for i in range(n):
            if i != c and a[i][c] != 0:
                f = a[i][c]
                a[i] = [v - f * w for v, w in zip(a[i], a[c])]
    return [row[n:] for row in a]


def mat_vec(m, v):
    return [sum(a * b for a, b in zip(row, v)) for row in m]


def vec_mat(v, m):
    return [sum(v[i] * m[i][j] for i in range(len(v))) for j in range(len(m[0]))]


class Problem:
    """min (or max) c x, rows (a, rel, b), x >= 0; slack s_i of row i enters it with +1 on "<"
    and -1 on ">" (the row as typed, whatever its right-hand side's sign)."""

    def __init__(self, costs, rows, maximise=False):
        self.c = [F(v) for v in costs]
        self.rows = [([F(v) for v in a], rel, F(b)) for a, rel, b in rows]
        self.maximise = maximise
        self.n, self.m = len(costs), len(rows)

    def column(self, name):
        kind, k = name[0], int(name[1:]) - 1
        if kind == "x":
            return [a[k] for a, _, _ in self.rows]
        sign = 1 if self.rows[k][1] == "<" else -1
        assert self.rows[k][1] != "="
        return [F(sign) if i == k else F(0) for i in range(self.m)]

    def cost(self, name):
        return self.c[int(name[1:]) - 1] if name[0] == "x" else F(0)

    def names(self):
        return [f"x{j}" for j in range(1, self.n + 1)] + [
            f"s{i}" for i in range(1, self.m + 1) if self.rows[i - 1][1] != "="]


def analyse(p, basis, kept=None):
    """Figures of the basis (names per tableau row) on the typed rows `kept` (all by default)."""
    kept = kept or list(range(1, p.m + 1))
    B = [[p.column(name)[i - 1] for name in basis] for i in kept]
    Binv = inverse(B)
    b = [p.rows[i - 1][2] for i in kept]
    xB = mat_vec(Binv, b)
    cB = [p.cost(name) for name in basis]
    yk = vec_mat(cB, Binv)
    y = [F(0)] * p.m
    for i, v in zip(kept, yk):
        y[i - 1] = v
    d = {name: p.cost(name) - sum(y[i] * p.column(name)[i] for i in range(p.m)) for name in
         p.names()}
    x = [F(0)] * p.n
    for name, v in zip(basis, xB):
        if name[0] == "x":
            x[int(name[1:]) - 1] = v
    return Binv, xB, y, d, x, kept


def optimal_basis(p, d, xB):
    sense = -1 if p.maximise else 1
    return min(xB) >= 0 and all(sense * v >= 0 for v in d.values())


def figures(p, basis, kept=None):
    Binv, xB, y, d, x, kept = analyse(p, basis, kept)
    return optimal_basis(p, d, xB), y, d, x, xB


def cost_range(p, basis, j, kept):
    """Closed range of c_j over which the basis stays optimal, by the formulas."""
    Binv, xB, y, d, x, kept = analyse(p, basis, kept)
    name = f"x{j}"
    sense = -1 if p.maximise else 1
    low, high = None, None
    if name not in basis:
        if sense > 0:
            low = p.c[j - 1] - d[name]
        else:
            high = p.c[j - 1] - d[name]
        return low, high
    r = basis.index(name)
    for k in p.names():
        if k in basis:
            continue
        col = [p.column(k)[i - 1] for i in kept]
        alpha = mat_vec(Binv, col)[r]
        if alpha == 0:
            continue
        limit = d[k] / alpha
        if sense * alpha > 0:
            high = limit if high is None else min(high, limit)
        else:
            low = limit if low is None else max(low, limit)
    shift = p.c[j - 1]
    return (None if low is None else low + shift), (None if high is None else high + shift)


def rhs_range(p, basis, i, kept):
    Binv, xB, y, d, x, kept = analyse(p, basis, kept)
    if dependent_rows(p).get(i):
        return p.rows[i - 1][2], p.rows[i - 1][2]
    k = kept.index(i)
    beta = [row[k] for row in Binv]
    low, high = None, None
    for v, bt in zip(xB, beta):
        if bt > 0:
            low = -v / bt if low is None else max(low, -v / bt)
        elif bt < 0:
            high = -v / bt if high is None else min(high, -v / bt)
    b = p.rows[i - 1][2]
    return (None if low is None else low + b), (None if high is None else high + b)


def dependent_rows(p):
    """Rows in a zero combination of the rows [A | slack columns | b]: a left null vector of the
    matrix with a non-zero entry on them."""
    cols = p.names()
    M = [[p.column(name)[i] for name in cols] for i in range(p.m)]
    # Row-reduce [M^T] to find the null space of M^T (vectors u with u M = 0).
    T = [[M[i][j] for i in range(p.m)] for j in range(len(cols))]
    pivots, r = [], 0
    T = [list(row) for row in T]
    for c in range(p.m):
        k = next((k for k in range(r, len(T)) if T[k][c] != 0), None)
        if k is None:
            continue
        T[r], T[k] = T[k], T[r]
        T[r] = [v / T[r][c] for v in T[r]]
        for i in range(len(T)):
            if i != r and T[i][c] != 0:
                f = T[i][c]
                T[i] = [v - f * w for v, w in zip(T[i], T[r])]
        pivots.append(c)
        r += 1
    free = [c for c in range(p.m) if c not in pivots]
    involved = {}
    for f in free:
        u = [F(0)] * p.m
        u[f] = F(1)
        for row, c in zip(T, pivots):
            u[c] = -row[f]
        for i in range(p.m):
            if u[i] != 0:
                involved[i + 1] = True
    return involved


def probe_cost(p, basis, j, low, high, kept):
    """Just inside each finite end the basis stays optimal, just outside it does not; far past
    an infinite end it still is."""
    eps = F(1, 1000)
    original = p.c[j - 1]
    for end, inward in ((low, 1), (high, -1)):
        points = [(end + inward * eps, True), (end - inward * eps, False)] if end is not None \
            else [(original - inward * 10 ** 6, True)]
        if end is not None and low is not None and high is not None and low == high:
            points = [(end, True), (end + eps, False), (end - eps, False)]
        for value, stays in points:
            p.c[j - 1] = value
            ok = figures(p, basis, kept)[0]
            check(ok == stays, f"c{j} = {value}: basis optimal {ok}, expected {stays}")
    p.c[j - 1] = original


def probe_rhs(p, basis, i, low, high, kept):
    eps = F(1, 1000)
    a, rel, original = p.rows[i - 1]
    for end, inward in ((low, 1), (high, -1)):
        if end is None:
            points = [(original - inward * 10 ** 6, True)]
        elif low == high:
            continue  # a fixed row: moving it alone makes the rows inconsistent (checked apart)
        else:
            points = [(end + inward * eps, True), (end - inward * eps, False)]
        for value, stays in points:
            p.rows[i - 1] = (a, rel, value)
            xB = analyse(p, basis, kept)[1]
            check((min(xB) >= 0) == stays, f"b{i} = {value}: basis feasible {min(xB) >= 0}")
    p.rows[i - 1] = (a, rel, original)


def show(v):
    return "-inf" if v is None else str(v)


def report(name, p, basis, kept=None):
    print(f"== {name}")
    ok, y, d, x, xB = figures(p, basis, kept)
    check(ok, f"{name}: the basis is not feasible and optimal")
    print("  basis", basis, "x_B", [str(v) for v in xB])
    print("  x", [str(v) for v in x], " z", sum(a * b for a, b in zip(p.c, x)))
    print("  y", [str(v) for v in y])
    print("  b*y", sum(r[2] * v for r, v in zip(p.rows, y)))
    print("  d", {k: str(v) for k, v in d.items() if k[0] == "x"})
    print("  d slacks", {k: str(v) for k, v in d.items() if k[0] == "s"})
    kept_rows = kept or list(range(1, p.m + 1))
    for j in range(1, p.n + 1):
        low, high = cost_range(p, basis, j, kept_rows)
        probe_cost(p, basis, j, low, high, kept_rows)
        print(f"  c{j} = {p.c[j - 1]} in [{show(low)}, {show(high).replace('-inf', '+inf')}]")
    for i in range(1, p.m + 1):
        low, high = rhs_range(p, basis, i, kept_rows)
        probe_rhs(p, basis, i, low, high, kept_rows)
        fixed = " (in a zero combination)" if dependent_rows(p).get(i) else ""
        print(f"  b{i} = {p.rows[i - 1][2]} in [{show(low)}, "
              f"{show(high).replace('-inf', '+inf')}]{fixed}")
    return y, d, x, xB


def second_vertex(p, basis, entering, kept=None):
    """The vertex (or direction) one pivot on a zero-reduced-cost column reaches."""
    Binv, xB, y, d, x, kept = analyse(p, basis, kept)
    check(d[entering] == 0, f"{entering} has reduced cost {d[entering]}")
    alpha = mat_vec(Binv, [p.column(entering)[i - 1] for i in kept])
    ratios = [v / a for v, a in zip(xB, alpha) if a > 0]
    direction = [F(0)] * p.n
    if entering[0] == "x":
        direction[int(entering[1:]) - 1] = F(1)
    for name, a in zip(basis, alpha):
        if name[0] == "x":
            direction[int(name[1:]) - 1] = -a
    if not ratios:
        print(f"  {entering}: no limiting row, d = {[str(v) for v in direction]}")
        return None, direction
    t = min(ratios)
    other = [u + t * v for u, v in zip(x, direction)]
    print(f"  {entering}: ratio {t}, other vertex {[str(v) for v in other]}, "
          f"value {sum(a * b for a, b in zip(p.c, other))}")
    return t, other


def farkas(name, p, y, w):
    print(f"== {name}")
    for (a, rel, b), v in zip(p.rows, y):
        check(v <= 0 if rel == "<" else (v >= 0 if rel == ">" else True), f"sign of y on {rel}")
    coeff = [sum(v * a[j] for (a, _, _), v in zip(p.rows, y)) for j in range(p.n)]
    rhs = sum(v * b for (_, _, b), v in zip(p.rows, y))
    check(all(c <= 0 for c in coeff) and rhs > 0, "not a Farkas certificate")
    check(rhs == w, f"y*b = {rhs}, w = {w}")
    print("  y", [str(v) for v in y], "combination", [str(v) for v in coeff], ">=", rhs)


def ray(name, p, x0, d):
    print(f"== {name}")
    x0, d = [F(v) for v in x0], [F(v) for v in d]
    for a, rel, b in p.rows:
        lhs, ad = sum(u * v for u, v in zip(a, x0)), sum(u * v for u, v in zip(a, d))
        check({"<": lhs <= b, ">": lhs >= b, "=": lhs == b}[rel], "x0 infeasible")
        check({"<": ad <= 0, ">": ad >= 0, "=": ad == 0}[rel], "d leaves the region")
    cd = sum(u * v for u, v in zip(p.c, d))
    check(min(d) >= 0 and max(d) > 0 and (cd > 0 if p.maximise else cd < 0), "d not improving")
    print("  x0", [str(v) for v in x0], "d", [str(v) for v in d], "c*d", cd)


def main():
    wyndor = [([1, 0], "<", 4), ([0, 2], "<", 12), ([3, 2], "<", 18)]
    report("wyndor, min -3x1 - 5x2", Problem([-3, -5], wyndor), ["s1", "x2", "x1"])
    report("wyndor, max 3x1 + 5x2", Problem([3, 5], wyndor, True), ["s1", "x2", "x1"])
    report("turned-round rows", Problem([2, 3], [([-1, -1], "<", -2), ([1, -1], "<", 1),
                                                 ([1, -1], ">", -3)]), ["x2", "x1", "s3"])
    redundant = Problem([1, 2], [([1, 1], "=", 2), ([2, 2], "=", 4), ([1, 0], "<", 5)])
    report("redundant = pair (row 2 deleted)", redundant, ["x1", "s3"], kept=[1, 3])
    unused = Problem([1, 2, 0], [([1, 1, 0], ">", 2), ([1, -1, 0], "<", 1)])
    # Phase 1 brings row 1's artificial back into the basis and the removal then deletes row 4
    # (x2 = 1), which the basis x1, x3, x2 needs; row 2 (a copy of row 1) is the redundant one.
    report("B takes a deleted row", Problem([3, 0], [([-1, 0], "=", -1), ([-1, 0], "=", -1),
                                                    ([2, 1], "<", 3), ([0, 2], "=", 2)]),
           ["x1", "s3", "x2"], kept=[1, 3, 4])
    report("x3 in no row (its column is row 1's surplus)", unused, ["x2", "x1"])
    second_vertex(unused, ["x2", "x1"], "x3")
    report("x3's column is row 1's slack, basic at 4",
           Problem([1, 1, 0], [([1, 0, 0], "<", 4), ([0, 1, 0], ">", 1)]), ["s1", "x2"])
    report("= and > rows", Problem([2, 3], [([1, 1], "=", 4), ([1, 3], ">", 5),
                                            ([1, 0], "<", 3)]), ["x2", "s2", "x1"])
    degenerate = Problem([-1, -1], [([1, 0], "<", 1), ([0, 1], "<", 1), ([1, 1], "<", 2)])
    report("degenerate optimum", degenerate, ["x1", "x2", "s3"])
    several = Problem([-1, -1], [([1, 1], "<", 4), ([1, 0], "<", 3)])
    report("multiple optima", several, ["x2", "x1"])
    second_vertex(several, ["x2", "x1"], "s2")
    tie = Problem([-1, 0], [([1, 0], "<", 1), ([1, 1], "<", 1)])
    report("zero reduced cost, ratio 0", tie, ["x1", "x2"])
    t, _ = second_vertex(tie, ["x1", "x2"], "s2")
    check(t == 0, "the tie case has a positive ratio")
    farkas("infeasible", Problem([1, 1], [([1, 1], "<", 1), ([1, 1], ">", 2)]), [-1, 1], 1)
    farkas("infeasible, turned-round > row", Problem([1, 1], [([-1, -1], ">", -1),
                                                              ([1, 1], ">", 2)]), [1, 1], 1)
    farkas("infeasible, = rows", Problem([1, 1], [([1, 1], "=", 1), ([1, 1], "=", 3)]),
           [-1, 1], 2)
    farkas("infeasible, a row with two artificials",
           Problem([1, 0], [([1, 0], ">", 3), ([1, 1], "<", 1)]), [1, -1], 2)
    ray("unbounded", Problem([-1, -1], [([1, -1], "<", 1)]), [1, 0], [1, 1])
    ray("unbounded, max", Problem([1, 1], [([1, -1], "<", 1)], True), [1, 0], [1, 1])
    ray("unbounded, a surplus enters", Problem([-1, 2], [([1, -1], ">", 0)]), [0, 0], [1, 0])
    print("FAILED:" if FAILED else "all checks hold", *FAILED, sep="\n  ")
    return 1 if FAILED else 0


if __name__ == "__main__":
    sys.exit(main())
