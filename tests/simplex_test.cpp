// The simplex engine on tableaus built by hand: pivot step, pricing out, pivot choice,
// optimality tests, row deletion and the removal of the artificial variables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "simplex/phases.h"
#include "simplex/pivot_selection.h"
#include "simplex/pivoting.h"
#include "standard_form/standard_form.h"
#include "test_support.h"

namespace {

constexpr pivot_rule largest = pivot_rule::largest_coefficient, lowest = pivot_rule::lowest_index;

// The problem typed as `keys`, in standard form: where phase 1 begins.
std::unique_ptr<tableau_store> in_standard_form(const std::string &keys) {
    auto s = read_typed(keys);
    build_standard_form(*s);
    return s;
}

// Both phases run one pivot at a time (or whole, with `step` = all_pivots), row 0 priced out in
// between; the pivot taken at each turn is logged as "row,col".
std::string solve_in_steps(tableau_store &s, int step, phase_end &end) {
    std::string log;
    phase_run run = start_phase1(s);
    for (int phase = 1; phase <= 2; ++phase) {
        if (phase == 2) {
            prepare_phase2(s);
            artificial_removal removal;
            run = begin_phase2(s, removal);
        }
        while (run.end == phase_end::running) {
            log += std::to_string(run.row) + "," + std::to_string(run.col) + " ";
            continue_phase(s, run, step);
        }
        if (run.end == phase_end::infeasible)
            break;
    }
    end = run.end;
    return log;
}

} // namespace

// Minimise -x1 - x2 with x1 + 2x2 <= 4, 3x1 + x2 <= 6: x1 enters on row 2.
TEST(Pivoting, WorkedPivotUpdatesObjectiveAndRows) {
    const std::string rows = "0 1 1 0 0 0 | 3 1 2 1 0 4 | 1 3 1 0 1 6";
    const std::string after = "3 0 5/3 1 -1/3 2 | 1 1 1/3 0 1/3 2";
    auto s = store_from_rows(5, rows);
    pivot(*s, 2, 1, s->tableau[0]);
    EXPECT_EQ(rows_text(*s), "0 0 2/3 0 -1/3 -2 | " + after);

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
        EXPECT_EQ(rows_text(*s), before); // choosing writes nothing
        if (row == 0)
            continue;
        change_basis(*s, row, 1);
        EXPECT_EQ(row_basic(*s, row), 1);
    }
}

TEST(Phases, DeleteRowMovesLaterRowsUp) {
    for (int r : {1, 3}) {
        auto s = store_from_rows(3, "0 0 0 0 | 1 1 0 1 | 2 0 1 2 | 3 1 1 3");
        row_length(*s, 3) = 7;
        delete_row(*s, r);
        EXPECT_EQ(s->n_rows, 2);
        EXPECT_EQ(rows_text(*s),
                  r == 1 ? "0 0 0 0 | 2 0 1 2 | 3 1 1 3" : "0 0 0 0 | 1 1 0 1 | 2 0 1 2");
        EXPECT_EQ(row_length(*s, 2), r == 1 ? 7 : 3);
        const fraction *last = s->tableau[3];
        EXPECT_TRUE(std::all_of(last, last + table_size,
                                [](fraction f) { return f.num == 0 && f.den == 0; }));
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
        const char *removal; // as begin_phase2 reports it
    } cases[] = {{"row 2 keeps artificial 5 and is zero elsewhere: deleted", 6, 2,
                  "0 0 0 -1 0 0 7 | 1 1 0 1 0 0 3 | 5 0 0 0 1 1 0 | 2 0 1 2 0 0 4",
                  phase_end::optimal, "0 0 0 -1 7 | 1 1 0 1 3 | 2 0 1 2 4", "deleted 2:x5"},
                 {"artificials 5 and 4 basic in rows 1 and 3, zero elsewhere: both deleted", 6, 2,
                  "0 0 0 -1 0 0 7 | 5 0 0 0 0 1 0 | 1 1 0 1 0 0 3 | 4 0 0 0 1 0 0",
                  phase_end::optimal, "0 0 0 -1 7 | 1 1 0 1 3", "deleted 1:x5 deleted 3:x4"},
                 {"artificial 4 at zero level leaves for column 2, the lowest non-zero", 5, 1,
                  "0 0 4 -3 0 0 | 1 1 0 1 0 2 | 4 0 2 -1 1 0", phase_end::optimal,
                  "0 0 0 -1 0 | 1 1 0 1 2 | 2 0 1 -1/2 0", "row 2 x4->x2 on 2/1"},
                 {"column 2 improves but has no positive entry", 4, 0, "0 0 1 0 3 | 1 1 -1 1 2",
                  phase_end::unbounded, "0 0 1 0 3 | 1 1 -1 1 2", ""}};
    for (const phase2_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = store_from_rows(c.n_cols, c.rows);
        s->n_artificial = c.n_artificial;
        artificial_removal removal;
        phase_run run = begin_phase2(*s, removal);
        EXPECT_EQ(continue_phase(*s, run, all_pivots), c.end);
        std::string report;
        for (int k = 0; k < removal.n_exits; ++k) {
            const artificial_exit &e = removal.exits[k];
            report += "row " + std::to_string(e.row) + " x" + std::to_string(e.left) + "->x" +
                      std::to_string(e.entered) + " on " + std::to_string(e.element.num) + "/" +
                      std::to_string(e.element.den);
        }
        for (int k = 0; k < removal.n_deleted; ++k)
            report += std::string(k > 0 ? " " : "") + "deleted " +
                      std::to_string(removal.deleted_row[k]) + ":x" +
                      std::to_string(removal.deleted_basic[k]);
        EXPECT_EQ(report, c.removal);
        EXPECT_EQ(rows_text(*s), c.expected);
        EXPECT_EQ(s->tableau[s->n_rows + 1][0].den, 0);
    }
}

// Minimise x1 + 2x2 with x1 + x2 = 2, x1 - x2 <= 1: phase 1 pivots on (2, 1), then (1, 2), and
// ends at w = 0 with no entering column; phase 2 has nothing to remove and nothing to improve.
TEST(Phases, WorkedExampleOnePivotAtATime) {
    auto s = in_standard_form("\n1 2\n1 1 = 2\n1 -1 < 1\nq\n");
    phase_run run = start_phase1(*s);
    EXPECT_EQ(run.end, phase_end::running);
    EXPECT_EQ(run.row * 10 + run.col, 21);
    EXPECT_EQ(run.rule, largest);
    EXPECT_EQ(continue_phase(*s, run, 1), phase_end::running);
    EXPECT_EQ(run.pivots, 1);
    EXPECT_EQ(run.row * 10 + run.col, 12);
    EXPECT_EQ(cells_text(s->w_row, s->n_cols), "0 0 2 -1 0 1");
    EXPECT_EQ(row_basic(*s, 2), 1);
    EXPECT_EQ(continue_phase(*s, run, 1), phase_end::optimal);
    EXPECT_EQ(run.pivots, 2);
    EXPECT_EQ(cells_text(s->w_row, s->n_cols), "0 0 0 0 -1 0");
    EXPECT_EQ(continue_phase(*s, run, 1), phase_end::optimal); // an ended phase stays ended

    EXPECT_TRUE(prepare_phase2(*s));
    artificial_removal removal;
    run = begin_phase2(*s, removal);
    EXPECT_EQ(run.end, phase_end::optimal);
    EXPECT_EQ(run.pivots, 0);
    EXPECT_EQ(removal.n_exits + removal.n_deleted, 0);
    EXPECT_EQ(rows_text(*s), "0 0 0 -1/2 5/2 | 2 0 1 -1/2 1/2 | 1 1 0 1/2 3/2");
}

// Whether the phases are run whole or one pivot at a time, they take the same pivots and leave
// the same tableau; phase 1 itself reports an infeasible end.
TEST(Phases, SteppedAndWholeRunsAgree) {
    struct stepped_case {
        const char *name;
        const char *keys;
        phase_end end;
        const char *pivots;
    } cases[] = {
        {"worked example", "\n1 2\n1 1 = 2\n1 -1 < 1\nq\n", phase_end::optimal, "2,1 1,2 "},
        {"cycles without the lowest-index rule",
         "\n-3/4 20 -1/2 6\n1/4 -8 -1 9 < 0\n1/2 -12 -1/2 3 < 0\n0 0 1 0 < 1\nq\n",
         phase_end::optimal, "1,1 2,2 1,3 2,4 3,1 2,5 "},
        {"infeasible", "\n1 1\n1 1 < 1\n1 1 > 2\nq\n", phase_end::infeasible, "1,1 "},
        {"unbounded", "\n-1 -1\n1 -1 < 1\nq\n", phase_end::unbounded, "1,1 "}};
    for (const stepped_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto stepped = in_standard_form(c.keys);
        auto whole = in_standard_form(c.keys);
        auto engine = read_typed(c.keys);
        phase_end stepped_end, whole_end;
        EXPECT_EQ(solve_in_steps(*stepped, 1, stepped_end), c.pivots);
        solve_in_steps(*whole, all_pivots, whole_end);
        EXPECT_EQ(stepped_end, c.end);
        EXPECT_EQ(whole_end, c.end);
        EXPECT_EQ(solve(*engine), c.end);
        EXPECT_EQ(rows_text(*stepped), rows_text(*whole));
        EXPECT_EQ(rows_text(*engine), rows_text(*whole));
        EXPECT_EQ(cells_text(stepped->w_row, stepped->n_cols),
                  cells_text(whole->w_row, whole->n_cols));
        EXPECT_EQ(cells_text(engine->w_row, engine->n_cols),
                  cells_text(whole->w_row, whole->n_cols));
    }
}

// The records follow the rows to the end: a redundant "=" row is deleted before phase 2 and
// recorded as such, and every row left names the typed row it came from.
TEST(Phases, RecordsFollowTheRowsToTheEnd) {
    struct records_case {
        const char *name;
        const char *keys;
        phase_end end;
        const char *deleted; // typed rows deleted, in order
        const char *origins; // the typed row of each final row
    } cases[] = {
        {"row 2 is twice row 1", "\n1 1\n1 1 = 2\n2 2 = 4\n1 0 < 5\nq\n", phase_end::optimal, "2",
         "1 3"},
        {"row 3 is the sum of rows 1 and 2", "\n1 1 1\n1 0 1 = 2\n0 1 1 = 3\n1 1 2 = 5\nq\n",
         phase_end::optimal, "3", "1 2"},
        {"nothing redundant", "\n1 2\n1 1 = 2\n1 -1 < 1\nq\n", phase_end::optimal, "", "1 2"}};
    for (const records_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = read_typed(c.keys);
        EXPECT_EQ(solve(*s), c.end);
        std::string deleted, origins;
        for (int i = 1; i <= s->typed.n_rows; ++i)
            if (s->records.deleted[i])
                deleted += (deleted.empty() ? "" : " ") + std::to_string(i);
        for (int i = 1; i <= s->n_rows; ++i)
            origins += (i > 1 ? " " : "") + std::to_string(s->records.origin[i]);
        EXPECT_EQ(deleted, c.deleted);
        EXPECT_EQ(origins, c.origins);
    }
}
