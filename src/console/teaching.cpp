// Teaching mode's screens. Every number is shown in lowest terms with a positive denominator, the
// cells a student checks against the grid included, since the grid shows them so too. Lines
// are laid out as text first and then written within the width, broken between words.
#include "console/teaching.h"

#include <ostream>
#include <string>

#include "analysis/solution_check.h"
#include "console/number_text.h"
#include "console/text_out.h"
#include "console/wrapped_line.h"
#include "simplex/pivot_selection.h"
#include "simplex/solution.h"

namespace {

using i128 = __int128;

// "  riga 2 (x3): 1 : 1 = 1 <- minimo": the row's division, broken only between its terms.
void print_ratio_line(const tableau_store &s, int row, int col, bool chosen, int width,
                      std::ostream &out) {
    fraction entry = s.tableau[row][col], rhs = s.tableau[row][s.n_cols];
    std::string label = format_text("  riga %d (x%d):", row, row_basic(s, row));
    number_text rhs_text = lowest_form(rhs), entry_text = lowest_form(entry),
                ratio_text = ratio_form(rhs, entry);
    wrapped_line line = begin_wrapped(out, width);
    for (std::string_view item : {std::string_view(label), view(rhs_text), std::string_view(":"),
                                  view(entry_text), std::string_view("="), view(ratio_text)})
        put_item(line, item);
    if (chosen)
        put_item(line, "<- minimo");
    end_wrapped(line);
}

const char *relation_text(int32_t code) {
    return code == relation_less ? "<=" : (code == relation_greater ? ">=" : "=");
}

// How the solution lines name the optimum: the minimum of z, or under --max its maximum.
const char *objective_name(bool maximise) {
    return maximise ? "max z" : "z";
}

// The check that failed, after "Verifica fallita: ".
std::string failed_check_text(const solution_check &check, bool maximise) {
    if (check.outcome == check_outcome::negative_value)
        return format_text("Verifica fallita: x%d = %s < 0", check.index,
                           view(lowest_form(check.lhs)));
    if (check.outcome == check_outcome::row_violated)
        return format_text("Verifica fallita: vincolo %d non soddisfatto (%s %s %s)", check.index,
                           view(lowest_form(check.lhs)), relation_text(check.relation),
                           view(lowest_form(check.rhs)));
    return format_text("Verifica fallita: c*x = %s, diverso da %s = %s",
                       view(lowest_form(check.lhs)), objective_name(maximise),
                       view(lowest_form(check.rhs)));
}

} // namespace

number_text ratio_form(fraction rhs, fraction entry) {
    // Two fields of 64 bits at most make a product that fits in 128.
    return lowest_form(i128{rhs.num} * entry.den, i128{rhs.den} * entry.num);
}

void print_ratio_test(const tableau_store &s, int col, int row, int width, std::ostream &out) {
    put_words(out, format_text("Test del rapporto minimo sulla colonna x%d:", col), width);
    for (int i = 1; i <= s.n_rows; ++i)
        if (row_can_leave(s, i, col))
            print_ratio_line(s, i, col, i == row, width, out);
}

void print_pivot(const tableau_store &s, const phase_run &run, int width, std::ostream &out) {
    put_words(out,
              format_text("Entra x%d, esce x%d (riga %d), elemento pivot %s", run.col,
                          row_basic(s, run.row), run.row,
                          view(lowest_form(s.tableau[run.row][run.col]))),
              width);
    print_ratio_test(s, run.col, run.row, width, out);
}

void print_rule_note(const phase_run &run, int width, std::ostream &out) {
    if (run.rule == pivot_rule::lowest_index)
        put_words(out,
                  "Regola del minimo indice: dopo un pivot degenere entra la prima colonna "
                  "migliorante e, a pari rapporto, esce la variabile di indice minore",
                  width);
}

void print_choice(const tableau_store &s, const phase_run &run, int width, std::ostream &out) {
    if (run.end != phase_end::running)
        return;
    print_pivot(s, run, width, out);
    print_rule_note(run, width, out);
}

void print_removal(const artificial_removal &removal, int width, std::ostream &out) {
    for (int k = 0; k < removal.n_exits; ++k) {
        const artificial_exit &e = removal.exits[k];
        put_words(out,
                  format_text("Esce x%d (artificiale), entra x%d (riga %d), elemento pivot %s",
                              e.left, e.entered, e.row, view(lowest_form(e.element))),
                  width);
    }
    for (int k = 0; k < removal.n_deleted; ++k)
        put_words(out,
                  format_text("Riga %d eliminata: x%d artificiale resta in base, il vincolo e' "
                              "ridondante",
                              removal.deleted_row[k], removal.deleted_basic[k]),
                  width);
}

void print_solution(const tableau_store &s, int width, std::ostream &out) {
    basic_solution solution = read_solution(s);
    wrapped_line line = begin_wrapped(out, width);
    put_item(line, "Soluzione:");
    for (int j = 1; j <= solution.n_vars; ++j) // "x1 = 3/2," stays whole on its screen line
        put_item(line, format_text(j < solution.n_vars ? "x%d = %s," : "x%d = %s", j,
                                   view(lowest_form(solution.x[j]))));
    end_wrapped(line);
    put_words(out,
              format_text("Valore ottimo: %s = %s", objective_name(s.typed.maximise),
                          view(lowest_form(solution.z))),
              width);
    print_verification(s.typed, solution.x, solution.z, width, out);
}

void print_infeasible(const tableau_store &s, int width, std::ostream &out) {
    put_words(out,
              format_text("Minimo della prima fase: w = %s > 0, nessun punto soddisfa tutti i "
                          "vincoli",
                          view(lowest_form(s.w_row[s.n_cols]))),
              width);
}

void print_unbounded(const tableau_store &s, const phase_run &run, int width, std::ostream &out) {
    const char *way = s.maximise ? "cresce" : "decresce";
    put_words(out,
              format_text("La colonna x%d non ha elementi positivi: se x%d entra, z %s senza "
                          "limite",
                          run.col, run.col, way),
              width);
}

void print_phase1_skipped(const tableau_store &s, int width, std::ostream &out) {
    std::string basis;
    for (int i = 1; i <= s.n_rows; ++i)
        basis += format_text(i == 1 ? " (x%d" : ", x%d", row_basic(s, i));
    basis += s.n_rows > 0 ? ")" : "";
    put_words(out,
              "Nessuna variabile artificiale: la base iniziale" + basis +
                  " e' gia' ammissibile, la prima fase non serve: si passa alla seconda.",
              width);
}

void print_verification(const typed_problem &typed, const fraction *x, fraction z, int width,
                        std::ostream &out) {
    solution_check check = check_solution(typed, x, z);
    if (check.outcome == check_outcome::passed)
        put_words(out,
                  format_text("Verifica: tutti i vincoli sono soddisfatti e c*x = %s",
                              objective_name(typed.maximise)),
                  width);
    else if (check.outcome == check_outcome::overflow)
        put_words(out, "Verifica non eseguita: overflow aritmetico", width);
    else
        put_words(out, failed_check_text(check, typed.maximise), width);
}
