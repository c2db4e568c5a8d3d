// Row alignment, slack and surplus columns.
#include "standard_form/row_alignment.h"

#include <cassert>

#include "standard_form/column_classes.h"

namespace {

// Moves a right-hand side; the vacated cell reads as an empty coefficient.
void move_rhs(fraction *row, int from, int to) {
    row[to] = row[from];
    row[from] = {0, 1};
}

// The row turned round: each cell changes sign where it carries it (the denominator when that is
// negative, the numerator otherwise), and "<" and ">" trade places. A negative right-hand side
// would otherwise start the simplex from an infeasible basis.
void negate_row(tableau_store &s, int r) {
    for (int j = 1; j <= s.n_cols; ++j) {
        fraction &f = s.tableau[r][j];
        if (f.den < 0 && f.den != INT64_MIN)
            f.den = -f.den;
        else if (f.num != INT64_MIN)
            f.num = -f.num;
        else
            f = frac_negate(f); // only the denominator can take the sign
    }
    int32_t &code = s.relation[r];
    if (code == relation_less)
        code = relation_greater;
    else if (code == relation_greater)
        code = relation_less;
    s.records.negated[s.records.origin[r]] = true;
}

// Lowest column of the unbroken run of all-zero columns that ends in front of the right-hand side.
int slack_target(tableau_store &s) {
    classify_columns(s);
    // classify_columns gives column 0 class_other, so the scan stops at column 1 at the latest
    // (a widened row reaches column 2 or beyond) and never reads in front of the row.
    assert(s.col_class[0] == class_other && s.n_cols >= 2);
    int k = s.n_cols - 1;
    while (s.col_class[k - 1] == class_zero)
        --k;
    return k;
}

// The slack or surplus column lands in the lowest all-zero column, which may be a typed
// variable's that no constraint uses; the record says which column it became.
bool insert_column(tableau_store &s, int r, int32_t coefficient) {
    if (!widen_row(s, r))
        return false;
    int column = slack_target(s);
    s.tableau[r][column] = {coefficient, 1};
    s.records.slack_col[s.records.origin[r]] = column;
    return true;
}

} // namespace

void align_rows(tableau_store &s) {
    for (int i = 0; i <= s.n_rows; ++i) {
        int length = row_length(s, i);
        if (length < s.n_cols) {
            row_length(s, i) = s.n_cols;
            move_rhs(s.tableau[i], length, s.n_cols);
        }
    }
    s.w_row[s.n_cols].num = 0;
    for (int i = 0; i <= s.n_rows; ++i)
        for (int j = 0; j <= s.n_cols; ++j)
            if (s.tableau[i][j].den == 0)
                s.tableau[i][j].den = 1;
    for (int j = 0; j <= s.n_cols; ++j)
        if (s.w_row[j].den == 0)
            s.w_row[j].den = 1;
}

bool widen_row(tableau_store &s, int r) {
    int length = row_length(s, r);
    if (length + 1 > max_rhs_col) {
        s.too_big = true;
        return false;
    }
    move_rhs(s.tableau[r], length, length + 1);
    row_length(s, r) = length + 1;
    s.n_cols = length + 1;
    align_rows(s);
    return true;
}

void add_slack_surplus(tableau_store &s) {
    for (int i = 1; i <= s.n_rows; ++i) {
        if (frac_is_negative(s.tableau[i][s.n_cols]))
            negate_row(s, i);
        int code = s.relation[i];
        if (code == relation_greater && !insert_column(s, i, -1))
            return;
        if (code == relation_less && !insert_column(s, i, 1))
            return;
    }
}
