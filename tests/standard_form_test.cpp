// Standard form: rows aligned on one right-hand-side column, slack and surplus columns, rows with a
// negative right-hand side turned round, the starting basis and the artificial columns.
#include <gtest/gtest.h>

#include "standard_form/basis.h"
#include "standard_form/column_classes.h"
#include "standard_form/row_alignment.h"
#include "standard_form/standard_form.h"
#include "test_support.h"

namespace {

// Rows 0..n_rows in columns 0..n_cols (column 0: the basic variable, 0 for none), then w_row.
std::string contents(tableau_store &s) {
    for (int i = 0; i <= s.n_rows; ++i)
        EXPECT_EQ(row_length(s, i), s.n_cols) << "row " << i;
    return rows_text(s) + " | w " + cells_text(s.w_row, s.n_cols);
}

std::string classes(const tableau_store &s) {
    std::string text;
    for (int c = 0; c <= s.n_cols; ++c)
        text += (c > 0 ? " " : "") + std::to_string(s.col_class[c]);
    return text;
}

// What standard form recorded for each typed row: "s<slack or surplus column> a<artificial
// column>", "-" when the row was turned round, rows separated by ", ".
std::string records(const tableau_store &s) {
    std::string text;
    for (int i = 1; i <= s.typed.n_rows; ++i) {
        text += (i > 1 ? ", s" : "s") + std::to_string(s.records.slack_col[i]) + " a" +
                std::to_string(s.records.artificial_col[i]);
        if (s.records.negated[i])
            text += " -";
    }
    return text;
}

// Nothing may sit beyond column 98: each row is at most 98 long, rows past n_rows and the cells
// past column 98 stay unwritten.
void expect_nothing_past_column_98(tableau_store &s) {
    EXPECT_LE(s.n_cols, max_rhs_col);
    for (int i = 0; i < table_size; ++i) {
        EXPECT_LE(row_length(s, i), max_rhs_col) << "row " << i;
        EXPECT_EQ(s.tableau[i][max_rhs_col + 1].den, 0) << "row " << i;
        for (int j = 0; i > s.n_rows && j < table_size; ++j)
            EXPECT_EQ(s.tableau[i][j].den, 0) << "row " << i << " column " << j;
    }
    EXPECT_EQ(s.w_row[max_rhs_col + 1].den, 0);
}

std::string repeated(const std::string &line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

} // namespace

TEST(StandardForm, WorkedExampleStepByStep) {
    auto s = read_typed("1 2\n1 1 < 4\n1 > 1\n2 1 = 6\nq\n");
    align_rows(*s);
    EXPECT_EQ(contents(*s), "0 -1 -2 0 | 0 1 1 4 | 0 1 0 1 | 0 2 1 6 | w 0 0 0 0");
    EXPECT_EQ(relations_text(*s), "-1 1 0");
    add_slack_surplus(*s);
    EXPECT_EQ(contents(*s),
              "0 -1 -2 0 0 0 | 0 1 1 1 0 4 | 0 1 0 0 -1 1 | 0 2 1 0 0 6 | w 0 0 0 0 0 0");
    add_artificials(*s);
    EXPECT_EQ(contents(*s), "0 -1 -2 0 0 0 0 | 0 1 1 1 0 0 4 | 0 1 0 0 -1 1 1 | 0 2 1 0 0 0 6 | "
                            "w 0 0 0 0 0 -1 0");
    EXPECT_EQ(s->n_artificial, 1);
    complete_basis(*s);
    EXPECT_EQ(contents(*s), "0 -1 -2 0 0 0 0 0 | 3 1 1 1 0 0 0 4 | 5 1 0 0 -1 1 0 1 | "
                            "6 2 1 0 0 0 1 6 | w 0 0 0 0 0 -1 -1 0");
    EXPECT_EQ(s->n_artificial, 2);
    EXPECT_EQ(classes(*s), "2 2 2 1 2 1 1 2");
}

struct standard_form_case {
    const char *name;
    const char *keys;
    const char *after_slack; // after align_rows and add_slack_surplus
    const char *final;       // after add_artificials and complete_basis
    int n_artificial;
    const char *classes;
    const char *records; // what each typed row became
};

const standard_form_case cases[] = {
    {"all equalities", "1 1\n1 1 = 2\n1 -1 = 0\n", "0 -1 -1 0 | 0 1 1 2 | 0 1 -1 0 | w 0 0 0 0",
     "0 -1 -1 0 0 0 | 3 1 1 1 0 2 | 4 1 -1 0 1 0 | w 0 0 0 -1 -1 0", 2, "2 2 2 1 1 2",
     "s0 a3, s0 a4"},
    {"7/2 keeps its value", "1 1\n1 < 7/2\n1 1 > 1\n",
     "0 -1 -1 0 0 0 | 0 1 0 1 0 7/2 | 0 1 1 0 -1 1 | w 0 0 0 0 0 0",
     "0 -1 -1 0 0 0 0 | 3 1 0 1 0 0 7/2 | 5 1 1 0 -1 1 1 | w 0 0 0 0 0 -1 0", 1, "2 2 2 1 2 1 2",
     "s3 a0, s4 a5"},
    {"slack into the all-zero column", "1 0\n1 0 < 4\n", "0 -1 0 0 0 | 0 1 1 0 4 | w 0 0 0 0 0",
     "0 -1 0 0 0 | 2 1 1 0 4 | w 0 0 0 0 0", 0, "2 2 1 0 2", "s2 a0"},
    {"two slacks in row order", "1 1\n1 2 < 4\n3 1 < 6\n",
     "0 -1 -1 0 0 0 | 0 1 2 1 0 4 | 0 3 1 0 1 6 | w 0 0 0 0 0 0",
     "0 -1 -1 0 0 0 | 3 1 2 1 0 4 | 4 3 1 0 1 6 | w 0 0 0 0 0 0", 0, "2 2 2 1 1 2", "s3 a0, s4 a0"},
    {"2/2 is not a unit entry", "1 0\n1 2/2 = 6\n", "0 -1 0 0 | 0 1 2/2 6 | w 0 0 0 0",
     "0 -1 0 0 0 | 3 1 2/2 1 6 | w 0 0 0 -1 0", 1, "2 2 2 1 2", "s0 a3"},
    {"a lone 1 is a unit entry", "1 0\n2 1 = 6\n", "0 -1 0 0 | 0 2 1 6 | w 0 0 0 0",
     "0 -1 0 0 | 2 2 1 6 | w 0 0 0 0", 0, "2 2 1 2", "s0 a0"},
    {"cost -1 on an unconstrained variable", "1 -1\n1 0 = 2\n", "0 -1 1 0 | 0 1 0 2 | w 0 0 0 0",
     "0 -1 1 0 0 | 3 1 0 1 2 | w 0 0 0 -1 0", 1, "2 2 1 1 2", "s0 a3"},
    {"two unit columns in one row", "1 0\n1 1 < 4\n1 0 = 2\n",
     "0 -1 0 0 0 | 0 1 1 1 4 | 0 1 0 0 2 | w 0 0 0 0 0",
     "0 -1 0 0 0 0 | 3 1 1 1 0 4 | 4 1 0 0 1 2 | w 0 0 0 0 -1 0", 1, "2 2 1 1 1 2", "s3 a0, s0 a4"},
    {"more unit columns than rows", "1 0\n1 1 < 4\n", "0 -1 0 0 0 | 0 1 1 1 4 | w 0 0 0 0 0",
     "0 -1 0 0 0 0 | 4 1 1 1 1 4 | w 0 0 0 0 -1 0", 1, "2 2 1 1 1 2", "s3 a4"},
    {"more unit columns than rows, > row", "1 0\n1 1 > 4\n",
     "0 -1 0 0 0 | 0 1 1 -1 4 | w 0 0 0 0 0", "0 -1 0 0 0 0 0 | 5 1 1 -1 1 1 4 | w 0 0 0 0 -1 -1 0",
     2, "2 2 1 2 1 1 2", "s3 a5"},
    {"negative < row turns into >", "1 1\n-1 -2 < -3\n", "0 -1 -1 0 0 | 0 1 2 -1 3 | w 0 0 0 0 0",
     "0 -1 -1 0 0 0 | 4 1 2 -1 1 3 | w 0 0 0 0 -1 0", 1, "2 2 2 2 1 2", "s3 a4 -"},
    {"negative > row turns into <", "1 1\n1 -1 > -2\n", "0 -1 -1 0 0 | 0 -1 1 1 2 | w 0 0 0 0 0",
     "0 -1 -1 0 0 | 3 -1 1 1 2 | w 0 0 0 0 0", 0, "2 2 2 1 2", "s3 a0 -"},
    {"negative = row, signs in denominators", "1 1\n1/-2 -3 = 2/-3\n",
     "0 -1 -1 0 | 0 1/2 3 2/3 | w 0 0 0 0", "0 -1 -1 0 0 | 3 1/2 3 1 2/3 | w 0 0 0 -1 0", 1,
     "2 2 2 1 2", "s0 a3 -"}};

TEST(StandardForm, CasesThroughEveryStep) {
    for (const standard_form_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = read_typed(std::string(c.keys) + "q\n");
        auto whole = read_typed(std::string(c.keys) + "q\n");
        s->typed.n_rows = s->n_rows;
        for (int i = 1; i <= s->n_rows; ++i)
            s->records.origin[i] = i;
        align_rows(*s);
        add_slack_surplus(*s);
        EXPECT_EQ(contents(*s), c.after_slack);
        EXPECT_EQ(s->n_artificial, 0);
        add_artificials(*s);
        complete_basis(*s);
        EXPECT_EQ(contents(*s), c.final);
        EXPECT_EQ(s->n_artificial, c.n_artificial);
        EXPECT_EQ(classes(*s), c.classes);
        EXPECT_FALSE(s->too_big);
        build_standard_form(*whole); // the same steps, with the typed problem kept
        EXPECT_EQ(contents(*whole), c.final);
        EXPECT_EQ(records(*whole), c.records);
    }
}

// Columns 1..97 hold the variables, the slack or surplus columns and the artificial columns, and
// the right-hand side ends in column 98; one column more is refused, at either stage.
TEST(StandardForm, TableLimits) {
    struct limit_case {
        std::string keys;
        bool fits;
        int n_artificial;
        const char *last_echo_line;
    } cases[] = {{"1\n" + repeated("1 > 1\n", 48), true, 48, ""},
                 {"1\n" + repeated("1 < 1\n", 96), true, 0, ""},
                 {"1 1\n" + repeated("1 1 > 1\n", 48), false, 47, "+x1+x2>1\n"},
                 {"1\n" + repeated("1 < 1\n", 97), false, 0, "+x1<1\n"}};
    for (const limit_case &c : cases) {
        SCOPED_TRACE(c.keys.substr(0, 12));
        auto s = read_typed(c.keys + "q\n");
        build_standard_form(*s);
        EXPECT_EQ(s->too_big, !c.fits);
        EXPECT_EQ(s->n_cols, 98);
        EXPECT_EQ(s->n_artificial, c.n_artificial);
        expect_nothing_past_column_98(*s);
        for (int i = 1; i <= s->n_rows; ++i)
            EXPECT_EQ(s->tableau[i][s->n_cols].num, 1) << "right-hand side of row " << i;

        program_run run = run_with_keys("\n" + c.keys + "q\n\n\n\n\n\n");
        std::string ending = c.fits ? "\nSoluzione Ottima!\nPremetere INVIO per terminare... "
                                    : std::string(c.last_echo_line) +
                                          "\n\nerror: problema troppo grande!\nPremetere INVIO "
                                          "per terminare... ";
        EXPECT_EQ(tail(run.screen, ending.size()), ending);
        EXPECT_EQ(run.status, -1);
    }
}
