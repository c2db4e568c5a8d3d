// The check of a solution against the problem as typed, in exact arithmetic: what the student
// would verify by hand, computed apart from the tableau that produced the solution.
#pragma once

#include "model/tableau_store.h"

enum class check_outcome {
    passed,
    negative_value,    // x[index] < 0
    row_violated,      // a_index * x against b_index breaks the row's relation
    objective_differs, // c*x is not z
    overflow,          // an intermediate did not fit: nothing could be decided
};

struct solution_check {
    check_outcome outcome;
    int index;        // the variable or the row that failed
    int32_t relation; // the failed row's relation
    fraction lhs;     // x[index], a_index * x, or c*x
    fraction rhs;     // b_index, or z
};

// Checks x[1..typed.n_vars] with objective value z (in the typed sense) against the typed
// problem: every value at least 0, every row's relation, then c*x = z; reports the first check
// that fails, in that order.
solution_check check_solution(const typed_problem &typed, const fraction *x, fraction z);
