// The store: the whole linear program, from typed input to the final tableau, in fixed tables.
// Every operation of the system takes one tableau_store by reference; a value-initialised store
// (`tableau_store s{}`) is the zero-filled starting state.
#pragma once

#include <cstdint>

#include "model/fraction.h"

constexpr int table_size = 100; // rows and columns of the tableau
constexpr int max_rows = 99;    // constraint rows 1..99
constexpr int max_rhs_col = 98; // data ends at column 98

using table_row = fraction[table_size];

// Relation codes of a constraint row ("<", "=", ">" as typed).
constexpr int32_t relation_less = -1;
constexpr int32_t relation_equal = 0;
constexpr int32_t relation_greater = 1;

// The basic variable of a row that has none yet (column 0 is never a variable).
constexpr int32_t no_basic = 0;

// Column classes kept in col_class.
constexpr int16_t class_zero = 0;
constexpr int16_t class_unit = 1;
constexpr int16_t class_other = 2;

// The problem as the student typed it, kept before standard form rewrites the tableau, so that
// a solution, its dual values and its certificates can be checked against the typed rows.
// Costs are those of the objective in its typed sense (to be maximised when `maximise`).
struct typed_problem {
    fraction cost[table_size];          // c[1..n_vars]
    fraction a[table_size][table_size]; // a[1..n_rows][1..n_vars], 0 past a short row's end
    fraction b[table_size];             // b[1..n_rows]
    int32_t relation[table_size];       // relation[1..n_rows]: relation_less, _equal, _greater
    int32_t n_rows;
    int32_t n_vars; // the typed variables x1..x(n_vars)
    bool maximise;
};

// What standard form did to each typed row, and where each current row came from. Columns are
// those of the standard-form tableau; 0 means none.
struct row_records {
    // Per typed row 1..typed.n_rows.
    int32_t slack_col[table_size];      // its slack ("<") or surplus (">") column
    int32_t artificial_col[table_size]; // the artificial column standard form gave it
    bool negated[table_size];           // multiplied by -1 for its negative right-hand side
    bool deleted[table_size];           // deleted as redundant before phase 2
    // Per current constraint row 1..n_rows.
    int32_t origin[table_size]; // the typed row it came from
    // Per column: the typed row an artificial column was given to, 0 for every other column. A
    // row may receive two (a ">" row when complete_basis records no unit column), and only the
    // later one is its artificial_col, so the column itself says whose it is.
    int32_t artificial_row[table_size];
};

struct tableau_store {
    // Row 0: the phase-2 objective (negated costs); rows 1..n_rows: the constraints. Column
    // n_cols is the right-hand side; columns 0 and 99 of the cells carry nothing.
    fraction tableau[table_size][table_size];
    table_row w_row; // phase-1 objective, laid out like a tableau row
    // Per row, beside the cells.
    int32_t relation[table_size];  // rows 1..n_rows: the relation, turned round with a negated row
    int32_t basic[table_size];     // rows 1..n_rows: the basic variable's column, or no_basic
    int32_t length[table_size];    // rows 0..n_rows: the column of the row's right-hand side
    int16_t col_class[table_size]; // read by standard form only
    int32_t n_rows;
    int32_t n_cols;
    int32_t cost_count; // the costs typed, plus one: the echo's objective line ends there
    int32_t n_artificial;
    bool overflow; // a stored result needed more than 64 bits: no result can be trusted
    bool too_big;  // a column was refused because the right-hand side would pass column 98
    bool maximise; // --max: row 0 is the row of -z, the costs as typed; the tableaus minimise -z
    typed_problem typed; // the problem as typed, kept by standard form
    row_records records;
};

// The row's length: the column of its right-hand side.
inline int32_t &row_length(tableau_store &s, int row) {
    return s.length[row];
}
inline int32_t row_length(const tableau_store &s, int row) {
    return s.length[row];
}

// The basic variable of a row, or no_basic.
inline int32_t &row_basic(tableau_store &s, int row) {
    return s.basic[row];
}
inline int32_t row_basic(const tableau_store &s, int row) {
    return s.basic[row];
}

// The typed row whose slack or surplus column col is, or 0. The column may be a typed variable's
// own, when that variable appears in no row and costs nothing.
inline int slack_row(const tableau_store &s, int col) {
    for (int i = 1; i <= s.typed.n_rows; ++i)
        if (s.records.slack_col[i] == col)
            return i;
    return 0;
}
