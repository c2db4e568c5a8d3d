// The program's whole sequence: banner, input, echo, standard form, the two phases with their
// tableaus and pauses, the verdict and the final pause.
#pragma once

#include <iosfwd>

#include "model/tableau_store.h"

// Runs the program once on a zero-filled store, reading keys from `in` and writing screens to
// `out`; `teaching` asks for the teaching screens as well. Returns the exit status: -1 when the
// final key is Enter, 0 otherwise.
int run_program(tableau_store &s, std::istream &in, std::ostream &out, bool teaching);
