// Pivot step and pricing out.
#include "simplex/pivoting.h"

#include <cassert>

namespace {

// row[j] = row[j] - e * pivot_row[j], with e read once before the loop.
void eliminate(tableau_store &s, fraction *row, fraction e, const fraction *pivot_row) {
    frac_sub_mul_row(row, e, pivot_row, 1, s.n_cols, s.overflow);
}

int basic_row_of(const tableau_store &s, int column) {
    for (int i = 1; i <= s.n_rows; ++i)
        if (row_basic(s, i) == column)
            return i;
    return 0;
}

} // namespace

void pivot(tableau_store &s, int row, int col, table_row &objective) {
    fraction *pivot_row = s.tableau[row];
    // The leaving-row choice takes only strictly positive entries, and the removal of the
    // artificial variables only non-zero ones.
    assert(pivot_row[col].num != 0);
    fraction inverse = frac_reciprocal(pivot_row[col]);
    for (int j = 1; j <= s.n_cols; ++j)
        pivot_row[j] = frac_mul(pivot_row[j], inverse, s.overflow);
    // The objective row goes first, always from the normalised pivot row.
    eliminate(s, objective, objective[col], pivot_row);
    for (int i = 1; i <= s.n_rows; ++i) {
        if (i == row)
            continue;
        eliminate(s, s.tableau[i], s.tableau[i][col], pivot_row);
    }
}

void change_basis(tableau_store &s, int row, int col) {
    row_basic(s, row) = col;
}

void price_out(tableau_store &s, table_row &objective) {
    for (int j = 1; j <= s.n_cols; ++j) {
        if (objective[j].num == 0)
            continue;
        int i = basic_row_of(s, j);
        if (i == 0)
            continue; // not basic: nothing to price out against
        // objective[k] = objective[k] + (-objective[j]) * tableau[i][k]
        eliminate(s, objective, objective[j], s.tableau[i]);
    }
}
