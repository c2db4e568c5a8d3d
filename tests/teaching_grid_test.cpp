// Teaching mode's layout pieces: the screen width, values as text, the aligned grid with its
// blocks, and lines broken between items, alone and on the screens of whole runs. Expected grids
// are laid out by hand.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

#include "console/number_text.h"
#include "console/screen_width.h"
#include "console/teaching_grid.h"
#include "console/wrapped_line.h"
#include "simplex/phases.h"
#include "standard_form/standard_form.h"
#include "test_support.h"

namespace {

// A grid over rows kept by the test: row 0 the objective, then rows 1..n with their basics.
struct hand_tableau {
    std::vector<std::vector<fraction>> rows; // cells 1..n_cols at [1..]
    std::vector<int64_t> basic;
};

hand_tableau hand_rows(const std::vector<std::string> &rows, const std::vector<int64_t> &basic) {
    hand_tableau h{{}, {0}};
    for (const std::string &cells : rows) {
        h.rows.emplace_back(table_size, fraction{0, 1});
        set_cells(h.rows.back().data() + 1, cells);
    }
    h.basic.insert(h.basic.end(), basic.begin(), basic.end());
    return h;
}

std::string grid(const hand_tableau &h, int n_cols, const char *label, int width,
                 grid_cell pivot = {0, 0}) {
    grid_tableau g{};
    g.n_cols = n_cols;
    g.n_rows = static_cast<int>(h.rows.size()) - 1;
    g.objective_label = label;
    g.objective = h.rows[0].data();
    for (int i = 1; i <= g.n_rows; ++i) {
        g.rows[i] = h.rows[static_cast<size_t>(i)].data();
        g.basic[i] = h.basic[static_cast<size_t>(i)];
    }
    g.pivot_row = pivot.row;
    g.pivot_col = pivot.col;
    std::ostringstream out;
    print_grid(g, width, out);
    return out.str();
}

std::vector<std::string> split(const std::string &text, const std::string &by) {
    std::vector<std::string> parts;
    for (size_t at = 0;;) {
        size_t next = text.find(by, at);
        parts.push_back(text.substr(at, next == std::string::npos ? next : next - at));
        if (next == std::string::npos)
            return parts;
        at = next + by.size();
    }
}

std::vector<std::string> words(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string w; in >> w;)
        result.push_back(w);
    return result;
}

using i128 = __int128;

i128 parse_integer(const std::string &text) {
    i128 v = 0;
    for (char c : text.substr(text[0] == '-' ? 1 : 0))
        v = v * 10 + (c - '0');
    return text[0] == '-' ? -v : v;
}

i128 gcd128(i128 a, i128 b) {
    a = a < 0 ? -a : a;
    while (b != 0) {
        i128 r = a % b;
        a = b;
        b = r < 0 ? -r : r;
    }
    return a;
}

// The text shows num/den in lowest terms: same value, positive denominator, "n" when it is 1.
void expect_lowest(const std::string &text, i128 num, i128 den) {
    size_t slash = text.find('/');
    i128 n = parse_integer(text.substr(0, slash));
    i128 d = slash == std::string::npos ? 1 : parse_integer(text.substr(slash + 1));
    bool ok = d > 0 && (slash == std::string::npos || d > 1) && gcd128(n, d) == 1 &&
              n * den == num * d && !(n == 0 && text != "0");
    EXPECT_TRUE(ok) << text << " for " << static_cast<long long>(num) << "/"
                    << static_cast<long long>(den);
}

} // namespace

TEST(ScreenWidth, TerminalThenColumnsThenEighty) {
    struct width_case {
        int terminal;
        const char *columns;
        int want;
    } cases[] = {
        {100, "60", 100}, {40, nullptr, 40}, {39, "60", 60},   {0, "60", 60},  {0, "40", 40},
        {0, "0132", 132}, {0, "39", 80},     {0, nullptr, 80}, {0, "", 80},    {0, "6o", 80},
        {0, " 60", 80},   {0, "60 ", 80},    {0, "-60", 80},   {0, "+60", 80}, {20, "20", 80},
    };
    for (const width_case &c : cases)
        EXPECT_EQ(choose_screen_width(c.terminal, c.columns), c.want)
            << c.terminal << " " << (c.columns ? c.columns : "unset");
    // A number too large for an int is still a width, wider than any line.
    EXPECT_GE(choose_screen_width(0, "99999999999999999999999"), 10000);
}

namespace {

// screen_width() with standard output on a pseudo-terminal of the given columns, or on a file.
int width_with_stdout(int terminal_columns, const char *columns) {
    int saved = dup(STDOUT_FILENO);
    int target = -1, master = -1;
    if (terminal_columns > 0) {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master, 0);
        grantpt(master);
        unlockpt(master);
        target = open(ptsname(master), O_RDWR | O_NOCTTY);
        winsize size{24, static_cast<unsigned short>(terminal_columns), 0, 0};
        ioctl(target, TIOCSWINSZ, &size);
    } else {
        target = open("/dev/null", O_WRONLY);
    }
    EXPECT_GE(target, 0);
    std::fflush(stdout);
    dup2(target, STDOUT_FILENO);
    setenv("COLUMNS", columns, 1);
    int width = screen_width();
    unsetenv("COLUMNS");
    dup2(saved, STDOUT_FILENO);
    for (int fd : {saved, target, master})
        if (fd >= 0)
            close(fd);
    return width;
}

} // namespace

TEST(ScreenWidth, AsksTheTerminalOfStandardOutput) {
    EXPECT_EQ(width_with_stdout(132, "60"), 132);
    EXPECT_EQ(width_with_stdout(30, "60"), 60); // a terminal that reports too few columns
    EXPECT_EQ(width_with_stdout(0, "60"), 60);
    EXPECT_EQ(width_with_stdout(0, "abc"), 80);
}

TEST(NumberText, StoredFormAndLowestTerms) {
    const int64_t lo = INT64_MIN, hi = INT64_MAX;
    struct text_case {
        fraction f;
        const char *stored, *lowest;
    } cases[] = {
        {{-25, 500}, "-25/500", "-1/20"},
        {{0, 5}, "0/5", "0"},
        {{18869, 18869}, "18869/18869", "1"},
        {{5, 125}, "5/125", "1/25"},
        {{1, -2}, "1/-2", "-1/2"},
        {{-3, -6}, "-3/-6", "1/2"},
        {{0, -7}, "0/-7", "0"},
        {{7, 1}, "7", "7"},
        {{lo, 1}, "-9223372036854775808", "-9223372036854775808"},
        {{lo, -1}, "-9223372036854775808/-1", "9223372036854775808"},
        {{5, lo}, "5/-9223372036854775808", "-5/9223372036854775808"},
        {{hi, lo},
         "9223372036854775807/-9223372036854775808",
         "-9223372036854775807/9223372036854775808"},
        {{lo, lo}, "-9223372036854775808/-9223372036854775808", "1"},
        {{7, 0}, "7/0", "7/0"},
    };
    for (const text_case &c : cases) {
        EXPECT_EQ(view(stored_form(c.f)), c.stored);
        EXPECT_EQ(view(lowest_form(c.f)), c.lowest) << c.stored;
    }
    // Products of two 64-bit fields, as a ratio of two cells gives them.
    EXPECT_EQ(view(lowest_form(i128{hi} * hi, i128{hi} * 2)), "9223372036854775807/2");
    EXPECT_EQ(view(lowest_form(i128{lo} * lo, -3)), "-85070591730234615865843651857942052864/3");
    for (int num = -30; num <= 30; ++num)
        for (int den = -30; den <= 30; ++den)
            if (den != 0)
                expect_lowest(std::string(view(lowest_form(fraction{num, den}))), num, den);
}

TEST(TeachingGrid, AlignedReducedLabelledWithThePivot) {
    struct grid_case {
        int n_cols;
        std::vector<std::string> rows;
        std::vector<int64_t> basic;
        const char *label;
        grid_cell pivot;
        std::string want;
    } cases[] = {
        {6,
         {"0 0 0 0 -1 0", "1 1 1 0 0 4", "1 3 0 -1 1 6"},
         {3, 5},
         "w",
         {0, 0},
         "    x1  x2  x3  x4  x5  RHS\n"
         "w    0   0   0   0  -1    0\n"
         "---------------------------\n"
         "x3   1   1   1   0   0    4\n"
         "x5   1   3   0  -1   1    6\n"},
        {3,
         {"-25/500 0/5 18869/18869", "4/2 5/125 7/3"},
         {1},
         "-z",
         {1, 1},
         "       x1    x2  RHS\n"
         "-z  -1/20     0    1\n"
         "--------------------\n"
         "x1    [2]  1/25  7/3\n"},
        // Row 0 names no pivot, whatever the column.
        {3,
         {"-25/500 0/5 18869/18869", "4/2 5/125 7/3"},
         {1},
         "z",
         {0, 1},
         "       x1    x2  RHS\n"
         "z   -1/20     0    1\n"
         "--------------------\n"
         "x1      2  1/25  7/3\n"},
        {1, {"0/103"}, {}, "z", {0, 0}, "   RHS\nz    0\n------\n"},
    };
    for (const grid_case &c : cases)
        EXPECT_EQ(grid(hand_rows(c.rows, c.basic), c.n_cols, c.label, 80, c.pivot), c.want)
            << c.want;
}

TEST(TeachingGrid, SplitsIntoBlocksOfWholeColumns) {
    // Field widths 3 2 4 3 2 2 2 5 behind labels of 2: the whole line is 41 characters.
    hand_tableau h = hand_rows(
        {"1/2 -1 0 2/4 10 0/3 -3 5", "1 0 0 0 0 0 0 12", "0 1 -2/6 0 0 0 0 -13/2"}, {1, 2});
    const std::string left = "     x1  x2    x3   x4  x5  x6  x7\n"
                             "z   1/2  -1     0  1/2  10   0  -3\n"
                             "----------------------------------\n"
                             "x1    1   0     0    0   0   0   0\n"
                             "x2    0   1  -1/3    0   0   0   0\n",
                      right = "      RHS\n"
                              "z       5\n"
                              "---------\n"
                              "x1     12\n"
                              "x2  -13/2\n";
    EXPECT_EQ(grid(h, 8, "z", 40), left + "\n" + right);
    EXPECT_EQ(grid(h, 8, "z", 41), "     x1  x2    x3   x4  x5  x6  x7    RHS\n"
                                   "z   1/2  -1     0  1/2  10   0  -3      5\n"
                                   "-----------------------------------------\n"
                                   "x1    1   0     0    0   0   0   0     12\n"
                                   "x2    0   1  -1/3    0   0   0   0  -13/2\n");
}

namespace {

// The grid read back: per block the column names, then per line the label and the cell texts.
struct read_block {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> lines; // objective, then rows; label first
    size_t length;                               // of every line
};

std::vector<read_block> read_grid(const std::string &text) {
    std::vector<read_block> blocks;
    EXPECT_EQ(text.find('\t'), std::string::npos);
    for (const std::string &part : split(text.substr(0, text.size() - 1), "\n\n")) {
        std::vector<std::string> lines = split(part, "\n");
        read_block b{words(lines[0]), {}, lines[0].size()};
        EXPECT_EQ(lines[2], std::string(b.length, '-'));
        for (size_t k = 1; k < lines.size(); ++k) {
            EXPECT_EQ(lines[k].size(), b.length) << lines[k]; // every column right-aligned
            if (k != 2)
                b.lines.push_back(words(lines[k]));
        }
        blocks.push_back(b);
    }
    return blocks;
}

std::vector<std::string> names_of(const std::vector<read_block> &blocks) {
    std::vector<std::string> names;
    for (const read_block &b : blocks)
        names.insert(names.end(), b.names.begin(), b.names.end());
    return names;
}

} // namespace

TEST(TeachingGrid, AColumnWiderThanTheScreenStandsAlone) {
    hand_tableau h = hand_rows({"1 -9223372036854775808/9223372036854775807 3 4", "1 2 3 4"}, {1});
    std::vector<read_block> blocks = read_grid(grid(h, 4, "z", 40));
    ASSERT_EQ(blocks.size(), 3U);
    EXPECT_EQ(blocks[0].names, std::vector<std::string>{"x1"});
    EXPECT_EQ(blocks[1].names, std::vector<std::string>{"x2"});
    EXPECT_EQ(blocks[1].length, 44U);
    EXPECT_EQ((blocks[2].names), (std::vector<std::string>{"x3", "RHS"}));
}

// Random tableaux up to 98 columns with values over the whole 64-bit range: every line within
// the width (but a lone over-wide column's), as few blocks as fit, every value in lowest terms,
// the pivot alone in brackets.
TEST(TeachingGrid, RandomTableauxFitTheWidth) {
    std::mt19937_64 random(17);
    auto field = [&](bool den) -> int64_t {
        int64_t v = 0;
        switch (random() % 3) {
        case 0:
            v = static_cast<int64_t>(random() % 61) - 30;
            break;
        case 1:
            v = static_cast<int64_t>(random());
            break;
        default:
            v = random() % 2 ? INT64_MIN + static_cast<int64_t>(random() % 3)
                             : INT64_MAX - static_cast<int64_t>(random() % 3);
        }
        return den && v == 0 ? 1 : v;
    };
    for (int width : {60, 80, 132})
        for (int trial = 0; trial < 40; ++trial) {
            int n_cols = 1 + static_cast<int>(random() % 98),
                n_rows = static_cast<int>(random() % 30);
            hand_tableau h{std::vector<std::vector<fraction>>(static_cast<size_t>(n_rows) + 1,
                                                              std::vector<fraction>(table_size)),
                           {0}};
            for (auto &row : h.rows)
                for (int j = 1; j <= n_cols; ++j)
                    row[static_cast<size_t>(j)] = {field(false), field(true)};
            for (int i = 1; i <= n_rows; ++i)
                h.basic.push_back(1 + static_cast<int64_t>(random() % 98));
            grid_cell pivot{n_rows > 0 ? 1 + trial % n_rows : 0, 1 + trial % n_cols};
            std::vector<read_block> blocks = read_grid(grid(h, n_cols, "w", width, pivot));

            std::vector<std::string> names;
            for (int j = 1; j < n_cols; ++j)
                names.push_back("x" + std::to_string(j));
            names.push_back("RHS");
            ASSERT_EQ(names_of(blocks), names);
            size_t label_width = 1;
            for (int i = 1; i <= n_rows; ++i)
                label_width = std::max(label_width, 1 + std::to_string(h.basic[i]).size());
            // At width 1 every column stands alone: the field each takes after the labels.
            std::vector<read_block> alone = read_grid(grid(h, n_cols, "w", 1, pivot));
            int first = 1;
            for (size_t b = 0; b < blocks.size(); ++b) {
                const read_block &block = blocks[b];
                EXPECT_TRUE(block.length <= static_cast<size_t>(width) || block.names.size() == 1);
                if (b + 1 < blocks.size()) { // the next column did not fit in this block
                    size_t next_field =
                        alone[static_cast<size_t>(first) - 1 + block.names.size()].length -
                        label_width;
                    EXPECT_GT(block.length + next_field, static_cast<size_t>(width));
                }
                for (size_t k = 0; k < block.lines.size(); ++k) {
                    const std::vector<std::string> &line = block.lines[k];
                    ASSERT_EQ(line.size(), block.names.size() + 1);
                    EXPECT_EQ(line[0], k == 0 ? "w" : "x" + std::to_string(h.basic[k]));
                    for (size_t c = 1; c < line.size(); ++c) {
                        int j = first + static_cast<int>(c) - 1;
                        std::string text = line[c];
                        bool bracketed = text.front() == '[';
                        bool at_pivot = k > 0 && static_cast<int>(k) == pivot.row && j == pivot.col;
                        EXPECT_EQ(bracketed, at_pivot) << text;
                        if (bracketed)
                            text = text.substr(1, text.size() - 2);
                        fraction f = h.rows[k][static_cast<size_t>(j)];
                        expect_lowest(text, f.num, f.den);
                    }
                }
                first += static_cast<int>(block.names.size());
            }
        }
}

TEST(TeachingGrid, FromTheStoreBetweenBlankLines) {
    // Row 0 holds 9s that must not show through when w_row is the objective.
    auto s = store_from_rows(3, "0 9 9 9 | 4 2 1 4 | 1 1 0 3/2", "0 -3 -1 -11/2");
    std::ostringstream out;
    print_teaching_tableau(*s, s->w_row, "w", {2, 1}, 80, out);
    EXPECT_EQ(out.str(), "\n"
                         "     x1  x2    RHS\n"
                         "w    -3  -1  -11/2\n"
                         "------------------\n"
                         "x4    2   1      4\n"
                         "x1  [1]   0    3/2\n"
                         "\n");
}

TEST(WrappedLine, BreaksOnlyBetweenItems) {
    struct wrap_case {
        std::vector<std::string_view> items;
        int width;
        const char *want;
    } cases[] = {
        {{"Soluzione:", "x1 = 3/2,", "x2 = 1/2"}, 80, "Soluzione: x1 = 3/2, x2 = 1/2\n"},
        {{"aaaa", "bbbb"}, 9, "aaaa bbbb\n"},
        {{"aaaa", "bbbb", "cccc"}, 9, "aaaa bbbb\n    cccc\n"},
        {{"aaaa", "bbbb", "cccc", "dd", "eeee"}, 11, "aaaa bbbb\n    cccc dd\n    eeee\n"},
        {{"ab", "0123456789012", "cd"}, 10, "ab\n    0123456789012\n    cd\n"},
        {{"0123456789012", "cd"}, 10, "0123456789012\n    cd\n"},
        {{}, 10, "\n"},
    };
    for (const wrap_case &c : cases) {
        std::ostringstream out;
        put_wrapped(out, c.items, c.width);
        EXPECT_EQ(out.str(), c.want);
    }
}

namespace {

// A tableau as the engine holds it when a screen shows it: objective row first, cells 1..n_cols.
struct tableau_shot {
    std::vector<std::vector<fraction>> lines;
    std::vector<int64_t> basic;
};

tableau_shot shot(const tableau_store &s, const table_row &objective) {
    tableau_shot t{{std::vector<fraction>(objective + 1, objective + s.n_cols + 1)}, {}};
    for (int i = 1; i <= s.n_rows; ++i) {
        t.lines.emplace_back(s.tableau[i] + 1, s.tableau[i] + s.n_cols + 1);
        t.basic.push_back(row_basic(s, i));
    }
    return t;
}

// Every tableau a teaching run shows, in order, taken from the engine's own steps: the standard
// form (w, or z without artificial variables), phase 1 pivot by pivot unless there is nothing to
// minimise, phase 2 priced out, without the artificial variables, pivot by pivot.
std::vector<tableau_shot> shown_tableaus(const std::string &keys) {
    auto s = read_typed(keys);
    std::vector<tableau_shot> shown;
    build_standard_form(*s);
    if (s->too_big)
        return shown;
    bool phase1 = s->n_artificial > 0;
    shown.push_back(shot(*s, phase1 ? s->w_row : s->tableau[0]));
    phase_run run = start_phase1(*s);
    if (!phase1)
        continue_phase(*s, run, all_pivots);
    for (bool more = phase1 && run.end != phase_end::overflow; more;) {
        shown.push_back(shot(*s, s->w_row));
        more = continue_phase(*s, run, 1) == phase_end::running;
    }
    if (phase1 && run.end != phase_end::overflow)
        shown.push_back(shot(*s, s->w_row)); // the final tableau
    if (run.end != phase_end::optimal || !prepare_phase2(*s))
        return shown;
    shown.push_back(shot(*s, s->tableau[0]));
    artificial_removal removal;
    run = begin_phase2(*s, removal);
    if (phase1 && run.end != phase_end::overflow)
        shown.push_back(shot(*s, s->tableau[0]));
    while (continue_phase(*s, run, 1) == phase_end::running)
        shown.push_back(shot(*s, s->tableau[0]));
    if (run.end != phase_end::overflow)
        shown.push_back(shot(*s, s->tableau[0]));
    return shown;
}

bool is_grid_header(const std::string &line) {
    std::vector<std::string> names = words(line);
    if (line.empty() || line[0] != ' ' || names.empty())
        return false;
    for (const std::string &name : names)
        if (name != "RHS" && (name[0] != 'x' || name.size() < 2 ||
                              name.find_first_not_of("0123456789", 1) != std::string::npos))
            return false;
    return true;
}

// The grids of a screen, each as the text of its blocks.
std::vector<std::string> grids_of(const std::vector<std::string> &lines) {
    std::vector<std::string> grids;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (!is_grid_header(lines[k]))
            continue;
        std::string text;
        for (bool last = false; !last; ++k) {
            last = words(lines[k]).back() == "RHS";
            for (; k < lines.size() && !lines[k].empty(); ++k)
                text += lines[k] + "\n";
            text += last ? "" : "\n";
        }
        grids.push_back(text);
    }
    return grids;
}

// A problem of n_vars variables whose rows, of every relation, hold at a point of small integers
// or have right-hand sides drawn at random; rows are added while standard form, counted as if
// every ">" and "=" row needed an artificial variable, stays within 98 columns.
std::string random_problem(std::mt19937_64 &random, int n_vars, int rows) {
    auto small = [&](int range) { return static_cast<int>(random() % (2 * range + 1)) - range; };
    std::vector<int> x0(static_cast<size_t>(n_vars));
    for (int &v : x0)
        v = random() % 4 == 0 ? 0 : small(3) + 3;
    std::string keys = "\n";
    for (int j = 0; j < n_vars; ++j)
        keys += std::to_string(small(5)) + (j + 1 < n_vars ? " " : "\n");
    int columns = n_vars + 1;
    bool feasible = random() % 4 != 0;
    for (int i = 0; i < rows; ++i) {
        char relation = "<=>"[random() % 3];
        std::string row;
        int lhs = 0;
        for (int j = 0; j < n_vars; ++j) {
            int a = random() % 3 == 0 ? 0 : small(5);
            lhs += a * x0[static_cast<size_t>(j)];
            row += std::to_string(a) + " ";
        }
        int gap = relation == '=' ? 0 : static_cast<int>(random() % 3);
        int rhs = feasible ? lhs + (relation == '<' ? gap : -gap) : small(20);
        bool turned = rhs < 0; // "<" turns into ">" and takes two columns
        columns += relation == '=' ? 1 : ((relation == '>') != turned ? 2 : 1);
        if (columns > max_rhs_col)
            break;
        keys += row + relation + " " + std::to_string(rhs) + "\n";
    }
    return keys + "q\n";
}

} // namespace

// Whole teaching runs at widths 60, 80 and 132 on problems of up to 98 columns: no line after the
// echo wider than the screen (but an item that alone is wider, which stays whole), and every grid
// shows, in lowest terms, the values of the tableau the engine holds at that point.
TEST(TeachingGrid, WholeRunsFitTheWidthAndShowTheEnginesTableaus) {
    std::mt19937_64 random(1717);
    int widest_columns = 0;
    for (int width : {60, 80, 132})
        for (int trial = 0; trial < 8; ++trial) {
            // The first three as wide as the store allows, the rest of any size.
            int n_vars = trial < 3 ? 28 : 1 + static_cast<int>(random() % 28);
            int rows = trial < 3 ? max_rows : 1 + static_cast<int>(random() % 34);
            std::string keys = random_problem(random, n_vars, rows);
            program_run run = run_with_keys(keys + std::string(2000, '\n'), true, width);
            size_t echo_end = run.screen.find("Il problema da risolvere:\n");
            ASSERT_NE(echo_end, std::string::npos) << keys;
            std::vector<std::string> lines = split(run.screen.substr(echo_end), "\n");
            for (const std::string &line : lines) {
                EXPECT_EQ(line.find('\t'), std::string::npos) << line;
                size_t start = line.starts_with("    ") ? 4 : 0;
                bool lone_item = line.find(' ', start) == std::string::npos;
                EXPECT_TRUE(line.size() <= static_cast<size_t>(width) || lone_item)
                    << "width " << width << ": " << line << "\n"
                    << keys;
            }
            std::vector<tableau_shot> shown = shown_tableaus(keys);
            std::vector<std::string> grids = grids_of(lines);
            ASSERT_EQ(grids.size(), shown.size()) << keys;
            EXPECT_FALSE(grids.empty()) << "too big for the tables:\n" << keys;
            for (size_t g = 0; g < grids.size(); ++g) {
                std::vector<read_block> blocks = read_grid(grids[g]);
                const tableau_shot &t = shown[g];
                widest_columns = std::max(widest_columns, static_cast<int>(t.lines[0].size()));
                for (size_t k = 0; k < t.lines.size(); ++k) {
                    std::vector<std::string> cells;
                    for (const read_block &b : blocks) {
                        ASSERT_EQ(b.lines.size(), t.lines.size()) << grids[g];
                        cells.insert(cells.end(), b.lines[k].begin() + 1, b.lines[k].end());
                    }
                    if (k > 0) {
                        EXPECT_EQ(blocks[0].lines[k][0], "x" + std::to_string(t.basic[k - 1]));
                    }
                    ASSERT_EQ(cells.size(), t.lines[k].size()) << grids[g];
                    for (size_t j = 0; j < cells.size(); ++j) {
                        std::string text = cells[j];
                        if (text.front() == '[')
                            text = text.substr(1, text.size() - 2);
                        expect_lowest(text, t.lines[k][j].num, t.lines[k][j].den);
                    }
                }
            }
        }
    EXPECT_GE(widest_columns, 90); // the widest tableaus came near the store's 98 columns
}
