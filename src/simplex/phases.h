// The two phases of the method and the removal of the artificial variables between them. The
// method is one operation, `solve`, for whoever needs no screens; whoever shows the tableaus in
// between takes the same steps one by one, in this order, each saying what must come before it:
//   build_standard_form, start_phase1, continue_phase (until the phase ends), prepare_phase2,
//   begin_phase2, continue_phase (until the phase ends).
// continue_phase takes as many pivots as asked, so a phase can be watched one pivot at a time;
// a pivot chosen by hand enters the same loop through choose_pivot_by_hand, and a phase end
// declared by hand through end_phase_by_hand.
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
    too_big,    // standard form does not fit in the tables (only `solve` reports it)
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
const table_row &phase_objective(const tableau_store &s, const phase_run &run);

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

// The whole method on a problem as read_problem leaves it: standard form, both phases and the
// removal of the artificial variables between them. Returns how it ended: optimal, unbounded,
// infeasible (phase 1 ended above 0), overflow or too_big.
phase_end solve(tableau_store &s);

// After build_standard_form: prices out w_row for the starting basis and chooses the first pivot
// of phase 1 (an overflow while pricing out ends the run at once).
phase_run start_phase1(tableau_store &s);

// After a phase 1 that ended optimal at w = 0: prices out row 0 for the basis phase 1 reached.
// False when the arithmetic overflowed.
bool prepare_phase2(tableau_store &s);

// After prepare_phase2: pivots every artificial variable still basic out of the basis where a
// non-artificial column allows it, deletes the rows where none does (they are redundant), drops
// the artificial columns, and chooses the first pivot on row 0. `removal` says what was done.
phase_run begin_phase2(tableau_store &s, artificial_removal &removal);

// The phase loop: takes the chosen pivot, tests for the end of the phase and chooses the next
// pivot, at most max_pivots times or until the phase ends. Returns run.end.
phase_end continue_phase(tableau_store &s, phase_run &run, int max_pivots);

constexpr int all_pivots = 1 << 30; // more than any phase can take before an end

// A pivot chosen by hand in place of the rule's: the next continue_phase takes it, through the
// same loop as any other, and the rule in force after it follows from it (the lowest-index rule
// after a degenerate pivot). row and col must make a valid step: a positive objective entry in
// col, and row attaining the minimum ratio. It may replace an unbounded end, since a phase is
// not over while another column can still enter.
void choose_pivot_by_hand(const tableau_store &s, phase_run &run, int row, int col);

// Ends a running phase where an answer found right said it ends: at its optimum (optimal, or
// infeasible when phase 1 stops above w = 0), or unbounded along col.
void end_phase_by_hand(const tableau_store &s, phase_run &run, phase_end end, int col);

// Removes constraint row r with its records, moving the later rows up and clearing the last one.
void delete_row(tableau_store &s, int r);
