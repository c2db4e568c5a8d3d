// Teaching mode's tableau grid: aligned columns of values in lowest terms, labelled rows, the
// next pivot in brackets, and a tableau wider than the screen split into blocks of whole columns.
// The plain grid (display.h) stays as it is; this is a second view of the same store.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "model/tableau_store.h"

// A tableau as the grid shows it, as plain data. Columns 1..n_cols are headed x1..x(n_cols-1),
// and RHS over the right-hand side in column n_cols.
struct grid_tableau {
    int n_cols;
    int n_rows;
    const char *objective_label;      // "z", "-z" or "w"
    const fraction *objective;        // cells 1..n_cols
    const fraction *rows[table_size]; // rows[i], i = 1..n_rows: cells 1..n_cols
    int64_t basic[table_size];        // basic[i]: row i is labelled x<basic[i]>
    int pivot_row;                    // the cell shown in brackets, [2]; row 0 for none
    int pivot_col;
};

// Writes the grid: a header line with the column names, the objective line, a line of hyphens,
// then one line per constraint row. The labels stand left-aligned in the first column; each other
// column is as wide as its widest text (header and brackets included), right-aligned, two spaces
// after the one before it; no tabs, no spaces at the end of a line. Lines are kept within `width`
// by splitting the columns, in order, into as few blocks as fit, each a complete grid with the
// labels repeated, one blank line between blocks; a column that alone with the labels passes the
// width is a block of its own. No blank line before the first block or after the last.
void print_grid(const grid_tableau &g, int width, std::ostream &out);

// A tableau cell, for the pivot: row 0 names none.
struct grid_cell {
    int row;
    int col;
};

// The store's current tableau with `objective` as its objective row, labelled `objective_label`,
// and `pivot` in brackets, as print_grid writes it, with a blank line before and after.
void print_teaching_tableau(const tableau_store &s, const table_row &objective,
                            const char *objective_label, grid_cell pivot, int width,
                            std::ostream &out);
