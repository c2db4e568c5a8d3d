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
const std::string no_relation = "error: relazione mancante!\n";
const std::string only_rhs = "error: dopo la relazione va solo il termine noto!\n";
const std::string no_problem = "error: nessun problema inserito!\n";
std::string not_number(const std::string &word) {
    return "error: numero non valido: " + word + "\n";
}
std::string not_relation(const std::string &word) {
    return "error: relazione non valida: " + word + "\n";
}

// The screen from the cost prompt on: the instruction line before it is fixed text.
std::string from_cost_prompt(const std::string &shown) {
    return shown.substr(std::min(shown.size(), shown.find(cost_prompt)));
}

// One constraint line typed after the cost line "1", then q: the row it leaves (empty when the
// line is refused) and the messages after it. A refused line brings its prompt back, and the q
// typed there ends the constraints with no row.
struct constraint_case {
    std::string line, row, messages;
};

void check_constraint_lines(const constraint_case *cases, size_t count) {
    for (size_t k = 0; k < count; ++k) {
        const auto &[line, row, messages] = cases[k];
        std::string shown;
        auto s = read_typed("1\n" + line + "\nq\n", &shown);
        bool refused = row.empty();
        EXPECT_EQ(row_text(*s, 1), refused ? "1: #0\n" : row) << "line: '" << line << "'";
        EXPECT_EQ(s->n_rows, refused ? 0 : 1) << line;
        EXPECT_EQ(row_text(*s, 2), "2: #0\n") << line;
        EXPECT_EQ(from_cost_prompt(shown),
                  cost_prompt + "\n" + prompt(1) + messages + prompt(refused ? 1 : 2))
            << "line: '" << line << "'";
    }
}

} // namespace

TEST(ReaderInput, WholeProblemsAndRefusedLines) {
    const struct {
        std::string keys, store, screen;
    } cases[] = {
        {"3 -2 1/2\n1 1 0 < 4\n2/3 0 1 > 1/2\n1 = 2\nq\n",
         "c=4 n=4 r=3 w=5\n0: 0/0 -3/1 2/1 -1/2 0/0 0/1 #0\n1: -1/1 1/1 1/1 0/1 4/1 #4\n"
         "2: 1/1 2/3 0/1 1/1 1/2 #4\n3: 0/1 1/1 2/1 #2\n4: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2) + prompt(3) + prompt(4)},
        // Cost words: negated numerators, denominators as typed; messages once the line is taken.
        {"3/-4 4/0 4/ +3\nq\n", "c=5 n=5 r=0 w=6\n0: 0/0 -3/-4 -4/0 -4/0 -3/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + zero_den + zero_den + "\n" + prompt(1)},
        // A cost line longer than every row still gives every cost a column; Q and Quit end the
        // constraints like q.
        {"1 2 3 4\n1 < 2\nQuit 5\n",
         "c=5 n=5 r=1 w=6\n0: 0/0 -1/1 -2/1 -3/1 -4/1 0/0 0/1 #0\n1: -1/1 1/1 2/1 #2\n2: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2)},
        {"1\nQ\n", "c=2 n=2 r=0 w=3\n0: 0/0 -1/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + "\n" + prompt(1)},
        // 99 characters are refused, q or trailing spaces included; 98 are a line, and so are 98
        // before a carriage return.
        {"1" + std::string(98, ' ') + "\n2\n" + "q" + std::string(98, 'x') + "\n" +
             std::string(99, '9') + "\n" + "1 < 2" + std::string(94, ' ') + "\n" + "5 = 1" +
             std::string(93, ' ') + "\n" + "5 = 2" + std::string(93, ' ') + "\r\nq\n",
         "c=2 n=2 r=2 w=3\n0: 0/0 -2/1 0/0 0/1 #0\n1: 0/1 5/1 1/1 #2\n2: 0/1 5/1 2/1 #2\n3: #0\n",
         cost_prompt + too_long + cost_prompt + "\n" + prompt(1) + too_long + prompt(1) + too_long +
             prompt(1) + too_long + prompt(1) + prompt(2) + prompt(3)},
        // Empty and blank lines ask again silently; end of input ends the last line.
        {"\n   \n\t \t\n1\n\n  \n2 < 3",
         "c=2 n=2 r=1 w=3\n0: 0/0 -1/1 0/0 0/1 #0\n1: -1/1 2/1 3/1 #2\n2: #0\n",
         cost_prompt + cost_prompt + cost_prompt + cost_prompt + "\n" + prompt(1) + prompt(1) +
             prompt(1) + prompt(2)},
        // Input that ends before a cost line is taken leaves the store as it was.
        {"", "c=0 n=0 r=0 w=0\n0: #0\n1: #0\n", cost_prompt + no_problem},
        {"   \n\n", "c=0 n=0 r=0 w=0\n0: #0\n1: #0\n",
         cost_prompt + cost_prompt + cost_prompt + no_problem},
        {"q\nmax 3 5\n3 5 x", "c=0 n=0 r=0 w=0\n0: #0\n1: #0\n",
         cost_prompt + not_number("q") + cost_prompt + not_number("max") + cost_prompt +
             not_number("x") + cost_prompt + no_problem},
        {"1 2", "c=3 n=3 r=0 w=4\n0: 0/0 -1/1 -2/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + "\n" + prompt(1)},
        {"1 2\n1 1 < 4\n",
         "c=3 n=3 r=1 w=4\n0: 0/0 -1/1 -2/1 0/0 0/1 #0\n1: -1/1 1/1 1/1 4/1 #3\n2: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2)},
        // No number after the relation: one message, before any about the numbers.
        {"1 2\n1 1 <\n1 1 <=\n1 1 >=   \n<\n==\n1 1 = <\n1/0 99999999999 ==\n1 1 <= 4\nq\n",
         "c=3 n=3 r=1 w=4\n0: 0/0 -1/1 -2/1 0/0 0/1 #0\n1: -1/1 1/1 1/1 4/1 #3\n2: #0\n",
         cost_prompt + "\n" + prompt(1) + no_rhs + prompt(1) + no_rhs + prompt(1) + no_rhs +
             prompt(1) + no_rhs + prompt(1) + no_rhs + prompt(1) + no_rhs + prompt(1) + no_rhs +
             prompt(1) + prompt(2)},
        // ... also when the end of input closes that line; a whole last line is taken.
        {"1\n1 1 >", "c=2 n=2 r=0 w=3\n0: 0/0 -1/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + "\n" + prompt(1) + no_rhs + prompt(1)},
        {"1\n1 1 >7", "c=2 n=3 r=1 w=4\n0: 0/0 -1/1 0/0 0/1 #0\n1: 1/1 1/1 1/1 7/1 #3\n2: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2)},
        // Windows line ends read as typed.
        {"1 2\r\n1 1 = 2\r\n1 -1 < 1\r\nq\r\n",
         "c=3 n=3 r=2 w=4\n0: 0/0 -1/1 -2/1 0/0 0/1 #0\n1: 0/1 1/1 1/1 2/1 #3\n"
         "2: -1/1 1/1 -1/1 1/1 #3\n3: #0\n",
         cost_prompt + "\n" + prompt(1) + prompt(2) + prompt(3)},
        // The cost -2147483648 is taken: the store holds its negation.
        {"-2147483648 1", "c=3 n=3 r=0 w=4\n0: 0/0 2147483648/1 -1/1 0/0 0/1 #0\n1: #0\n",
         cost_prompt + "\n" + prompt(1)},
        // Numbers past 32 bits refuse their whole line, relation included.
        {"-2147483649\n1 99999999999999999999\n2147483647 -2147483647/3 1/-2147483648\n"
         "2147483648 > 1\n5 > 1/4294967296\n9 9 9 9 -2147483649 > 1\n0.00000000001 < 1\n1 = 2\n"
         "2147483647 -2147483648 < 1\nq\n",
         "c=4 n=4 r=2 w=5\n0: 0/0 -2147483647/1 2147483647/3 -1/-2147483648 0/0 0/1 #0\n"
         "1: 0/1 1/1 2/1 #2\n2: -1/1 2147483647/1 -2147483648/1 1/1 #3\n3: #0\n",
         cost_prompt + too_big + cost_prompt + too_big + cost_prompt + "\n" + prompt(1) + too_big +
             prompt(1) + too_big + prompt(1) + too_big + prompt(1) + too_big + prompt(1) +
             prompt(2) + prompt(3)},
    };
    for (const auto &[keys, store, screen] : cases) {
        std::string shown;
        auto s = read_typed(keys, &shown);
        EXPECT_EQ(store_text(*s), store) << "keys: " << keys;
        EXPECT_EQ(from_cost_prompt(shown), screen) << keys;
    }
}

TEST(ReaderInput, WordsSpacingAndRelations) {
    const constraint_case cases[] = {
        {"3 -3/4 3/-4 +3 -0 4/0 4/-0 007 < 1", "1: -1/1 3/1 -3/4 3/-4 3/1 0/1 4/0 4/0 7/1 1/1 #9\n",
         zero_den + zero_den},
        // Any run of spaces and tabs separates two words.
        {"1  2 = 3", "1: 0/1 1/1 2/1 3/1 #3\n", ""},
        {"1   2 = 3", "1: 0/1 1/1 2/1 3/1 #3\n", ""},
        {"  1 \t 2\t=\t\t3  \t", "1: 0/1 1/1 2/1 3/1 #3\n", ""},
        {"= 4", "1: 0/1 4/1 #1\n", ""},
        // The ten relation words, alone or glued to the numbers around them.
        {"1 1 < 12", "1: -1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 <= 12", "1: -1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 =< 12", "1: -1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 \xE2\x89\xA4 12", "1: -1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 = 12", "1: 0/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 == 12", "1: 0/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 > 12", "1: 1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 >= 12", "1: 1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 => 12", "1: 1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 \xE2\x89\xA5 12", "1: 1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 <12", "1: -1/1 1/1 1/1 12/1 #3\n", ""},
        {"1 1 <35", "1: -1/1 1/1 1/1 35/1 #3\n", ""},
        {"1 3< 5", "1: -1/1 1/1 3/1 5/1 #3\n", ""},
        {"1 1 <9", "1: -1/1 1/1 1/1 9/1 #3\n", ""},
        {"1 1=12", "1: 0/1 1/1 1/1 12/1 #3\n", ""},
        {"3<=5", "1: -1/1 3/1 5/1 #2\n", ""},
        {"1/2\xE2\x89\xA5-1/2", "1: 1/1 1/2 -1/2 #2\n", ""},
        {"1 1 >  -4/3", "1: 1/1 1/1 1/1 -4/3 #3\n", ""},
        {"0.3 0,1 <= 2.7", "1: -1/1 3/10 1/10 27/10 #3\n", ""},
        {"1 1 < 4/0", "1: -1/1 1/1 1/1 4/0 #3\n", zero_den},
        // A word that is not a number, named as typed (on a constraint line, the piece between
        // blanks and relation signs).
        {"3x1 2x2 < 18", "", not_number("3x1")},
        {"x y < 1", "", not_number("x")},
        {"3x1<=4", "", not_number("3x1")},
        {" q 1 > 2", "", not_number("q")},
        {"1 1 < q", "", not_number("q")},
        {"1/2/3 < 1", "", not_number("1/2/3")},
        {"1.5/2 < 1", "", not_number("1.5/2")},
        {"/4 < 1", "", not_number("/4")},
        {"-/4 < 1", "", not_number("-/4")},
        {"4/- < 1", "", not_number("4/-")},
        {"+ 1 < 1", "", not_number("+")},
        {"--1 < 1", "", not_number("--1")},
        {"1e3 < 1", "", not_number("1e3")},
        {"1 \xE2\x89\xA6 2", "", not_number("\xE2\x89\xA6")}, // U+2266 is no relation sign
        {"1 1 < 4\x01", "", not_number("4\x01")},
        // A run of relation signs that is none of the ten words.
        {"1 1 <> 4", "", not_relation("<>")},
        {"1 1 << 4", "", not_relation("<<")},
        {"1 1 === 4", "", not_relation("===")},
        {"1 1 \xE2\x89\xA4= 4", "", not_relation("\xE2\x89\xA4=")},
        {"1 1 >=<= 4", "", not_relation(">=<=")},
        // Exactly one relation, then exactly one number.
        {"1 1 4", "", no_relation},
        {"1 2 3", "", no_relation},
        {"1 1 <", "", no_rhs},
        {"1 1 = <", "", no_rhs},
        {"1 1 < 4 5", "", only_rhs},
        {"< 1 1 4", "", only_rhs},
        {"1 < 2 > 3", "", only_rhs},
        {"1 <= 2 >= 3", "", only_rhs},
        {"1 1 < < 4", "", only_rhs},
        {"1 1 = 2 <", "", only_rhs},
        // One message, the first that applies: a bad word in line order, the relation, the
        // right-hand side, the words after it, a number too large; zero denominators only on a
        // line that is taken.
        {"x <> 4", "", not_number("x")},
        {"<> x", "", not_relation("<>")},
        {"1 x", "", not_number("x")},
        {"99999999999 1", "", no_relation},
        {"99999999999 <", "", no_rhs},
        {"99999999999 < 1 2", "", only_rhs},
        {"1/0 < 1 2", "", only_rhs},
        {"1/0 < 99999999999", "", too_big},
        {"1 1 < 2147483648", "", too_big},
    };
    check_constraint_lines(cases, std::size(cases));
}

// Every form of number, typed as the one coefficient of "WORD = 1": integers and fractions keep
// the form typed, decimals become exact fractions in lowest terms with a positive denominator.
TEST(ReaderInput, NumberForms) {
    const constraint_case cases[] = {
        {"0.4 = 1", "1: 0/1 2/5 1/1 #2\n", ""},
        {"0,4 = 1", "1: 0/1 2/5 1/1 #2\n", ""},
        {"-2,75 = 1", "1: 0/1 -11/4 1/1 #2\n", ""},
        {"3.0 = 1", "1: 0/1 3/1 1/1 #2\n", ""},
        {".5 = 1", "1: 0/1 1/2 1/1 #2\n", ""},
        {"5. = 1", "1: 0/1 5/1 1/1 #2\n", ""},
        {"-.5 = 1", "1: 0/1 -1/2 1/1 #2\n", ""},
        {"+0.25 = 1", "1: 0/1 1/4 1/1 #2\n", ""},
        {"-0.0 = 1", "1: 0/1 0/1 1/1 #2\n", ""},
        {"007.50 = 1", "1: 0/1 15/2 1/1 #2\n", ""},
        {"0.1 = 1", "1: 0/1 1/10 1/1 #2\n", ""},
        {"0.000005 = 1", "1: 0/1 1/200000 1/1 #2\n", ""},
        {"1.0000000000000000000000000000000000000000000000000 = 1", "1: 0/1 1/1 1/1 #2\n", ""},
        {"000000000000000000000000000000000000000000000000001.5 = 1", "1: 0/1 3/2 1/1 #2\n", ""},
        // 2^-30 needs 30 digits after the mark and still fits; 2^-31 does not.
        {"0.000000000931322574615478515625 = 1", "1: 0/1 1/1073741824 1/1 #2\n", ""},
        {"0.0000000004656612873077392578125 = 1", "", too_big},
        {"214748364.7 = 1", "1: 0/1 2147483647/10 1/1 #2\n", ""},
        {"0.123456789 = 1", "1: 0/1 123456789/1000000000 1/1 #2\n", ""},
        {"0.2147483647 = 1", "", too_big},
        {"2147483647.0 = 1", "1: 0/1 2147483647/1 1/1 #2\n", ""},
        {"-2147483648,000 = 1", "1: 0/1 -2147483648/1 1/1 #2\n", ""},
        {"2147483648.0 = 1", "", too_big},
        {"-2147483648.5 = 1", "", too_big},
        {"12345678901234567890123456789012345678901234567890.5 = 1", "", too_big},
        {"1 = 0.5", "1: 0/1 1/1 1/2 #2\n", ""},
        // Fractions: signs where typed, an empty or zero denominator read as 0 with its message.
        {"-3/+4 = 1", "1: 0/1 -3/4 1/1 #2\n", ""},
        {"2147483647/-2147483648 = 1", "1: 0/1 2147483647/-2147483648 1/1 #2\n", ""},
        {"4/ = 1", "1: 0/1 4/0 1/1 #2\n", zero_den},
        {"0/0 = 1", "1: 0/1 0/0 1/1 #2\n", zero_den},
        {"1/2147483648 = 1", "", too_big},
        // Not numbers.
        {"1.2.3 = 1", "", not_number("1.2.3")},
        {"1,5/2 = 1", "", not_number("1,5/2")},
        {"3/2.5 = 1", "", not_number("3/2.5")},
        {". = 1", "", not_number(".")},
        {"-, = 1", "", not_number("-,")},
        {"+. = 1", "", not_number("+.")},
        {"1.5e3 = 1", "", not_number("1.5e3")},
        {"1. 5 = 1", "1: 0/1 1/1 5/1 1/1 #3\n", ""},
        {"0x10 = 1", "", not_number("0x10")},
    };
    check_constraint_lines(cases, std::size(cases));
}

// Under --max row 0 holds the costs as typed: exactly the cells the plain program stores for
// the costs negated, so every tableau after it is that program's.
TEST(ReaderInput, MaximisationStoresTheRowOfMinusZ) {
    const struct {
        std::string typed, negated;
    } cases[] = {
        {"3 5", "-3 -5"},
        {"-1/2 3/-4 -3/-4 0 0.4 -2,75 4/0", "1/2 -3/-4 3/-4 -0 -0.4 2,75 -4/0"},
    };
    for (const auto &[typed, negated] : cases) {
        std::string shown_max, shown_plain;
        auto s = read_typed(typed + "\n1 1 < 4\nq\n", &shown_max, true);
        auto plain = read_typed(negated + "\n1 1 < 4\nq\n", &shown_plain);
        EXPECT_EQ(store_text(*s), store_text(*plain)) << typed;
        EXPECT_EQ(shown_max, shown_plain) << typed;
    }
    auto s = read_typed("3 -2147483648 1/2\nq\n", nullptr, true);
    EXPECT_EQ(row_text(*s, 0), "0: 0/0 3/1 -2147483648/1 1/2 0/0 0/1 #0\n");
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
