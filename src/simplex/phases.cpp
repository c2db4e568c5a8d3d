// Phase drivers.
#include "simplex/phases.h"

#include <cassert>

#include "simplex/pivoting.h"
#include "standard_form/standard_form.h"

namespace {

// A phase 1 that ends with w above 0 has found no point that satisfies every constraint.
void end_phase(const tableau_store &s, phase_run &run, phase_end end) {
    bool w_positive = s.w_row[s.n_cols].num != 0;
    if (run.phase == 1 && end != phase_end::overflow) {
        // w is a sum of variables that are never negative.
        assert(!frac_is_negative(s.w_row[s.n_cols]));
        if (w_positive)
            end = phase_end::infeasible;
    }
    run.end = end;
}

// Chooses the next pivot by the rule in force, or ends the phase when there is none.
void choose_pivot(tableau_store &s, phase_run &run) {
    run.col = choose_entering(s, phase_objective(s, run), run.rule);
    if (run.col == 0) {
        end_phase(s, run, phase_end::optimal);
        return;
    }
    run.row = choose_leaving(s, run.col, run.rule);
    if (run.row == 0) {
        // w, a sum of variables that are never negative, cannot decrease without bound.
        assert(run.phase == 2);
        end_phase(s, run, phase_end::unbounded);
    }
}

// One turn of the loop. Each phase starts with the largest-coefficient rule; a pivot with ratio 0
// (degenerate: the objective did not move) switches to the lowest-index rule until a pivot moves
// the objective again, so no sequence of bases can repeat. The phase ends in choose_pivot, when
// no column can enter or no row can leave: once every objective entry but the pivot column's is
// negative, no column can enter, so no separate optimality test is needed.
void take_pivot(tableau_store &s, phase_run &run) {
    table_row &objective = phase_objective(s, run);
    bool degenerate = s.tableau[run.row][s.n_cols].num == 0;
    change_basis(s, run.row, run.col);
    pivot(s, run.row, run.col, objective);
    run.pivots += 1;
    if (s.overflow) {
        end_phase(s, run, phase_end::overflow);
        return;
    }
    run.rule = degenerate ? pivot_rule::lowest_index : pivot_rule::largest_coefficient;
    choose_pivot(s, run);
}

phase_run start(tableau_store &s, int phase) {
    phase_run run{phase, pivot_rule::largest_coefficient, 0, 0, 0, phase_end::running};
    choose_pivot(s, run);
    return run;
}

int first_artificial(const tableau_store &s) {
    return s.n_cols - s.n_artificial;
}

// An artificial variable still basic after a feasible phase 1 sits at zero; any non-artificial
// column with a non-zero entry in its row can replace it without moving the solution.
void drive_out_artificials(tableau_store &s, artificial_removal &removal) {
    int base = first_artificial(s);
    for (int i = 1; i <= s.n_rows && !s.overflow; ++i) {
        if (row_basic(s, i) < base)
            continue;
        for (int j = 1; j < base; ++j) {
            if (s.tableau[i][j].num == 0)
                continue;
            removal.exits[removal.n_exits++] = {i, static_cast<int>(row_basic(s, i)), j,
                                                s.tableau[i][j]};
            change_basis(s, i, j);
            pivot(s, i, j, s.tableau[0]);
            break;
        }
    }
}

// Rows whose basic variable is still artificial hold no constraint the others do not. They are
// listed first, as numbered before any deletion moves them, then deleted from the last up.
void delete_artificial_rows(tableau_store &s, artificial_removal &removal) {
    int base = first_artificial(s);
    for (int k = s.n_cols - 1; k >= base; --k)
        for (int i = 1; i <= s.n_rows; ++i)
            if (row_basic(s, i) == k) {
                removal.deleted_row[removal.n_deleted] = i;
                removal.deleted_basic[removal.n_deleted++] = k;
            }
    for (int i = s.n_rows; i >= 1; --i) {
        if (row_basic(s, i) < base)
            continue;
        // drive_out_artificials found no non-zero entry outside the artificial columns.
        for (int j = 1; j < base; ++j)
            assert(s.tableau[i][j].num == 0);
        s.records.deleted[s.records.origin[i]] = true;
        delete_row(s, i);
    }
}

// The right-hand side moves onto the first artificial column, which drops them all.
void drop_artificial_columns(tableau_store &s) {
    int base = first_artificial(s);
    for (int i = 0; i <= s.n_rows; ++i)
        s.tableau[i][base] = s.tableau[i][s.n_cols];
    s.n_cols = base;
}

} // namespace

table_row &phase_objective(tableau_store &s, const phase_run &run) {
    return run.phase == 1 ? s.w_row : s.tableau[0];
}

const table_row &phase_objective(const tableau_store &s, const phase_run &run) {
    return run.phase == 1 ? s.w_row : s.tableau[0];
}

phase_end solve(tableau_store &s) {
    build_standard_form(s);
    if (s.too_big)
        return phase_end::too_big;
    phase_run run = start_phase1(s);
    if (continue_phase(s, run, all_pivots) != phase_end::optimal)
        return run.end;
    if (!prepare_phase2(s))
        return phase_end::overflow;
    artificial_removal removal;
    run = begin_phase2(s, removal);
    return continue_phase(s, run, all_pivots);
}

phase_run start_phase1(tableau_store &s) {
    price_out(s, s.w_row);
    if (s.overflow)
        return {1, pivot_rule::largest_coefficient, 0, 0, 0, phase_end::overflow};
    return start(s, 1);
}

bool prepare_phase2(tableau_store &s) {
    price_out(s, s.tableau[0]);
    return !s.overflow;
}

phase_run begin_phase2(tableau_store &s, artificial_removal &removal) {
    // Phase 2 follows only a phase 1 that reached w = 0 (an infeasible end stops the program), so
    // every artificial variable still basic is at zero and pivoting it out keeps the point.
    assert(s.w_row[s.n_cols].num == 0);
    // prepare_phase2 has priced out row 0: every basic column is zero there.
    for (int i = 1; i <= s.n_rows; ++i)
        assert(s.tableau[0][row_basic(s, i)].num == 0);
    removal.n_exits = 0;
    removal.n_deleted = 0;
    drive_out_artificials(s, removal);
    if (s.overflow)
        return {2, pivot_rule::largest_coefficient, 0, 0, 0, phase_end::overflow};
    delete_artificial_rows(s, removal);
    drop_artificial_columns(s);
    return start(s, 2);
}

phase_end continue_phase(tableau_store &s, phase_run &run, int max_pivots) {
    for (int k = 0; k < max_pivots && run.end == phase_end::running; ++k)
        take_pivot(s, run);
    return run.end;
}

void choose_pivot_by_hand(const tableau_store &s, phase_run &run, int row, int col) {
    // A step that does not improve, or a row that cannot leave, would break the loop's promise
    // that every tableau is feasible and the objective never rises.
    assert(frac_is_positive(phase_objective(s, run)[col]) && row_can_leave(s, row, col));
    assert(run.end == phase_end::running || run.end == phase_end::unbounded);
    run.row = row;
    run.col = col;
    run.end = phase_end::running;
}

void end_phase_by_hand(const tableau_store &s, phase_run &run, phase_end end, int col) {
    if (end == phase_end::unbounded) {
        // w is never negative, so phase 1 is never unbounded; and no row may leave for col.
        assert(run.phase == 2 && choose_leaving(s, col, run.rule) == 0);
        run.col = col;
    } else {
        assert(end == phase_end::optimal);
        // Phase 1 may stop at w = 0 with positive entries left: every further pivot is degenerate.
        assert(choose_entering(s, phase_objective(s, run), run.rule) == 0 ||
               (run.phase == 1 && s.w_row[s.n_cols].num == 0));
    }
    end_phase(s, run, end);
}

void delete_row(tableau_store &s, int r) {
    for (int i = r; i < s.n_rows; ++i) {
        for (int j = 0; j < table_size; ++j)
            s.tableau[i][j] = s.tableau[i + 1][j];
        s.relation[i] = s.relation[i + 1];
        s.basic[i] = s.basic[i + 1];
        s.length[i] = s.length[i + 1];
        s.records.origin[i] = s.records.origin[i + 1];
    }
    int last = s.n_rows;
    for (int j = 0; j < table_size; ++j)
        s.tableau[last][j] = {0, 0};
    s.relation[last] = relation_equal;
    s.basic[last] = no_basic;
    s.length[last] = 0;
    s.records.origin[last] = 0;
    s.n_rows -= 1;
}
