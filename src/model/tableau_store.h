// The store: the whole linear program, from typed input to the final tableau, in fixed tables.
// Every operation of the system takes one tableau_store by reference; a value-initialised store
// (`tableau_store s{}`) is the zero-filled starting state.
#pragma once

#include <cstdint>

#include "model/fraction.h"

constexpr int table_size = 100; // rows and columns of the tableau
constexpr int max_rows = 99;    // constraint rows 1..99
constexpr int max_rhs_col = 98; // column 99 holds the row length, so data ends at 98
constexpr int length_col = 99;  // `num` of this column: the row's right-hand-side column

using table_row = fraction[table_size];

// Relation codes that column 0 of a constraint row holds while the problem is read and
// converted ("<", "=", ">" as typed).
constexpr int32_t relation_less = -1;
constexpr int32_t relation_equal = 0;
constexpr int32_t relation_greater = 1;

// Column classes kept in col_class.
constexpr int16_t class_zero = 0;
constexpr int16_t class_unit = 1;
constexpr int16_t class_other = 2;

// The problem as the student typed it, kept aside before standard form rewrites the tableau, so
// that a solution can be checked against the typed rows themselves.
struct typed_problem {
    fraction rows[table_size][table_size]; // rows 0..n_rows as read: relation codes, lengths
    int32_t n_rows;
    int32_t n_vars; // the typed variables x1..x(n_vars)
};

struct tableau_store {
    // Row 0: the phase-2 objective (negated costs); rows 1..n_rows: the constraints.
    // Column 0: relation code (relation_less, _equal, _greater), then the row's basic variable;
    // column n_cols: right-hand side; column 99: the row length.
    fraction tableau[table_size][table_size];
    table_row w_row; // phase-1 objective, laid out like a tableau row
    int16_t col_class[table_size];
    int32_t n_rows;
    int32_t n_cols;
    int32_t cost_count; // costs typed, plus one
    int32_t n_artificial;
    bool overflow;       // a stored result needed more than 64 bits: no result can be trusted
    bool too_big;        // a column was refused because the right-hand side would pass column 98
    typed_problem typed; // filled only where a solution is to be checked
    bool maximise;       // --max: row 0 is the row of -z, the costs as typed
};

// The row's length: the column of its right-hand side.
inline int64_t &row_length(tableau_store &s, int row) {
    return s.tableau[row][length_col].num;
}
inline int64_t row_length(const tableau_store &s, int row) {
    return s.tableau[row][length_col].num;
}

// The basic variable (or, while standard form is built, the relation code) of a row.
inline int64_t &row_basic(tableau_store &s, int row) {
    return s.tableau[row][0].num;
}
inline int64_t row_basic(const tableau_store &s, int row) {
    return s.tableau[row][0].num;
}
