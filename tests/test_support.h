// Helpers shared by the tests: fresh stores, cells written and read as text, and the whole
// program driven by typed keys.
#pragma once

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "console/driver.h"
#include "console/input_reader.h"
#include "model/tableau_store.h"

// A zero-filled store of its own for each test (too large for comfort on the stack).
inline std::unique_ptr<tableau_store> fresh_store() {
    return std::make_unique<tableau_store>();
}

// "n/d" or "n" (denominator 1) as a fraction; "n/0" keeps its zero denominator.
inline fraction fraction_from(const std::string &word) {
    long long num = 0, den = 1;
    std::sscanf(word.c_str(), "%lld/%lld", &num, &den);
    return {num, den};
}

// Cells "a b/c ..." into row[0], row[1], ...; returns how many were written.
inline int set_cells(fraction *row, const std::string &cells) {
    std::istringstream words(cells);
    std::string word;
    int count = 0;
    while (words >> word)
        row[count++] = fraction_from(word);
    return count;
}

// A store from "row 0 | row 1 | ..." (cells from column 0, the rest 0/1, each row n_cols long),
// with w_row from `w`. Column 0 of a constraint row gives its basic variable.
inline std::unique_ptr<tableau_store> store_from_rows(int n_cols, const std::string &rows,
                                                      const std::string &w = "") {
    auto s = fresh_store();
    s->n_cols = n_cols;
    std::istringstream lines(rows);
    std::string line;
    for (int i = 0; std::getline(lines, line, '|'); ++i) {
        for (int j = 0; j <= n_cols; ++j)
            s->tableau[i][j] = s->w_row[j] = {0, 1};
        set_cells(s->tableau[i], line);
        if (i > 0)
            row_basic(*s, i) = static_cast<int32_t>(s->tableau[i][0].num);
        s->tableau[i][0] = {0, 1};
        row_length(*s, i) = n_cols;
        s->n_rows = i;
    }
    set_cells(s->w_row, w);
    return s;
}

// A fraction as its two fields, "n/d", whatever they are.
inline std::string fraction_text(fraction f) {
    return std::to_string(f.num) + "/" + std::to_string(f.den);
}

// Cells 0..n_cols of a row as "n" (denominator 1) or "n/d", separated by spaces.
inline std::string cells_text(const fraction *row, int n_cols) {
    std::string text;
    for (int j = 0; j <= n_cols; ++j) {
        text += (j > 0 ? " " : "") + std::to_string(row[j].num);
        if (row[j].den != 1)
            text += "/" + std::to_string(row[j].den);
    }
    return text;
}

// Rows 0..n_rows of the tableau, columns 0..n_cols, separated by " | "; in place of column 0, a
// constraint row shows its basic variable (0 for none).
inline std::string rows_text(const tableau_store &s) {
    std::string text = cells_text(s.tableau[0], s.n_cols);
    for (int i = 1; i <= s.n_rows; ++i)
        text += " | " + std::to_string(row_basic(s, i)) +
                cells_text(s.tableau[i], s.n_cols).substr(cells_text(s.tableau[i], 0).size());
    return text;
}

// The relation codes of rows 1..n_rows, separated by spaces.
inline std::string relations_text(const tableau_store &s) {
    std::string text;
    for (int i = 1; i <= s.n_rows; ++i)
        text += (i > 1 ? " " : "") + std::to_string(s.relation[i]);
    return text;
}

// The last n characters of a text (all of it when shorter).
inline std::string tail(const std::string &text, size_t n) {
    return text.substr(text.size() - std::min(text.size(), n));
}

// A separator line of a tableau with right-hand side in column n_cols.
inline std::string separator_line(int n_cols) {
    return "\t" + std::string(8 * static_cast<size_t>(n_cols), '-') + "\n";
}

struct program_run {
    std::string screen;
    int status;
};

// Runs the whole program with `keys` as everything typed on the keyboard.
inline program_run run_with_keys(const std::string &keys, run_mode mode) {
    auto s = fresh_store();
    std::istringstream in(keys);
    std::ostringstream out;
    int status = run_program(*s, in, out, mode);
    return {out.str(), status};
}

inline program_run run_with_keys(const std::string &keys, bool teaching) {
    return run_with_keys(keys, run_mode{teaching, false});
}

inline program_run run_with_keys(const std::string &keys) {
    return run_with_keys(keys, false);
}

// The whole program in exercise mode, `keys` holding the answers as well.
inline program_run run_exercise_with_keys(const std::string &keys) {
    return run_with_keys(keys, run_mode{true, false, true, default_screen});
}

// Reads a problem typed as `keys` into a fresh store, for a maximisation when `maximise`; the
// prompts go to `screen` when given.
inline std::unique_ptr<tableau_store>
read_typed(const std::string &keys, std::string *screen = nullptr, bool maximise = false) {
    auto s = fresh_store();
    s->maximise = maximise;
    std::istringstream in(keys);
    std::ostringstream out;
    read_problem(*s, in, out);
    if (screen != nullptr)
        *screen = out.str();
    return s;
}
