// Phase drivers.
#include "simplex/phases.h"

#include "simplex/pivot_selection.h"
#include "simplex/pivoting.h"
#include "standard_form/basis.h"

namespace {

void clear_pivot_marks(tableau_store &s) {
    for (int i = 0; i <= s.n_rows; ++i)
        for (int j = 0; j <= s.n_cols; ++j)
            clear_pivot_mark(s.tableau[i][j]);
}

// The simplex loop on one objective row. Each phase starts with the largest-coefficient rule; a
// pivot with ratio 0 (degenerate: the objective did not move) switches to the lowest-index rule
// until a pivot moves the objective again, so no sequence of bases can repeat.
phase_end iterate(tableau_store &s, table_row &objective, bool (*optimal)(const tableau_store &),
                  void (*refresh_classes)(tableau_store &)) {
    pivot_rule rule = pivot_rule::largest_coefficient;
    for (;;) {
        int col = choose_entering(s, objective, rule);
        if (col == 0)
            return phase_end::optimal;
        int row = choose_leaving(s, col, rule);
        if (row == 0) {
            refresh_classes(s);
            return phase_end::unbounded;
        }
        bool degenerate = s.tableau[row][s.n_cols].num == 0;
        pivot(s, row, col, objective);
        if (s.overflow)
            return phase_end::overflow;
        bool finished = optimal(s);
        refresh_classes(s);
        if (finished)
            return phase_end::optimal;
        rule = degenerate ? pivot_rule::lowest_index : pivot_rule::largest_coefficient;
    }
}

int first_artificial(const tableau_store &s) {
    return s.n_cols - s.n_artificial;
}

// An artificial variable still basic after a feasible phase 1 sits at zero; any non-artificial
// column with a non-zero entry in its row can replace it without moving the solution.
void drive_out_artificials(tableau_store &s) {
    int base = first_artificial(s);
    for (int i = 1; i <= s.n_rows && !s.overflow; ++i) {
        if (row_basic(s, i) < base)
            continue;
        for (int j = 1; j < base; ++j) {
            if (s.tableau[i][j].num == 0)
                continue;
            set_pivot_mark(s.tableau[i][j]);
            row_basic(s, i) = j;
            pivot(s, i, j, s.tableau[0]);
            break;
        }
    }
}

// Rows whose basic variable is still artificial hold no constraint the others do not.
void delete_artificial_rows(tableau_store &s) {
    int base = first_artificial(s);
    for (int k = s.n_cols - 1; k >= base; --k)
        for (int i = 1; i <= s.n_rows; ++i)
            if (row_basic(s, i) == k)
                delete_row(s, i);
}

// The right-hand side moves onto the first artificial column, which drops them all.
void drop_artificial_columns(tableau_store &s) {
    int base = first_artificial(s);
    for (int i = 0; i <= s.n_rows; ++i)
        s.tableau[i][base] = s.tableau[i][s.n_cols];
    s.col_class[base] = s.col_class[s.n_cols];
    s.n_cols = base;
}

} // namespace

phase_end run_phase1(tableau_store &s) {
    clear_pivot_marks(s);
    return iterate(s, s.w_row, phase1_optimal, mark_basic_columns);
}

phase_end run_phase2(tableau_store &s) {
    drive_out_artificials(s);
    if (s.overflow)
        return phase_end::overflow;
    delete_artificial_rows(s);
    drop_artificial_columns(s);
    return iterate(s, s.tableau[0], phase2_optimal, classify_columns);
}

void delete_row(tableau_store &s, int r) {
    for (int i = r; i < s.n_rows; ++i)
        for (int j = 0; j < table_size; ++j)
            s.tableau[i][j] = s.tableau[i + 1][j];
    for (int j = 0; j < table_size; ++j)
        s.tableau[s.n_rows][j] = {0, 0, 0};
    s.n_rows -= 1;
}
