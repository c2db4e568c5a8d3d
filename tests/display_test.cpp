// The problem echo and the tableau grid, byte for byte, from store states built by hand.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "console/display.h"
#include "console/text_out.h"
#include "test_support.h"

namespace {

const std::string grid_head = "\n\n\tx1\tx2\tx3\tx4\tx5\tRHS\n" + separator_line(6);

struct display_case {
    int cost_count, n_cols, n_rows;
    const char *rows; // row 0, then rows 1..n_rows, separated by "|"
    const char *w_row;
    char shown; // 'p': print_problem, 'm': print_problem under --max, 'w': print_tableau(w_row),
                // '0': print_tableau(row 0)
    std::string want;
} cases[] = {
    {3, 0, 2, "0/0 -3 -2 0/0 0 | -1 1 1 4 | 1 1 3 6", "", 'p',
     "Funzione Obiettivo\nMin z -> -3x1-2x2=0\nMatrice dei vincoli\n+x1+x2<4\n+x1+3x2>6\n\n\n"},
    {5, 0, 2, "0/0 -1/2 1 0 -5/3 0/0 0 | -1 1 1 7/2 | 1 1 3 4", "", 'p',
     "Funzione Obiettivo\nMin z -> -1/2x1+x2-5/3x4=0\nMatrice dei vincoli\n+x1+x2<7/2\n+x1+3x2>4"
     "\n\n\n"},
    // Every term form; zero terms vanish; a row without relation symbol is echoed with "=".
    {1, 0, 4,
     "0/0 0/0 7/2 | -1 1/5 -1/5 1/-2 2 -2 3/4 -3/4 0/7 -1 1 5/0 | 1 0 0/3 5 | 0/0 5/0 -1/2 |"
     "0 -3/-4 3/-4 0",
     "", 'p',
     "Funzione Obiettivo\nMin z -> =7\nMatrice dei vincoli\n"
     "+1/5x1-1/5x2+1/-2x3+2x4-2x5+3/4x6-3/4x7-x9+x10<5/0\n>5\n+5/0x1=-1/2\n-3/-4x1+3/-4x2=0\n\n\n"},
    // Row 0 holds 9s that must not show through when w_row is the objective.
    {0, 6, 2, "0 9 9 9 9 9 9 | 3 1 1 1 0 0 4 | 5 1 3 0 -1 1 6", "0 0 0 0 0 -1 0", 'w',
     grid_head + "\t0\t0\t0\t0\t-1\t0\t\n" + separator_line(6) + "x3\t1\t1\t1\t0\t0\t4\t\n\n" +
         "x5\t1\t3\t0\t-1\t1\t6\t\n\n" + separator_line(6) + "\n"},
    {0, 6, 2, "0 9 9 9 9 9 9 | 3 2/3 0 1 1/3 -1/3 2 | 2 1/3 1 0 -1/3 1/3 2", "0 0 0 0 0 -1 0", 'w',
     grid_head + "\t0\t0\t0\t0\t-1\t0\t\n" + separator_line(6) +
         "x3\t2/3\t0\t1\t1/3\t-1/3\t2\t\n\n" + "x2\t1/3\t1\t0\t-1/3\t1/3\t2\t\n\n" +
         separator_line(6) + "\n"},
    {0, 1, 1, "0 | 1 5", "0 0/103", 'w',
     "\n\n\tRHS\n" + separator_line(1) + "\t0/103\t\n" + separator_line(1) + "x1\t5\t\n\n" +
         separator_line(1) + "\n"},
    {0, 3, 0, "0 -1/2 1/-2 0", "", '0',
     "\n\n\tx1\tx2\tRHS\n" + separator_line(3) + "\t-1/2\t1/-2\t0\t\n" + separator_line(3) +
         separator_line(3) + "\n"},
    // Values past 32 bits are printed in full, in the grid and in the echo's terms.
    {0, 3, 1,
     "0 -9223372036854775808/3 1/9223372036854775807 -4294967296 | 1 1 2147483648/-1 "
     "4294967311/4294967296",
     "", '0',
     "\n\n\tx1\tx2\tRHS\n" + separator_line(3) +
         "\t-9223372036854775808/3\t1/9223372036854775807\t-4294967296\t\n" + separator_line(3) +
         "x1\t1\t2147483648/-1\t4294967311/4294967296\t\n\n" + separator_line(3) + "\n"},
    {3, 0, 1, "0/0 -4294967296 9223372036854775807/2 0 | -1 -1/4294967296 3 -5/9223372036854775807",
     "", 'p',
     "Funzione Obiettivo\nMin z -> -4294967296x1+9223372036854775807/2x2=0\nMatrice dei vincoli\n"
     "-1/4294967296x1+3x2<-5/9223372036854775807\n\n\n"},
    // Under --max row 0 holds the costs as typed (the row of -z); the echo shows the row of z,
    // z - c*x = 0, exactly as the plain echo shows the same typed costs, and then what the
    // tableaux minimise.
    {6, 0, 1, "0/0 3 5 -1/2 1/-3 0 -2147483648 0/0 0 | -1 1 1 4", "", 'm',
     "Funzione Obiettivo\nMax z -> -3x1-5x2+1/2x3-1/-3x4+2147483648x6=0\n"
     "I tableau minimizzano -z: riga di -z, costi come scritti; RHS finale = -max z\n"
     "Matrice dei vincoli\n+x1+x2<4\n\n\n"},
};

} // namespace

TEST(DisplayOutput, EchoAndGridByteForByte) {
    for (const display_case &c : cases) {
        auto s = fresh_store();
        s->cost_count = c.cost_count;
        s->n_cols = c.n_cols;
        s->n_rows = c.n_rows;
        std::istringstream rows(c.rows);
        std::string cells;
        for (int r = 0; std::getline(rows, cells, '|'); ++r) {
            int count = set_cells(s->tableau[r], cells);
            if (r == 0)
                continue;
            row_length(*s, r) = count - 1; // the last cell is the right-hand side
            // Column 0 gives the relation (echo) or the basic variable (grid).
            s->relation[r] = s->basic[r] = static_cast<int32_t>(s->tableau[r][0].num);
        }
        set_cells(s->w_row, c.w_row);
        std::ostringstream out;
        s->maximise = c.shown == 'm';
        if (c.shown == 'p' || c.shown == 'm')
            print_problem(*s, out);
        else
            print_tableau(*s, c.shown == 'w' ? s->w_row : s->tableau[0], out);
        EXPECT_EQ(out.str(), c.want) << c.rows;
    }
}

// The formatted output that every screen text carrying a number goes through.
TEST(Display, FormatStringsFillEachConversionInTurn) {
    std::ostringstream out;
    put_format(out, "vincoli funzione %d -> ", 12);
    put_format(out, "|x%d\t", -7);
    put_format(out, "|%d/%d\t", int64_t{-9223372036854775807} - 1, 3);
    put_format(out, "|%s%d/%dx%d", "+", 2147483647, 5, 98);
    put_format(out, "|no conversion 100");
    EXPECT_EQ(out.str(), "vincoli funzione 12 -> |x-7\t|-9223372036854775808/3\t|+2147483647/5x98"
                         "|no conversion 100");
}
