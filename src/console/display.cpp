// Problem echo and tableau grid.
#include "console/display.h"

#include <ostream>

#include "console/number_text.h"
#include "console/text_out.h"

namespace {

// One coefficient of the echo: "+x1", "-1/5x2", "+3/4x3", "-2x4", or nothing for a zero.
void print_term(std::ostream &out, fraction v, int column) {
    if (v.num == 0)
        return;
    if (v.num == 1 || v.num == -1) {
        const char *sign = v.num == 1 ? "+" : "-";
        if (v.den == 1)
            put_format(out, "%sx%d", sign, column);
        else
            put_format(out, "%s1/%dx%d", sign, v.den, column);
        return;
    }
    const char *sign = v.num > 1 ? "+" : "";
    if (v.den == 1)
        put_format(out, "%s%dx%d", sign, v.num, column);
    else
        put_format(out, "%s%d/%dx%d", sign, v.num, v.den, column);
}

void print_value(std::ostream &out, fraction v) {
    put(out, view(stored_form(v)));
}

void print_cell(std::ostream &out, fraction v) {
    print_value(out, v);
    put(out, "\t");
}

void print_separator(std::ostream &out, int n_cols) {
    put(out, "\t");
    for (int j = 0; j < n_cols; ++j)
        put(out, "--------");
    put(out, "\n");
}

const char *relation_symbol(int code) {
    return code == relation_less ? "<" : (code == relation_greater ? ">" : "=");
}

// The objective as the row z - c*x = 0. Under --max row 0 holds the row of -z instead, which
// the tableaux minimise; the echo still shows the row of z, the one the student maximises, and
// says what the tableaux hold.
void print_objective(const tableau_store &s, std::ostream &out) {
    put(out, s.maximise ? "Max z -> " : "Min z -> ");
    int64_t sign = s.maximise ? -1 : 1; // typed values: 32 bits, so a negation fits
    for (int j = 1; j <= s.cost_count; ++j)
        print_term(out, {sign * s.tableau[0][j].num, s.tableau[0][j].den}, j);
    put_format(out, "=%d\n", sign * s.tableau[0][s.cost_count + 1].num);
    if (s.maximise)
        put(out, "I tableau minimizzano -z: riga di -z, costi come scritti; RHS finale = -max z\n");
}

} // namespace

void print_problem(const tableau_store &s, std::ostream &out) {
    put(out, "Funzione Obiettivo\n");
    print_objective(s, out);
    put(out, "Matrice dei vincoli\n");
    for (int i = 1; i <= s.n_rows; ++i) {
        int length = row_length(s, i);
        for (int j = 1; j < length; ++j)
            print_term(out, s.tableau[i][j], j);
        put(out, relation_symbol(s.relation[i]));
        print_value(out, s.tableau[i][length]);
        put(out, "\n");
    }
    put(out, "\n\n");
}

void print_tableau(const tableau_store &s, const table_row &objective, std::ostream &out) {
    put(out, "\n\n");
    put(out, "\t");
    for (int j = 1; j < s.n_cols; ++j)
        put_format(out, "x%d\t", j);
    put(out, "RHS\n");
    print_separator(out, s.n_cols);
    put(out, "\t");
    for (int j = 1; j <= s.n_cols; ++j)
        print_cell(out, objective[j]);
    put(out, "\n");
    print_separator(out, s.n_cols);
    for (int i = 1; i <= s.n_rows; ++i) {
        put_format(out, "x%d\t", row_basic(s, i));
        for (int j = 1; j <= s.n_cols; ++j)
            print_cell(out, s.tableau[i][j]);
        put(out, "\n\n");
    }
    print_separator(out, s.n_cols);
    put(out, "\n");
}
