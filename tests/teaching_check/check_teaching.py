#!/usr/bin/env python3
"""Teaching mode against the plain program and against the rules of the method, on generated
problems and on the golden teaching-mode runs.

For each problem the program runs twice, plain and with --passi, both with COLUMNS=80 and
standard output a pipe, so teaching mode lays its lines out in 80 columns. The teaching screen
must begin like the plain one up to the echo; after it, every line fits in 80 columns and holds
no tab, and a line continued on the next (indented by four spaces) was broken only where its next
word would not fit. The problem is restated as written, the standard form's columns are named
as its tableau shows them, and every grid is read back: aligned blocks of whole columns, every
value in lowest terms, equal to the plain run's tableau at the same point, the next pivot in
brackets. Every pivot that an "Entra" line names must be the one the phase rules choose, its
ratio test must list exactly the eligible rows, and every grid after it must be that pivot
applied, in exact fractions, to the grid above it. The removal of the artificial variables is
redone the same way. The solution, the optimum and the verdict lines must agree with the exact
reference solver of check_random.py.
Every sixth problem is also typed as the maximisation of its negated costs and run with --max:
its plain screen must be the plain program's for the original costs but for the echo's objective
line, and its teaching screen is checked as above, with -z on the objective row, the maximum
against the reference and z growing along an unbounded column. The golden teaching runs with
--max are checked against plain --max.

usage: check_teaching.py SIMPLESSO [COUNT] [GOLDEN_DIR]"""
import glob
import os
import re
import struct
import subprocess
import sys
from concurrent.futures import ProcessPoolExecutor
from fractions import Fraction as F
from functools import partial

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "solver_check"))
import check_random  # noqa: E402  (the generator and the exact reference solver)
import check_analysis  # noqa: E402  (the figures after each verdict, checked apart)
from check_analysis import DUAL_HEADING, SENS_HEADING, Disagreement, expect  # noqa: E402

WIDTH = 80
PAUSE = "\nPremetere INVIO per continuare... " + "\n" * 11
FINAL = "Premetere INVIO per terminare... "
PLENTY = "\n" * 5000  # more keys than any run of these problems has pauses

# The plain program's grid: tab-separated cells in the forms the store keeps.
PLAIN_TABLEAU = re.compile(r"\n\n\t((?:x\d+\t)*)RHS\n\t-+\n\t((?:\S+\t)*)\n\t-+\n"
                           r"((?:x\d+\t(?:\S+\t)*\n\n)*)\t-+\n\n")
NAME = re.compile(r"x\d+|RHS")
# What a continued line starts with, as long as or longer than the item the program kept whole.
ITEM = re.compile(r"x\d+ = \S+|x\d+ >= 0|[+-] \S+|(?:<=|>=|=) \S+|<- minimo|\S+")
LOWEST_INDEX = ("Regola del minimo indice: dopo un pivot degenere entra la prima colonna "
                "migliorante e, a pari rapporto, esce la variabile di indice minore")
ENTRA = re.compile(r"Entra x(\d+), esce x(\d+) \(riga (\d+)\), elemento pivot (\S+)")
RATIO_HEAD = re.compile(r"Test del rapporto minimo sulla colonna x(\d+):")
RATIO_LINE = re.compile(r"  riga (\d+) \(x(\d+)\): (\S+) : (\S+) = (\S+)( <- minimo)?")
EXIT_LINE = re.compile(r"Esce x(\d+) \(artificiale\), entra x(\d+) \(riga (\d+)\), "
                       r"elemento pivot (\S+)")
DELETED_LINE = re.compile(r"Riga (\d+) eliminata: x(\d+) artificiale resta in base, "
                          r"il vincolo e' ridondante")
SKIPPED = re.compile(r"Nessuna variabile artificiale: la base iniziale \(((?:x\d+, )*x\d+)\) e' "
                     r"gia' ammissibile, la prima fase non serve: si passa alla seconda\.")
ITERATION = re.compile(r"(Prima|Seconda) Fase - Iterazione (\d+)")
REMOVAL = "Seconda Fase - Senza variabili artificiali"
NAMED = ["Forma standard", "Prima Fase - Tableau iniziale", "Prima Fase - Tableau finale",
         "Seconda Fase - Tableau iniziale", "Seconda Fase - Tableau finale"]
# Under --max the optimum is named "max z" and z grows, not decreases, along an unbounded column.
SOLUTION = re.compile(r"Soluzione: (.*)\nValore ottimo: (max )?z = (\S+)\n"
                      r"Verifica: tutti i vincoli sono soddisfatti e c\*x = (max )?z")
INFEASIBLE = re.compile(r"Minimo della prima fase: w = (\S+) > 0, nessun punto soddisfa tutti i "
                        r"vincoli")
UNBOUNDED = re.compile(r"La colonna x(\d+) non ha elementi positivi: se x(\d+) entra, z "
                       r"(de)?cresce senza limite")
VERDICTS = {"Soluzione Ottima!": "optimal", "Problema inammissibile!": "infeasible",
            "Problema illimitato!": "unbounded", "error: overflow aritmetico!": "overflow"}
READING = ("Una riga obiettivo si legge z - c*x = 0: un valore positivo segna una colonna che fa "
           "scendere l'obiettivo")
MAX_READING = ("Una riga obiettivo si legge z - c*x = 0, qui con -z al posto di z (massimizzare z "
               "e' minimizzare -z): un valore positivo segna una colonna che fa scendere -z, "
               "cioe' salire z")
MAX_NOTE = "I tableau minimizzano -z: riga di -z, costi come scritti; RHS finale = -max z\n"


def value(text):
    """A value as a screen prints it: "n" or "n/d", the sign possibly below."""
    num, _, den = text.partition("/")
    return F(int(num), int(den or 1))


def lowest(text):
    """A value that teaching mode prints: in lowest terms, "0" and "1" as such."""
    expect(text == str(value(text)), f"{text} is not in lowest terms")
    return value(text)


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


class PlainTableau:
    """A tableau of the plain program: objective cells and rows (basic variable, cells), columns
    1..n with the right-hand side last, as exact values."""

    def __init__(self, match):
        header = re.findall(r"x(\d+)\t", match.group(1))
        self.n = len(header) + 1
        expect(header == [str(j) for j in range(1, self.n)], "plain header out of order")
        self.obj = [value(v) for v in match.group(2).split("\t")[:-1]]
        self.rows, self.basic = [], []
        for line in match.group(3).split("\n\n")[:-1]:
            cells = line.split("\t")[:-1]
            self.basic.append(int(cells[0][1:]))
            self.rows.append([value(v) for v in cells[1:]])
        expect(all(len(r) == self.n for r in [self.obj] + self.rows), "plain row of wrong length")

    def values(self):
        return self.obj, self.rows, self.basic


class Grid:
    """A grid of teaching mode, read back from its blocks: the objective label, the cells as
    exact values (each checked to be in lowest terms), the basic variables, and the bracketed
    cell (row, column), both from 1, or None."""

    def __init__(self, label, names, obj_text, rows):
        self.label, self.n = label, len(names)
        expect(names == [f"x{j}" for j in range(1, self.n)] + ["RHS"], "grid header out of order")
        self.basic = []
        self.bracket = None
        cells = []
        for i, (row_label, texts) in enumerate([(label, obj_text)] + rows):
            expect(len(texts) == self.n, f"grid line {row_label} has {len(texts)} cells")
            line = []
            for j, text in enumerate(texts):
                if text.startswith("["):
                    expect(text.endswith("]") and self.bracket is None and i > 0,
                           "a bracket outside one cell of a constraint row")
                    self.bracket = (i, j + 1)
                    text = text[1:-1]
                line.append(lowest(text))
            cells.append(line)
            if i > 0:
                expect(re.fullmatch(r"x\d+", row_label) is not None, f"row label {row_label}")
                self.basic.append(int(row_label[1:]))
        self.obj, self.rows = cells[0], cells[1:]

    def values(self):
        return self.obj, self.rows, self.basic


def is_header(line):
    words = line.split()
    return line.startswith(" ") and words != [] and all(NAME.fullmatch(w) for w in words)


def column_widths(line):
    """The right edges of the items of a line (each item ends where a cell ends)."""
    return [m.end() for m in re.finditer(r"\S+", line)]


def read_grid(lines, k):
    """The grid whose first header line is lines[k]: (Grid, index of the line after it)."""
    names, obj_text, rows, label = [], [], [], None
    while True:
        header = lines[k]
        width = len(header)
        expect(width <= WIDTH or len(header.split()) == 1,
               f"a block of several columns is {width} wide")
        block = [lines[k + 1]]
        expect(lines[k + 2] == "-" * width, "separator of the wrong length")
        j = k + 3
        while j < len(lines) and lines[j] != "":
            block.append(lines[j])
            j += 1
        edges = column_widths(header)
        for line in block:
            expect(len(line) == width, f"grid line not as long as its header: {line!r}")
            # right-aligned cells: every cell ends where its column's header ends
            expect(column_widths(line)[1:] == edges, f"cells out of their columns: {line!r}")
            expect(line[len(line.split()[0])] == " ", "label runs into a cell")
        words = [line.split() for line in block]
        names += header.split()
        if label is None:
            label, rows = words[0][0], [[w[0], []] for w in words[1:]]
        expect(words[0][0] == label and [w[0] for w in words[1:]] == [r[0] for r in rows],
               "row labels differ between blocks")
        obj_text += words[0][1:]
        for r, w in zip(rows, words[1:]):
            r[1] += w[1:]
        k = j
        if names[-1] == "RHS":
            return Grid(label, names, obj_text, rows), k
        expect(lines[k] == "" and k + 1 < len(lines) and is_header(lines[k + 1]),
               "a block not followed by the next one")
        # as few blocks as fit: the next column would not have fitted in this block
        next_block = [lines[k + 2]] + lines[k + 4: k + 4 + len(rows)]
        next_field = max([len(lines[k + 1].split()[0])] + [len(x.split()[1]) for x in next_block])
        expect(width + 2 + next_field > WIDTH, "a block ends where its next column fits")
        k += 1


def unwrap(text):
    """The lines of a text with every continued line (four spaces in front) joined back to the
    one it continues; a line may only be broken where its next word did not fit."""
    joined, previous = [], ""
    for line in text.split("\n"):
        if line.startswith("    ") and joined and joined[-1] != "":
            expect(line[4] != " ", "a continuation indented by more than four spaces")
            word = ITEM.match(line, 4).group(0)
            expect(len(previous) + 1 + len(word) > WIDTH, f"a line broken before {word!r}, "
                   "which fitted")
            joined[-1] += " " + line[4:]
        else:
            joined.append(line)
        previous = line
    return joined


def check_lines(text):
    """Every line fits in WIDTH and holds no tab, bar a lone item wider than WIDTH."""
    expect("\t" not in text, "a tab in teaching mode's screens")
    for line in text.split("\n"):
        if len(line) > WIDTH:
            expect(len(line.strip().split(" ")) == 1, f"a line wider than {WIDTH}: {line!r}")


class Screen:
    """One teaching screen between two pauses: the text before its heading (lead), the heading,
    the text between heading and grid (pre), the grid, and the lines after it."""

    def __init__(self, text):
        lines = text.split("\n")
        at = next((k for k, line in enumerate(lines) if is_header(line)), None)
        if at is None:
            self.grid, end = None, len(lines)
        else:
            self.grid, end = read_grid(lines, at)
            expect(not any(is_header(line) for line in lines[end:]), "two grids on one screen")
            expect(lines[at - 1] == "", "no blank line before a grid")
        before = unwrap("\n".join(lines[: at if at is not None else end]))
        self.after = unwrap("\n".join(lines[end:]))
        heads = [k for k, line in enumerate(before)
                 if line in NAMED or line == REMOVAL or ITERATION.fullmatch(line)]
        expect(len(heads) <= 1, "two headings on one screen")
        h = heads[0] if heads else len(before)
        self.lead = [line for line in before[:h] if line != ""]
        self.heading = before[h] if heads else None
        self.pre = [line for line in before[h + 1:] if line != ""]
        self.name = self.heading
        if self.heading and ITERATION.fullmatch(self.heading):
            m = ITERATION.fullmatch(self.heading)
            self.name = f"{m.group(1)} iteration"
            self.iteration = int(m.group(2))


def entering(t, lowest_index):
    """The columns the phase rules may enter on grid t, none when no entry is positive. The
    largest-coefficient rule compares in single precision on the stored forms, which the grid
    does not show: a column within rounding of the largest may be taken, and of exactly equal
    values the first."""
    positive = [j for j in range(1, t.n) if t.obj[j - 1] > 0]
    if not positive or lowest_index:
        return positive[:1]
    best = max(t.obj[j - 1] for j in positive)
    first = next(j for j in positive if t.obj[j - 1] == best)
    near = [j for j in positive
            if t.obj[j - 1] != best and f32(float(t.obj[j - 1])) >= f32(float(best)) * (1 - 2**-20)]
    return sorted([first] + near)


def leaving_row(t, c, lowest_index):
    """The row the rules choose to leave for column c, 0 when none can."""
    eligible = [i for i in range(1, len(t.rows) + 1)
                if t.rows[i - 1][c - 1] > 0 and t.rows[i - 1][-1] >= 0]
    if not eligible:
        return 0
    ratio = {i: t.rows[i - 1][-1] / t.rows[i - 1][c - 1] for i in eligible}
    least = min(ratio.values())
    ties = [i for i in eligible if ratio[i] == least]
    return min(ties, key=lambda i: t.basic[i - 1]) if lowest_index else ties[0]


def ended(t, lowest_index, name):
    """The phase ended at grid t: no column can enter, or the one entered has no row to leave.
    Returns the columns that may have entered (none: optimal)."""
    columns = entering(t, lowest_index)
    expect(not columns or any(leaving_row(t, c, lowest_index) == 0 for c in columns),
           f"{name}: the phase ended where the rules choose a pivot")
    return columns


def read_choice(lines):
    """(column, leaving basic, row, element, ratio lines, lowest-index line) of the choice lines
    under a grid, and the lines after them; None when the lines hold no choice."""
    if not lines or ENTRA.fullmatch(lines[0]) is None:
        return None, lines
    m = ENTRA.fullmatch(lines[0])
    head = RATIO_HEAD.fullmatch(lines[1]) if len(lines) > 1 else None
    expect(head is not None and head.group(1) == m.group(1), "no ratio test under the choice")
    k = 2
    ratios = []
    while k < len(lines) and RATIO_LINE.fullmatch(lines[k]):
        ratios.append(RATIO_LINE.fullmatch(lines[k]).groups())
        k += 1
    lowest_index = k < len(lines) and lines[k] == LOWEST_INDEX
    k += lowest_index
    choice = (int(m.group(1)), int(m.group(2)), int(m.group(3)), m.group(4), ratios, lowest_index)
    return choice, lines[k:]


def check_choice(t, choice, lowest_index):
    """The choice printed under grid t is the rules' choice with its full ratio test, and its
    pivot is the bracketed cell."""
    col, leaving, r, element, ratios, shown_lowest = choice
    columns = entering(t, lowest_index)
    expect(col in columns, f"column x{col} entered, the rules choose {columns}")
    r_rule = leaving_row(t, col, lowest_index)
    expect(r_rule != 0, f"a pivot is named where no row can leave (column {col})")
    expect(r == r_rule, f"row {r} named, the rules choose {r_rule}")
    expect(leaving == t.basic[r - 1], "the leaving variable is not the row's basic one")
    expect(lowest(element) == t.rows[r - 1][col - 1], "pivot element differs from its cell")
    expect(t.bracket == (r, col), f"bracket at {t.bracket}, pivot at {(r, col)}")
    expect(shown_lowest == lowest_index, "lowest-index line wrong")
    expected = []
    for i in range(1, len(t.rows) + 1):
        rhs, entry = t.rows[i - 1][-1], t.rows[i - 1][col - 1]
        if entry > 0 and rhs >= 0:
            expected.append((str(i), str(t.basic[i - 1]), str(rhs), str(entry), str(rhs / entry),
                             " <- minimo" if i == r else None))
    expect(ratios == expected, "ratio test lines wrong")
    return col, r


def check_phase(chain, final, name):
    """chain: the (grid, choice) screens of one phase loop in order; final: its last grid.
    Returns the columns the rules may enter at the end (none: optimal; else unbounded)."""
    lowest_index = False
    for k, (t, choice) in enumerate(chain):
        after = chain[k + 1][0] if k + 1 < len(chain) else final
        if choice is None:
            expect(k == len(chain) - 1, f"{name}: a screen of the loop without its pivot")
            expect(t.bracket is None, f"{name}: a bracket with no pivot named")
            expect(after.values() == t.values(), f"{name}: the final grid moved without a pivot")
            return ended(t, lowest_index, name)
        c, r = check_choice(t, choice, lowest_index)
        expect(after.values() == pivoted(*t.values(), r, c),
               f"{name}: grid {k + 1} is not the pivot on row {r}, column {c} of the one above")
        lowest_index = t.rows[r - 1][-1] == 0
    return ended(final, lowest_index, name)


def pivoted(obj, rows, basic, r, c):
    """The tableau after the pivot on row r, column c (both from 1), in exact fractions."""
    p = [v / rows[r - 1][c - 1] for v in rows[r - 1]]
    new_rows = [p if i == r - 1 else [v - row[c - 1] * w for v, w in zip(row, p)]
                for i, row in enumerate(rows)]
    new_obj = [v - obj[c - 1] * w for v, w in zip(obj, p)]
    new_basic = list(basic)
    new_basic[r - 1] = c
    return new_obj, new_rows, new_basic


def priced_out(obj, rows, basic):
    """The objective row made zero on the basic columns, with the rows and basis it was made on."""
    for row, b in zip(rows, basic):
        obj = [v - obj[b - 1] * w for v, w in zip(obj, row)]
    return obj, rows, basic


def removal(t, n_artificial):
    """The removal of the artificial variables from the phase-2 initial grid t: the lines it
    prints and the tableau it leaves."""
    obj, rows, basic = t.values()
    base = t.n - n_artificial
    lines = []
    for i in range(1, len(rows) + 1):
        if basic[i - 1] < base:
            continue
        j = next((j for j in range(1, base) if rows[i - 1][j - 1] != 0), None)
        if j is not None:
            lines.append(("exit", basic[i - 1], j, i, rows[i - 1][j - 1]))
            obj, rows, basic = pivoted(obj, rows, basic, i, j)
    for k in range(t.n - 1, base - 1, -1):
        lines += [("deleted", i, k) for i in range(1, len(rows) + 1) if basic[i - 1] == k]
    kept = [i for i in range(len(rows)) if basic[i] < base]
    cut = lambda r: r[: base - 1] + r[-1:]  # noqa: E731
    return lines, (cut(obj), [cut(rows[i]) for i in kept], [basic[i] for i in kept])


def check_removal(before, screen, n_artificial):
    lines, left = removal(before, n_artificial)
    shown = []
    for line in screen.pre:
        m = EXIT_LINE.fullmatch(line) or DELETED_LINE.fullmatch(line)
        expect(m is not None, f"unreadable removal line {line!r}")
        if m.re is EXIT_LINE:
            shown.append(("exit", int(m.group(1)), int(m.group(2)), int(m.group(3)),
                          lowest(m.group(4))))
        else:
            shown.append(("deleted", int(m.group(1)), int(m.group(2))))
    expect(shown == lines, f"removal lines {shown}, expected {lines}")
    expect(screen.grid.values() == left, "grid without the artificial variables is wrong")


# The problem as written and the standard form's legend, worked out from the typed problem and
# the plain program's first tableau.

def term(v, j, first):
    m = abs(v)
    mag = "" if m == 1 else (str(m) if m.denominator == 1 else f"({m})")
    sign = ("-" if v < 0 else "") if first else ("- " if v < 0 else "+ ")
    return f"{sign}{mag}x{j}"


def terms(a):
    nonzero = [(j + 1, v) for j, v in enumerate(a) if v != 0]
    return " ".join(term(v, j, k == 0) for k, (j, v) in enumerate(nonzero)) or "0"


RELATION = {"<": "<=", "=": "=", ">": ">="}


def written_problem(costs, rows, maximise):
    """`costs` as typed: under --max those of the objective maximised."""
    lines = ["Il problema da risolvere:", ("max z = " if maximise else "min z = ") + terms(costs)]
    lines += [f"{terms(a)} {RELATION[rel]} {F(rhs)}" for a, rel, rhs in rows]
    return lines + [", ".join(f"x{j}" for j in range(1, len(costs) + 1)) + " >= 0"]


def legend(costs, rows, first, maximise):
    """The legend of the standard form whose plain tableau (w row first) is `first`."""
    n_vars = len(costs)
    lines = []
    for i, (a, rel, rhs) in enumerate(rows, 1):
        if rhs < 0:
            turned = {"<": " (<= diventa >=)", ">": " (>= diventa <=)", "=": ""}[rel]
            lines.append(f"Riga {i}: termine noto negativo, moltiplicata per -1{turned}")
    artificial = []
    for j in range(1, first.n):
        column = [r[j - 1] for r in first.rows]
        nonzero = [(i, v) for i, v in enumerate(column, 1) if v != 0]
        typed_empty = j <= n_vars and costs[j - 1] == 0 and all(a[j - 1] == 0 for a, _, _ in rows)
        if first.obj[j - 1] == -1:
            expect(len(nonzero) == 1 and nonzero[0][1] == 1, f"x{j} is no artificial column")
            lines.append(f"x{j}: variabile artificiale della riga {nonzero[0][0]}")
            artificial.append(j)
        elif j > n_vars or (typed_empty and nonzero):
            if not nonzero:
                lines.append(f"x{j}: colonna vuota, di nessuna riga (x{j} resta a 0)")
                continue
            expect(len(nonzero) == 1 and abs(nonzero[0][1]) == 1, f"x{j} is no slack column")
            kind = "di scarto (slack)" if nonzero[0][1] == 1 else "di eccedenza (surplus)"
            i = nonzero[0][0]
            lines.append(f"x{j}: non compare in nessun vincolo, quindi fa da variabile {kind} "
                         f"della riga {i}" if j <= n_vars else
                         f"x{j}: variabile {kind} della riga {i}")
    if artificial:
        lines.append("w = " + " + ".join(f"x{j}" for j in artificial) +
                     ": somma delle variabili artificiali, minimizzata nella prima fase")
    return lines + [MAX_READING if maximise else READING], len(artificial)


def check_standard_form(costs, rows, screen, first, maximise):
    """The first screen: the problem as written, the standard-form grid and its legend. `costs`
    are those the tableaux minimise: under --max the typed ones negated."""
    names, n_artificial = legend(costs, rows, first, maximise)
    typed = [-c for c in costs] if maximise else costs
    expect(screen.lead == written_problem(typed, rows, maximise), "the problem as written is "
           f"wrong: {screen.lead}")
    expect(screen.heading == "Forma standard" and screen.pre == [], "no 'Forma standard' grid")
    g = screen.grid
    expect(g.bracket is None, "a bracket on the standard form")
    expect((g.rows, g.basic) == (first.rows, first.basic), "standard-form rows differ from plain")
    if n_artificial:
        expect(g.label == "w" and g.obj == first.obj, "standard form without its w row")
    else:
        z = [-F(c) for c in costs] + [F(0)] * (g.n - len(costs))
        expect(g.label == z_label(maximise) and g.obj == z, "standard form without its z row")
    expect(screen.after[0] == "" and [x for x in screen.after if x] == names,
           f"legend {screen.after}, expected {names}")
    return n_artificial


def plain_screens(plain):
    """The plain program's tableaus by the name of their screen, and its verdict."""
    named, found = {}, list(PLAIN_TABLEAU.finditer(plain))
    for k, m in enumerate(found):
        heading = plain[: m.start()].rstrip("\n").split("\n")[-1]
        named["Forma standard" if k == 0 else heading] = PlainTableau(m)
    tail = plain[found[-1].end():] if found else plain
    verdict = next((v for text, v in VERDICTS.items() if f"\n{text}\n" in tail), None)
    return named, verdict


def z_label(maximise):
    """Row 0 holds -z when the typed objective is maximised."""
    return "-z" if maximise else "z"


def check_screens(costs, rows, plain, teaching, maximise=False):
    """Raises Disagreement on the first check that fails. `costs` are those of the objective the
    tableaux minimise: under --max the typed costs negated."""
    expect(teaching.endswith(FINAL) and plain.endswith(FINAL), "a run did not reach its end")
    if "error: problema troppo grande!" in plain:
        expect(teaching.endswith("error: problema troppo grande!\n" + FINAL), "too big differs")
        return "too big"
    start = PLAIN_TABLEAU.search(plain).start()
    expect(teaching.startswith(plain[:start]), "the screen up to the echo differs from plain")
    rest = teaching[start:]
    check_lines(rest)
    expect(rest.startswith("Il problema da risolvere:\n"), "no problem as written under the echo")
    segments, analysis, certificate = split_analysis(rest.split(PAUSE))
    screens = [Screen(text) for text in segments]
    named, verdict = plain_screens(plain)
    first = named["Forma standard"]
    n_artificial = check_standard_form(costs, rows, screens[0], first, maximise)

    shown = {s.name: s for s in screens if s.name in NAMED and s.grid is not None}
    expected_names = [n for n in NAMED if n in named and (n_artificial or "Prima" not in n)]
    expect(list(shown) == expected_names,
           f"screens {[s.name for s in screens]}, plain {list(named)}")
    for name in expected_names[1:]:
        g = shown[name].grid
        expect(g.values() == named[name].values(), f"{name}: grid differs from plain")
        expect(g.label == ("w" if "Prima" in name else z_label(maximise)),
               f"{name}: label {g.label}")
    if verdict == "overflow":
        expect(teaching.endswith("\nerror: overflow aritmetico!\n" + FINAL), "overflow differs")
        return "overflow"
    expected, optimum = check_random.reference(costs, rows)

    # Phase 1: its initial grid, its iterations, its final grid; or the line that skips it.
    k = 1
    if n_artificial:
        expect(shown["Prima Fase - Tableau iniziale"].grid.values() ==
               priced_out(first.obj, first.rows, first.basic), "phase-1 grid is not w priced out")
        k, final, columns = check_loop(screens, k, "Prima")
        expect(columns == [], "phase 1 ended with a column to enter")
        after = [x for x in screens[k - 1].after if x]
        w = final.obj[-1]
        if w != 0:
            expect(after == ["Problema inammissibile!", f"Minimo della prima fase: w = {w} > 0, "
                             "nessun punto soddisfa tutti i vincoli", FINAL],
                   "phase 1 ends above 0 without the infeasible lines")
            expect(expected == "infeasible", f"infeasible, the reference says {expected}")
            expect(analysis is None and certificate is not None, "no certificate after phase 1")
            check_analysis.check_infeasible(costs, rows, w, certificate)
            return "infeasible"
        expect(after == [], "text after phase 1's final grid")
        before_phase2 = final
    else:
        skipped = SKIPPED.fullmatch(screens[1].lead[0]) if screens[1].lead else None
        expect(skipped is not None and len(screens[1].lead) == 1, "phase 1 not skipped in one line")
        expect(skipped.group(1) == ", ".join(f"x{b}" for b in first.basic), "skip line's basis")
        before_phase2 = first
    # Phase 2: priced out, the removal of the artificial variables, the loop, the verdict.
    p2 = screens[k]
    expect(p2.name == "Seconda Fase - Tableau iniziale", "no phase-2 initial grid")
    costs_row = [-F(c) for c in costs] + [F(0)] * (before_phase2.n - len(costs))
    expect(p2.grid.values() == priced_out(costs_row, before_phase2.rows, before_phase2.basic),
           "phase-2 initial grid is not the costs priced out on phase 1's basis")
    if n_artificial:
        expect(p2.grid.bracket is None and p2.after == ["", ""],
               "a choice under the phase-2 initial grid")
        expect(screens[k + 1].name == REMOVAL, "no screen without the artificial variables")
        check_removal(p2.grid, screens[k + 1], n_artificial)
        k += 1
    else:
        expect(REMOVAL not in [s.name for s in screens], "a removal screen without artificials")
    k, final, columns = check_loop(screens, k, "Seconda")
    tail = [x for x in screens[k - 1].after if x]
    expect(expected == ("unbounded" if columns else "optimal"),
           f"the phase-2 end disagrees with the reference ({expected})")
    if columns:
        named_column = UNBOUNDED.fullmatch(tail[1]) if tail[0] == "Problema illimitato!" else None
        expect(named_column is not None and named_column.group(1) == named_column.group(2),
               "no unbounded lines")
        expect((named_column.group(3) is None) == maximise,
               "z decreases under --max, or grows without")
        column = int(named_column.group(1))
        expect(column in columns and all(r[column - 1] <= 0 for r in final.rows),
               f"x{column} named, the rules leave {columns} with no row")
        expect(analysis is None and certificate is not None and tail[2:] == [FINAL],
               "no ray after the unbounded lines")
        check_analysis.check_unbounded(typed_costs(costs, maximise), rows, maximise, final,
                                       column, certificate)
        return "unbounded"
    expect(tail[0] == "Soluzione Ottima!", "no 'Soluzione Ottima!'")
    outcome, x, z = check_solution(costs, rows, final, SOLUTION.fullmatch("\n".join(tail[1:4])),
                                   optimum, maximise)
    expect(analysis is not None, "no screens of duality and sensitivity after the optimum")
    check_analysis.check_optimal(typed_costs(costs, maximise), rows, maximise, final,
                                 deleted_rows(screens), x, z, *analysis)
    return outcome


CERTIFICATE = re.compile(r"\n(?=(?:Certificato|Direzione illimitata):)")


def split_analysis(segments):
    """The screens between pauses without what follows the verdict, as the teaching screens
    before it are read; and what follows, apart: the texts of the two screens after an optimum
    (duality, then sensitivity, which end with the final pause), or None; the certificate after
    an infeasible or unbounded verdict (its lists broken between phrases), or None."""
    if (len(segments) > 2 and segments[-2].startswith(DUAL_HEADING) and
            segments[-1].startswith(SENS_HEADING) and segments[-1].endswith(FINAL)):
        analysis = (segments[-2][len(DUAL_HEADING):],
                    segments[-1][len(SENS_HEADING): -len(FINAL)])
        return segments[:-3] + [segments[-3] + FINAL], analysis, None
    last = segments[-1]
    if ("\nProblema inammissibile!\n" in last or "\nProblema illimitato!\n" in last) and \
            last.endswith(FINAL) and CERTIFICATE.search(last):
        at = CERTIFICATE.search(last).end()
        return segments[:-1] + [last[:at] + FINAL], None, last[at: -len(FINAL)]
    return segments, None, None


def typed_costs(costs, maximise):
    """The costs as typed: under --max the negation of those the tableaux minimise."""
    return [-c for c in costs] if maximise else costs


def deleted_rows(screens):
    """The typed rows (from 0) that the removal of the artificial variables deleted."""
    removal = next((s for s in screens if s.name == REMOVAL), None)
    lines = removal.pre + removal.after if removal is not None else []
    return {int(m.group(1)) - 1 for m in map(DELETED_LINE.fullmatch, lines) if m}


def check_loop(screens, k, phase):
    """The loop of one phase from its first screen, screens[k], to its final grid: iterations
    numbered from 1, each grid the pivot of the one before. Returns (index after the final
    screen, final grid, columns the rules may enter there)."""
    final_name = f"{phase} Fase - Tableau finale"
    index = next((j for j in range(k, len(screens)) if screens[j].name == final_name), None)
    expect(index is not None, f"no final grid of the {phase} Fase")
    chain = []
    for j, s in enumerate(screens[k:index]):
        if j > 0:
            expect(s.name == f"{phase} iteration" and s.iteration == j,
                   f"{phase} Fase: iteration screens out of order")
        # the first screen of phase 2 may follow the line that skips phase 1
        expect((s.lead == [] or j == 0) and (s.pre == [] or s.name == REMOVAL),
               "unexpected lines on a screen")
        choice, rest = read_choice(s.after[1:])
        expect(rest == [""], f"unexpected lines under a grid: {rest}")
        chain.append((s.grid, choice))
    final = screens[index].grid
    expect(final.bracket is None, "a bracket on a final grid")
    return index + 1, final, check_phase(chain, final, f"{phase} Fase")


def check_solution(costs, rows, final, verdict, optimum, maximise):
    expect(verdict is not None, "no solution lines")
    n = len(costs)
    terms_shown = verdict.group(1).split(", ")
    expect([t.split(" = ")[0] for t in terms_shown] == [f"x{j}" for j in range(1, n + 1)],
           "the solution does not list x1..xn")
    x = [lowest(t.split(" = ")[1]) for t in terms_shown]
    # A typed variable whose all-zero column a slack took appears in no row: it reads 0.
    columns = check_analysis.Typed(costs, rows, False).columns
    on_tableau = [F(0)] * n
    for b, row in zip(final.basic, final.rows):
        if columns.get(b, ("",))[0] == "x":
            on_tableau[b - 1] = row[-1]
    expect(x == on_tableau, "the solution is not the final grid's")
    expect(verdict.group(2) == verdict.group(4) == ("max " if maximise else None),
           "the optimum is not named max z under --max, or named so without it")
    # Under --max the tableaux minimise -z: the maximum shown is minus their optimum.
    sign = -1 if maximise else 1
    z = lowest(verdict.group(3))
    expect(sign * z == optimum == final.obj[-1], f"optimum {z}, the reference says {optimum}")
    expect(min(x, default=0) >= 0 and check_random.dot(costs, x) == sign * z and
           all(check_random.holds(check_random.dot(a, x), rel, rhs) for a, rel, rhs in rows),
           "the solution does not satisfy the problem")
    return "optimal", x, z


def run(program, keys, *args):
    environment = dict(os.environ, COLUMNS=str(WIDTH))
    done = subprocess.run([program, *args], input=keys.encode(), capture_output=True, timeout=10,
                          env=environment)
    return done.stdout.decode(), done.returncode


def check_keys(program, costs, rows, keys):
    plain, plain_status = run(program, keys + PLENTY)
    teaching, teaching_status = run(program, keys + PLENTY, "--passi")
    expect(plain_status == teaching_status == 255, f"exit status {plain_status}, "
           f"{teaching_status}")
    return check_screens(costs, rows, plain, teaching)


def first_difference(shown, expected):
    at = next((k for k, (a, b) in enumerate(zip(shown, expected)) if a != b),
              min(len(shown), len(expected)))
    return f" at {at}: {shown[at - 20: at + 40]!r} against {expected[at - 20: at + 40]!r}"


def check_max_keys(program, costs, rows, keys):
    """The problem typed as the maximisation of -c*x under --max: its plain screen must be the
    plain program's for c with only the echo's objective line changed ("Max z -> " and what the
    plain program prints after "Min z -> " for the costs typed, then the line on what the tableaux
    minimise); its teaching screen is checked like any other, the maximum against the reference."""
    max_keys = problem_keys([-c for c in costs], rows)
    minimised, _ = run(program, keys + PLENTY)
    same_typed, _ = run(program, max_keys + PLENTY)
    plain, plain_status = run(program, max_keys + PLENTY, "--max")
    teaching, teaching_status = run(program, max_keys + PLENTY, "--max", "--passi")
    expect(plain_status == teaching_status == 255, f"exit status {plain_status}, "
           f"{teaching_status}")
    typed_objective = re.search(r"\nMin z -> (.*)\n", same_typed).group(1)
    expected = re.sub(r"\nMin z -> .*\n", lambda _: f"\nMax z -> {typed_objective}\n{MAX_NOTE}",
                      minimised, count=1)
    expect(plain == expected, "--max is not the plain program for the costs negated"
           + first_difference(plain, expected))
    return "max " + check_screens(costs, rows, plain, teaching, maximise=True)


FAILURES = (Disagreement, AssertionError, subprocess.TimeoutExpired, ValueError, IndexError,
            KeyError, ZeroDivisionError, AttributeError, StopIteration)


def checked(label, program, costs, rows, keys, check_keys=check_keys):
    """(outcome, failure text) of one problem."""
    try:
        return check_keys(program, costs, rows, keys), None
    except FAILURES as failure:
        return "failed", f"{label}: {type(failure).__name__}: {failure}; keys {keys!r}"


def problem_keys(costs, rows):
    return check_random.keys_of(costs, rows).rstrip("\n") + "\n"


def check(program, index):
    """The results of one generated problem: every sixth one is also run as a maximisation."""
    costs, rows = check_random.problem(index)
    keys = problem_keys(costs, rows)
    results = [checked(f"problem {index}", program, costs, rows, keys)]
    if index % 6 == 0:
        results.append(checked(f"problem {index} --max", program, costs, rows, keys,
                               check_max_keys))
    return results


# Problems the generator does not make: arithmetic that overflows in phase 2 (teaching mode stops
# on the same screen as the plain program) and denominators typed with their sign.
EXTRA_KEYS = [
    "\n-1 -1 -1\n2147483647/3 1 1 < 1000000007\n1 2147483646/5 7 < 999999937\n"
    "3 1 2147483645/11 < 999999929\nq\n",
    "\n-1 -1 -1\n1 1 1 < 1000000007\n1 2147483646/5 7 < 999999937\n"
    "3 1 2147483645/11 < 999999929\nq\n",
    "\n-1 -1\n-1/-3 1 < 2\n1 -1/-2 < 3\n1/-2 -3/-4 > -1\nq\n",
]


def check_extra(program, keys):
    return checked("extra problem", program, *golden_problem(keys), keys)


RELATIONS = {"<": "<", "<=": "<", "=<": "<", "\u2264": "<", "=": "=", "==": "=", ">": ">",
             ">=": ">", "=>": ">", "\u2265": ">"}


def typed_value(text):
    """A number as typed: a fraction (signs where typed), an integer or a decimal (with "." or
    ",")."""
    return value(text) if "/" in text else F(text.replace(",", "."))


def golden_problem(keys):
    """Costs and rows of a typed problem (one relation word per row), every row and the costs
    as long as the longest: a short row leaves the rest of its coefficients 0."""
    lines = keys.split("\n")[1: keys.split("\n").index("q")]
    costs = [typed_value(v) for v in lines[0].split()]
    rows = []
    for line in lines[1:]:
        words = line.split()
        rows.append(([typed_value(v) for v in words[:-2]], RELATIONS[words[-2]],
                     typed_value(words[-1])))
    n = max([len(costs)] + [len(a) for a, _, _ in rows])
    pad = lambda a: a + [F(0)] * (n - len(a))  # noqa: E731
    return pad(costs), [(pad(a), rel, rhs) for a, rel, rhs in rows]


def check_golden(program, path):
    """A golden teaching-mode run: its recorded screen checked like a generated one, against the
    plain program on the same keys and with the same arguments but --passi. Exercise runs, whose
    screens hold the student's answers, are checked by tests/exercise_test.cpp instead."""
    keys = open(path[: -len(".out")] + ".in").read()
    args = open(path[: -len(".out")] + ".args").read().split()
    if "--esercizio" in args or "-e" in args:
        return "exercise (not checked here)", None
    maximise = "--max" in args or "-m" in args
    costs, rows = golden_problem(keys)
    if maximise:
        costs = [-c for c in costs]
    try:
        plain, _ = run(program, keys + PLENTY, *[a for a in args if a not in ("--passi", "-p")])
        outcome = check_screens(costs, rows, plain, open(path).read(), maximise)
        return ("max " if maximise else "") + outcome, None
    except FAILURES as failure:
        return "failed", f"golden {os.path.basename(path)}: {type(failure).__name__}: {failure}"


def main():
    program = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
    golden = sys.argv[3] if len(sys.argv) > 3 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "golden")
    results = [check_golden(program, p) for p in sorted(glob.glob(f"{golden}/passi_*.out"))]
    results += [check_extra(program, keys) for keys in EXTRA_KEYS]
    with ProcessPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for problem_results in pool.map(partial(check, program), range(count), chunksize=25):
            results += problem_results
    tally, failed = {}, 0
    for outcome, failure in results:
        tally[outcome] = tally.get(outcome, 0) + 1
        if failure:
            failed += 1
            print("FAIL", failure)
    print("outcomes:", ", ".join(f"{k} {v}" for k, v in sorted(tally.items())))
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
