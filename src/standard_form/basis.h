// Basis detection and artificial variables: the starting basis of phase 1 and its objective.
#pragma once

#include "model/tableau_store.h"

// Fills col_class[0..n_cols] from the contents of rows 0..n_rows: class_zero for a column with
// no non-zero numerator, class_unit for a column whose single non-zero cell is exactly 1/1,
// class_other otherwise; column 0 and the right-hand-side column are always class_other.
void classify_columns(tableau_store &s);

// Fills col_class[1..n_cols] from the recorded basis: class_unit for each row's basic column,
// class_other for every other column.
void mark_basic_columns(tableau_store &s);

// Gives every row still coded ">" an artificial column (code cleared, -1 in w_row).
void add_artificials(tableau_store &s);

// Records each unit column as the basic variable of the row that holds its 1 (the highest column
// wins a row; nothing is recorded when there are more unit columns than rows), then gives every
// row without one an artificial column as its basic variable.
void complete_basis(tableau_store &s);
