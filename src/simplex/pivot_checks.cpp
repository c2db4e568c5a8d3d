// Checks of a pivot chosen by hand.
#include "simplex/pivot_checks.h"

#include <cassert>

#include "simplex/pivot_selection.h"

namespace {

int basic_row(const tableau_store &s, int var) {
    for (int i = 1; i <= s.n_rows; ++i)
        if (row_basic(s, i) == var)
            return i;
    return 0;
}

// The first column with a positive entry in the objective row, or 0.
int first_improving(const tableau_store &s, const table_row &objective) {
    return choose_entering(s, objective, pivot_rule::lowest_index);
}

// The first row that attains the minimum ratio for column c, or 0 when no row can leave.
int first_minimum_row(const tableau_store &s, int c) {
    int best = 0;
    for (int i = 1; i <= s.n_rows; ++i) {
        if (!row_can_leave(s, i, c))
            continue;
        const fraction *row = s.tableau[i];
        const fraction *best_row = s.tableau[best];
        if (best == 0 ||
            frac_ratio_compare(row[s.n_cols], row[c], best_row[s.n_cols], best_row[c]) < 0)
            best = i;
    }
    return best;
}

// The first row that can leave for column c, or 0.
int first_eligible_row(const tableau_store &s, int c) {
    for (int i = 1; i <= s.n_rows; ++i)
        if (row_can_leave(s, i, c))
            return i;
    return 0;
}

} // namespace

entering_check check_entering(const tableau_store &s, const phase_run &run, int col) {
    if (col < 1 || col >= s.n_cols)
        return {entering_reason::not_a_column, col, 0, {0, 1}};
    if (int row = basic_row(s, col); row != 0)
        return {entering_reason::basic, col, row, {0, 1}};
    fraction entry = phase_objective(s, run)[col];
    if (!frac_is_positive(entry))
        return {entering_reason::not_improving, col, 0, entry};
    return {entering_reason::valid, col, 0, entry};
}

entering_check check_optimal(const tableau_store &s, const phase_run &run) {
    const table_row &objective = phase_objective(s, run);
    int col = first_improving(s, objective);
    bool at_zero = run.phase == 1 && s.w_row[s.n_cols].num == 0;
    if (col == 0 || at_zero)
        return {entering_reason::optimal, col, 0, {0, 1}};
    return {entering_reason::optimal_early, col, 0, objective[col]};
}

leaving_check check_leaving(const tableau_store &s, int col, int var) {
    int row = basic_row(s, var);
    if (row == 0)
        return {leaving_reason::not_basic, var, 0, 0, {0, 1}};
    fraction entry = s.tableau[row][col];
    // Every tableau of a phase is feasible, so only the entry can keep a basic row out.
    assert(!frac_is_negative(s.tableau[row][s.n_cols]));
    if (!row_can_leave(s, row, col))
        return {leaving_reason::not_positive, var, row, 0, entry};
    int min_row = first_minimum_row(s, col);
    const fraction *mine = s.tableau[row], *least = s.tableau[min_row];
    if (frac_ratio_compare(mine[s.n_cols], mine[col], least[s.n_cols], least[col]) > 0)
        return {leaving_reason::above_minimum, var, row, min_row, entry};
    return {leaving_reason::valid, var, row, min_row, entry};
}

leaving_check check_unbounded(const tableau_store &s, int col) {
    int row = first_eligible_row(s, col);
    if (row == 0)
        return {leaving_reason::unbounded, 0, 0, 0, {0, 1}};
    return {leaving_reason::unbounded_early, row_basic(s, row), row, 0, s.tableau[row][col]};
}
