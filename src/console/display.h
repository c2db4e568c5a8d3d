// The problem echo and the tableau grid, written exactly as the store holds the values: no
// reduction, no sign normalisation.
#pragma once

#include <iosfwd>

#include "model/tableau_store.h"

// Echoes the problem as read, before standard form: "Min z -> ..." (under --max "Max z -> ..."
// and a line on what the tableaux minimise) and one algebraic line per constraint, from
// cost_count, row 0 and rows 1..n_rows with their lengths.
void print_problem(const tableau_store &s, std::ostream &out);

// Prints the tableau as a tab-separated grid: the header x1..x(n_cols-1) RHS, the given objective
// row between two separators, then each constraint row labelled with its basic variable.
void print_tableau(const tableau_store &s, const table_row &objective, std::ostream &out);
