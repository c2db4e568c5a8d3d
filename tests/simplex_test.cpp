// The simplex engine on tableaus built by hand: pivot step, pricing out, pivot choice,
// optimality tests, row deletion and the removal of the artificial variables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "simplex/phases.h"
#include "simplex/pivot_selection.h"
#include "simplex/pivoting.h"
#include "standard_form/basis.h"
#include "test_support.h"

namespace {

bool is_marked(const fraction &f) {
    return has_pivot_mark(f);
}

constexpr pivot_rule largest = pivot_rule::largest_coefficient, lowest = pivot_rule::lowest_index;

} // namespace

// Minimise -x1 - x2 with x1 + 2x2 <= 4, 3x1 + x2 <= 6: x1 enters on row 2.
TEST(Pivoting, WorkedPivotUpdatesObjectiveAndRows) {
    const std::string rows = "0 1 1 0 0 0 | 3 1 2 1 0 4 | 1 3 1 0 1 6";
    const std::string after = "3 0 5/3 1 -1/3 2 | 1 1 1/3 0 1/3 2";
    auto s = store_from_rows(5, rows);
    set_pivot_mark(s->tableau[2][1]);
    pivot(*s, 2, 1, s->tableau[0]);
    EXPECT_EQ(rows_text(*s), "0 0 2/3 0 -1/3 -2 | " + after);
    EXPECT_TRUE(is_marked(s->tableau[2][1]));

    auto w = store_from_rows(5, rows, "0 1 1 0 0 0");
    pivot(*w, 2, 1, w->w_row);
    EXPECT_EQ(cells_text(w->w_row, w->n_cols), "0 0 2/3 0 -1/3 -2");
    EXPECT_EQ(rows_text(*w), "0 1 1 0 0 0 | " + after);
}

TEST(Pivoting, PriceOutZeroesTheRecordedBasicColumns) {
    struct price_case {
        const char *w, *expected;
        const char *rows;
    } cases[] = {
        {"0 0 0 0 -1 0", "0 1 1 0 0 2", "0 | 4 1 1 0 1 2 | 3 1 -1 1 0 1"},
        {"0 1 1 0 0 2", "0 1 1 0 0 2", "0 | 4 1 1 0 1 2 | 3 1 -1 1 0 1"},
        // Column 2 is a unit column no row records (a third row past n_rows does): left alone.
        {"0 0 -1 0 -1 0", "0 1 -1 0 0 2", "0 | 4 1 0 0 1 2 | 3 1 0 1 0 1"}};
    for (const price_case &c : cases) {
        SCOPED_TRACE(c.w);
        auto s = store_from_rows(5, c.rows, c.w);
        set_cells(s->tableau[3], "2 0 1 0 0 9");
        mark_basic_columns(*s);
        s->col_class[2] = class_unit;
        price_out(*s, s->w_row);
        EXPECT_EQ(cells_text(s->w_row, s->n_cols), c.expected);
    }
}

TEST(PivotSelection, EnteringColumn) {
    struct entering_case {
        const char *objective;
        pivot_rule rule;
        int expected;
    } cases[] = {{"0 0 2/3 0 -1/3 -2", largest, 2},
                 {"0 1 1 0 0 0", largest, 1},
                 {"0 -1 0 0 0 5", largest, 0},
                 {"0 -1 0 0 0 5", lowest, 0},
                 {"0 0 1/2 3 0 0", largest, 3},
                 {"0 0 1/2 3 0 0", lowest, 2},
                 {"0 1/-3 0 2 0 0", lowest, 3},
                 {"0 -2/-3 0 5 0 0", lowest, 1},
                 // Compared in single precision, where 2^24 + 1 is 2^24: the first of the two wins.
                 {"0 16777216 16777217 0 0 0", largest, 1}};
    for (const entering_case &c : cases) {
        auto s = store_from_rows(5, c.objective);
        EXPECT_EQ(choose_entering(*s, s->tableau[0], c.rule), c.expected) << c.objective;
    }
}

TEST(PivotSelection, LeavingRowByExactMinimumRatio) {
    struct leaving_case {
        const char *name;
        const char *rows; // column 1 enters; column 3 is the right-hand side
        pivot_rule rule;
        int expected;
    } cases[] = {{"worked example", "0 | 3 1 2 4 | 4 3 1 6", largest, 2},
                 {"zero right-hand side wins", "0 | 3 1 0 4 | 4 2 0 0", largest, 2},
                 {"zero right-hand side alone", "0 | 3 -1 0 4 | 4 1 0 0", largest, 2},
                 {"no bound of 100", "0 | 3 0 1 5 | 4 1 0 150", largest, 2},
                 {"150 against 200", "0 | 3 1 0 150 | 4 1 0 200", largest, 1},
                 {"150 against 120", "0 | 3 1 0 150 | 4 1 0 120", largest, 2},
                 {"above 100 in row 3", "0 | 3 0 1 5 | 4 1 0 300 | 5 2 0 202", largest, 3},
                 {"single precision would tie", "0 | 3 1 0 16777217 | 4 1 0 16777216", largest, 2},
                 {"ties to the lowest row", "0 | 5 1 0 2 | 4 2 0 4 | 3 1 0 2", largest, 1},
                 {"ties to the lowest basic", "0 | 5 1 0 2 | 4 2 0 4 | 3 1 0 2", lowest, 3},
                 {"negative right-hand side", "0 | 3 1 0 -1 | 4 1 0 5", largest, 2},
                 {"sign in the denominator", "0 | 3 1/-2 0 1 | 4 -1/-2 0 3", largest, 2},
                 {"no positive entry", "0 | 3 -1 0 4 | 4 0 0 2", largest, 0},
                 {"no rows", "0", largest, 0}};
    for (const leaving_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = store_from_rows(3, c.rows);
        std::string before = rows_text(*s);
        int row = choose_leaving(*s, 1, c.rule);
        EXPECT_EQ(row, c.expected);
        for (int i = 1; i <= s->n_rows; ++i)
            EXPECT_EQ(is_marked(s->tableau[i][1]), i == row) << "row " << i;
        EXPECT_EQ(row == 0 ? rows_text(*s) : std::to_string(s->tableau[row][0].num),
                  row == 0 ? before : "1");
    }
}

TEST(PivotSelection, OptimalityTestsOnBothObjectiveRows) {
    struct optimal_case {
        const char *objective;
        int n_cols;
        bool expected;
    } cases[] = {{"0 0 0 -2/5 -1/5 -14/5", 5, false},
                 {"0 -1 0 -2 5", 4, true},
                 {"0 -1 -1/2 -2 0", 4, false},
                 {"0 -1 1/-2 0 0", 4, true}};
    for (const optimal_case &c : cases) {
        auto s =
            store_from_rows(c.n_cols, c.objective + std::string(" | 1 1 0 0 0 0"), c.objective);
        EXPECT_EQ(phase1_optimal(*s), c.expected) << c.objective;
        EXPECT_EQ(phase2_optimal(*s), c.expected) << c.objective;
    }
}

TEST(Phases, DeleteRowMovesLaterRowsUp) {
    for (int r : {1, 3}) {
        auto s = store_from_rows(3, "0 0 0 0 | 1 1 0 1 | 2 0 1 2 | 3 1 1 3");
        set_pivot_mark(s->tableau[3][2]);
        row_length(*s, 3) = 7;
        delete_row(*s, r);
        EXPECT_EQ(s->n_rows, 2);
        EXPECT_EQ(rows_text(*s),
                  r == 1 ? "0 0 0 0 | 2 0 1 2 | 3 1 1 3" : "0 0 0 0 | 1 1 0 1 | 2 0 1 2");
        EXPECT_EQ(is_marked(s->tableau[2][2]), r == 1);
        EXPECT_EQ(row_length(*s, 2), r == 1 ? 7 : 3);
        const fraction *last = s->tableau[3];
        EXPECT_TRUE(std::all_of(last, last + table_size, [](fraction f) {
            return f.num == 0 && f.den == 0 && f.mark == 0;
        }));
    }
}

// Phase 2 first pivots out what artificial it can, deletes the rows where none can leave, drops
// the artificial columns (here the last n_artificial before the right-hand side), then iterates.
TEST(Phases, Phase2RemovesTheArtificialsThenIterates) {
    struct phase2_case {
        const char *name;
        int n_cols, n_artificial;
        const char *rows;
        phase_end end;
        const char *expected;
        int marked_row; // the pivot that drove an artificial out, on column 2
    } cases[] = {{"row 2 keeps artificial 5 and is zero elsewhere: deleted", 6, 2,
                  "0 0 0 -1 0 0 7 | 1 1 0 1 0 0 3 | 5 0 0 0 1 1 0 | 2 0 1 2 0 0 4",
                  phase_end::optimal, "0 0 0 -1 7 | 1 1 0 1 3 | 2 0 1 2 4", 0},
                 {"artificial 4 at zero level leaves for column 2, the lowest non-zero", 5, 1,
                  "0 0 4 -3 0 0 | 1 1 0 1 0 2 | 4 0 2 -1 1 0", phase_end::optimal,
                  "0 0 0 -1 0 | 1 1 0 1 2 | 2 0 1 -1/2 0", 2},
                 {"column 2 improves but has no positive entry", 4, 0, "0 0 1 0 3 | 1 1 -1 1 2",
                  phase_end::unbounded, "0 0 1 0 3 | 1 1 -1 1 2", 0}};
    for (const phase2_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = store_from_rows(c.n_cols, c.rows);
        s->n_artificial = c.n_artificial;
        EXPECT_EQ(run_phase2(*s), c.end);
        EXPECT_EQ(rows_text(*s), c.expected);
        EXPECT_EQ(s->tableau[s->n_rows + 1][0].den, 0);
        EXPECT_TRUE(c.marked_row == 0 || is_marked(s->tableau[c.marked_row][2]));
    }
}
