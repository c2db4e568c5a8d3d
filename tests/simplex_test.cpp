// The simplex engine on tableaus built by hand: pivot step, pricing out, pivot choice,
// optimality tests, row deletion and the removal of the artificial variables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "simplex/basis_history.h"
#include "simplex/phases.h"
#include "simplex/pivot_checks.h"
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

namespace {

// Phase 2 on columns 1..6, right-hand side in column 7; x3, x4, x5 basic in rows 1..3. Column 1
// improves (3) with ratios 4, 2, 2; column 2 improves (2) with no positive entry; column 6 worsens.
const char *const checked_rows = "0 3 2 0 0 0 -1 10 | 3 1 -1 1 0 0 1 4 | 4 2 0 0 1 0 0 4 | "
                                 "5 1 0 0 0 1 -2 2";

// A check as "reason col/var row min_row entry", the entry as the grid prints its two fields.
std::string entering_text(entering_check c) {
    const char *names[] = {"valid",         "not_a_column", "basic",
                           "not_improving", "optimal",      "optimal_early"};
    return std::string(names[static_cast<int>(c.reason)]) + " " + std::to_string(c.col) + " " +
           std::to_string(c.row) + " " + fraction_text(c.entry);
}

std::string leaving_text(leaving_check c) {
    const char *names[] = {"valid",         "not_basic", "not_positive",
                           "above_minimum", "unbounded", "unbounded_early"};
    return std::string(names[static_cast<int>(c.reason)]) + " " + std::to_string(c.var) + " " +
           std::to_string(c.row) + " " + std::to_string(c.min_row) + " " + fraction_text(c.entry);
}

phase_run running(int phase) {
    return {phase, largest, 0, 0, 0, phase_end::running};
}

} // namespace

TEST(PivotChecks, EnteringAnswers) {
    struct entering_case {
        const char *objective; // row 0 of checked_rows, replaced
        int phase;             // 1: the objective is w_row
        int col;               // 0 with `optimal`: the answer "ottimo"
        bool optimal;
        const char *expected;
    } cases[] = {
        {"0 3 2 0 0 0 -1 10", 2, 1, false, "valid 1 0 3/1"},
        {"0 3 2 0 0 0 -1 10", 2, 2, false, "valid 2 0 2/1"}, // unbounded column, still valid
        {"0 3 2 0 0 0 -1 10", 2, 0, false, "not_a_column 0 0 0/1"},
        {"0 3 2 0 0 0 -1 10", 2, 7, false, "not_a_column 7 0 0/1"}, // the right-hand side
        {"0 3 2 0 0 0 -1 10", 2, 99, false, "not_a_column 99 0 0/1"},
        {"0 3 2 0 0 0 -1 10", 2, -4, false, "not_a_column -4 0 0/1"},
        {"0 3 2 0 0 0 -1 10", 2, 3, false, "basic 3 1 0/1"},
        {"0 3 2 0 0 0 -1 10", 2, 5, false, "basic 5 3 0/1"},
        {"0 3 2 0 0 0 -1 10", 2, 6, false, "not_improving 6 0 -1/1"},
        {"0 0 2 0 0 0 1/-3 10", 2, 6, false, "not_improving 6 0 1/-3"},
        {"0 0 2 0 0 0 -1/-3 10", 2, 6, false, "valid 6 0 -1/-3"},
        {"0 0 2 0 0 0 -1 10", 2, 1, false, "not_improving 1 0 0/1"},
        // "ottimo": too early names the first improving column, not the rule's.
        {"0 3 2 0 0 0 -1 10", 2, 0, true, "optimal_early 1 0 3/1"},
        {"0 0 1/2 0 0 0 9 10", 2, 0, true, "optimal_early 2 0 1/2"},
        {"0 -1 0 0 0 0 -1 10", 2, 0, true, "optimal 0 0 0/1"},
        {"0 -1 0 0 0 0 1/-2 10", 2, 0, true, "optimal 0 0 0/1"},
        // Phase 1 at w = 0 is over, positive entries or not; above 0 it is not.
        {"0 1 0 0 0 0 0 0", 1, 0, true, "optimal 1 0 0/1"},
        {"0 1 0 0 0 0 0 3", 1, 0, true, "optimal_early 1 0 1/1"},
        {"0 0 0 0 0 0 -1 3", 1, 0, true, "optimal 0 0 0/1"},
        {"0 1 0 0 0 0 0 0", 1, 1, false, "valid 1 0 1/1"},
    };
    for (const entering_case &c : cases) {
        SCOPED_TRACE(std::string(c.objective) + " col " + std::to_string(c.col));
        auto s = store_from_rows(7, checked_rows);
        set_cells(c.phase == 1 ? s->w_row : s->tableau[0], c.objective);
        std::string before = rows_text(*s);
        phase_run run = running(c.phase);
        entering_check check = c.optimal ? check_optimal(*s, run) : check_entering(*s, run, c.col);
        EXPECT_EQ(entering_text(check), c.expected);
        EXPECT_EQ(rows_text(*s), before); // a check writes nothing
    }
}

TEST(PivotChecks, LeavingAnswers) {
    struct leaving_case {
        const char *rows;
        int n_cols, col;
        int var; // 0: the answer "illimitato"
        const char *expected;
    } cases[] = {
        {checked_rows, 7, 1, 3, "above_minimum 3 1 2 1/1"}, // 4 against 2
        {checked_rows, 7, 1, 4, "valid 4 2 2 2/1"},
        {checked_rows, 7, 1, 5, "valid 5 3 2 1/1"}, // tied with row 2: also right
        {checked_rows, 7, 1, 1, "not_basic 1 0 0 0/1"},
        {checked_rows, 7, 1, 6, "not_basic 6 0 0 0/1"},
        {checked_rows, 7, 1, 50, "not_basic 50 0 0 0/1"},
        {checked_rows, 7, 1, 0, "unbounded_early 3 1 0 1/1"},
        {checked_rows, 7, 2, 3, "not_positive 3 1 0 -1/1"},
        {checked_rows, 7, 2, 4, "not_positive 4 2 0 0/1"},
        {checked_rows, 7, 2, 0, "unbounded 0 0 0 0/1"},
        {checked_rows, 7, 6, 3, "valid 3 1 1 1/1"}, // the only row with a positive entry
        {checked_rows, 7, 6, 0, "unbounded_early 3 1 0 1/1"},
        // A zero right-hand side makes the minimum 0.
        {"0 1 0 0 5 | 2 1 1 0 3 | 3 1 0 1 0", 4, 1, 2, "above_minimum 2 1 2 1/1"},
        {"0 1 0 0 5 | 2 1 1 0 3 | 3 1 0 1 0", 4, 1, 3, "valid 3 2 2 1/1"},
        // Signs below the line, and ratios compared exactly: 16777217 is above 16777216.
        {"0 1 0 0 5 | 2 1/-2 1 0 3 | 3 -1/-2 0 1 1", 4, 1, 2, "not_positive 2 1 0 1/-2"},
        {"0 1 0 0 5 | 2 1 1 0 16777217 | 3 1 0 1 16777216", 4, 1, 2, "above_minimum 2 1 2 1/1"},
    };
    for (const leaving_case &c : cases) {
        SCOPED_TRACE(std::string(c.rows) + " col " + std::to_string(c.col) + " var " +
                     std::to_string(c.var));
        auto s = store_from_rows(c.n_cols, c.rows);
        std::string before = rows_text(*s);
        leaving_check check =
            c.var == 0 ? check_unbounded(*s, c.col) : check_leaving(*s, c.col, c.var);
        EXPECT_EQ(leaving_text(check), c.expected);
        EXPECT_EQ(rows_text(*s), before);
    }
}

// A pivot chosen by hand goes through the phase loop like the rule's: the worked example with x2
// entering first (the rule takes x1) reaches w = 0 in one pivot, and phase 2 the same optimum.
TEST(Phases, HandChosenPivotTakesTheSameLoop) {
    auto s = in_standard_form("\n1 2\n1 1 = 2\n1 -1 < 1\nq\n");
    phase_run run = start_phase1(*s);
    EXPECT_EQ(run.row * 10 + run.col, 21);
    ASSERT_EQ(check_entering(*s, run, 2).reason, entering_reason::valid);
    ASSERT_EQ(check_leaving(*s, 2, 4).reason, leaving_reason::valid);
    choose_pivot_by_hand(*s, run, 1, 2);
    EXPECT_EQ(continue_phase(*s, run, 1), phase_end::optimal);
    EXPECT_EQ(run.pivots, 1);
    EXPECT_EQ(cells_text(s->w_row, s->n_cols), "0 0 0 0 -1 0");
    EXPECT_EQ(rows_text(*s), "0 -1 -2 0 0 0 | 2 1 1 0 1 2 | 3 2 0 1 1 3");
    ASSERT_TRUE(prepare_phase2(*s));
    artificial_removal removal;
    run = begin_phase2(*s, removal);
    EXPECT_EQ(continue_phase(*s, run, all_pivots), phase_end::optimal);
    EXPECT_EQ(rows_text(*s), "0 0 0 -1/2 5/2 | 2 0 1 -1/2 1/2 | 1 1 0 1/2 3/2");
}

// After a degenerate pivot, the student's own included, the rule is the lowest-index one; a pivot
// that moves the objective brings the largest-coefficient rule back.
TEST(Phases, RuleAfterAHandChosenPivot) {
    struct rule_case {
        const char *name;
        int row, col;
        pivot_rule rule;
    } cases[] = {{"the rule's tied row, degenerate", 1, 1, lowest},
                 {"the other tied row, degenerate", 2, 1, lowest},
                 {"a column against the rule, not degenerate", 3, 3, largest}};
    for (const rule_case &c : cases) {
        SCOPED_TRACE(c.name);
        // Beale's problem: rows 1 and 2 have a zero right-hand side, row 3 has 1.
        auto s = in_standard_form(
            "\n-3/4 20 -1/2 6\n1/4 -8 -1 9 < 0\n1/2 -12 -1/2 3 < 0\n0 0 1 0 < 1\nq\n");
        phase_run run = start_phase1(*s);
        EXPECT_EQ(run.end, phase_end::optimal); // no artificial columns
        ASSERT_TRUE(prepare_phase2(*s));
        artificial_removal removal;
        run = begin_phase2(*s, removal);
        ASSERT_EQ(check_entering(*s, run, c.col).reason, entering_reason::valid);
        ASSERT_EQ(check_leaving(*s, c.col, row_basic(*s, c.row)).reason, leaving_reason::valid);
        choose_pivot_by_hand(*s, run, c.row, c.col);
        continue_phase(*s, run, 1);
        EXPECT_EQ(row_basic(*s, c.row), c.col);
        EXPECT_EQ(run.rule, c.rule);
    }
}

// "ottimo" and "illimitato" found right end the phase where they are said: phase 1 at w = 0 with
// an improving column left, and phase 2 along a column no row can leave for, while the rule's
// column could still pivot.
TEST(Phases, PhaseEndedByHand) {
    auto w = store_from_rows(4, "0 0 0 0 0 | 3 1 0 1 0", "0 1 0 0 0");
    phase_run run = running(1);
    run.row = 1;
    run.col = 1;
    ASSERT_EQ(check_optimal(*w, run).reason, entering_reason::optimal);
    end_phase_by_hand(*w, run, phase_end::optimal, 0);
    EXPECT_EQ(run.end, phase_end::optimal);
    EXPECT_EQ(continue_phase(*w, run, 1), phase_end::optimal); // nothing more is taken
    EXPECT_EQ(run.pivots, 0);

    auto s = store_from_rows(4, "0 3 1 0 5 | 3 1 -1 1 2");
    run = running(2);
    run.row = 1;
    run.col = 1;
    ASSERT_EQ(check_unbounded(*s, 2).reason, leaving_reason::unbounded);
    end_phase_by_hand(*s, run, phase_end::unbounded, 2);
    EXPECT_EQ(run.end, phase_end::unbounded);
    EXPECT_EQ(run.col, 2);
}

// The largest-coefficient rule kept through degenerate pivots cycles on Beale's problem: the
// sixth pivot brings back the first basis, at the same objective value, and the table says so;
// a changed value or a new basis is not a repeat, and a basis is a set, not a row order.
TEST(BasisHistory, RepeatedBasisFound) {
    auto s =
        in_standard_form("\n-3/4 20 -1/2 6\n1/4 -8 -1 9 < 0\n1/2 -12 -1/2 3 < 0\n0 0 1 0 < 1\nq\n");
    start_phase1(*s);
    ASSERT_TRUE(prepare_phase2(*s));
    artificial_removal removal;
    phase_run run = begin_phase2(*s, removal);
    basis_history history{};
    std::string seen;
    for (int k = 0; k <= 6; ++k) {
        seen += basis_seen_before(history, *s, s->tableau[0][s->n_cols]) ? "R" : ".";
        int col = choose_entering(*s, s->tableau[0], largest);
        choose_pivot_by_hand(*s, run, choose_leaving(*s, col, largest), col);
        continue_phase(*s, run, 1);
    }
    EXPECT_EQ(seen, "......R");

    auto t = store_from_rows(3, "0 | 1 1 0 4 | 2 0 1 4");
    basis_history h{};
    EXPECT_FALSE(basis_seen_before(h, *t, {0, 1}));
    std::swap(row_basic(*t, 1), row_basic(*t, 2));
    EXPECT_TRUE(basis_seen_before(h, *t, {0, 5})); // the same value in another form
    EXPECT_FALSE(basis_seen_before(h, *t, {-1, 1}));
    EXPECT_FALSE(basis_seen_before(h, *t, {0, 1})); // the value moved: the table starts over

    // The table forgets its oldest basis once it holds bases_kept: basis {1, j} for j = 2..
    auto many = store_from_rows(99, "0 | 1 | 2");
    basis_history full{};
    for (int j = 2; j < 2 + bases_kept + 1; ++j) {
        row_basic(*many, 2) = j;
        EXPECT_FALSE(basis_seen_before(full, *many, {7, 1})) << j;
    }
    row_basic(*many, 2) = 2;
    EXPECT_FALSE(basis_seen_before(full, *many, {7, 1}));
    row_basic(*many, 2) = 2 + bases_kept;
    EXPECT_TRUE(basis_seen_before(full, *many, {7, 1}));
}
