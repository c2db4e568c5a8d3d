// Pivot step and pricing out.
#include "simplex/pivoting.h"

#include <cstdint>

namespace {

// row[j] = row[j] - e * pivot_row[j], with e read once before the loop.
void eliminate(tableau_store &s, fraction *row, fraction e, const fraction *pivot_row) {
    for (int j = 1; j <= s.n_cols; ++j)
        row[j] = frac_sub_mul(row[j], e, pivot_row[j], s.overflow);
}

uint64_t magnitude(int32_t v) {
    return v < 0 ? -static_cast<int64_t>(v) : v;
}

// A zero multiplier adds 0/q to the cell, q being what the trial division leaves of the product
// of the two denominators; when that product is at most 101 it is itself the first divisor that
// divides it, so q is 1. The sum is then the cell sign-normalised and trial-divided, which is the
// cell as it stands when its denominator is positive and a field of 1 leaves no common factor.
// Any other cell goes through the arithmetic: 0 added can still change its form (11/22 becomes
// 1/2, and 1/2 plus 0/103 becomes 103/206).
bool kept_by_zero_multiplier(fraction cell, fraction e, fraction pivot_entry) {
    uint64_t den_product = magnitude(e.den) * magnitude(pivot_entry.den);
    return den_product >= 1 && den_product <= 101 && cell.den > 0 &&
           (cell.den == 1 || cell.num == 1 || cell.num == -1);
}

// eliminate for a row that is zero in the pivot column, the common case on sparse problems.
void eliminate_by_zero(tableau_store &s, fraction *row, fraction e, const fraction *pivot_row) {
    for (int j = 1; j <= s.n_cols; ++j)
        if (!kept_by_zero_multiplier(row[j], e, pivot_row[j]))
            row[j] = frac_sub_mul(row[j], e, pivot_row[j], s.overflow);
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
    fraction inverse = frac_reciprocal(pivot_row[col]);
    for (int j = 1; j <= s.n_cols; ++j)
        pivot_row[j] = frac_mul(pivot_row[j], inverse, s.overflow);
    // The objective row goes first, always from the normalised pivot row.
    eliminate(s, objective, objective[col], pivot_row);
    for (int i = 1; i <= s.n_rows; ++i) {
        if (i == row)
            continue;
        fraction e = s.tableau[i][col];
        if (e.num == 0)
            eliminate_by_zero(s, s.tableau[i], e, pivot_row);
        else
            eliminate(s, s.tableau[i], e, pivot_row);
    }
}

void change_basis(tableau_store &s, int row, int col) {
    set_pivot_mark(s.tableau[row][col]);
    row_basic(s, row) = col;
}

void price_out(tableau_store &s, table_row &objective) {
    for (int j = 1; j <= s.n_cols; ++j) {
        if (s.col_class[j] != class_unit || objective[j].num == 0)
            continue;
        int i = basic_row_of(s, j);
        if (i == 0)
            continue; // a unit column outside the basis: nothing to price out against
        // objective[k] = objective[k] + (-objective[j]) * tableau[i][k]
        eliminate(s, objective, objective[j], s.tableau[i]);
    }
}
