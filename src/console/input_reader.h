// The keyboard reader: the cost line, then one line per constraint until a line starting with q
// (or the 99th constraint), stored in the tableau store exactly as typed.
#pragma once

#include <iosfwd>

#include "model/tableau_store.h"

// Prompts on `out` and reads the problem from `in` into the zero-filled store: negated costs in
// row 0, constraints in rows 1..n_rows with their relations and lengths beside them; sets
// cost_count, n_cols, n_rows and w_row[0..n_cols] = 0/1. A line that cannot be stored whole (too
// long, a number past 32 bits, a relation symbol that takes the right-hand side with it) is refused
// with a message and asked again. Never waits past the end of input.
void read_problem(tableau_store &s, std::istream &in, std::ostream &out);
