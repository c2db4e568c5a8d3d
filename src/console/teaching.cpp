// Teaching mode's screens. The numbers a student checks by hand (ratios, the solution, the
// optimum) are shown in lowest terms with a positive denominator; cells of the tableau keep the
// form the grid shows.
#include "console/teaching.h"

#include <ostream>
#include <string_view>

#include "analysis/solution_check.h"
#include "console/text_out.h"
#include "simplex/pivot_selection.h"
#include "simplex/solution.h"

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
        if (!row_can_leave(s, i, run.col))
            continue;
        fraction entry = s.tableau[i][run.col], rhs = s.tableau[i][s.n_cols];
        put_format(out, "\triga %d (x%d): %s : %s = %s", i, row_basic(s, i), view(grid_form(rhs)),
                   view(grid_form(entry)), view(ratio_form(rhs, entry)));
        put(out, i == run.row ? "\t<- minimo\n" : "\n");
    }
}

const char *relation_text(int32_t code) {
    return code == relation_less ? "<=" : (code == relation_greater ? ">=" : "=");
}

// The check that failed, after "Verifica fallita: ".
void print_failed_check(const solution_check &check, std::ostream &out) {
    if (check.outcome == check_outcome::negative_value)
        put_format(out, "Verifica fallita: x%d = %s < 0\n", check.index,
                   view(lowest_form(check.lhs)));
    else if (check.outcome == check_outcome::row_violated)
        put_format(out, "Verifica fallita: vincolo %d non soddisfatto (%s %s %s)\n", check.index,
                   view(lowest_form(check.lhs)), relation_text(check.relation),
                   view(lowest_form(check.rhs)));
    else
        put_format(out, "Verifica fallita: c*x = %s, diverso da z = %s\n",
                   view(lowest_form(check.lhs)), view(lowest_form(check.rhs)));
}

} // namespace

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
    basic_solution solution = read_solution(s);
    put(out, "Soluzione: ");
    for (int j = 1; j <= solution.n_vars; ++j)
        put_format(out, j > 1 ? ", x%d = %s" : "x%d = %s", j, view(lowest_form(solution.x[j])));
    put_format(out, "\nValore ottimo: z = %s\n", view(lowest_form(solution.z)));
    print_verification(s.typed, solution.x, solution.z, out);
}

void print_infeasible(const tableau_store &s, std::ostream &out) {
    put_format(out, "Minimo della prima fase: w = %s > 0, nessun punto soddisfa tutti i vincoli\n",
               view(lowest_form(s.w_row[s.n_cols])));
}

void print_unbounded(const phase_run &run, std::ostream &out) {
    put_format(out,
               "La colonna x%d non ha elementi positivi: facendo entrare x%d, z decresce senza "
               "limite\n",
               run.col, run.col);
}

void print_verification(const typed_problem &typed, const fraction *x, fraction z,
                        std::ostream &out) {
    solution_check check = check_solution(typed, x, z);
    if (check.outcome == check_outcome::passed)
        put(out, "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n");
    else if (check.outcome == check_outcome::overflow)
        put(out, "Verifica non eseguita: overflow aritmetico\n");
    else
        print_failed_check(check, out);
}
