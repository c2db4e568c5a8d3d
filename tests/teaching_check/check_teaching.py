#!/usr/bin/env python3
"""Teaching mode against the plain program and against the rules of the method, on generated
problems and on the golden teaching-mode runs.

For each problem the program runs twice, plain and with --passi. The teaching screen, with its
additions taken out, must give back the plain screen byte for byte. Every pivot that an "Entra"
line names must be the one the phase rules choose, its ratio test must list exactly the eligible
rows, and every tableau after it must be that pivot applied, in exact fractions, to the tableau
above it. The removal of the artificial variables is redone the same way. The solution, the
optimum and the verdict lines must agree with the exact reference solver of check_random.py.
Every sixth problem is also typed as a maximisation of the negated costs and run with --max: its
plain screen must be the plain program's for the original costs but for the echo's objective
line, and its teaching screen is checked as above, the maximum against the reference.

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

PAUSE = "\nPremetere INVIO per continuare... " + "\n" * 11
FINAL = "Premetere INVIO per terminare... "
PLENTY = "\n" * 5000  # more keys than any run of these problems has pauses

TABLEAU = re.compile(r"\n\n\t((?:x\d+\t)*)RHS\n\t-+\n\t((?:\S+\t)*)\n\t-+\n"
                     r"((?:x\d+\t(?:\S+\t)*\n\n)*)\t-+\n\n")
LOWEST_INDEX = ("Regola del minimo indice: il pivot precedente era degenere, quindi entra la prima "
                "colonna migliorante e a pari rapporto esce la variabile di indice minore\n")
CHOICE = re.compile(r"Entra x(\d+), esce x(\d+) \(riga (\d+)\), elemento pivot (\S+)\n"
                    r"Test del rapporto minimo sulla colonna x(\d+):\n"
                    r"((?:\triga \d+ \(x\d+\): \S+ : \S+ = \S+(?:\t<- minimo)?\n)*)"
                    r"(" + re.escape(LOWEST_INDEX) + r")?")
RATIO_LINE = re.compile(r"\triga (\d+) \(x(\d+)\): (\S+) : (\S+) = (\S+)(\t<- minimo)?\n")
EXIT_LINE = re.compile(r"Esce x(\d+) \(artificiale\), entra x(\d+) \(riga (\d+)\), "
                       r"elemento pivot (\S+)\n")
DELETED_LINE = re.compile(r"Riga (\d+) eliminata: x(\d+) artificiale resta in base, "
                          r"il vincolo e' ridondante\n")
ITERATION = re.compile(r"\n(Prima|Seconda) Fase - Iterazione (\d+)\n$")
REMOVAL_HEADING = "\nSeconda Fase - Senza variabili artificiali\n"
# Under --max the optimum is named "max z" and z grows, not decreases, along an unbounded column.
SOLUTION = re.compile(r"\nSoluzione Ottima!\nSoluzione: (.*)\nValore ottimo: (max )?z = (\S+)\n"
                      r"Verifica: tutti i vincoli sono soddisfatti e c\*x = (max )?z\n$")
INFEASIBLE = re.compile(r"\nProblema inammissibile!\nMinimo della prima fase: w = (\S+) > 0, "
                        r"nessun punto soddisfa tutti i vincoli\n((?:.*\n)*)$")
MAX_NOTE = "I tableau minimizzano -z: riga di -z, costi come scritti; RHS finale = -max z\n"
UNBOUNDED = re.compile(r"\nProblema illimitato!\nLa colonna x(\d+) non ha elementi positivi: "
                       r"facendo entrare x(\d+), z (de)?cresce senza limite\n((?:.*\n)*)$")


def value(text):
    """A cell as the grid prints it: "n" or "n/d", the sign possibly below."""
    num, _, den = text.partition("/")
    return F(int(num), int(den or 1))


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def value32(text):
    # Each field rounded to single precision, then divided in single precision (a double
    # quotient of two floats rounds to the float quotient).
    num, _, den = text.partition("/")
    return f32(f32(int(num)) / f32(int(den or 1)))


class Tableau:
    """A printed tableau: objective cells and rows (basic variable, cells), columns 1..n with the
    right-hand side last, as text and as exact values."""

    def __init__(self, match):
        header = re.findall(r"x(\d+)\t", match.group(1))
        self.n = len(header) + 1
        expect(header == [str(j) for j in range(1, self.n)], "tableau header out of order")
        self.obj_text = match.group(2).split("\t")[:-1]
        self.rows_text = []
        self.basic = []
        for line in match.group(3).split("\n\n")[:-1]:
            cells = line.split("\t")[:-1]
            self.basic.append(int(cells[0][1:]))
            self.rows_text.append(cells[1:])
        expect(all(len(r) == self.n for r in [self.obj_text] + self.rows_text),
               "tableau row of the wrong length")
        self.obj = [value(v) for v in self.obj_text]
        self.rows = [[value(v) for v in r] for r in self.rows_text]
        self.text = match.group(0)

    def values(self):
        return self.obj, self.rows, self.basic


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


def last_tableau(screen):
    return list(TABLEAU.finditer(screen))[-1].group(0)


def rule_choice(t, lowest_index):
    """(column, row) the phase rules choose on tableau t; row 0 when no row can leave, (0, 0)
    when no column can enter."""
    columns = range(1, t.n)
    if lowest_index:
        c = next((j for j in columns if t.obj[j - 1] > 0), 0)
    else:
        c, best = 0, 0.0
        for j in columns:
            v = value32(t.obj_text[j - 1])
            if v > best:
                c, best = j, v
    if c == 0:
        return 0, 0
    eligible = [i for i in range(1, len(t.rows) + 1)
                if t.rows[i - 1][c - 1] > 0 and t.rows[i - 1][-1] >= 0]
    if not eligible:
        return c, 0
    ratio = {i: t.rows[i - 1][-1] / t.rows[i - 1][c - 1] for i in eligible}
    least = min(ratio.values())
    ties = [i for i in eligible if ratio[i] == least]
    return c, (min(ties, key=lambda i: t.basic[i - 1]) if lowest_index else ties[0])


def check_choice(t, choice, lowest_index):
    """The choice printed under tableau t is the rules' choice with its full ratio test."""
    c, r = rule_choice(t, lowest_index)
    expect(r != 0, f"a pivot is named where the rules choose none (column {c})")
    shown = (int(choice.group(1)), int(choice.group(3)))
    expect(shown == (c, r), f"pivot {shown} named, the rules choose {(c, r)}")
    expect(int(choice.group(5)) == c, "ratio test on another column")
    expect(int(choice.group(2)) == t.basic[r - 1], "the leaving variable is not row's basic one")
    expect(choice.group(4) == t.rows_text[r - 1][c - 1], "pivot element differs from its cell")
    expect((choice.group(7) is not None) == lowest_index, "lowest-index line wrong")
    expected_lines = []
    for i in range(1, len(t.rows) + 1):
        rhs, entry = t.rows_text[i - 1][-1], t.rows_text[i - 1][c - 1]
        if value(entry) > 0 and value(rhs) >= 0:
            expected_lines.append(f"\triga {i} (x{t.basic[i - 1]}): {rhs} : {entry} = "
                                  f"{value(rhs) / value(entry)}" + ("\t<- minimo" if i == r else "")
                                  + "\n")
    expect(choice.group(6) == "".join(expected_lines), "ratio test lines wrong")
    return c, r


def check_phase(chain, final, name):
    """chain: the (tableau, choice) screens of one phase loop in order; final: its last tableau.
    Returns what the rules say at the final tableau: (0, 0) optimal, (c, 0) unbounded in c."""
    lowest_index = False
    for k, (t, choice) in enumerate(chain):
        after = chain[k + 1][0] if k + 1 < len(chain) else final
        if choice is None:
            expect(k == len(chain) - 1, f"{name}: a screen of the loop without its pivot")
            expect(rule_choice(t, lowest_index)[1] == 0, f"{name}: a pivot the rules choose is "
                   "not shown")
            expect(after.text == t.text, f"{name}: the final tableau moved without a pivot")
            return rule_choice(t, lowest_index)
        c, r = check_choice(t, choice, lowest_index)
        expect(after.values() == pivoted(*t.values(), r, c),
               f"{name}: tableau {k + 1} is not the pivot on row {r}, column {c} of the one above")
        lowest_index = t.rows[r - 1][-1] == 0
    if not chain:
        return 0, 0
    end = rule_choice(final, lowest_index)
    expect(end[1] == 0, f"{name}: the phase ended where the rules choose a pivot")
    return end


def removal(t, n_artificial):
    """The removal of the artificial variables from the phase-2 initial tableau t: the lines it
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


def check_removal(before_tableau, heading_text, after, n_artificial):
    lines, left = removal(before_tableau, n_artificial)
    shown, at = [], len(REMOVAL_HEADING)
    while at < len(heading_text):
        m = EXIT_LINE.match(heading_text, at) or DELETED_LINE.match(heading_text, at)
        expect(m is not None, "unreadable removal line")
        if m.re is EXIT_LINE:
            shown.append(("exit", int(m.group(1)), int(m.group(2)), int(m.group(3)),
                          value(m.group(4))))
        else:
            shown.append(("deleted", int(m.group(1)), int(m.group(2))))
        at = m.end()
    expect(shown == lines, f"removal lines {shown}, expected {lines}")
    expect(after.values() == left, "tableau without the artificial variables is wrong")


def split_screen(screen):
    """The teaching screen cut at its pauses, each piece parsed as (before, tableau, choice,
    rest) around its tableau; and the plain screen it must give back."""
    pieces, plain = [], []
    segments = screen.split(PAUSE)
    analysis = None
    if (len(segments) > 2 and segments[-2].startswith(DUAL_HEADING) and
            segments[-1].startswith(SENS_HEADING) and segments[-1].endswith(FINAL)):
        # After an optimum, a screen of duality and one of sensitivity, each after its pause.
        analysis = (segments[-2][len(DUAL_HEADING):],
                    segments[-1][len(SENS_HEADING): -len(FINAL)])
        segments = segments[:-2]
        segments[-1] += FINAL
    for k, seg in enumerate(segments):
        found = list(TABLEAU.finditer(seg))
        expect(len(found) <= 1, "two tableaux between two pauses")
        if not found:
            pieces.append((seg, None, None, ""))
            plain.append(seg)
            continue
        m = found[-1]
        before, after = seg[: m.start()], seg[m.end():]
        choice = CHOICE.match(after)
        if choice is not None and choice.group(0) == "":
            choice = None
        rest = after[choice.end():] if choice else after
        expect(k == len(segments) - 1 or rest == "", "unexpected text after a tableau")
        t = Tableau(m)
        pieces.append((before, t, choice, rest))
        if ITERATION.fullmatch(before) or before.startswith(REMOVAL_HEADING):
            expect(choice is not None or before.startswith(REMOVAL_HEADING),
                   "an iteration screen without its choice")
            continue
        for pattern, kept in ((SOLUTION, "\nSoluzione Ottima!\n"),
                              (INFEASIBLE, "\nProblema inammissibile!\n"),
                              (UNBOUNDED, "\nProblema illimitato!\n")):
            if k == len(segments) - 1 and rest.endswith(FINAL):
                verdict = pattern.match(rest[: -len(FINAL)])
                if verdict:
                    rest = kept + FINAL
        plain.append(before + m.group(0) + rest)
    return pieces, PAUSE.join(plain), analysis


def screen_name(before):
    """The heading of a screen; iteration screens by phase, with their numbers."""
    iteration = ITERATION.fullmatch(before)
    if iteration:
        return f"{iteration.group(1)} iteration {iteration.group(2)}"
    if before.startswith(REMOVAL_HEADING):
        return "removal"
    return before.strip("\n")


def check_iterations(names, phase):
    expect(names == [f"{phase} iteration {k}" for k in range(1, len(names) + 1)],
           f"{phase} Fase: iteration screens out of order: {names}")


def check_screens(costs, rows, plain_screen, teaching_screen, maximise=False):
    """Raises Disagreement on the first check that fails. `costs` are those of the objective the
    tableaux minimise: under --max the typed costs negated."""
    pieces, given_back, analysis = split_screen(teaching_screen)
    expect(given_back == plain_screen, "the teaching screen without its additions is not the plain "
           "screen" + first_difference(given_back, plain_screen))
    expect(teaching_screen.endswith(FINAL), "the run did not reach the final pause")
    overflow = "error: overflow aritmetico!" in plain_screen
    tabs = [(screen_name(before), t, c) for before, t, c, _ in pieces if t is not None]
    names = [h for h, _, _ in tabs]
    first = tabs[0][1] if tabs else None
    n_ineq = sum(rel != "=" for _, rel, _ in rows)
    n_artificial = first.n - 1 - len(costs) - n_ineq if first else 0

    def at(name):
        return next(((t, c) for h, t, c in tabs if h == name), (None, None))

    # Phase 1: its initial tableau, its iterations, its final tableau.
    p1_start, p1_choice = at("Prima Fase - Tableau iniziale")
    p1_final, _ = at("Prima Fase - Tableau finale")
    if p1_start is None or p1_final is None:
        expect(overflow, "a phase-1 screen is missing")
        return "overflow"
    i1, i2 = names.index("Prima Fase - Tableau iniziale"), names.index(
        "Prima Fase - Tableau finale")
    expect(p1_start.values() == priced_out(first.obj, first.rows, first.basic),
           "phase-1 initial tableau is not w priced out")
    chain = [(t, c) for _, t, c in tabs[i1:i2]]
    check_iterations(names[i1 + 1: i2], "Prima")
    check_phase(chain, p1_final, "phase 1")
    expected, optimum = check_random.reference(costs, rows)
    w = p1_final.obj[-1]
    if w != 0:
        verdict = INFEASIBLE.match(pieces[-1][3][: -len(FINAL)])
        expect(verdict is not None, "phase 1 ends above 0 without the infeasible lines")
        expect(value(verdict.group(1)) == w and verdict.group(1) == str(w), "w printed wrong")
        expect(expected == "infeasible", f"infeasible, the reference says {expected}")
        expect(last_tableau(plain_screen) == p1_final.text,
               "the final tableaux of the modes differ")
        check_analysis.check_infeasible(costs, rows, w, verdict.group(2))
        return "infeasible"
    p2_start, p2_choice = at("Seconda Fase - Tableau iniziale")
    p2_final, _ = at("Seconda Fase - Tableau finale")
    if p2_start is None or p2_final is None:
        expect(overflow, "a phase-2 screen is missing")
        return "overflow"
    i3, i4 = names.index("Seconda Fase - Tableau iniziale"), names.index(
        "Seconda Fase - Tableau finale")
    costs_row = [-F(c) for c in costs] + [F(0)] * (p1_final.n - len(costs))
    expect(p2_start.values() == priced_out(costs_row, p1_final.rows, p1_final.basic),
           "phase-2 initial tableau is not phase 1's final one with the costs priced out")
    expect(last_tableau(plain_screen) == p2_final.text, "the final tableaux of the modes differ")
    if n_artificial > 0:
        expect(names[i3 + 1] == "removal", "no screen without the artificial variables")
        expect(p2_choice is None, "a choice under the phase-2 initial tableau")
        removal_piece = next(p for p in pieces if p[0].startswith(REMOVAL_HEADING))
        check_removal(p2_start, removal_piece[0], removal_piece[1], n_artificial)
        i3 += 1
    else:
        expect("removal" not in names, "a removal screen without artificial variables")
    check_iterations(names[i3 + 1: i4], "Seconda")
    chain = [(t, c) for _, t, c in tabs[i3:i4]]
    column, _ = check_phase(chain, p2_final, "phase 2")
    tail = pieces[-1][3][: -len(FINAL)]
    expect(overflow or expected == ("unbounded" if column else "optimal"),
           f"the phase-2 end disagrees with the reference ({expected})")
    if column:
        verdict = UNBOUNDED.match(tail)
        expect(verdict is not None and verdict.group(1) == verdict.group(2) == str(column),
               f"unbounded line does not name x{column}")
        expect((verdict.group(3) is None) == maximise, "z decreases under --max, or grows without")
        expect(all(r[column - 1] <= 0 for r in p2_final.rows), "the named column has a positive "
               "entry")
        check_analysis.check_unbounded(typed_costs(costs, maximise), rows, maximise, p2_final,
                                       column, verdict.group(4))
        return "unbounded"
    outcome, x, z = check_solution(costs, rows, p2_final, SOLUTION.match(tail), optimum, maximise)
    expect(analysis is not None, "no screens of duality and sensitivity after the optimum")
    check_analysis.check_optimal(typed_costs(costs, maximise), rows, maximise, p2_final,
                                 deleted_rows(pieces), x, z, *analysis)
    return outcome


def typed_costs(costs, maximise):
    """The costs as typed: under --max the negation of those the tableaux minimise."""
    return [-c for c in costs] if maximise else costs


def deleted_rows(pieces):
    """The typed rows (from 0) that the removal of the artificial variables deleted."""
    removal_text = next((p[0] for p in pieces if p[0].startswith(REMOVAL_HEADING)), "")
    return {int(m.group(1)) - 1 for m in DELETED_LINE.finditer(removal_text)}


def check_solution(costs, rows, final, verdict, optimum, maximise):
    expect(verdict is not None, "no solution lines")
    n = len(costs)
    terms = verdict.group(1).split(", ")
    expect([t.split(" = ")[0] for t in terms] == [f"x{j}" for j in range(1, n + 1)],
           "the solution does not list x1..xn")
    x = [value(t.split(" = ")[1]) for t in terms]
    expect([t.split(" = ")[1] for t in terms] == [str(v) for v in x], "a value not in lowest terms")
    # A typed variable whose all-zero column a slack took appears in no row: it reads 0.
    columns = check_analysis.Typed(costs, rows, False).columns
    on_tableau = [F(0)] * n
    for b, row in zip(final.basic, final.rows):
        if columns.get(b, ("",))[0] == "x":
            on_tableau[b - 1] = row[-1]
    expect(x == on_tableau, "the solution is not the final tableau's")
    expect(verdict.group(2) == verdict.group(4) == ("max " if maximise else None),
           "the optimum is not named max z under --max, or named so without it")
    # Under --max the tableaux minimise -z: the maximum shown is minus their optimum.
    sign = -1 if maximise else 1
    z = value(verdict.group(3))
    expect(verdict.group(3) == str(z), "the optimum not in lowest terms")
    expect(sign * z == optimum == final.obj[-1], f"optimum {z}, the reference says {optimum}")
    expect(min(x, default=0) >= 0 and check_random.dot(costs, x) == sign * z and
           all(check_random.holds(check_random.dot(a, x), rel, rhs) for a, rel, rhs in rows),
           "the solution does not satisfy the problem")
    return "optimal", x, z


def first_difference(a, b):
    k = next((i for i, (u, v) in enumerate(zip(a, b)) if u != v), min(len(a), len(b)))
    return f" (first difference at {k}: {a[k - 40:k + 40]!r} vs {b[k - 40:k + 40]!r})"


def run(program, keys, *args):
    # The width of the golden runs; the lists after the verdict are joined again where they break.
    env = dict(os.environ, COLUMNS=check_analysis.SCREEN_COLUMNS)
    done = subprocess.run([program, *args], input=keys.encode(), capture_output=True, timeout=10,
                          env=env)
    return done.stdout.decode(), done.returncode


def check_keys(program, costs, rows, keys):
    plain, plain_status = run(program, keys + PLENTY)
    teaching, teaching_status = run(program, keys + PLENTY, "--passi")
    expect(plain_status == teaching_status == 255, f"exit status {plain_status}, "
           f"{teaching_status}")
    return check_screens(costs, rows, plain, teaching)


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


def checked(label, program, costs, rows, keys, check_keys=check_keys):
    """(outcome, failure text) of one problem."""
    try:
        return check_keys(program, costs, rows, keys), None
    except (Disagreement, AssertionError, subprocess.TimeoutExpired, ValueError, IndexError,
            ZeroDivisionError) as failure:
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
    """A number as typed: a fraction (signs where typed) or an integer or decimal."""
    return value(text) if "/" in text else F(text.replace(",", "."))


def golden_problem(keys):
    """Costs and rows of a typed problem (one relation word per row)."""
    lines = keys.split("\n")[1: keys.split("\n").index("q")]
    costs = [typed_value(v) for v in lines[0].split()]
    rows = []
    for line in lines[1:]:
        words = line.split()
        rows.append(([typed_value(v) for v in words[:-2]], RELATIONS[words[-2]],
                     typed_value(words[-1])))
    return costs, rows


def check_golden(program, path):
    """A golden teaching-mode run: its recorded screen checked like a generated one, against the
    plain program on the same keys and with the same arguments but --passi."""
    keys = open(path[: -len(".out")] + ".in").read()
    args = open(path[: -len(".out")] + ".args").read().split()
    maximise = "--max" in args or "-m" in args
    costs, rows = golden_problem(keys)
    if maximise:
        costs = [-c for c in costs]
    try:
        plain, _ = run(program, keys + PLENTY, *[a for a in args if a not in ("--passi", "-p")])
        return check_screens(costs, rows, plain, open(path).read(), maximise), None
    except (Disagreement, AssertionError, ValueError, IndexError) as failure:
        return "failed", f"golden {os.path.basename(path)}: {failure}"


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
