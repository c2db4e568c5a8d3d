// The problem as written and the legend of the standard form.
#include "console/teaching_problem.h"

#include <ostream>
#include <string>

#include "console/number_text.h"
#include "console/text_out.h"
#include "console/wrapped_line.h"

namespace {

using i128 = __int128;

// |f| as the coefficient in front of a variable: nothing for 1, "2", "(3/4)".
std::string magnitude_text(fraction f) {
    i128 num = f.num, den = f.den;
    number_text t = lowest_form(num < 0 ? -num : num, den < 0 ? -den : den);
    std::string text(view(t));
    if (text == "1")
        return "";
    return text.find('/') == std::string::npos ? text : "(" + text + ")";
}

// "x1", "-2x1" first in a line; "+ x2", "- (3/4)x2" after it.
std::string term_text(fraction f, int column, bool first) {
    const char *sign = frac_is_negative(f) ? (first ? "-" : "- ") : (first ? "" : "+ ");
    return sign + magnitude_text(f) + format_text("x%d", column);
}

// The non-zero terms of a[1..n_vars] as items, or "0" when there is none.
void put_terms(wrapped_line &line, const fraction *a, int n_vars) {
    bool first = true;
    for (int j = 1; j <= n_vars; ++j) {
        if (a[j].num == 0)
            continue;
        put_item(line, term_text(a[j], j, first));
        first = false;
    }
    if (first)
        put_item(line, "0");
}

const char *relation_text(int32_t code) {
    return code == relation_less ? "<=" : (code == relation_greater ? ">=" : "=");
}

int32_t turned_round(int32_t code) {
    return code == relation_less ? relation_greater
                                 : (code == relation_greater ? relation_less : relation_equal);
}

// The relation of typed row i in standard form, after any turning round.
int32_t standard_relation(const tableau_store &s, int i) {
    int32_t typed = s.typed.relation[i];
    return s.records.negated[i] ? turned_round(typed) : typed;
}

std::string negated_text(const tableau_store &s, int i) {
    std::string text = format_text("Riga %d: termine noto negativo, moltiplicata per -1", i);
    int32_t typed = s.typed.relation[i];
    if (typed != relation_equal)
        text += format_text(" (%s diventa %s)", relation_text(typed),
                            relation_text(turned_round(typed)));
    return text;
}

// The row of an artificial column: the one row where it is not 0. The records keep one
// artificial column per row, but a row can receive two (one for its ">" and one when complete_basis
// finds more unit columns than rows and records none).
int artificial_row(const tableau_store &s, int j) {
    for (int i = 1; i <= s.n_rows; ++i)
        if (s.tableau[i][j].num != 0)
            return s.records.origin[i];
    return 0;
}

bool is_artificial(const tableau_store &s, int j) {
    return j >= s.n_cols - s.n_artificial;
}

// What column j is, or nothing for a typed variable that keeps its own meaning.
std::string column_text(const tableau_store &s, int j) {
    const typed_problem &t = s.typed;
    if (is_artificial(s, j))
        return format_text("x%d: variabile artificiale della riga %d", j, artificial_row(s, j));
    for (int i = 1; i <= t.n_rows; ++i) {
        if (s.records.slack_col[i] != j)
            continue;
        const char *kind = standard_relation(s, i) == relation_less ? "di scarto (slack)"
                                                                    : "di eccedenza (surplus)";
        if (j <= t.n_vars) // its column was empty, so standard form took it
            return format_text("x%d: non compare in nessun vincolo, quindi fa da variabile %s "
                               "della riga %d",
                               j, kind, i);
        return format_text("x%d: variabile %s della riga %d", j, kind, i);
    }
    if (j > t.n_vars) // left empty when a slack took a typed variable's column
        return format_text("x%d: colonna vuota, di nessuna riga (x%d resta a 0)", j, j);
    return "";
}

std::string w_text(const tableau_store &s) {
    std::string text = "w =";
    for (int j = s.n_cols - s.n_artificial; j < s.n_cols; ++j)
        text += format_text(j == s.n_cols - s.n_artificial ? " x%d" : " + x%d", j);
    return text + ": somma delle variabili artificiali, minimizzata nella prima fase";
}

const char *objective_reading(bool maximise) {
    if (maximise)
        return "Una riga obiettivo si legge z - c*x = 0, qui con -z al posto di z (massimizzare "
               "z e' minimizzare -z): un valore positivo segna una colonna che fa scendere -z, "
               "cioe' salire z";
    return "Una riga obiettivo si legge z - c*x = 0: un valore positivo segna una colonna che fa "
           "scendere l'obiettivo";
}

} // namespace

void print_written_problem(const typed_problem &typed, int width, std::ostream &out) {
    put(out, "Il problema da risolvere:\n");
    wrapped_line line = begin_wrapped(out, width);
    put_item(line, typed.maximise ? "max z =" : "min z =");
    put_terms(line, typed.cost, typed.n_vars);
    end_wrapped(line);
    for (int i = 1; i <= typed.n_rows; ++i) {
        line = begin_wrapped(out, width);
        put_terms(line, typed.a[i], typed.n_vars);
        put_item(line, format_text("%s %s", relation_text(typed.relation[i]),
                                   view(lowest_form(typed.b[i]))));
        end_wrapped(line);
    }
    if (typed.n_vars == 0)
        return;
    line = begin_wrapped(out, width);
    for (int j = 1; j <= typed.n_vars; ++j)
        put_item(line, format_text(j < typed.n_vars ? "x%d," : "x%d >= 0", j));
    end_wrapped(line);
}

void print_legend(const tableau_store &s, int width, std::ostream &out) {
    for (int i = 1; i <= s.typed.n_rows; ++i)
        if (s.records.negated[i])
            put_words(out, negated_text(s, i), width);
    for (int j = 1; j < s.n_cols; ++j) {
        std::string text = column_text(s, j);
        if (!text.empty())
            put_words(out, text, width);
    }
    if (s.n_artificial > 0)
        put_words(out, w_text(s), width);
    put_words(out, objective_reading(s.maximise), width);
}
