// The decisions of each simplex iteration: the entering column and the leaving row. A phase is
// optimal when no column can enter.
#pragma once

#include "model/tableau_store.h"

// How the entering column and ties between leaving rows are chosen. The largest-coefficient rule
// is the usual one; the lowest-index rule (Bland's) takes over after a degenerate pivot, because
// it cannot cycle.
enum class pivot_rule { largest_coefficient, lowest_index };

// The entering column among 1..n_cols-1, or 0 when no objective entry is strictly positive.
// largest_coefficient: the largest single-precision value, the lowest column on ties;
// lowest_index: the first strictly positive entry.
int choose_entering(const tableau_store &s, const table_row &objective, pivot_rule rule);

// Whether row i takes part in the minimum-ratio test for column c: a strictly positive entry in
// c and a right-hand side of zero or more. The choice of the leaving row and every screen that
// shows the test ask this one question.
bool row_can_leave(const tableau_store &s, int i, int c);

// The leaving row for column c by the exact minimum-ratio test over the rows that can leave; ties
// go to the lowest row (largest_coefficient) or to the row with the lowest basic variable
// (lowest_index). Returns 0 when no row has a positive entry in c. Only chooses: change_basis
// records the choice.
int choose_leaving(const tableau_store &s, int c, pivot_rule rule);
