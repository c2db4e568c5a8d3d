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
     [NO_RHS, ROW1, ROW1] + ECHO, ["+x1+x2+2x3<0"], 255),
    ("relation symbol alone", "\n1 2\n<\n" + ROWS + ENTER, [NO_RHS, ROW1, ROW1] + ECHO, ["\n<0\n"],
     255),
    ("relation glued to a one-digit number", "\n1 2\n1 1 =2\n" + ROWS + ENTER,
     [NO_RHS, ROW1, ROW1] + ECHO, ["+x1+x2=0"], 255),
    ("two-character relation ends the line", "\n1 2\n1 1 <=\n" + ROWS + ENTER,
     [NO_RHS, ROW1, ROW1] + ECHO, [], 255),
    ("missing right-hand side before a number past 32 bits",
     "\n1 2\n99999999999 1/0 >=\n" + ROWS + ENTER, [NO_RHS] + ECHO, [BIG, ZERO], 255),
    ("two-character relations", "\n1 2\n1 1 == 2\n1 -1 <= 1\nq\n" + ENTER, ECHO + ["\tx4\tRHS\n"],
     ["\tx5\t", NO_RHS], 255),
    ("doubled spaces read as one", "\n1  2\n1  1 =  2\n1 -1 < 1\nq\n" + ENTER, ECHO, [], 255),
    ("three spaces and two leading spaces add zeros", "\n1 2\n1   1 = 2\n  1 1 = 2\nq\n" + ENTER,
     ["+x1+x3=2\n+x2+x3=2"], [], 255),
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
    ("NUL bytes", "\n1\x002\n1 1 \x00= 2\n\x00\n1 -1 < 1\nq\n" + ENTER, [], [], 255),
    ("CR-LF line ends", TYPED.replace("\n", "\r\n") + "\r\n" * 3, ECHO, [], 0),
    ("100 rows", "\n1 1\n" + "1 1 < 5\n" * 100 + ENTER, ["vincoli funzione 99 -> ",
     "error: problema troppo grande!"], ["vincoli funzione 100 -> "], 0),
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
