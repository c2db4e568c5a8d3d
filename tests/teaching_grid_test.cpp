// Teaching mode's layout pieces: the screen width, values as text, the aligned grid with its
// blocks, and lines broken between items. Expected grids are laid out by hand.
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
