// The two row operations of the simplex engine: the pivot step and the pricing out of an
// objective row. Both work only through the exact fraction operations; an overflow is recorded
// in the store.
#pragma once

#include "model/tableau_store.h"

// Gauss-Jordan step on tableau[row][col]: the pivot row is divided by the pivot element, then the
// objective row and every other constraint row lose their multiple of it, in columns 1..n_cols.
// The row records are not written: the caller has recorded the entering column.
void pivot(tableau_store &s, int row, int col, table_row &objective);

// Records the pivot chosen on tableau[row][col]: col becomes the row's basic variable. Comes
// before pivot, which leaves the row records alone.
void change_basis(tableau_store &s, int row, int col);

// Brings the objective row to canonical form for the recorded basis: zero in every basic column
// and the value of the basic solution in its right-hand side. Every recorded basic column is a
// unit column (standard form records only those, and each pivot keeps it so); a column that no
// row records as basic is left alone.
void price_out(tableau_store &s, table_row &objective);
