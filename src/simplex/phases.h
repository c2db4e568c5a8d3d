// The two phases of the method and the removal of the artificial variables between them. A phase
// can be run whole, or one pivot at a time by whoever wants to look at each tableau: begin it,
// then continue it for as many pivots as wanted; both ways take the same loop.
#pragma once

#include "model/tableau_store.h"
#include "simplex/pivot_selection.h"

// How far a phase has come.
enum class phase_end {
    running,    // a pivot is chosen and not yet taken
    optimal,    // no entering column is left
    unbounded,  // the entering column has no positive entry in any row
    infeasible, // phase 1 ended with w above 0: no point satisfies every constraint
    overflow,   // an arithmetic result did not fit: the tableau cannot be trusted
};

// A phase under way. While it runs, (row, col) is the pivot chosen next, by `rule`; after an
// unbounded end, col is the entering column that no row could leave for.
struct phase_run {
    int phase; // 1 or 2
    pivot_rule rule;
    int pivots; // pivots of the loop taken so far
    int row;
    int col;
    phase_end end;
};

// The objective row that a phase pivots on: w_row in phase 1, row 0 in phase 2.
table_row &phase_objective(tableau_store &s, const phase_run &run);

// What the removal of the artificial variables did before phase 2, in the order it was done.
// Rows are numbered as they stood before any was deleted.
struct artificial_exit {
    int row;
    int left;         // the artificial variable that left the basis
    int entered;      // the column that took its place
    fraction element; // the pivot element, as it stood before the pivot
};
struct artificial_removal {
    int n_exits;
    artificial_exit exits[max_rows];
    int n_deleted;
    int deleted_row[max_rows];
    int deleted_basic[max_rows]; // the artificial variable of that row
};

// Phase 1: chooses the first pivot on w_row.
phase_run begin_phase1(tableau_store &s);

// Phase 2: pivots every artificial variable still basic out of the basis where a non-artificial
// column allows it, deletes the rows where none does (they are redundant), drops the artificial
// columns, and chooses the first pivot on row 0. `removal` says what was done.
phase_run begin_phase2(tableau_store &s, artificial_removal &removal);

// The phase loop: takes the chosen pivot, tests for the end of the phase and chooses the next
// pivot, at most max_pivots times or until the phase ends. Returns run.end.
phase_end continue_phase(tableau_store &s, phase_run &run, int max_pivots);

constexpr int all_pivots = 1 << 30; // more than any phase can take before an end

// Each phase run whole.
phase_end run_phase1(tableau_store &s);
phase_end run_phase2(tableau_store &s);

// Removes constraint row r, moving the later rows up and clearing the last one.
void delete_row(tableau_store &s, int r);
