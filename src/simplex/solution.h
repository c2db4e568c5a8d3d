// The basic solution a final tableau shows, read back in the terms of the problem as typed.
#pragma once

#include "model/tableau_store.h"

struct basic_solution {
    fraction x[table_size]; // x[1..n_vars], the typed variables
    int n_vars;
    fraction z; // the typed objective's value: the maximum when the typed costs are maximised
};

// After a phase 2 that ended optimal: every typed variable that is basic takes its row's
// right-hand side, every other one 0. A typed variable whose all-zero column standard form gave
// to a slack or surplus appears in no row and costs nothing: it is 0 whatever that slack's value.
// The objective row's right-hand side is the value of the minimised objective, which is -z when the
// typed objective is maximised.
basic_solution read_solution(const tableau_store &s);
