"""The figures teaching mode shows after each verdict, checked apart from the program.

After an optimum: the basis printed must be the final tableau's; y = c_B B^-1 is recomputed on
the typed rows for that basis and must be a dual optimum (signs, A^T y against c, b*y = c*x);
the reduced costs, slacks and the readings of y off the final objective row must agree; every
finite end of a cost or right-hand-side range is probed on the printed basis in exact arithmetic
(just inside it every reduced cost keeps its sign, or B^-1 b >= 0; just outside one of them
fails), every infinite end far out; a row shown as fixed must lie in a zero combination of the
typed rows, which its line writes out and which is checked; a second optimum and the degenerate
variables are found again by the rule. After an infeasible phase 1 the multipliers must be a
Farkas certificate of the typed rows with y*b = w; after an unbounded phase 2, x0 + t*d must stay
feasible for every t >= 0 and improve the objective. Nothing here reads the program's own
"Verifica" verdicts: they are only required to say that the check passed."""
import re
from fractions import Fraction as F

# The screen width of the runs checked here, that of the golden runs: every list after the verdict
# is read with its broken lines joined again.
SCREEN_COLUMNS = "80"
DUAL_HEADING = "\nAnalisi post-ottimale - dualita'\n"
SENS_HEADING = "\nAnalisi post-ottimale - sensitivita'\n"
EPS_FAR = F(10 ** 9)


class Disagreement(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise Disagreement(what)


def value(text):
    num, _, den = text.partition("/")
    return F(int(num), int(den or 1))


def logical_lines(text):
    """The lines with every wrapped list joined again: a continuation starts with four spaces and
    is neither a range line nor a zero-combination line (eight spaces)."""
    lines = []
    for line in text.split("\n"):
        continuation = (line.startswith("    ") and not line.startswith("     ")
                        and not re.match(r"    [cb]\d+ = ", line))
        if continuation and lines:
            lines[-1] += " " + line[4:]
        else:
            lines.append(line)
    return [ln for ln in lines if ln != ""]


# ---- The problem as typed and its standard form ----

class Typed:
    def __init__(self, costs, rows, maximise):
        self.c = [F(v) for v in costs]
        self.a = [[F(v) for v in a] + [F(0)] * (len(costs) - len(a)) for a, _, _ in rows]
        self.rel = [rel for _, rel, _ in rows]
        self.b = [F(rhs) for _, _, rhs in rows]
        self.n, self.m, self.maximise = len(costs), len(rows), maximise
        self.sense = -1 if maximise else 1
        self.columns = slack_columns(self)

    def column(self, col):
        """Column col of the standard form over the typed rows, as typed: a slack +1 in its "<"
        row, a surplus -1 in its ">" row, whatever the row's turning round."""
        what = self.columns.get(col)
        if what is None:
            return [F(0)] * self.m
        if what[0] == "s":
            i = what[1]
            return [F(1 if self.rel[i] == "<" else -1) if k == i else F(0) for k in range(self.m)]
        return [self.a[i][what[1]] for i in range(self.m)]

    def cost(self, col, c=None):
        what = self.columns.get(col)
        return (c or self.c)[what[1]] if what and what[0] == "x" else F(0)


def slack_columns(t):
    """{column: ("x", j) | ("s", i)} (j, i from 0): each inequality's slack goes into the lowest
    column of the run of all-zero columns (costs included) that ends in the column just added in
    front of the right-hand side; that may be a typed variable's own column."""
    nonzero = {j + 1: t.c[j] != 0 or any(t.a[i][j] != 0 for i in range(t.m)) for j in range(t.n)}
    columns = {j + 1: ("x", j) for j in range(t.n)}
    last = t.n
    for i in range(t.m):
        if t.rel[i] == "=":
            continue
        last += 1
        nonzero[last] = False
        k = last
        while k - 1 >= 1 and not nonzero[k - 1]:
            k -= 1
        nonzero[k] = True
        columns[k] = ("s", i)
    return columns


def inverse(m):
    n = len(m)
    a = [list(row) + [F(int(i == j)) for j in range(n)] for i, row in enumerate(m)]
    for c in range(n):
        r = next((r for r in range(c, n) if a[r][c] != 0), None)
        expect(r is not None, "the printed basis is singular on the typed rows")
        a[c], a[r] = a[r], a[c]
        a[c] = [v / a[c][c] for v in a[c]]
        for i in range(n):
            if i != c and a[i][c] != 0:
                f = a[i][c]
                a[i] = [v - f * w for v, w in zip(a[i], a[c])]
    return [row[n:] for row in a]


def dot(u, v):
    return sum((p * q for p, q in zip(u, v)), F(0))


def holds(lhs, rel, rhs):
    return lhs <= rhs if rel == "<" else (lhs >= rhs if rel == ">" else lhs == rhs)


def rows_of_b(t, basic, deleted):
    """The typed rows that B takes, one per basic column in order: the first row offered (those
    the tableau keeps, then the deleted ones, each in row order) with a non-zero entry once the
    columns before are eliminated. Normally the rows the tableau keeps; where those do not make B
    invertible a deleted row takes a kept one's place, and the one left out is the combination."""
    offered = [i for i in range(t.m) if i not in deleted] + sorted(deleted)
    work = {i: [t.column(col)[i] for col in basic] for i in range(t.m)}
    chosen = []
    for p in range(len(basic)):
        r = next((i for i in offered if i not in chosen and work[i][p] != 0), None)
        expect(r is not None, "the printed basis has dependent columns on the typed rows")
        chosen.append(r)
        for i in range(t.m):
            if i != r and work[i][p] != 0:
                f = work[i][p] / work[r][p]
                work[i] = [u - f * v for u, v in zip(work[i], work[r])]
    return sorted(chosen)


class Basis:
    """The printed basis on the typed rows B takes."""

    def __init__(self, t, basic, deleted):
        self.t, self.basic = t, basic
        self.kept = rows_of_b(t, basic, deleted)
        self.B = [[t.column(col)[i] for col in basic] for i in self.kept]
        self.inv = inverse(self.B)

    def x_b(self, b=None):
        b = b or self.t.b
        return [dot(row, [b[i] for i in self.kept]) for row in self.inv]

    def prices(self, c=None):
        y = [F(0)] * self.t.m
        cb = [self.t.cost(col, c) for col in self.basic]
        for k, i in enumerate(self.kept):
            y[i] = sum((cb[p] * self.inv[p][k] for p in range(len(self.basic))), F(0))
        return y

    def alpha(self, col):
        column = self.t.column(col)
        return [dot(row, [column[i] for i in self.kept]) for row in self.inv]

    def point(self):
        x = [F(0)] * self.t.n
        for col, v in zip(self.basic, self.x_b()):
            what = self.t.columns.get(col)
            if what and what[0] == "x":
                x[what[1]] = v
        return x


def reduced(t, col, y, c=None):
    return t.cost(col, c) - dot(y, t.column(col))


def typed_reduced(t, j, y, c=None):
    return (c or t.c)[j] - sum((y[i] * t.a[i][j] for i in range(t.m)), F(0))


def optimal_for(t, basis, n_cols, c):
    """Every non-basic column and every typed variable keeps its reduced cost's sign."""
    y = basis.prices(c)
    cols = [k for k in range(1, n_cols) if k not in basis.basic and t.columns.get(k)]
    typed = [j for j in range(t.n) if not (basis_has_typed(t, basis, j))]
    return (all(t.sense * reduced(t, k, y, c) >= 0 for k in cols) and
            all(t.sense * typed_reduced(t, j, y, c) >= 0 for j in typed))


def basis_has_typed(t, basis, j):
    return any(t.columns.get(col) == ("x", j) for col in basis.basic)


def dependent_rows(t):
    """Rows with a non-zero multiplier in some zero combination of [A | slacks]."""
    n_cols = max(t.columns) + 1
    M = [[t.column(col)[i] for col in range(1, n_cols)] for i in range(t.m)]
    # Left null space: reduce M^T.
    T = [[M[i][j] for i in range(t.m)] for j in range(len(M[0]) if M else 0)]
    pivots, r = [], 0
    for c in range(t.m):
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
    involved = set()
    for f in (c for c in range(t.m) if c not in pivots):
        involved.add(f)
        for row, c in zip(T, pivots):
            if row[f] != 0:
                involved.add(c)
    return involved


# ---- Texts the program must write from the typed data ----

def term(c, name, first):
    negative = c < 0
    mag = -c if negative else c
    digits = "" if mag == 1 else str(mag) + (" " if mag.denominator != 1 else "")
    sign = ("- " if negative else "+ ") if not first else ("-" if negative else "")
    return sign + digits + name


def expression(coefficients, name, zeros=False):
    terms = [(c, f"{name}{k}") for k, c in enumerate(coefficients, 1) if c != 0 or zeros]
    if not terms:
        return "0"
    return " ".join(term(c, n, i == 0) for i, (c, n) in enumerate(terms))


def values_line(heading, name, values):
    return heading + " " + ", ".join(f"{name}{k} = {v}" for k, v in enumerate(values, 1))


def dual_problem_lines(t):
    signs = []
    for i in range(t.m):
        s = {"<": -1, ">": 1, "=": 0}[t.rel[i]] * t.sense
        signs.append(f"y{i + 1} " + ("<= 0" if s < 0 else (">= 0" if s > 0 else "libera")))
    lines = ["Problema duale:", ("min " if t.maximise else "max ") + expression(t.b, "y")]
    for j in range(t.n):
        lines.append(expression([t.a[i][j] for i in range(t.m)], "y") +
                     (" >= " if t.maximise else " <= ") + str(t.c[j]))
    return lines + [", ".join(signs)]


# ---- The checks ----

def range_of(line, name, k):
    m = re.fullmatch(rf"    {name}{k} = (\S+) in (\[|\(-inf, )(\S*?),? ?(\S+?)(\]|\))", line)
    expect(m is not None, f"unreadable range line {line!r}")
    low = None if m.group(2).startswith("(") else value(m.group(3))
    high = None if m.group(5) == ")" else value(m.group(4))
    expect((high is None) == (m.group(4) == "+inf"), f"range line {line!r}")
    return value(m.group(1)), low, high


def probe(low, high, at, inside):
    """Checks a range's ends: at(v) must say `inside` just within each finite end and not just
    past it; far out at an infinite end it must still hold."""
    gap = (high - low) / 2 if low is not None and high is not None and high > low else F(1)
    # Exact arithmetic: a step far smaller than any end the screens show catches an end that is
    # off by little, not only by a whole unit.
    eps = (min(F(1), gap) if gap > 0 else F(1)) / 10**6
    for end, inward in ((low, 1), (high, -1)):
        if end is None:
            continue
        if low is not None and high is not None and low == high:
            expect(at(end), f"the point {end} of a one-point range fails")
        else:
            expect(at(end + inward * eps), f"just inside the end {end} fails")
        expect(not at(end - inward * eps), f"just past the end {end} still holds")
    if low is None:
        expect(at((high if high is not None else F(0)) - EPS_FAR), "far below an infinite end fails")
    if high is None:
        expect(at((low if low is not None else F(0)) + EPS_FAR), "far above an infinite end fails")


def check_cost_ranges(t, basis, n_cols, lines):
    for j in range(t.n):
        shown, low, high = range_of(lines[j], "c", j + 1)
        expect(shown == t.c[j], f"c{j + 1} shown as {shown}")
        expect((low is None or low <= shown) and (high is None or shown <= high),
               f"c{j + 1} outside its own range")

        def optimal_at(v, j=j):
            c = list(t.c)
            c[j] = v
            return optimal_for(t, basis, n_cols, c)
        probe(low, high, optimal_at, True)


def check_rhs_ranges(t, basis, lines):
    dependent = dependent_rows(t)
    k = 0
    for i in range(t.m):
        shown, low, high = range_of(lines[k], "b", i + 1)
        k += 1
        expect(shown == t.b[i], f"b{i + 1} shown as {shown}")
        fixed = k < len(lines) and lines[k].startswith("        riga ")
        expect(fixed == (i in dependent), f"row {i + 1}: fixed {fixed}, in a combination "
               f"{i in dependent}")
        if fixed:
            expect(low == high == t.b[i], f"b{i + 1}: a fixed row's range is not [b, b]")
            check_combination(t, lines[k], i, basis.kept)
            k += 1
            continue

        def feasible_at(v, i=i):
            b = list(t.b)
            b[i] = v
            return min(basis.x_b(b), default=F(0)) >= 0
        probe(low, high, feasible_at, True)


def check_combination(t, line, i, rows_of_b):
    m = re.fullmatch(r"        riga (\d+) = (.*): b(\d+) da solo renderebbe i vincoli "
                     r"incompatibili", line)
    expect(m is not None and int(m.group(3)) == i + 1, f"unreadable combination {line!r}")
    d = int(m.group(1)) - 1
    expect(d not in rows_of_b, f"row {d + 1} is named redundant but B takes it")
    combination = [F(0)] * t.m
    expect(m.group(2) == "0" or m.group(2) == re.sub(r"^\+ ", "", " ".join(
        re.findall(r"(?:- |\+ |-)?(?:\S+\*)?riga \d+", m.group(2)))), f"terms of {line!r}")
    for sign, coefficient, k in re.findall(r"(-|\+)? ?(?:(\S+)\*)?riga (\d+)", m.group(2)):
        combination[int(k) - 1] = (-1 if sign == "-" else 1) * (value(coefficient)
                                                                if coefficient else F(1))
    expect(combination[i] != 0 or d == i, f"row {i + 1} is not in the combination it names")
    n_cols = max(t.columns) + 1
    for col in range(1, n_cols):
        expect(t.column(col)[d] == dot(combination, t.column(col)),
               f"riga {d + 1} is not the combination written, column {col}")
    expect(t.b[d] == dot(combination, t.b), f"riga {d + 1}: right-hand sides disagree")


def second_optimum(t, basis, n_cols, y):
    """(column, ratio or None, figures) by the rule, or None."""
    x = basis.point()
    values = basis.x_b()
    for col in range(1, n_cols):
        what = t.columns.get(col)
        if what is None or col in basis.basic and not (col <= t.n and what[0] == "s"):
            continue
        if col <= t.n and what[0] == "s":  # a typed variable in no row, its column a slack's
            return col, None, [F(int(j == col - 1)) for j in range(t.n)]
        if reduced(t, col, y) != 0:
            continue
        alpha = basis.alpha(col)
        ratios = [v / a for v, a in zip(values, alpha) if a > 0]
        if ratios and min(ratios) == 0:
            continue
        d = [F(0)] * t.n
        if what[0] == "x":
            d[what[1]] = F(1)
        for c, a in zip(basis.basic, alpha):
            w = t.columns.get(c)
            if w and w[0] == "x":
                d[w[1]] = -a
        if not ratios:
            return col, None, d
        r = min(ratios)
        return col, r, [u + r * v for u, v in zip(x, d)]
    return None


def feasible(t, x):
    return min(x) >= 0 and all(holds(dot(t.a[i], x), t.rel[i], t.b[i]) for i in range(t.m))


def check_duality(t, basis, final, x, z, lines):
    y = basis.prices()
    expect(lines[0] == "Base ottima: " + (", ".join(f"x{c}" for c in final.basic) or "vuota"),
           f"basis line {lines[0]!r}")
    k = 1
    while lines[k].startswith("x") and " non compare in alcun vincolo" in lines[k]:
        k += 1
    expect(lines[k:k + t.n + 3] == dual_problem_lines(t), "the dual problem is not written from "
           f"the typed rows: {lines[k:k + t.n + 3]}")
    k += t.n + 3
    expect(lines[k] == values_line("Prezzi ombra:", "y", y), f"{lines[k]!r}, y = {y}")
    # y is a dual optimum: signs, A^T y against c, b*y = c*x.
    for i in range(t.m):
        s = {"<": -1, ">": 1, "=": 0}[t.rel[i]] * t.sense
        expect(y[i] * s >= 0, f"y{i + 1} = {y[i]} has the wrong sign")
    for j in range(t.n):
        expect(t.sense * typed_reduced(t, j, y) >= 0, f"the dual constraint of x{j + 1} fails")
    expect(dot(t.b, y) == z == dot(t.c, x), f"b*y = {dot(t.b, y)}, z = {z}")
    check_sources(t, final, basis, y, lines[k + 1])
    expect(lines[k + 2] == f"Verifica duale: y ammissibile e b*y = c*x = {z}", lines[k + 2])
    d = [typed_reduced(t, j, y) for j in range(t.n)]
    expect(lines[k + 3] == values_line("Costi ridotti:", "x", d), lines[k + 3])
    slack = [t.b[i] - dot(t.a[i], x) for i in range(t.m)]
    expect(lines[k + 4] == "Scarti dei vincoli: " + ", ".join(
        f"b{i} - a{i}*x = {v}" for i, v in enumerate(slack, 1)), lines[k + 4])
    expect(all(u * v == 0 for u, v in zip(y, slack)) and all(u * v == 0 for u, v in zip(x, d)),
           "complementary slackness fails")
    expect(lines[k + 5].startswith("Scarti complementari: y_i * (b_i - a_i*x) = 0"), lines[k + 5])
    return y


def check_sources(t, final, basis, y, line):
    items = re.findall(r"y(\d+) = (colonna x(\d+)|-\(colonna x(\d+)\)|c_B B\^-1 \(vincolo =\)|"
                       r"0, vincolo ridondante)", line)
    expect(len(items) == t.m and line.startswith("Nel tableau finale (riga obiettivo): "),
           f"unreadable reading line {line!r}")
    slack_of = {what[1]: col for col, what in t.columns.items() if what[0] == "s"}
    for i, (k, _, plus, minus) in enumerate(items):
        expect(int(k) == i + 1, "readings out of order")
        col = int(plus or minus or 0)
        if col:
            expect(slack_of.get(i) == col, f"y{i + 1} read off x{col}, not its row's slack")
            read = final.obj[col - 1] * (1 if plus else -1)
            expect(read == y[i], f"y{i + 1} = {y[i]}, the objective row gives {read}")
        elif "ridondante" in items[i][1]:
            expect(i not in basis.kept and y[i] == 0, f"y{i + 1} of a redundant row is {y[i]}")
        else:
            expect(t.rel[i] == "=" and i in basis.kept, f"y{i + 1} said to be c_B B^-1")


def check_sensitivity(t, basis, final, n_cols, y, x, z, lines):
    k = 0
    found = second_optimum(t, basis, n_cols, y)
    shown = lines[k] if lines[k].startswith("Ottimo non unico: ") else None
    expect((found is None) == (shown is None), f"second optimum {found}, shown {shown!r}")
    if found:
        col, ratio, figures = found
        expect(shown.startswith(f"Ottimo non unico: x{col} "), f"{shown!r}: expected x{col}")
        expect(shown.endswith(", ".join(f"{'x' if ratio else 'd'}{j} = {v}"
                                        for j, v in enumerate(figures, 1))), shown)
        if ratio is None:
            expect(dot(t.c, figures) == 0 and any(figures) and
                   all(feasible(t, [u + s * v for u, v in zip(x, figures)])
                       for s in (F(1), EPS_FAR)), "the ray does not stay optimal")
        else:
            expect(feasible(t, figures) and dot(t.c, figures) == z and figures != x,
                   "the other vertex is not another optimum")
        k += 1
    zeros = [(c, p) for p, (c, v) in enumerate(zip(basis.basic, basis.x_b()), 1) if v == 0]
    if zeros:
        expect(lines[k].startswith("Soluzione degenere: " + ", ".join(
            f"x{c} (riga {p})" for c, p in zeros) + " "), f"{lines[k]!r}: {zeros}")
        k += 1
    expect(lines[k] == "Intervalli dei costi (la base resta ottima):", lines[k])
    check_cost_ranges(t, basis, n_cols, lines[k + 1:k + 1 + t.n])
    k += 1 + t.n
    expect(lines[k] == "Intervalli dei termini noti (la base resta ammissibile):", lines[k])
    check_rhs_ranges(t, basis, lines[k + 1:])


def check_optimal(costs, rows, maximise, final, deleted, x, z, duality, sensitivity):
    """final: the last tableau (columns, rows, basic variables) as parsed by check_teaching."""
    t = Typed(costs, rows, maximise)
    basis = Basis(t, final.basic, deleted)
    expect(basis.point() == x, f"the printed basis gives {basis.point()}, the solution is {x}")
    y = check_duality(t, basis, final, x, z, logical_lines(duality))
    check_sensitivity(t, basis, final, final.n, y, x, z, logical_lines(sensitivity))


def check_infeasible(costs, rows, w, text):
    t = Typed(costs, rows, False)
    lines = logical_lines(text)
    m = re.fullmatch(r"Certificato: (.*)", lines[0])
    expect(m is not None, f"no certificate: {lines[0]!r}")
    y = [value(v.split(" = ")[1]) for v in m.group(1).split(", ")]
    expect(len(y) == t.m and lines[0] == values_line("Certificato:", "y", y), lines[0])
    for i in range(t.m):
        expect(y[i] * {"<": -1, ">": 1, "=": 0}[t.rel[i]] >= 0, f"y{i + 1} has the wrong sign")
    coefficients = [sum((y[i] * t.a[i][j] for i in range(t.m)), F(0)) for j in range(t.n)]
    expect(all(c <= 0 for c in coefficients), f"a positive coefficient: {coefficients}")
    expect(dot(y, t.b) == w > 0, f"y*b = {dot(y, t.b)}, w = {w}")
    expect(lines[1] == "Combinazione sum y_i*(vincolo i), scritta con >=: " +
           expression(coefficients, "x", zeros=True) + f" >= {w}", lines[1])
    expect(lines[2].startswith("Verifica: ogni y_i ha il segno") and len(lines) == 3, lines[2:])


def check_unbounded(costs, rows, maximise, final, column, text):
    t = Typed(costs, rows, maximise)
    lines = logical_lines(text)
    d = [value(v.split(" = ")[1]) for v in lines[0].split(": ", 1)[1].split(", ")]
    x0 = [value(v.split(" = ")[1]) for v in lines[1].split(": ", 1)[1].split(", ")]
    expect(lines[0] == values_line("Direzione illimitata:", "d", d), lines[0])
    expect(lines[1] == values_line("Punto di partenza x0:", "x", x0), lines[1])
    on_tableau = [F(0)] * t.n
    for col, row in zip(final.basic, final.rows):
        what = t.columns.get(col)
        if what and what[0] == "x":
            on_tableau[what[1]] = row[-1]
    expect(x0 == on_tableau, "x0 is not the final tableau's point")
    expect(feasible(t, x0), "x0 is not feasible")
    expect(min(d) >= 0 and any(d), f"d = {d}")
    for i in range(t.m):
        expect(holds(dot(t.a[i], d), t.rel[i], F(0)), f"row {i + 1} does not hold along d")
    cd = dot(t.c, d)
    expect(cd * t.sense < 0, f"c*d = {cd} does not improve")
    expect(lines[2].startswith("Verifica: x0 soddisfa i vincoli") and
           f"c*d = {cd} {'>' if maximise else '<'} 0:" in lines[2] and len(lines) == 3, lines[2:])
    what = t.columns.get(column)
    expect(what is not None, f"the entering column x{column} stands for nothing")
