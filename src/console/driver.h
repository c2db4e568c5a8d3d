// The program's whole sequence: banner, input, echo, standard form, the two phases with their
// tableaus and pauses, the verdict and the final pause.
#pragma once

#include <iosfwd>

#include "console/screen_width.h"
#include "model/tableau_store.h"

// What the command line asked of a run.
struct run_mode {
    bool teaching; // add the screens of every pivot and the solution spelled out and checked
    bool maximise; // the typed objective is maximised: the tableaux minimise -z
    bool exercise = false; // teaching mode that asks the student for every pivot
    int width = 0;         // of the screen, for the lines laid out to fit it; 0 for the default
};

// Runs the program once on a zero-filled store, reading keys from `in` and writing screens to
// `out`. Returns the exit status: -1 when the final key is Enter, 0 otherwise.
int run_program(tableau_store &s, std::istream &in, std::ostream &out, run_mode mode);
