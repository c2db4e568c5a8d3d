// Entering column, leaving row, optimality tests.
#include "simplex/pivot_selection.h"

namespace {

// The single-precision rule of the entering column: each field rounded to the nearest float
// (exact up to 2^24, rounded past it), then divided.
float entry_value(fraction f) {
    return static_cast<float>(f.num) / static_cast<float>(f.den);
}

// Does row i beat the best row so far for column c?
bool better_row(const tableau_store &s, int i, int best, int c, pivot_rule rule) {
    const fraction *row = s.tableau[i];
    const fraction *best_row = s.tableau[best];
    int order = frac_ratio_compare(row[s.n_cols], row[c], best_row[s.n_cols], best_row[c]);
    if (order != 0)
        return order < 0;
    return rule == pivot_rule::lowest_index && row_basic(s, i) < row_basic(s, best);
}

} // namespace

int choose_entering(const tableau_store &s, const table_row &objective, pivot_rule rule) {
    float best_value = 0.0f;
    int best_column = 0;
    for (int j = 1; j < s.n_cols; ++j) {
        if (rule == pivot_rule::lowest_index) {
            if (frac_is_positive(objective[j]))
                return j;
            continue;
        }
        float value = entry_value(objective[j]);
        if (value > best_value) {
            best_value = value;
            best_column = j;
        }
    }
    return best_column;
}

int choose_leaving(const tableau_store &s, int c, pivot_rule rule) {
    int best = 0;
    for (int i = 1; i <= s.n_rows; ++i) {
        if (!row_can_leave(s, i, c))
            continue;
        if (best == 0 || better_row(s, i, best, c, rule))
            best = i;
    }
    return best;
}

bool row_can_leave(const tableau_store &s, int i, int c) {
    return frac_is_positive(s.tableau[i][c]) && !frac_is_negative(s.tableau[i][s.n_cols]);
}
