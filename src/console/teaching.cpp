// Teaching mode's screens. The numbers a student checks by hand (ratios, the solution, the
// optimum) are shown in lowest terms with a positive denominator; cells of the tableau keep the
// form the grid shows.
#include "console/teaching.h"

#include <cstring>
#include <ostream>
#include <string_view>

#include "console/text_out.h"

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

// A number as text: wide enough for a ratio of two 64-bit fractions in lowest terms.
struct value_text {
    char text[96];
    int len;
};

std::string_view view(const value_text &t) {
    return {t.text, static_cast<size_t>(t.len)};
}

void append_integer(value_text &t, i128 v) {
    u128 magnitude = v < 0 ? -static_cast<u128>(v) : static_cast<u128>(v);
    char digits[40];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + static_cast<int>(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (v < 0)
        t.text[t.len++] = '-';
    while (n > 0)
        t.text[t.len++] = digits[--n];
}

// "n", or "n/d" when d is not 1: the grid's number form.
value_text number_form(i128 num, i128 den) {
    value_text t{};
    append_integer(t, num);
    if (den != 1) {
        t.text[t.len++] = '/';
        append_integer(t, den);
    }
    return t;
}

value_text grid_form(fraction f) {
    return number_form(f.num, f.den);
}

u128 gcd(u128 a, u128 b) {
    while (b != 0) {
        u128 r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// num/den in lowest terms with a positive denominator; den is never 0 here.
value_text lowest_form(i128 num, i128 den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    u128 g =
        gcd(num < 0 ? -static_cast<u128>(num) : static_cast<u128>(num), static_cast<u128>(den));
    if (g > 1) {
        num /= static_cast<i128>(g);
        den /= static_cast<i128>(g);
    }
    return number_form(num, den);
}

value_text lowest_form(fraction f) {
    return lowest_form(f.num, f.den);
}

// rhs / entry, exactly: two fields of 64 bits at most make a product that fits in 128.
value_text ratio_form(fraction rhs, fraction entry) {
    return lowest_form(i128{rhs.num} * entry.den, i128{rhs.den} * entry.num);
}

void print_ratio_test(const tableau_store &s, const phase_run &run, std::ostream &out) {
    put_format(out, "Test del rapporto minimo sulla colonna x%d:\n", run.col);
    for (int i = 1; i <= s.n_rows; ++i) {
        fraction entry = s.tableau[i][run.col], rhs = s.tableau[i][s.n_cols];
        if (!frac_is_positive(entry) || frac_is_negative(rhs))
            continue;
        put_format(out, "\triga %d (x%d): %s : %s = %s", i, row_basic(s, i), view(grid_form(rhs)),
                   view(grid_form(entry)), view(ratio_form(rhs, entry)));
        put(out, i == run.row ? "\t<- minimo\n" : "\n");
    }
}

// The typed row's length and relation code, kept where the tableau keeps them.
int typed_length(const typed_problem &typed, int row) {
    return static_cast<int>(typed.rows[row][length_col].num);
}
int32_t typed_relation(const typed_problem &typed, int row) {
    return static_cast<int32_t>(typed.rows[row][0].num);
}

// A typed cell; an empty or zero denominator was read as 1.
fraction typed_cell(const typed_problem &typed, int row, int col) {
    fraction f = typed.rows[row][col];
    if (f.den == 0)
        f.den = 1;
    return f;
}

// sum of row[1..n] * x[1..n] over the typed cells of one row.
fraction typed_product(const typed_problem &typed, int row, int n, const fraction *x,
                       bool &overflow) {
    fraction sum{0, 1};
    for (int j = 1; j <= n; ++j)
        sum = frac_add(sum, frac_mul(typed_cell(typed, row, j), x[j], overflow), overflow);
    return sum;
}

// The sign of a - b: -1, 0 or 1.
int compare(fraction a, fraction b, bool &overflow) {
    fraction difference = frac_sub_mul(a, b, fraction{1, 1}, overflow);
    return frac_is_negative(difference) ? -1 : (frac_is_positive(difference) ? 1 : 0);
}

bool relation_holds(int32_t code, int order) {
    if (code == relation_less)
        return order <= 0;
    if (code == relation_greater)
        return order >= 0;
    return order == 0;
}

const char *relation_text(int32_t code) {
    return code == relation_less ? "<=" : (code == relation_greater ? ">=" : "=");
}

// How the solution lines name the optimum: the minimum of z, or under --max its maximum.
const char *objective_name(bool maximise) {
    return maximise ? "max z" : "z";
}

// The first check that fails, written after "Verifica fallita: "; false when none does.
bool find_failed_check(const typed_problem &typed, bool maximise, const fraction *x, fraction z,
                       std::ostream &out, bool &overflow) {
    for (int j = 1; j <= typed.n_vars; ++j)
        if (frac_is_negative(x[j])) {
            put_format(out, "Verifica fallita: x%d = %s < 0\n", j, view(lowest_form(x[j])));
            return true;
        }
    for (int i = 1; i <= typed.n_rows; ++i) {
        int length = typed_length(typed, i);
        fraction lhs = typed_product(typed, i, length - 1, x, overflow);
        fraction rhs = typed_cell(typed, i, length);
        int32_t code = typed_relation(typed, i);
        int order = compare(lhs, rhs, overflow);
        if (overflow)
            return false; // nothing more can be trusted
        if (relation_holds(code, order))
            continue;
        put_format(out, "Verifica fallita: vincolo %d non soddisfatto (%s %s %s)\n", i,
                   view(lowest_form(lhs)), relation_text(code), view(lowest_form(rhs)));
        return true;
    }
    // Row 0 holds the costs negated, so c*x is minus its product with x; under --max it holds
    // them as typed.
    fraction cx = typed_product(typed, 0, typed.n_vars, x, overflow);
    if (!maximise)
        cx = frac_negate(cx);
    int order = compare(cx, z, overflow);
    if (overflow || order == 0)
        return false;
    put_format(out, "Verifica fallita: c*x = %s, diverso da %s = %s\n", view(lowest_form(cx)),
               objective_name(maximise), view(lowest_form(z)));
    return true;
}

} // namespace

void keep_typed_problem(tableau_store &s) {
    std::memcpy(s.typed.rows, s.tableau, sizeof s.typed.rows);
    s.typed.n_rows = s.n_rows;
    s.typed.n_vars = s.n_cols - 1;
}

void print_choice(const tableau_store &s, const phase_run &run, std::ostream &out) {
    if (run.end != phase_end::running)
        return;
    put_format(out, "Entra x%d, esce x%d (riga %d), elemento pivot %s\n", run.col,
               row_basic(s, run.row), run.row, view(grid_form(s.tableau[run.row][run.col])));
    print_ratio_test(s, run, out);
    if (run.rule == pivot_rule::lowest_index)
        put(out, "Regola del minimo indice: il pivot precedente era degenere, quindi entra la "
                 "prima colonna migliorante e a pari rapporto esce la variabile di indice "
                 "minore\n");
}

void print_removal(const artificial_removal &removal, std::ostream &out) {
    for (int k = 0; k < removal.n_exits; ++k) {
        const artificial_exit &e = removal.exits[k];
        put_format(out, "Esce x%d (artificiale), entra x%d (riga %d), elemento pivot %s\n", e.left,
                   e.entered, e.row, view(grid_form(e.element)));
    }
    for (int k = 0; k < removal.n_deleted; ++k)
        put_format(out,
                   "Riga %d eliminata: x%d artificiale resta in base, il vincolo e' ridondante\n",
                   removal.deleted_row[k], removal.deleted_basic[k]);
}

void print_solution(const tableau_store &s, std::ostream &out) {
    fraction x[table_size];
    for (int j = 1; j <= s.typed.n_vars; ++j)
        x[j] = {0, 1};
    for (int i = 1; i <= s.n_rows; ++i)
        if (row_basic(s, i) <= s.typed.n_vars)
            x[row_basic(s, i)] = s.tableau[i][s.n_cols];
    put(out, "Soluzione: ");
    for (int j = 1; j <= s.typed.n_vars; ++j)
        put_format(out, j > 1 ? ", x%d = %s" : "x%d = %s", j, view(lowest_form(x[j])));
    // Under --max the tableaux minimised -z: the maximum is minus their optimum.
    fraction z = s.tableau[0][s.n_cols];
    if (s.maximise)
        z = frac_negate(z);
    put_format(out, "\nValore ottimo: %s = %s\n", objective_name(s.maximise), view(lowest_form(z)));
    print_verification(s.typed, s.maximise, x, z, out);
}

void print_infeasible(const tableau_store &s, std::ostream &out) {
    put_format(out, "Minimo della prima fase: w = %s > 0, nessun punto soddisfa tutti i vincoli\n",
               view(lowest_form(s.w_row[s.n_cols])));
}

void print_unbounded(const tableau_store &s, const phase_run &run, std::ostream &out) {
    // Under --max the tableaux minimise -z, which decreases as z grows.
    put_format(out,
               "La colonna x%d non ha elementi positivi: facendo entrare x%d, z %s senza limite\n",
               run.col, run.col, s.maximise ? "cresce" : "decresce");
}

void print_verification(const typed_problem &typed, bool maximise, const fraction *x, fraction z,
                        std::ostream &out) {
    bool overflow = false;
    bool failed = find_failed_check(typed, maximise, x, z, out, overflow);
    if (failed)
        return;
    if (overflow)
        put(out, "Verifica non eseguita: overflow aritmetico\n");
    else
        put_format(out, "Verifica: tutti i vincoli sono soddisfatti e c*x = %s\n",
                   objective_name(maximise));
}
