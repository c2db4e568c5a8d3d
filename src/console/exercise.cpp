// Exercise mode's questions and messages. The facts behind every verdict come from the checks of
// pivot_checks.h; this file only reads the answers and words the verdicts, every value in lowest
// terms as the teaching grid shows it.
#include "console/exercise.h"

#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include "console/number_text.h"
#include "console/teaching.h"
#include "console/text_out.h"
#include "console/wrapped_line.h"
#include "simplex/pivot_checks.h"
#include "simplex/pivot_selection.h"

namespace {

constexpr const char *entering_prompt = "Variabile entrante (xN, oppure ottimo)? ";
constexpr const char *leaving_prompt = "Variabile uscente (xN, oppure illimitato)? ";

// The keyboard and the screen of the questions, and the student's record.
struct asking {
    std::istream &in;
    std::ostream &out;
    exercise_state &ex;
    bool helped; // the last question was answered by a help
};

// A line of this mode, broken between words to fit the screen: the values in it are short
// words of their own, so none is ever cut.
template <typename... Args>
void say(const asking &a, std::string_view format, const Args &...args) {
    std::ostringstream text;
    put_format(text, format, args...);
    std::string line = text.str();
    wrapped_line wrapped = begin_wrapped(a.out, a.ex.width);
    for (size_t at = 0; at < line.size();) {
        size_t end = line.find(' ', at);
        if (end == std::string::npos)
            end = line.size();
        if (end > at)
            put_item(wrapped, std::string_view(line).substr(at, end - at));
        at = end + 1;
    }
    end_wrapped(wrapped);
}

std::string_view value_of(const number_text &t) {
    return view(t);
}

number_text lowest(fraction f) {
    return lowest_form(f);
}

const char *objective_name(const tableau_store &s, const phase_run &run) {
    if (run.phase == 1)
        return "w";
    return s.maximise ? "-z" : "z";
}

enum class answer_kind { empty, help, optimal, unbounded, variable, other };

struct answer {
    answer_kind kind;
    int var;       // the variable's number, for `variable` (past every column when very long)
    char name[48]; // "x" and its digits without leading zeros, as typed
};

constexpr int past_every_column = 1000000;

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// "xN" or "N", N decimal digits; anything else is no variable.
answer variable_answer(std::string_view text) {
    answer a{answer_kind::other, 0, {}};
    if (!text.empty() && text[0] == 'x')
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return a;
    while (text.size() > 1 && text[0] == '0')
        text.remove_prefix(1);
    if (text.size() + 2 > sizeof a.name)
        return a;
    a.kind = answer_kind::variable;
    a.name[0] = 'x';
    text.copy(a.name + 1, text.size());
    // No tableau has a million columns: a longer number is past every one of them.
    for (char c : text.substr(0, 7))
        a.var = a.var * 10 + (c - '0');
    if (text.size() > 6)
        a.var = past_every_column;
    return a;
}

answer parse_answer(std::string_view text) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return {answer_kind::empty, 0, {}};
    if (text == "?")
        return {answer_kind::help, 0, {}};
    if (text == "ottimo")
        return {answer_kind::optimal, 0, {}};
    if (text == "illimitato")
        return {answer_kind::unbounded, 0, {}};
    return variable_answer(text);
}

// The next answer typed, one whole line read in lower case. At end of input, and at every
// question after it, the program answers "?" itself and says so.
answer next_answer(const asking &a) {
    char text[64];
    size_t len = 0;
    bool too_long = false;
    int c = a.ex.input_ended ? std::char_traits<char>::eof() : read_key(a.in, a.out);
    if (c == std::char_traits<char>::eof()) {
        a.ex.input_ended = true;
        put(a.out, "? (input finito: risponde il programma)\n");
        return {answer_kind::help, 0, {}};
    }
    for (; c != '\n' && c != std::char_traits<char>::eof(); c = a.in.get()) {
        if (len == sizeof text)
            too_long = true;
        else
            text[len++] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (too_long)
        return {answer_kind::other, 0, {}};
    return parse_answer(std::string_view(text, len));
}

// Counts a question answered: right at the first try, or answered by a help.
void count_question(asking &a, bool right_first, bool helped) {
    a.helped = helped;
    a.ex.questions += 1;
    a.ex.right_first += right_first ? 1 : 0;
    a.ex.helps += helped ? 1 : 0;
}

// ---- The entering variable ----

// "?": the rule's column and why, or "ottimo". Returns the column, 0 for "ottimo".
int entering_help(const tableau_store &s, const phase_run &run, const asking &a) {
    const table_row &objective = phase_objective(s, run);
    const char *row = objective_name(s, run);
    int col = choose_entering(s, objective, run.rule);
    if (col == 0)
        say(a, "Aiuto: ottimo, nessun coefficiente della riga %s e' positivo", row);
    else if (run.rule == pivot_rule::largest_coefficient)
        say(a, "Aiuto: entra x%d, che ha il coefficiente positivo piu' grande della riga %s (%s)",
            col, row, value_of(lowest(objective[col])));
    else
        say(a,
            "Aiuto: entra x%d, la prima colonna con coefficiente positivo nella riga %s (%s): "
            "dopo un pivot degenere vale la regola del minimo indice",
            col, row, value_of(lowest(objective[col])));
    return col;
}

void explain_entering(const tableau_store &s, const phase_run &run, const entering_check &check,
                      const answer &typed, const asking &a) {
    const char *row = objective_name(s, run);
    switch (check.reason) {
    case entering_reason::not_a_column:
        say(a, "Risposta errata: %s non e' una colonna del tableau (le colonne vanno da x1 a x%d)",
            std::string_view(typed.name), s.n_cols - 1);
        break;
    case entering_reason::basic:
        say(a, "Risposta errata: x%d e' in base (riga %d), il suo coefficiente nella riga %s e' 0",
            check.col, check.row, row);
        break;
    case entering_reason::not_improving:
        say(a,
            "Risposta errata: x%d ha coefficiente %s nella riga %s; entra una colonna con "
            "coefficiente > 0",
            check.col, value_of(lowest(check.entry)), row);
        break;
    case entering_reason::optimal_early:
        say(a, "Risposta errata: non e' ancora ottimo, x%d ha coefficiente %s > 0 nella riga %s",
            check.col, value_of(lowest(check.entry)), row);
        break;
    default:
        break;
    }
}

// Asks until a right answer or a help. Returns the entering column, 0 for a right "ottimo".
int ask_entering(const tableau_store &s, const phase_run &run, asking &a) {
    bool missed = false;
    for (;;) {
        put(a.out, entering_prompt);
        answer typed = next_answer(a);
        if (typed.kind == answer_kind::empty)
            continue;
        if (typed.kind == answer_kind::help) {
            count_question(a, false, true);
            return entering_help(s, run, a);
        }
        if (typed.kind == answer_kind::unbounded) {
            say(a, "Risposta errata: 'illimitato' si dice della variabile uscente; qui si "
                   "sceglie la variabile entrante, oppure ottimo");
        } else if (typed.kind == answer_kind::other) {
            say(a, "Risposta non valida: scrivere xN (o solo N), ottimo, oppure ? per un aiuto");
        } else {
            entering_check check = typed.kind == answer_kind::optimal
                                       ? check_optimal(s, run)
                                       : check_entering(s, run, typed.var);
            if (check.reason == entering_reason::valid ||
                check.reason == entering_reason::optimal) {
                count_question(a, !missed, false);
                return check.reason == entering_reason::optimal ? 0 : check.col;
            }
            explain_entering(s, run, check, typed, a);
        }
        missed = true;
    }
}

// A right column that is not the rule's: the run follows it, and the student hears which column
// the rule would have taken.
void note_other_column(const tableau_store &s, const phase_run &run, int col, const asking &a) {
    int rule_col = choose_entering(s, phase_objective(s, run), run.rule);
    if (rule_col == col)
        return;
    if (run.rule == pivot_rule::largest_coefficient)
        say(a, "Scelta valida; la regola del coefficiente piu' grande avrebbe fatto entrare x%d",
            rule_col);
    else
        say(a,
            "Scelta valida; dopo un pivot degenere la regola del minimo indice avrebbe fatto "
            "entrare x%d",
            rule_col);
}

// ---- The leaving variable ----

// "?": the rule's row with the ratio test, or "illimitato". Returns the row, 0 for "illimitato".
int leaving_help(const tableau_store &s, const phase_run &run, int col, const asking &a) {
    int row = choose_leaving(s, col, run.rule);
    if (row == 0) {
        say(a, "Aiuto: illimitato, nessuna riga ha un elemento positivo nella colonna x%d", col);
        return 0;
    }
    const fraction *cells = s.tableau[row];
    say(a, "Aiuto: esce x%d (riga %d), che ha il rapporto minimo %s", row_basic(s, row), row,
        value_of(ratio_form(cells[s.n_cols], cells[col])));
    print_ratio_test(s, col, row, a.out);
    return row;
}

number_text row_ratio(const tableau_store &s, int row, int col) {
    return ratio_form(s.tableau[row][s.n_cols], s.tableau[row][col]);
}

void explain_leaving(const tableau_store &s, int col, const leaving_check &check,
                     const answer &typed, const asking &a) {
    switch (check.reason) {
    case leaving_reason::not_basic:
        say(a, "Risposta errata: %s non e' in base; esce una delle variabili in base",
            std::string_view(typed.name));
        break;
    case leaving_reason::not_positive:
        say(a,
            "Risposta errata: x%d (riga %d) ha elemento %s nella colonna x%d; nel test del "
            "rapporto entrano solo le righe con elemento > 0",
            check.var, check.row, value_of(lowest(check.entry)), col);
        break;
    case leaving_reason::above_minimum:
        say(a, "Risposta errata: x%d (riga %d) ha rapporto %s, maggiore del minimo %s (riga %d)",
            check.var, check.row, value_of(row_ratio(s, check.row, col)),
            value_of(row_ratio(s, check.min_row, col)), check.min_row);
        break;
    case leaving_reason::unbounded_early:
        say(a,
            "Risposta errata: non e' illimitato, la riga %d (x%d) ha elemento %s > 0 nella "
            "colonna x%d",
            check.row, check.var, value_of(lowest(check.entry)), col);
        break;
    default:
        break;
    }
}

// Asks until a right answer or a help. Returns the leaving row, 0 for a right "illimitato".
int ask_leaving(const tableau_store &s, const phase_run &run, int col, asking &a) {
    bool missed = false;
    for (;;) {
        put(a.out, leaving_prompt);
        answer typed = next_answer(a);
        if (typed.kind == answer_kind::empty)
            continue;
        if (typed.kind == answer_kind::help) {
            count_question(a, false, true);
            return leaving_help(s, run, col, a);
        }
        if (typed.kind == answer_kind::optimal) {
            say(a, "Risposta errata: 'ottimo' si dice della variabile entrante; qui si sceglie "
                   "la variabile uscente, oppure illimitato");
        } else if (typed.kind == answer_kind::other) {
            say(a, "Risposta non valida: scrivere xN (o solo N), illimitato, oppure ? per un "
                   "aiuto");
        } else {
            leaving_check check = typed.kind == answer_kind::unbounded
                                      ? check_unbounded(s, col)
                                      : check_leaving(s, col, typed.var);
            if (check.reason == leaving_reason::valid ||
                check.reason == leaving_reason::unbounded) {
                count_question(a, !missed, false);
                return check.row;
            }
            explain_leaving(s, col, check, typed, a);
        }
        missed = true;
    }
}

// ---- One tableau ----

// A basis met again after a pivot the student chose. One the program chose for the student (both
// answers given by a help) follows the lowest-index rule after a degenerate pivot, which never
// cycles, though it may pass again through bases the student's own choices went through.
void warn_if_repeated(const tableau_store &s, const phase_run &run, const asking &a) {
    if (a.ex.phase != run.phase) {
        a.ex.phase = run.phase;
        a.ex.bases.count = a.ex.bases.next = 0;
    }
    fraction value = phase_objective(s, run)[s.n_cols];
    if (basis_seen_before(a.ex.bases, s, value) && !a.ex.pivot_by_program)
        say(a,
            "Attenzione: base gia' vista da quando l'obiettivo vale %s: le scelte stanno "
            "ciclando. La regola del minimo indice (entra la prima colonna con coefficiente "
            "positivo, a pari rapporto esce la variabile di indice minore) non cicla mai",
            value_of(lowest(value)));
}

} // namespace

bool ask_pivot(const tableau_store &s, phase_run &run, exercise_state &ex, std::istream &in,
               std::ostream &out) {
    asking a{in, out, ex, false};
    warn_if_repeated(s, run, a);
    // The final tableau that follows a right "ottimo" or "illimitato" stands apart from it.
    int col = ask_entering(s, run, a);
    if (col == 0) {
        end_phase_by_hand(s, run, phase_end::optimal, 0);
        put(out, "\n");
        return true;
    }
    note_other_column(s, run, col, a);
    bool entering_helped = a.helped;
    int row = ask_leaving(s, run, col, a);
    if (row == 0) {
        end_phase_by_hand(s, run, phase_end::unbounded, col);
        put(out, "\n");
        return true;
    }
    bool rule_pivot = col == choose_entering(s, phase_objective(s, run), run.rule) &&
                      row == choose_leaving(s, col, run.rule);
    ex.pivot_by_program = entering_helped && a.helped;
    choose_pivot_by_hand(s, run, row, col);
    print_pivot(s, run, out);
    if (rule_pivot)
        print_rule_note(run, out);
    return false;
}

void print_exercise_tally(const exercise_state &ex, std::ostream &out) {
    put_format(out, "Esercizio: %d scelte giuste al primo tentativo su %d, %d aiuti\n",
               ex.right_first, ex.questions, ex.helps);
}
