// The teaching grid: one pass measures every column, a second writes the blocks. Each cell is
// put into text twice rather than kept, since a full tableau's texts would not sit lightly on the
// stack.
#include "console/teaching_grid.h"

#include <cassert>
#include <charconv>
#include <cstring>
#include <ostream>

#include "console/number_text.h"
#include "console/text_out.h"

namespace {

constexpr int header_line = -1; // line numbers: the header, then 0 the objective, 1.. the rows
constexpr int gap = 2;          // spaces before each column

number_text variable_name(int64_t index) {
    number_text t{};
    t.text[t.len++] = 'x';
    t.len =
        static_cast<int>(std::to_chars(t.text + t.len, t.text + sizeof t.text, index).ptr - t.text);
    return t;
}

number_text bracketed(const number_text &value) {
    number_text t{};
    t.text[t.len++] = '[';
    std::memcpy(t.text + t.len, value.text, static_cast<size_t>(value.len));
    t.len += value.len;
    t.text[t.len++] = ']';
    return t;
}

// The text in column j of a line.
number_text cell_text(const grid_tableau &g, int line, int j) {
    if (line == header_line) {
        if (j < g.n_cols)
            return variable_name(j);
        number_text rhs{"RHS", 3};
        return rhs;
    }
    number_text value = lowest_form(line == 0 ? g.objective[j] : g.rows[line][j]);
    bool pivot = line > 0 && line == g.pivot_row && j == g.pivot_col; // row 0 names no pivot
    return pivot ? bracketed(value) : value;
}

number_text label_text(const grid_tableau &g, int line) {
    if (line == header_line)
        return number_text{};
    if (line == 0) {
        number_text t{};
        t.len = static_cast<int>(std::strlen(g.objective_label));
        assert(t.len < static_cast<int>(sizeof t.text)); // z, -z or w
        std::memcpy(t.text, g.objective_label, static_cast<size_t>(t.len));
        return t;
    }
    return variable_name(g.basic[line]);
}

// Column widths, and the label column's in widths[0].
void measure(const grid_tableau &g, int *widths) {
    for (int j = 0; j <= g.n_cols; ++j) {
        widths[j] = 0;
        for (int line = header_line; line <= g.n_rows; ++line) {
            int len = j == 0 ? label_text(g, line).len : cell_text(g, line, j).len;
            widths[j] = len > widths[j] ? len : widths[j];
        }
    }
}

void put_spaces(std::ostream &out, int count) {
    constexpr std::string_view spaces = "                                ";
    while (count > 0) {
        int n = count < static_cast<int>(spaces.size()) ? count : static_cast<int>(spaces.size());
        put(out, spaces.substr(0, static_cast<size_t>(n)));
        count -= n;
    }
}

// One line of a block, columns first..last.
void print_line(const grid_tableau &g, const int *widths, int line, int first, int last,
                std::ostream &out) {
    number_text label = label_text(g, line);
    put(out, view(label));
    put_spaces(out, widths[0] - label.len);
    for (int j = first; j <= last; ++j) {
        number_text cell = cell_text(g, line, j);
        put_spaces(out, gap + widths[j] - cell.len);
        put(out, view(cell));
    }
    put(out, "\n");
}

int block_width(const int *widths, int first, int last) {
    int total = widths[0];
    for (int j = first; j <= last; ++j)
        total += gap + widths[j];
    return total;
}

void print_block(const grid_tableau &g, const int *widths, int first, int last, std::ostream &out) {
    print_line(g, widths, header_line, first, last, out);
    print_line(g, widths, 0, first, last, out);
    int rule = block_width(widths, first, last);
    for (int k = 0; k < rule; ++k)
        put(out, "-");
    put(out, "\n");
    for (int i = 1; i <= g.n_rows; ++i)
        print_line(g, widths, i, first, last, out);
}

// The last column of the block that starts at `first`: as many columns as fit, at least one.
int block_end(const int *widths, int first, int n_cols, int width) {
    int last = first, used = block_width(widths, first, first);
    while (last < n_cols && used + gap + widths[last + 1] <= width)
        used += gap + widths[++last];
    return last;
}

} // namespace

void print_grid(const grid_tableau &g, int width, std::ostream &out) {
    assert(g.n_cols < table_size && g.n_rows < table_size); // the store's own limits
    int widths[table_size]{};
    measure(g, widths);
    for (int first = 1; first <= g.n_cols;) {
        if (first > 1)
            put(out, "\n");
        int last = block_end(widths, first, g.n_cols, width);
        print_block(g, widths, first, last, out);
        first = last + 1;
    }
}

void print_teaching_tableau(const tableau_store &s, const table_row &objective,
                            const char *objective_label, grid_cell pivot, int width,
                            std::ostream &out) {
    grid_tableau g{};
    g.n_cols = s.n_cols;
    g.n_rows = s.n_rows;
    g.objective_label = objective_label;
    g.objective = objective;
    for (int i = 1; i <= s.n_rows; ++i) {
        g.rows[i] = s.tableau[i];
        g.basic[i] = row_basic(s, i);
    }
    g.pivot_row = pivot.row;
    g.pivot_col = pivot.col;
    put(out, "\n");
    print_grid(g, width, out);
    put(out, "\n");
}
