// The checks of a pivot chosen by hand, one answer at a time: whether the answer is a valid step
// of the method and, when it is not, which fact rules it out, with the column, the rows and the
// entry that fact is about. Nothing is written; the wording belongs to whoever asked.
#pragma once

#include "model/tableau_store.h"
#include "simplex/phases.h"

enum class entering_reason {
    valid,         // col has a positive objective entry: a valid step, whatever the rule says
    not_a_column,  // col is not one of the variable columns 1..n_cols-1
    basic,         // col is the basic variable of `row`
    not_improving, // the objective entry of col, `entry`, is 0 or negative
    optimal,       // "ottimo" is right: no entry is positive, or phase 1 is already at w = 0
    optimal_early, // "ottimo" is not: col (the first such column) has the positive entry `entry`
};

struct entering_check {
    entering_reason reason;
    int col;
    int row;        // for basic
    fraction entry; // the objective entry of col, for valid, not_improving and optimal_early
};

enum class leaving_reason {
    valid,           // var is basic in `row`, which attains the minimum ratio (ties all valid)
    not_basic,       // var is no row's basic variable
    not_positive,    // var's `row` has the entry `entry`, 0 or negative, in the entering column
    above_minimum,   // var's `row` has a ratio above the minimum, attained first by `min_row`
    unbounded,       // "illimitato" is right: no row has a positive entry in the entering column
    unbounded_early, // "illimitato" is not: `row` (the first such row) can leave
};

struct leaving_check {
    leaving_reason reason;
    int var;
    int row;
    int min_row;    // a row attaining the minimum ratio, for valid and above_minimum
    fraction entry; // the row's entry in the entering column
};

// The entering column col proposed on the objective row of the running phase.
entering_check check_entering(const tableau_store &s, const phase_run &run, int col);

// "ottimo" proposed on the objective row of the running phase. In phase 1, w = 0 is the optimum
// even with positive entries left: every pivot still possible is degenerate.
entering_check check_optimal(const tableau_store &s, const phase_run &run);

// The leaving variable var proposed for the valid entering column col.
leaving_check check_leaving(const tableau_store &s, int col, int var);

// "illimitato" proposed for the valid entering column col.
leaving_check check_unbounded(const tableau_store &s, int col);
