// Row alignment and relation handling: every right-hand side in one column, zero denominators
// repaired, and a slack or surplus column for every inequality.
#pragma once

#include "model/tableau_store.h"

// Moves the right-hand side of every row 0..n_rows shorter than n_cols into column n_cols
// (the cell it leaves becomes 0/1), zeroes w_row's right-hand side and gives every zero
// denominator in columns 0..n_cols (w_row included) the value 1. Called again after every
// inserted column, when it shifts each other row's right-hand side one column right.
void align_rows(tableau_store &s);

// For each constraint row in order: a negative right-hand side first turns the row round
// (every value negated, "<" and ">" swapped, recorded as negated); then a ">" row receives a
// surplus column (-1) and a "<" row a slack column (+1), recorded as its slack column. Each
// coefficient goes into the lowest all-zero column in front of the right-hand side. Sets too_big
// and stops when a column would pass column 98.
void add_slack_surplus(tableau_store &s);

// Widens row r by one column in front of its right-hand side and brings every other row level;
// false (with too_big set, nothing changed) when the right-hand side would pass column 98.
bool widen_row(tableau_store &s, int r);
