// The program's whole sequence: banner, input, echo, standard form, the two phases with their
// tableaus and pauses, the verdict and the final pause.
#pragma once

#include <iosfwd>

#include "console/screen_width.h"
#include "model/tableau_store.h"

// Runs the program once on a zero-filled store, reading keys from `in` and writing screens to
// `out`; `teaching` adds the screens of every pivot and the solution spelled out and checked, and
// lays its lines out within `width` columns. Returns the exit status: -1 when the final key is
// Enter, 0 otherwise.
int run_program(tableau_store &s, std::istream &in, std::ostream &out, bool teaching,
                int width = default_screen);
