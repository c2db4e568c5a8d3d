// Teaching mode's view of the problem before the simplex starts: the problem as a student writes
// it (the echo shows the objective row's negated costs, which reads as the opposite objective),
// and the names of the columns standard form added, under its first grid.
#pragma once

#include <iosfwd>

#include "model/tableau_store.h"

// "min z = x1 + 2x2" ("max z = ..." when maximised), one line per constraint with "<=", "=" or
// ">=", then "x1, x2 >= 0": every value in lowest terms, zero coefficients left out, a fraction
// in brackets, "(3/4)x1", so it cannot read as 3/(4x1). Lines are kept within `width`, broken
// only between terms.
void print_written_problem(const typed_problem &typed, int width, std::ostream &out);

// Under the standard-form grid, one line each: every row multiplied by -1 for its negative
// right-hand side; every column that is not a typed variable (the slack of a "<" row, the surplus
// of a ">" row, the artificial of a row, a column of no row), and a typed variable whose empty
// column became a slack or surplus; what w is, when there are artificial variables; and how an
// objective row reads. Reads s.typed and s.records, so it belongs before any row is deleted.
void print_legend(const tableau_store &s, int width, std::ostream &out);
