// Column classes: the zero columns, the unit columns and the rest, as row alignment and basis
// detection need them while standard form is built.
#pragma once

#include "model/tableau_store.h"

// Fills col_class[0..n_cols] from the contents of rows 0..n_rows: class_zero for a column with
// no non-zero numerator, class_unit for a column whose single non-zero cell is exactly 1/1,
// class_other otherwise; column 0 and the right-hand-side column are always class_other.
void classify_columns(tableau_store &s);
