// The keyboard reader: the cost line, then one line per constraint until a line starting with q
// or Q (or the 99th constraint), each checked whole and stored exactly as typed.
#pragma once

#include <iosfwd>

#include "model/tableau_store.h"

// Prompts on `out` and reads the problem from `in` into the zero-filled store: the costs in row 0
// (negated, or as typed when s.maximise is set), constraints in rows 1..n_rows with their
// relations and lengths beside them; sets cost_count, n_cols, n_rows and
// w_row[0..n_cols] = 0/1. Numbers are integers, fractions or exact decimals ("0.4", "-2,75").
// A line that cannot be stored whole (too long, a word that is not a number or a relation word,
// a constraint without exactly one relation followed by exactly one number, a number past 32
// bits) is refused with one message and asked again. Returns false, after saying so, when the
// input ends before a cost line was accepted. Never waits past the end of input.
bool read_problem(tableau_store &s, std::istream &in, std::ostream &out);
