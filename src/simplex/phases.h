// The two phases of the method and the removal of the artificial variables between them.
#pragma once

#include "model/tableau_store.h"

// How a phase ended.
enum class phase_end {
    optimal,   // no entering column is left
    unbounded, // an entering column has no positive entry in any row
    overflow,  // an arithmetic result did not fit: the tableau cannot be trusted
};

// Phase 1: clears the pivot marks, then pivots on w_row until it is optimal.
phase_end run_phase1(tableau_store &s);

// Phase 2: pivots every artificial variable still basic out of the basis where a non-artificial
// column allows it, deletes the rows where none does (they are redundant), drops the artificial
// columns, then pivots on row 0 until it is optimal or shows the problem unbounded.
phase_end run_phase2(tableau_store &s);

// Removes constraint row r, moving the later rows up and clearing the last one.
void delete_row(tableau_store &s, int r);
