// The basis of a final tableau rebuilt on the problem as typed: each basic column written with the
// typed rows' own coefficients, and the basis inverse computed from those in exact fractions,
// apart from the tableau's own arithmetic. The dual values, the ranges and the certificates are
// all read from it, so each is a statement about the typed rows that can be checked by hand.
#pragma once

#include "model/tableau_store.h"

// What a column of the standard-form tableau stands for in the typed rows.
enum class column_kind {
    typed_variable,
    slack,
    artificial,
    empty, // a zero column past the typed variables that no slack took: it stands for nothing
};
struct column_role {
    column_kind kind;
    int row;      // the typed row of a slack, surplus or artificial column; 0 for a typed variable
    int32_t sign; // a slack's or artificial's coefficient in that row as typed: +1 or -1
};

// A slack or surplus column is one whichever column it sits in (a typed variable's all-zero
// column included); a column standard form gave a row as artificial is that; the columns up to
// the typed variables' last are typed variables, any other is empty.
column_role role_of(const tableau_store &s, int col);

// The coefficient of column col in typed row i as typed: a row turned round for its negative
// right-hand side is read as typed, so its surplus enters it with +1 and its artificial with -1.
// A slack enters its "<" row with +1, a surplus its ">" row with -1.
fraction typed_entry(const tableau_store &s, int col, int i);

// The cost of column col in the typed objective, in its typed sense: a typed variable's typed
// cost, 0 for any other column. Phase 1 (`phase1`) costs 1 on an artificial column, 0 elsewhere.
fraction typed_cost(const tableau_store &s, int col, bool phase1);

// The basis of the current tableau on the typed rows. B has one column per tableau row (the
// basic column, written by typed_entry) and one row per typed row it keeps: the rows of the
// tableau, unless they do not make B invertible, when another typed row takes a kept one's place.
// Each typed row outside B (a row deleted as redundant) is a combination of the rows in it.
struct typed_basis {
    int size;                    // the basic variables: one per tableau row
    int32_t column[table_size];  // column[1..size]: the basic column of each tableau row
    bool in_b[table_size];       // typed row i is a row of B
    int inverse_row[table_size]; // row p of B^-1 is transform[inverse_row[p]]
    // Rows indexed by typed row, columns by typed row. For a row of B: the row of B^-1 named by
    // inverse_row, 0 on every typed row outside B. For a row d outside B: the multipliers of a
    // zero combination of rows, 1 on d itself and 0 on every other row outside B:
    // sum over k of transform[d][k] * (typed row k, right-hand side included) = 0.
    fraction transform[table_size][table_size];
    fraction value[table_size]; // value[1..size]: x_B = B^-1 b, the basic variables' values
    bool overflow;              // a value did not fit in 64 bits: nothing here can be trusted
};

// Rebuilds the basis of the tableau as it stands (the final tableau of phase 1, or of phase 2
// after the removal of the artificial variables), preferring the typed rows the tableau keeps.
void rebuild_basis(const tableau_store &s, typed_basis &basis);

// Entry p of B^-1 a, where a[1..typed.n_rows] is a column over the typed rows: the tableau's
// entry of that column in row p, computed apart from the tableau.
fraction basis_solve_entry(const typed_basis &basis, int p, const fraction *a, int n_rows,
                           bool &overflow);

// Column col over the typed rows, as typed_entry writes it, into a[1..typed.n_rows].
void typed_column(const tableau_store &s, int col, fraction *a);

// Entry p of B^-1 times column col: the tableau's entry of column col in row p.
fraction basis_tableau_entry(const tableau_store &s, const typed_basis &basis, int p, int col,
                             bool &overflow);

// The point of the basis over the typed variables: each basic typed variable its value, every
// other one 0 (a typed variable whose column serves as a slack appears in no row: 0 too).
void basis_point(const tableau_store &s, const typed_basis &basis, fraction *x);
