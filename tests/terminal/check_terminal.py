#!/usr/bin/env python3
"""Runs simplesso in a pseudo-terminal and types a problem key by key, as a student would.

Before each key the expected prompt must be on the screen, each typed key must be echoed by
the terminal, and at every point where the program waits for the keyboard the screen must stay
still until the key is typed. The final screen must hold the optimum and the exit status after
Enter at the final pause must be 255.  Usage: check_terminal.py path/to/simplesso
"""
import contextlib, os, pty, select, signal, sys, time

CONTINUE = "Premetere INVIO per continuare... "
# What must be on the screen, in this order, before the keys are typed.
STEPS = [
    (["Premetere INVIO per iniziare... "], "\r"),
    (["Immettere coefficenti costo", "costi funzione obiettivo -> "], "1 2\r"),
    (["vincoli funzione 1 -> "], "1 1 = 2\r"),
    (["vincoli funzione 2 -> "], "1 -1 < 1\r"),
    (["vincoli funzione 3 -> "], "q\r"),
    (["Min z -> -x1-2x2=0\n", "Matrice dei vincoli\n+x1+x2=2\n+x1-x2<1\n", CONTINUE], "\r"),
    (["Prima Fase - Tableau iniziale\n", CONTINUE], "\r"),
    (["Prima Fase - Tableau finale\n", CONTINUE], "\r"),
    (["Seconda Fase - Tableau iniziale\n", CONTINUE], "\r"),
    (["Seconda Fase - Tableau finale\n", "Soluzione Ottima!\n",
      "Premetere INVIO per terminare... "], "\r"),
]
STILL = 0.3  # how long a waiting program must leave the screen untouched
WAIT = 10.0  # the most any expected text may take to appear

pid, fd = pty.fork()
if pid == 0:
    os.execv(sys.argv[1], [sys.argv[1]])
screen, seen = "", 0  # all output so far (carriage returns dropped); how much is checked


def fail(message):
    with contextlib.suppress(ProcessLookupError):  # already gone once its status was read
        os.kill(pid, signal.SIGKILL)
    sys.exit(f"FAIL: {message}\n--- screen after the last check ---\n{screen[seen:][-1500:]}")


def read_some(timeout):
    """Adds whatever the terminal shows within `timeout` seconds; False once the program ended."""
    global screen
    if not select.select([fd], [], [], max(timeout, 0))[0]:
        return True
    try:
        data = os.read(fd, 4096)
    except OSError:  # the terminal is gone with the program
        return False
    screen += data.decode(errors="replace").replace("\r", "")
    return bool(data)


def wait_for(text):
    global seen
    deadline = time.monotonic() + WAIT
    while text not in screen[seen:]:
        if time.monotonic() > deadline or not read_some(deadline - time.monotonic()):
            fail(f"never shown: {text!r}")
    seen = screen.index(text, seen) + len(text)


for texts, keys in STEPS:
    for text in texts:
        wait_for(text)
    end = time.monotonic() + STILL
    while time.monotonic() < end and read_some(end - time.monotonic()):
        pass
    if screen[seen:]:
        fail(f"the screen moved on before a key was typed: {screen[seen:]!r}")
    if texts[0].startswith("Seconda Fase - Tableau finale"):
        final = screen[screen.rindex(texts[0]):]
        lines = [line.split() for line in final.splitlines()]
        rows = {words[0]: words[-1] for words in lines if len(words) > 1}
        rule = next(i for i, words in enumerate(lines) if words and words[0].startswith("---"))
        objective = lines[rule + 1][-1]  # the objective row lies under the first rule
        if (rows.get("x2"), rows.get("x1"), objective) != ("1/2", "3/2", "5/2"):
            fail(f"final values x2={rows.get('x2')} x1={rows.get('x1')} value={objective}")
    for key in keys:
        os.write(fd, key.encode())
        wait_for("\n" if key == "\r" else key)  # the terminal echoes every key

deadline = time.monotonic() + WAIT
while (done := os.waitpid(pid, os.WNOHANG))[0] == 0:
    if time.monotonic() > deadline:
        fail("the program did not end after the final Enter")
    read_some(0.05)
status = os.waitstatus_to_exitcode(done[1])
if status != 255:
    fail(f"exit status {status}, expected 255")
print(f"terminal session checked: {len(STEPS)} waits, {sum(len(k) for _, k in STEPS)} keys")
