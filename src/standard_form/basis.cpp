// Basis detection and artificial variables.
#include "standard_form/basis.h"

#include "standard_form/column_classes.h"
#include "standard_form/row_alignment.h"

namespace {

// Appends an artificial column whose only 1 lies in row r, with cost 1 in the phase-1
// objective; false (too_big set) when there is no room left for it.
bool add_artificial_column(tableau_store &s, int r) {
    int column = s.n_cols;
    if (column + 1 > max_rhs_col) {
        s.too_big = true;
        return false;
    }
    s.w_row[column] = {-1, 1};
    s.n_artificial += 1;
    widen_row(s, r);
    s.tableau[r][column] = {1, 1};
    s.records.artificial_col[s.records.origin[r]] = column;
    s.records.artificial_row[column] = s.records.origin[r];
    return true;
}

int count_unit_columns(const tableau_store &s) {
    int count = 0;
    for (int c = 1; c <= s.n_cols; ++c)
        if (s.col_class[c] == class_unit)
            ++count;
    return count;
}

void record_unit_columns(tableau_store &s) {
    for (int c = 1; c < s.n_cols; ++c) {
        if (s.col_class[c] != class_unit)
            continue;
        for (int r = 1; r <= s.n_rows; ++r)
            if (s.tableau[r][c].num == 1)
                row_basic(s, r) = c;
    }
}

} // namespace

void add_artificials(tableau_store &s) {
    for (int r = 1; r <= s.n_rows && !s.too_big; ++r) {
        if (s.relation[r] == relation_greater)
            add_artificial_column(s, r);
    }
}

void complete_basis(tableau_store &s) {
    if (s.too_big)
        return;
    classify_columns(s);
    if (count_unit_columns(s) <= s.n_rows)
        record_unit_columns(s);
    for (int r = 1; r <= s.n_rows; ++r) {
        if (row_basic(s, r) != no_basic)
            continue;
        if (!add_artificial_column(s, r))
            return;
        row_basic(s, r) = s.n_cols - 1;
        classify_columns(s);
    }
}
