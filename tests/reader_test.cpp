// The keyboard reader through in-memory streams: what each typed line leaves in the store and
// what the screen shows while it is typed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "test_support.h"

namespace {

// A row as "r: cells from column 0 up to the last one ever written #length", where column 0
// shows a constraint row's relation code as a fraction and is empty (0/0) elsewhere.
std::string row_text(const tableau_store &s, int r) {
    int last = max_rhs_col;
    while (last >= 1 && s.tableau[r][last].num == 0 && s.tableau[r][last].den == 0)
        --last;
    bool constraint = r >= 1 && r <= s.n_rows;
    std::string t = std::to_string(r) + ":";
    if (constraint)
        t += " " + std::to_string(s.relation[r]) + "/1";
    else if (last >= 1)
        t += " 0/0";
    for (int c = 1; c <= last; ++c)
        t += " " + fraction_text(s.tableau[r][c]);
    return t + " #" + std::to_string(row_length(s, r)) + "\n";
}

// Counters, the run of 0/1 cells that opens w_row, then rows 0..n_rows+1 (the last one must be
// untouched).
std::string store_text(const tableau_store &s) {
    int w = 0;
    while (w < table_size && s.w_row[w].num == 0 && s.w_row[w].den == 1)
        ++w;
    std::string t = "c=" + std::to_string(s.cost_count) + " n=" + std::to_string(s.n_cols) +
                    " r=" + std::to_string(s.n_rows) + " w=" + std::to_string(w) + "\n";
    for (int r = 0; r <= s.n_rows + 1 && r < table_size; ++r)
        t += row_text(s, r);
    return t;
}

const std::string cost_prompt = "costi funzione obiettivo -> ";
std::string prompt(int r) {
    return "vincoli funzione " + std::to_string(r) + " -> ";
}
const std::string too_long = "error: riga troppo lunga!\n";
const std::string too_big = "error: numero troppo grande!\n";
const std::string zero_den = "error: denominatore nullo!\n";
const std::string no_rhs = "error: termine noto mancante!\n";

} // namespace

TEST(ReaderInput, WholeProblemsAndRefusedLines) {
    const struct {
        std::string keys, store, screen;
    } cases[] = {
        {"3 -2 1/2\n1 1 0 < 4\n2/3 0 1 > 1/2\n1 = 2\nq\n",
         "c=4 n=4 r=3 w=5\n0: 0/0 -3/1 2/1 -1/2 0/0 0/1 #0\n1: -1/1 1/1 1/1 0/1 4/1 #4\n"
         "2: 1/1 2/3 0/1 1/1 1/2 #4\n3: 0/1 1/1 2/1 #2\n4: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2) + prompt(3) + prompt(4)},
        // Cost tokens: negated numerators, denominators as typed, q an ordinary token.
        {"3/-4 4/0 4/ q\nq\n", "c=5 n=5 r=0 w=6\n0: 0/0 -3/-4 -4/0 -4/0 0/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + zero_den + zero_den + "\n" + prompt(1)},
        // A cost line longer than every row still gives every cost a column.
        {"1 2 3 4\n1 < 2\nqx 5\n",
         "c=5 n=5 r=1 w=6\n0: 0/0 -1/1 -2/1 -3/1 -4/1 0/0 0/1 #0\n1: -1/1 1/1 2/1 #2\n2: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2)},
        // 99 characters are refused, q or trailing spaces included; 98 are a line.
        {"1" + std::string(98, ' ') + "\n2\n" + "q" + std::string(98, 'x') + "\n" +
             std::string(99, '9') + "\n" + "1 < 2" + std::string(94, ' ') + "\n" + "5" +
             std::string(97, ' ') + "\nq\n",
         "c=2 n=2 r=1 w=3\n0: 0/0 -2/1 0/0 0/1 #0\n1: 0/1 5/1 #1\n2: #0\n",
         cost_prompt + too_long + cost_prompt + "\n" + prompt(1) + too_long + prompt(1) + too_long +
             prompt(1) + too_long + prompt(1) + prompt(2)},
        // Empty and all-space lines ask again silently; end of input ends the last line.
        {"\n   \n1\n\n  \n2 < 3",
         "c=2 n=2 r=1 w=3\n0: 0/0 -1/1 0/0 0/1 #0\n1: -1/1 2/1 3/1 #2\n2: #0\n",
         cost_prompt + cost_prompt + cost_prompt + "\n" + prompt(1) + prompt(1) + prompt(1) +
             prompt(2)},
        {"", "c=0 n=0 r=0 w=1\n0: 0/0 0/1 #0\n1: #0\n", cost_prompt + "\n" + prompt(1)},
        {"   ", "c=0 n=0 r=0 w=1\n0: 0/0 0/1 #0\n1: #0\n", cost_prompt + "\n" + prompt(1)},
        {"1 2", "c=3 n=3 r=0 w=4\n0: 0/0 -1/1 -2/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + "\n" + prompt(1)},
        {"1 2\n1 1 < 4\n",
         "c=3 n=3 r=1 w=4\n0: 0/0 -1/1 -2/1 0/0 0/1 #0\n1: -1/1 1/1 1/1 4/1 #3\n2: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2)},
        // A relation symbol whose skip takes the rest of the line leaves no right-hand side: the
        // line is refused before its numbers are read (no other message), and asked again.
        {"1 2\n1 1 <\n1 1 <=\n1 1 >=   \n1 1 <9\n<\n==\n1 1 = 2 <\n1/0 99999999999 ==\n"
         "1 1 <= 4\nq\n",
         "c=3 n=3 r=1 w=4\n0: 0/0 -1/1 -2/1 0/0 0/1 #0\n1: -1/1 1/1 1/1 4/1 #3\n2: #0\n",
         cost_prompt + "\n" + prompt(1) + no_rhs + prompt(1) + no_rhs + prompt(1) + no_rhs +
             prompt(1) + no_rhs + prompt(1) + no_rhs + prompt(1) + no_rhs + prompt(1) + no_rhs +
             prompt(1) + no_rhs + prompt(1) + prompt(2)},
        // ... also when the end of input closes that line.
        {"1\n1 1 >7", "c=2 n=2 r=0 w=3\n0: 0/0 -1/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + "\n" + prompt(1) + no_rhs + prompt(1)},
        // The cost -2147483648 is taken: the store holds its negation.
        {"-2147483648 1", "c=3 n=3 r=0 w=4\n0: 0/0 2147483648/1 -1/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + "\n" + prompt(1)},
        // Numbers past 32 bits refuse their whole line, relation code included.
        {"-2147483649\n1 99999999999999999999\n2147483647 -2147483647/3 1/-2147483648\n"
         "2147483648 > 1\n5 > 1/4294967296\n9 9 9 9 -2147483649 > 1\n1 2\n"
         "2147483647 -2147483648 < 1\nq\n",
         "c=4 n=4 r=2 w=5\n0: 0/0 -2147483647/1 2147483647/3 -1/-2147483648 0/0 0/1 #0\n"
         "1: 0/1 1/1 2/1 #2\n2: -1/1 2147483647/1 -2147483648/1 1/1 #3\n3: #0\n",
         cost_prompt + too_big + cost_prompt + too_big + cost_prompt + "\n" + prompt(1) + too_big +
             prompt(1) + too_big + prompt(1) + too_big + prompt(1) + prompt(2) + prompt(3)},
    };
    for (const auto &[keys, store, screen] : cases) {
        std::string shown;
        auto s = read_typed(keys, &shown);
        EXPECT_EQ(store_text(*s), store) << "keys: " << keys;
        // From the cost prompt on: the instruction line before it is fixed text.
        EXPECT_EQ(shown.substr(std::min(shown.size(), shown.find(cost_prompt))), screen) << keys;
    }
}

TEST(ReaderInput, TokensSpacingAndRelationSymbols) {
    const struct {
        const char *line, *row, *messages;
    } cases[] = {
        {"3 -3/4 3/-4 1/2/3 /4 4/0 4/ abc < 1",
         "1: -1/1 3/1 -3/4 3/-4 1/2 0/1 4/0 4/0 0/1 1/1 #9\n",
         "error: denominatore nullo!\n"
         "error: denominatore nullo!\n"},
        {"1 1 <35", "1: -1/1 1/1 1/1 5/1 #3\n", ""},
        {"1 3< 5", "1: -1/1 1/1 35/1 #2\n", ""},
        {"< 1 1 4", "1: -1/1 1/1 1/1 4/1 #3\n", ""},
        {"1 < 2 > 3", "1: 1/1 1/1 2/1 3/1 #3\n", ""},
        {"1 2 3", "1: 0/1 1/1 2/1 3/1 #3\n", ""}, // no relation reads as "="
        {"1  2 = 3", "1: 0/1 1/1 2/1 3/1 #3\n", ""},
        {"1   2 = 3", "1: 0/1 1/1 0/1 2/1 3/1 #4\n", ""},
        {"1    2 = 3", "1: 0/1 1/1 0/1 2/1 3/1 #4\n", ""},
        {"1     2 = 3", "1: 0/1 1/1 0/1 0/1 2/1 3/1 #5\n", ""},
        {" 1 2 = 3", "1: 0/1 1/1 2/1 3/1 #3\n", ""},
        {"  1 2 = 3", "1: 0/1 0/1 1/1 2/1 3/1 #4\n", ""},
        {"Q 1 > 2", "1: 1/1 0/1 1/1 2/1 #3\n", ""},
        {" q 1 > 2", "1: 1/1 0/1 1/1 2/1 #3\n", ""},
        {"1 < 2   ", "1: -1/1 1/1 2/1 #2\n", ""},
        // A relation typed as two characters: the skip leaves an empty token, which is no entry.
        {"1 1 <= 4", "1: -1/1 1/1 1/1 4/1 #3\n", ""},
        {"1 1 >= 4", "1: 1/1 1/1 1/1 4/1 #3\n", ""},
        {"1 1 == 4", "1: 0/1 1/1 1/1 4/1 #3\n", ""},
        {"1 1 <  4", "1: -1/1 1/1 1/1 4/1 #3\n", ""},
        {"1 1 >  -4/3", "1: 1/1 1/1 1/1 -4/3 #3\n", ""},
        {"<= 1 1 4", "1: -1/1 1/1 1/1 4/1 #3\n", ""},
        {"1 <= 2 >= 3", "1: 1/1 1/1 2/1 3/1 #3\n", ""},
        {"1 1 <=4", "1: -1/1 1/1 1/1 4/1 #3\n", ""},
        {"1 1 <=  4", "1: -1/1 1/1 1/1 4/1 #3\n", ""},
        {"1 1 >=<= 4", "1: -1/1 1/1 1/1 4/1 #3\n", ""}, // the last symbol gives the relation
    };
    for (const auto &[line, row, messages] : cases) {
        std::string shown;
        auto s = read_typed(std::string("1\n") + line + "\nq\n", &shown);
        EXPECT_EQ(row_text(*s, 1), row) << "line: '" << line << "'";
        EXPECT_EQ(s->n_rows, 1) << line;
        EXPECT_EQ(row_text(*s, 2), "2: #0\n") << line;
        EXPECT_TRUE(shown.ends_with(cost_prompt + "\n" + prompt(1) + messages + prompt(2)))
            << "line: '" << line << "'\nscreen: " << shown;
    }
}

TEST(ReaderInput, StopsAfterTheNinetyNinthRowWithoutPrompting) {
    std::string keys = "1\n";
    for (int r = 1; r <= 100; ++r)
        keys += std::to_string(r) + " < 1\n";
    auto s = fresh_store();
    std::istringstream in(keys);
    std::ostringstream out;
    read_problem(*s, in, out);
    EXPECT_EQ(s->n_rows, 99);
    EXPECT_EQ(row_text(*s, 99), "99: -1/1 99/1 1/1 #2\n");
    EXPECT_TRUE(out.str().ends_with(prompt(99))) << out.str().substr(out.str().size() - 60);
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "100 < 1"); // the line after the 99th stays unread
}
