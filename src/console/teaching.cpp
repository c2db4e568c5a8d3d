// Teaching mode's screens. The numbers a student checks by hand (ratios, the solution, the
// optimum) are shown in lowest terms with a positive denominator; cells of the tableau keep the
// form the grid shows.
#include "console/teaching.h"

#include <ostream>

#include "analysis/solution_check.h"
#include "console/number_text.h"
#include "console/text_out.h"
#include "simplex/pivot_selection.h"
#include "simplex/solution.h"

namespace {

using i128 = __int128;

const char *relation_text(int32_t code) {
    return code == relation_less ? "<=" : (code == relation_greater ? ">=" : "=");
}

// How the solution lines name the optimum: the minimum of z, or under --max its maximum.
const char *objective_name(bool maximise) {
    return maximise ? "max z" : "z";
}

// The check that failed, after "Verifica fallita: ".
void print_failed_check(const solution_check &check, bool maximise, std::ostream &out) {
    if (check.outcome == check_outcome::negative_value)
        put_format(out, "Verifica fallita: x%d = %s < 0\n", check.index,
                   view(lowest_form(check.lhs)));
    else if (check.outcome == check_outcome::row_violated)
        put_format(out, "Verifica fallita: vincolo %d non soddisfatto (%s %s %s)\n", check.index,
                   view(lowest_form(check.lhs)), relation_text(check.relation),
                   view(lowest_form(check.rhs)));
    else
        put_format(out, "Verifica fallita: c*x = %s, diverso da %s = %s\n",
                   view(lowest_form(check.lhs)), objective_name(maximise),
                   view(lowest_form(check.rhs)));
}

} // namespace

number_text ratio_form(fraction rhs, fraction entry) {
    // Two fields of 64 bits at most make a product that fits in 128.
    return lowest_form(i128{rhs.num} * entry.den, i128{rhs.den} * entry.num);
}

void print_ratio_test(const tableau_store &s, int col, int row, std::ostream &out) {
    put_format(out, "Test del rapporto minimo sulla colonna x%d:\n", col);
    for (int i = 1; i <= s.n_rows; ++i) {
        if (!row_can_leave(s, i, col))
            continue;
        fraction entry = s.tableau[i][col], rhs = s.tableau[i][s.n_cols];
        put_format(out, "\triga %d (x%d): %s : %s = %s", i, row_basic(s, i), view(stored_form(rhs)),
                   view(stored_form(entry)), view(ratio_form(rhs, entry)));
        put(out, i == row ? "\t<- minimo\n" : "\n");
    }
}

void print_pivot(const tableau_store &s, const phase_run &run, std::ostream &out) {
    put_format(out, "Entra x%d, esce x%d (riga %d), elemento pivot %s\n", run.col,
               row_basic(s, run.row), run.row, view(stored_form(s.tableau[run.row][run.col])));
    print_ratio_test(s, run.col, run.row, out);
}

void print_rule_note(const phase_run &run, std::ostream &out) {
    if (run.rule == pivot_rule::lowest_index)
        put(out, "Regola del minimo indice: il pivot precedente era degenere, quindi entra la "
                 "prima colonna migliorante e a pari rapporto esce la variabile di indice "
                 "minore\n");
}

void print_choice(const tableau_store &s, const phase_run &run, std::ostream &out) {
    if (run.end != phase_end::running)
        return;
    print_pivot(s, run, out);
    print_rule_note(run, out);
}

void print_removal(const artificial_removal &removal, std::ostream &out) {
    for (int k = 0; k < removal.n_exits; ++k) {
        const artificial_exit &e = removal.exits[k];
        put_format(out, "Esce x%d (artificiale), entra x%d (riga %d), elemento pivot %s\n", e.left,
                   e.entered, e.row, view(stored_form(e.element)));
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
    put_format(out, "\nValore ottimo: %s = %s\n", objective_name(s.typed.maximise),
               view(lowest_form(solution.z)));
    print_verification(s.typed, solution.x, solution.z, out);
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

void print_verification(const typed_problem &typed, const fraction *x, fraction z,
                        std::ostream &out) {
    solution_check check = check_solution(typed, x, z);
    if (check.outcome == check_outcome::passed)
        put_format(out, "Verifica: tutti i vincoli sono soddisfatti e c*x = %s\n",
                   objective_name(typed.maximise));
    else if (check.outcome == check_outcome::overflow)
        put(out, "Verifica non eseguita: overflow aritmetico\n");
    else
        print_failed_check(check, typed.maximise, out);
}
