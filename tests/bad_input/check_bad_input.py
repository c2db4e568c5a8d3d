#!/usr/bin/env python3
"""Whatever is typed, simplesso must neither crash nor hang: it says what it refused and always
reaches its final pause.

usage: check_bad_input.py SIMPLESSO"""
import random
import subprocess
import sys

FINAL = "Premetere INVIO per terminare... "
COST, ROW1 = "costi funzione obiettivo -> ", "vincoli funzione 1 -> "
LONG, BIG = "error: riga troppo lunga!", "error: numero troppo grande!"
ZERO = "error: denominatore nullo!"
NO_RHS = "error: termine noto mancante!"
NO_RELATION = "error: relazione mancante!"
ONLY_RHS = "error: dopo la relazione va solo il termine noto!"
NOT_NUMBER, NOT_RELATION = "error: numero non valido: ", "error: relazione non valida: "
NO_PROBLEM = "error: nessun problema inserito!"
MESSAGES = [LONG, BIG, ZERO, NO_RHS, NO_RELATION, ONLY_RHS, NOT_NUMBER, NOT_RELATION, NO_PROBLEM]
LE, GE = "\xe2\x89\xa4", "\xe2\x89\xa5"  # the UTF-8 bytes of the two signs, as typed
ECHO = ["Min z -> -x1-2x2=0", "+x1+x2=2\n+x1-x2<1", "Soluzione Ottima!"]
ROWS = "1 1 = 2\n1 -1 < 1\nq\n"
TYPED = "\n1 2\n" + ROWS  # minimise x1 + 2x2 with x1 + x2 = 2 and x1 - x2 < 1
ENTER = "\n" * 5  # four continue pauses and the final one

# (name, keys, texts the screen must hold (a text listed twice must appear twice), texts it must
# not hold, exit status: 255 for Enter at the final pause, 0 for any other key or end of input,
# None for either). After the 99th row the reader stops, so the 100th row's "1" is the last key.
CASES = [
    ("98 characters with trailing spaces", "\n1 2" + " " * 95 + "\n" + ROWS + ENTER, ECHO, [LONG],
     255),
    ("99-character cost line", "\n" + "9 " * 49 + "9\n1 2\n" + ROWS + ENTER,
     [LONG, COST, COST] + ECHO, [], 255),
    ("500-character constraint line", "\n1 2\n" + "1 " * 250 + "\n" + ROWS + ENTER,
     [LONG, ROW1, ROW1] + ECHO, [], 255),
    ("input ends inside the cost line", "\n1 2", ["Min z -> -x1-2x2=0"], [], 0),
    ("input ends inside a constraint line", TYPED[:-3], ECHO, [], 0),
    ("relation symbol ends the line", "\n1 2\n1 1 <\n" + ROWS + ENTER, [NO_RHS, ROW1, ROW1] + ECHO,
     ["+x1+x2<0"], 255),
    ("relation symbol after the last word", "\n1 2\n1 1 = 2 <\n" + ROWS + ENTER,
     [ONLY_RHS, ROW1, ROW1] + ECHO, ["+x1+x2+2x3<0", NO_RHS], 255),
    ("relation symbol alone", "\n1 2\n<\n" + ROWS + ENTER, [NO_RHS, ROW1, ROW1] + ECHO, ["\n<0\n"],
     255),
    ("relation glued to a one-digit number", "\n1 2\n1 1 =2\n" + ROWS + ENTER,
     ["+x1+x2=2\n+x1+x2=2\n+x1-x2<1"], ["+x1+x2=0", NO_RHS], 255),
    ("two-character relation ends the line", "\n1 2\n1 1 <=\n" + ROWS + ENTER,
     [NO_RHS, ROW1, ROW1] + ECHO, [], 255),
    ("missing right-hand side before a number past 32 bits",
     "\n1 2\n99999999999 1/0 >=\n" + ROWS + ENTER, [NO_RHS] + ECHO, [BIG, ZERO], 255),
    ("two-character relations", "\n1 2\n1 1 == 2\n1 -1 <= 1\nq\n" + ENTER, ECHO + ["\tx4\tRHS\n"],
     ["\tx5\t", NO_RHS], 255),
    ("doubled spaces read as one", "\n1  2\n1  1 =  2\n1 -1 < 1\nq\n" + ENTER, ECHO, [], 255),
    ("three spaces and two leading spaces are one separator",
     "\n1 2\n1   1 = 2\n  1 1 = 2\nq\n" + ENTER, ["+x1+x2=2\n+x1+x2=2\n\n"],
     ["+x1+x3", "+x2+x3"], 255),
    ("empty and all-space lines are asked again", "\n\n   \n1 2\n\n \n" + ROWS + ENTER,
     [COST] * 3 + [ROW1] * 3 + ECHO, [LONG, BIG, ZERO], 255),
    ("cost past 32 bits", "\n2147483648 2\n1 2\n" + ROWS + ENTER, [BIG, COST, COST] + ECHO, [],
     255),
    ("cost -2147483649", "\n-2147483649 1\n1 2\n" + ROWS + ENTER, [BIG, COST, COST] + ECHO, [],
     255),
    ("cost -2147483648 is taken, its negation printed in full", "\n-2147483648 1\n1 1 < 4\nq\n"
     + ENTER, ["Min z -> +2147483648x1-x2", "Soluzione Ottima!"], [BIG], 255),
    ("largest cost that fits", "\n2147483647 1\n1 1 < 4\nq\n" + ENTER,
     ["Min z -> -2147483647x1-x2"], [BIG], 255),
    ("right-hand side past 32 bits", "\n1 2\n1 1 = 99999999999\n" + ROWS + ENTER,
     [BIG, ROW1, ROW1] + ECHO, [], 255),
    ("denominator past 32 bits", "\n1 2\n1/4294967296 1 = 2\n" + ROWS + ENTER, [BIG] + ECHO, [],
     255),
    ("-2147483648 in a constraint is taken", "\n1 1\n-2147483648 1 < 4\nq\n" + ENTER,
     ["-2147483648x1+x2<4"], [BIG], 255),
    ("zero denominators", "\n1/0 2/\n4/0 1 = 2/0\n1 -1 < 1\nq\n" + ENTER,
     [ZERO] * 4 + ["+4/0x1+x2=2/0", "Soluzione Ottima!"], [], 255),
    ("NUL bytes", "\n1\x002 2\n1 2\n1 1 \x00= 2\n\x00\n" + ROWS + ENTER,
     [NOT_NUMBER + "1\x002\n", NOT_NUMBER + "\x00\n", NOT_NUMBER + "\x00\n"] + ECHO, [], 255),
    ("CR-LF line ends", TYPED.replace("\n", "\r\n") + "\r\n" * 3, ECHO, [], 0),
    ("100 rows", "\n1 1\n" + "1 1 < 5\n" * 100 + ENTER, ["vincoli funzione 99 -> ",
     "error: problema troppo grande!"], ["vincoli funzione 100 -> "], 0),
]


def constraint_line(name, line, message=None, row=None):
    """One line typed as the first constraint of the worked problem: refused with `message` (the
    worked problem's rows are then echoed alone), or echoed as `row` in front of them (with
    `message` after it, if any). No other message may appear."""
    keys = "\n1 2\n" + line + "\n" + ROWS + ENTER
    others = [m for m in MESSAGES if message is None or not message.startswith(m)]
    if row is None:
        return (name, keys, [message, ROW1, ROW1] + ECHO, others, 255)
    return (name, keys, ["Matrice dei vincoli\n" + row + "\n+x1+x2=2\n+x1-x2<1\n"] +
            ([message] if message else []), others, 255)


def cost_line(name, line, objective=None, message=None):
    """A cost line: taken with the objective echoed, or refused with `message` and asked again
    (the next line, 1 2, then gives the worked problem)."""
    if objective is not None:
        return (name, "\n" + line + "\n" + ROWS + ENTER, [objective], MESSAGES, 255)
    return (name, "\n" + line + "\n1 2\n" + ROWS + ENTER, [message, COST, COST] + ECHO,
            [m for m in MESSAGES if not message.startswith(m)], 255)


# Everything typed today outside the reader's old syntax: what is taken and how, and what is
# refused, with the one message each line earns.
CASES += [
    cost_line("decimal costs", "0.4 0.5", "Min z -> -2/5x1-1/2x2=0\n"),
    cost_line("decimal comma", "0,4 2", "Min z -> -2/5x1-2x2=0\n"),
    cost_line("signed and dotted costs", "+3 -2,75 .5 5. -.25",
              "Min z -> -3x1+11/4x2-1/2x3-5x4+1/4x5=0\n"),
    cost_line("word on the cost line", "max 3 5", message=NOT_NUMBER + "max\n"),
    cost_line("q on the cost line", "q", message=NOT_NUMBER + "q\n"),
    cost_line("relation on the cost line", "1 < 2", message=NOT_NUMBER + "<\n"),
    cost_line("glued relation on the cost line", "1<2", message=NOT_NUMBER + "1<2\n"),
    cost_line("decimal past 32 bits", "0.00000000001 1", message=BIG),
    constraint_line("relation glued to the right-hand side", "1 1 <12", row="+x1+x2<12"),
    constraint_line("relation glued to both sides", "1 1=12", row="+x1+x2=12"),
    constraint_line("no relation", "1 1 4", NO_RELATION),
    constraint_line("=<", "1 1 =< 12", row="+x1+x2<12"),
    constraint_line("=>", "1 1 => 12", row="+x1+x2>12"),
    constraint_line("<=", "1 1 <= 12", row="+x1+x2<12"),
    constraint_line(">=", "1 1 >= 12", row="+x1+x2>12"),
    constraint_line("==", "1 1 == 12", row="+x1+x2=12"),
    constraint_line("UTF-8 less or equal", "1 1 " + LE + " 12", row="+x1+x2<12"),
    constraint_line("UTF-8 greater or equal glued", "1 1" + GE + "12", row="+x1+x2>12"),
    constraint_line("two numbers after the relation", "1 1 < 4 5", ONLY_RHS),
    constraint_line("a second relation", "1 1 < = 4", ONLY_RHS),
    constraint_line("relation first", "< 1 1 4", ONLY_RHS),
    constraint_line("letters glued to numbers", "3x1 2x2 < 18", NOT_NUMBER + "3x1\n"),
    constraint_line("letters glued to a relation", "3x1<=4", NOT_NUMBER + "3x1\n"),
    constraint_line("letters", "x y < 1", NOT_NUMBER + "x\n"),
    constraint_line("<35 is < 35", "1 1 <35", row="+x1+x2<35"),
    constraint_line("3< 5 is 3 < 5", "1 3< 5", row="+x1+3x2<5"),
    constraint_line("3<=5", "3<=5", row="+3x1<5"),
    constraint_line("1 1 <9 is taken", "1 1 <9", row="+x1+x2<9"),
    constraint_line("decimals and a comma", "-2,75 1 = 3.0", row="-11/4x1+x2=3"),
    constraint_line("decimals without a digit on one side", ".5 5. > 0.25", row="+1/2x1+5x2>1/4"),
    constraint_line("decimal in a fraction", "1.5/2 1 = 2", NOT_NUMBER + "1.5/2\n"),
    constraint_line("decimal past 32 bits", "1 0.0000000001 = 2", BIG),
    constraint_line("plus alone", "+ 1 = 2", NOT_NUMBER + "+\n"),
    constraint_line("plus sign", "+3 1 = 2", row="+3x1+x2=2"),
    constraint_line("two slashes", "1/2/3 1 = 2", NOT_NUMBER + "1/2/3\n"),
    constraint_line("two signs", "--1 1 = 2", NOT_NUMBER + "--1\n"),
    constraint_line("exponent", "1e3 1 = 2", NOT_NUMBER + "1e3\n"),
    constraint_line("slash first", "/4 1 = 2", NOT_NUMBER + "/4\n"),
    constraint_line("sign and slash", "-/4 1 = 2", NOT_NUMBER + "-/4\n"),
    constraint_line("denominator a sign", "4/- 1 = 2", NOT_NUMBER + "4/-\n"),
    constraint_line("empty denominator", "4/ 1 = 2", ZERO, "+4/0x1+x2=2"),
    constraint_line("<>", "1 1 <> 4", NOT_RELATION + "<>\n"),
    constraint_line("<<", "1 1 << 4", NOT_RELATION + "<<\n"),
    constraint_line("===", "1 1 === 4", NOT_RELATION + "===\n"),
    constraint_line("UTF-8 sign and =", "1 1 " + LE + "= 4", NOT_RELATION + LE + "=\n"),
    constraint_line("tabs separate", "1\t1\t=\t2", row="+x1+x2=2"),
    constraint_line("no coefficient", "= 4", row="=4"),
    constraint_line("q after a space is a word", " q 1 > 2", NOT_NUMBER + "q\n"),
    # One message, the first that applies.
    constraint_line("bad word before bad relation", "x <> 4", NOT_NUMBER + "x\n"),
    constraint_line("bad relation before bad word", "<> x", NOT_RELATION + "<>\n"),
    constraint_line("bad word before no relation", "1 x", NOT_NUMBER + "x\n"),
    constraint_line("no relation before too large", "99999999999 1", NO_RELATION),
    constraint_line("no right-hand side before too large", "99999999999 <", NO_RHS),
    constraint_line("two numbers before too large", "99999999999 < 1 2", ONLY_RHS),
    constraint_line("no zero denominator on a refused line", "1/0 < 1 2", ONLY_RHS),
    constraint_line("too large after the structure", "1 1 < 2147483648", BIG),
    ("Q ends the constraints", "\n1 2\n1 1 = 2\n1 -1 < 1\nQ\n" + ENTER, ECHO,
     ["vincoli funzione 3 -> " + NOT_NUMBER], 255),
    ("Quit ends the constraints", "\n1 2\n1 1 = 2\n1 -1 < 1\nQuit\n" + ENTER, ECHO,
     ["vincoli funzione 3 -> " + NOT_NUMBER], 255),
    ("input ends before a cost line", "\n", [COST + NO_PROBLEM + "\n" + FINAL], [], 0),
    ("input ends after refused cost lines", "\nmax 3 5\n\n1 x",
     [NOT_NUMBER + "max\n", NOT_NUMBER + "x\n", COST + NO_PROBLEM + "\n" + FINAL],
     ["Funzione Obiettivo"], 0),
    ("last line without a newline, refused", "\n1 2\n1 1 = 2\n1 -1 <", [NO_RHS, "+x1+x2=2\n\n"],
     [], 0),
]
# End of input at every prompt and at every pause.
CASES += [(f"input ends after {n} keys", (TYPED + ENTER)[:n], [], [], 0) for n in (0, 1, 5, 13, 22)]
CASES += [(f"input ends after {n} keys", (TYPED + ENTER)[:n], ECHO, [], 0) for n in range(24, 29)]
# Binary junk, and junk made of the characters a problem is typed with.
for number in range(24):
    rng = random.Random(number)
    if number % 2:
        junk = bytes(rng.choice(b"0123456789 -/<=>q\n\r") for _ in range(rng.randint(1, 3000)))
    else:
        junk = rng.randbytes(rng.randint(1, 3000))
    CASES.append((f"junk {number}", junk, [], [], None))


def run(program, name, keys, must, must_not, status):
    keys = keys if isinstance(keys, bytes) else keys.encode("latin-1")
    try:
        done = subprocess.run([program], input=keys, capture_output=True, timeout=10)
    except subprocess.TimeoutExpired:
        return f"{name}: no answer after 10 s"
    screen = done.stdout.decode("latin-1")
    if done.returncode not in (0, 255) or status not in (None, done.returncode):
        return f"{name}: exit status {done.returncode}"
    missing = [t for t in set(must) if screen.count(t) < must.count(t)] + \
        [t for t in must_not if t in screen] + ([] if FINAL in screen else [FINAL])
    return f"{name}: wrong or missing {missing!r}" if missing else None


def main():
    failures = [f for f in (run(sys.argv[1], *case) for case in CASES) if f]
    for failure in failures:
        print("FAIL", failure)
    print(f"{len(CASES) - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
