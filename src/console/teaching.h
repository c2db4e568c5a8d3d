// What teaching mode adds to the screens: the choice behind every pivot with its ratio test, the
// removal of the artificial variables, and after the verdict the solution spelled out and checked
// against the problem as typed. Everything here only reads the store.
#pragma once

#include <iosfwd>

#include "console/number_text.h"
#include "model/tableau_store.h"
#include "simplex/phases.h"

// The pivot a running phase has chosen: "Entra x.., esce x.. (riga ..), elemento pivot ..", the
// ratio test of every row with a positive entry in the entering column, the chosen row marked,
// and a line when the lowest-index rule made the choice.
void print_choice(const tableau_store &s, const phase_run &run, std::ostream &out);

// The parts of print_choice, for a pivot chosen by hand: the "Entra ..." line with the ratio test
// of run.col, run.row marked; the ratio test alone, `row` marked; the lowest-index line when that
// rule is in force.
void print_pivot(const tableau_store &s, const phase_run &run, std::ostream &out);
void print_ratio_test(const tableau_store &s, int col, int row, std::ostream &out);
void print_rule_note(const phase_run &run, std::ostream &out);

// The ratio rhs / entry of a row, in lowest terms, as the ratio test shows it.
number_text ratio_form(fraction rhs, fraction entry);

// One line for each artificial variable pivoted out of the basis and each redundant row deleted.
void print_removal(const artificial_removal &removal, std::ostream &out);

// After "Soluzione Ottima!": the typed variables, the optimum (the maximum of z under --max), and
// the check of both.
void print_solution(const tableau_store &s, std::ostream &out);

// After "Problema inammissibile!": the minimum of phase 1.
void print_infeasible(const tableau_store &s, std::ostream &out);

// After "Problema illimitato!": the column along which z decreases without bound (grows, under
// --max).
void print_unbounded(const tableau_store &s, const phase_run &run, std::ostream &out);

// Checks the point x[1..typed.n_vars] with objective value z against the typed problem, in exact
// arithmetic: every value at least 0, every row's relation, and c*x = z (named max z when the
// typed objective is maximised). Prints "Verifica: ..." when all hold, otherwise
// "Verifica fallita: " and the first check that failed.
void print_verification(const typed_problem &typed, const fraction *x, fraction z,
                        std::ostream &out);
