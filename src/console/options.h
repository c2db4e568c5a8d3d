// The command line: the mode of the run, or an answer (usage text, version, refusal) given
// instead of a run.
#pragma once

#include <iosfwd>

struct program_options {
    bool teaching; // -p, --passi: every pivot, the solution and its check on screen as well
    bool exercise; // -e, --esercizio: teaching mode that asks the student for every pivot
    bool maximise; // -m, --max: the typed objective is maximised
    bool answered; // help, version or a refused argument was written: the program must not run
    int status;    // the exit status when answered
};

// Reads argv[1..argc-1], writing the usage text or the version to `out` and a refusal to `err`.
// The answer does not depend on the order of the arguments: the first unknown argument refuses
// the whole line (status 2); otherwise -h/--help answers, then --version (status 0); otherwise
// the program runs, in teaching mode when -p/--passi appears, in exercise mode (teaching mode
// that asks) when -e/--esercizio does, and maximising when -m/--max does (once or more, in any
// order). No arguments: a plain run, nothing written.
program_options parse_options(int argc, const char *const *argv, std::ostream &out,
                              std::ostream &err);
