// The screens after the verdict. Every figure comes from the analysis room, computed on the typed
// problem; here it is only written out, each list as one wrapped line.
#include "console/analysis_screens.h"

#include <initializer_list>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>

#include "analysis/certificates.h"
#include "analysis/duality.h"
#include "analysis/sensitivity.h"
#include "analysis/typed_basis.h"
#include "console/number_text.h"
#include "console/text_out.h"
#include "console/wrapped_line.h"
#include "simplex/solution.h"

namespace {

constexpr const char *not_computable = "non calcolabile: overflow aritmetico";

// One item of a wrapped line, built in place: room for a few names and two numbers.
struct item {
    char text[240];
    int len;
};

void add(item &t, std::string_view s) {
    for (char ch : s)
        if (t.len < static_cast<int>(sizeof t.text))
            t.text[t.len++] = ch;
}

void add(item &t, int64_t v) {
    char digits[24];
    int n = 0;
    uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (v < 0)
        add(t, "-");
    while (n > 0)
        add(t, std::string_view(&digits[--n], 1));
}

void put_text(wrapped_line &line, const item &t) {
    put_item(line, std::string_view(t.text, static_cast<size_t>(t.len)));
}

// "name<k> = value," (no comma after the last): one item of a list of values.
void put_value(wrapped_line &line, const char *name, int k, fraction v, bool last) {
    item t{};
    add(t, name);
    add(t, k);
    add(t, " = ");
    add(t, view(lowest_form(v)));
    add(t, last ? "" : ",");
    put_text(line, t);
}

// "<heading> name1 = v1, name2 = v2, ..." as one wrapped line.
void put_values(std::ostream &out, int width, const char *heading, const char *name,
                const fraction *v, int n) {
    wrapped_line line = begin_wrapped(out, width);
    put_item(line, heading);
    for (int k = 1; k <= n; ++k)
        put_value(line, name, k, v[k], k == n);
    end_wrapped(line);
}

// A sentence as one wrapped line, broken only between its phrases.
void put_sentence(std::ostream &out, int width, std::initializer_list<std::string_view> phrases) {
    put_wrapped(out, std::span<const std::string_view>(phrases.begin(), phrases.size()), width);
}

// A line of figures as put_format writes it (its format ends with the line break), broken
// between words within the width like every other line of these screens.
template <typename... Args>
void put_format_words(std::ostream &out, int width, std::string_view format, const Args &...args) {
    std::ostringstream text;
    put_format(text, format, args...);
    std::string line = text.str();
    line.pop_back();
    put_words(out, line, width);
}

void put_not_computable(std::ostream &out, int width, const char *heading) {
    put_format_words(out, width, "%s %s\n", heading, not_computable);
}

// One term of a linear expression as a student writes it: "4y1", "-y2", "+ 3/2 y3", "- x1";
// a coefficient of 1 is not written, a fraction stands apart from its variable.
void put_term(wrapped_line &line, fraction c, const char *name, int k, bool first) {
    item t{};
    bool negative = frac_is_negative(c);
    if (!first)
        add(t, negative ? "- " : "+ ");
    else if (negative)
        add(t, "-");
    fraction magnitude = negative ? frac_negate(c) : c;
    number_text number = lowest_form(magnitude);
    std::string_view digits = view(number);
    if (digits != "1")
        add(t, digits);
    if (digits.find('/') != std::string_view::npos)
        add(t, " ");
    add(t, name);
    add(t, k);
    put_text(line, t);
}

// One term of a combination of rows: "2*riga 1", "- riga 2", "+ 1/2*riga 3", then `suffix`.
void put_row_term(wrapped_line &line, fraction c, int k, bool first, const char *suffix) {
    item t{};
    bool negative = frac_is_negative(c);
    if (!first)
        add(t, negative ? "- " : "+ ");
    else if (negative)
        add(t, "-");
    number_text number = lowest_form(negative ? frac_negate(c) : c);
    if (view(number) != "1") {
        add(t, view(number));
        add(t, "*");
    }
    add(t, "riga ");
    add(t, k);
    add(t, suffix);
    put_text(line, t);
}

// The expression sum c[k] * name<k>, k = 1..n: zero terms left out unless `zeros`, "0" when no
// term is left.
void put_expression(wrapped_line &line, const fraction *c, int n, const char *name, bool zeros) {
    bool first = true;
    for (int k = 1; k <= n; ++k) {
        if (c[k].num == 0 && !zeros)
            continue;
        put_term(line, c[k], name, k, first);
        first = false;
    }
    if (first)
        put_item(line, "0");
}

const char *relation_text(int32_t code) {
    return code == relation_less ? "<=" : (code == relation_greater ? ">=" : "=");
}

// ---- The duality screen ----

void print_basis(const tableau_store &s, const typed_basis &basis, int width, std::ostream &out) {
    wrapped_line line = begin_wrapped(out, width);
    put_item(line, basis.size == 0 ? "Base ottima: vuota" : "Base ottima:");
    for (int p = 1; p <= basis.size; ++p) {
        item t{};
        add(t, "x");
        add(t, basis.column[p]);
        add(t, p < basis.size ? "," : "");
        put_text(line, t);
    }
    end_wrapped(line);
    // A typed variable whose all-zero column standard form gave to a slack is a different
    // variable from the column of the same name in the tableau.
    for (int j = 1; j <= s.typed.n_vars; ++j) {
        int row = slack_row(s, j);
        if (row == 0)
            continue;
        wrapped_line line = begin_wrapped(out, width);
        item head{}, column{}, owner{}, value{};
        add(head, "x");
        add(head, j);
        add(head, " non compare in alcun vincolo");
        put_text(line, head);
        put_item(line, "e costa 0:");
        add(column, "la colonna x");
        add(column, j);
        add(column, " del tableau");
        put_text(line, column);
        add(owner, "e' la variabile di ");
        add(owner, s.typed.relation[row] == relation_greater ? "surplus" : "scarto");
        add(owner, " del vincolo ");
        add(owner, row);
        add(owner, ",");
        put_text(line, owner);
        add(value, "e x");
        add(value, j);
        add(value, " vale 0");
        put_text(line, value);
        end_wrapped(line);
    }
}

// The dual stands flush left, one line each for the objective, every constraint and the signs,
// so that a line continued four spaces in is never taken for the next one.
void print_dual_problem(const typed_problem &t, int width, std::ostream &out) {
    put(out, "Problema duale:\n");
    wrapped_line objective = begin_wrapped(out, width);
    put_item(objective, t.maximise ? "min" : "max");
    put_expression(objective, t.b, t.n_rows, "y", false);
    end_wrapped(objective);
    for (int j = 1; j <= t.n_vars; ++j) {
        fraction column[table_size];
        for (int i = 1; i <= t.n_rows; ++i)
            column[i] = t.a[i][j];
        wrapped_line line = begin_wrapped(out, width);
        put_expression(line, column, t.n_rows, "y", false);
        put_item(line, t.maximise ? ">=" : "<=");
        put_item(line, view(lowest_form(t.cost[j])));
        end_wrapped(line);
    }
    wrapped_line signs = begin_wrapped(out, width);
    for (int i = 1; i <= t.n_rows; ++i) {
        item s{};
        add(s, "y");
        add(s, i);
        int sign = dual_sign(t, i);
        add(s, sign < 0 ? " <= 0" : (sign > 0 ? " >= 0" : " libera"));
        add(s, i < t.n_rows ? "," : "");
        put_text(signs, s);
    }
    end_wrapped(signs);
}

// Where each y_i stands in the final tableau, or that it is c_B B^-1.
void print_price_sources(const tableau_store &s, const dual_values &v, int width,
                         std::ostream &out) {
    const int m = s.typed.n_rows;
    wrapped_line line = begin_wrapped(out, width);
    put_item(line, "Nel tableau finale (riga obiettivo):");
    for (int i = 1; i <= m; ++i) {
        item t{};
        add(t, "y");
        add(t, i);
        if (v.source[i] == price_source::objective_column) {
            add(t, v.sign[i] > 0 ? " = colonna x" : " = -(colonna x");
            add(t, v.column[i]);
            add(t, v.sign[i] > 0 ? "" : ")");
        } else if (v.source[i] == price_source::computed) {
            add(t, " = c_B B^-1 (vincolo =)");
        } else {
            add(t, " = 0, vincolo ridondante");
        }
        add(t, i < m ? "," : "");
        put_text(line, t);
    }
    end_wrapped(line);
}

void print_dual_check(const typed_problem &t, const fraction *y, const fraction *x, int width,
                      std::ostream &out) {
    dual_check check = check_dual(t, y, x);
    switch (check.outcome) {
    case dual_outcome::passed:
        put_format_words(out, width, "Verifica duale: y ammissibile e b*y = c*x = %s\n",
                         view(lowest_form(check.lhs)));
        break;
    case dual_outcome::wrong_sign:
        put_format_words(out, width,
                         "Verifica duale fallita: y%d = %s, ma il vincolo %d (%s) vuole y%d %s 0\n",
                         check.index, view(lowest_form(check.lhs)), check.index,
                         relation_text(t.relation[check.index]), check.index,
                         dual_sign(t, check.index) < 0 ? "<=" : ">=");
        break;
    case dual_outcome::constraint_violated:
        put_format_words(
            out, width, "Verifica duale fallita: vincolo duale di x%d non soddisfatto (%s %s %s)\n",
            check.index, view(lowest_form(check.lhs)),
            t.maximise ? ">=" : "<=", view(lowest_form(check.rhs)));
        break;
    case dual_outcome::value_differs:
        put_format_words(out, width, "Verifica duale fallita: b*y = %s, diverso da c*x = %s\n",
                         view(lowest_form(check.lhs)), view(lowest_form(check.rhs)));
        break;
    case dual_outcome::overflow:
        put_not_computable(out, width, "Verifica duale:");
        break;
    }
}

void print_slackness(const typed_problem &t, const fraction *y, const fraction *x,
                     const fraction *d, int width, std::ostream &out) {
    slackness_check check = check_complementary_slackness(t, y, x, d);
    if (check.outcome == slackness_outcome::overflow) {
        put_not_computable(out, width, "Scarti complementari:");
        return;
    }
    wrapped_line line = begin_wrapped(out, width);
    put_item(line, "Scarti dei vincoli:");
    for (int i = 1; i <= t.n_rows; ++i) {
        item s{};
        add(s, "b");
        add(s, i);
        add(s, " - a");
        add(s, i);
        add(s, "*x = ");
        add(s, view(lowest_form(check.slack[i])));
        add(s, i < t.n_rows ? "," : "");
        put_text(line, s);
    }
    end_wrapped(line);
    if (check.outcome == slackness_outcome::holds)
        put_sentence(out, width,
                     {"Scarti complementari:", "y_i * (b_i - a_i*x) = 0", "per ogni vincolo e",
                      "x_j * costo ridotto_j = 0", "per ogni variabile"});
    else if (check.outcome == slackness_outcome::row_fails)
        put_format_words(out, width,
                         "Scarti complementari violati: y%d * (b%d - a%d*x) = %s * %s\n",
                         check.index, check.index, check.index, view(lowest_form(check.first)),
                         view(lowest_form(check.second)));
    else
        put_format_words(
            out, width, "Scarti complementari violati: x%d * costo ridotto = %s * %s\n",
            check.index, view(lowest_form(check.first)), view(lowest_form(check.second)));
}

// ---- The sensitivity screen ----

void print_second_optimum(const tableau_store &s, const typed_basis &basis, const fraction *y,
                          int width, std::ostream &out) {
    second_optimum o = find_second_optimum(s, basis, y);
    if (o.overflow) {
        put_not_computable(out, width, "Unicita' dell'ottimo:");
        return;
    }
    if (o.column == 0)
        return;
    wrapped_line line = begin_wrapped(out, width);
    item head{}, reason{};
    add(head, "Ottimo non unico: x");
    add(head, o.column);
    put_text(line, head);
    if (o.unused) {
        put_item(line, "non compare in alcun vincolo");
        put_item(line, "e costa 0:");
    } else {
        put_item(line, "e' fuori base con costo ridotto 0");
        if (o.along_ray) {
            put_item(line, "e nessuna riga la limita:");
        } else {
            item row{};
            add(reason, "e rapporto minimo ");
            add(reason, view(lowest_form(o.ratio)));
            put_text(line, reason);
            add(row, "(riga ");
            add(row, o.row);
            add(row, "):");
            put_text(line, row);
            item pivot{};
            add(pivot, "un pivot su x");
            add(pivot, o.column);
            put_text(line, pivot);
            put_item(line, "porta all'altro vertice ottimo");
        }
    }
    if (o.along_ray) {
        put_item(line, "x + t*d resta ottimo");
        put_item(line, "per ogni t >= 0, con");
    }
    for (int j = 1; j <= s.typed.n_vars; ++j)
        put_value(line, o.along_ray ? "d" : "x", j, o.x[j], j == s.typed.n_vars);
    end_wrapped(line);
}

void print_degeneracy(const typed_basis &basis, int width, std::ostream &out) {
    degeneracy d = find_degeneracy(basis);
    if (d.count == 0)
        return;
    wrapped_line line = begin_wrapped(out, width);
    put_item(line, "Soluzione degenere:");
    for (int k = 0; k < d.count; ++k) {
        item t{};
        add(t, "x");
        add(t, basis.column[d.row[k]]);
        add(t, " (riga ");
        add(t, d.row[k]);
        add(t, k + 1 < d.count ? ")," : ")");
        put_text(line, t);
    }
    put_item(line, d.count > 1 ? "sono in base con valore 0;" : "e' in base con valore 0;");
    for (std::string_view phrase :
         {"i prezzi ombra e gli intervalli",
          "valgono per questa base:", "un intervallo dei termini noti",
          "puo' avere un solo estremo", "o ridursi a un punto,", "e un intervallo dei costi",
          "puo' essere piu' stretto dei costi", "per cui il punto resta ottimo"})
        put_item(line, phrase);
    end_wrapped(line);
}

// "    c1 = v in [low, high]", four spaces in, broken between its words like any other line.
void print_range(std::ostream &out, int width, const char *name, int k, const value_range &r) {
    wrapped_line line = begin_wrapped(out, width);
    item head{};
    add(head, "    ");
    add(head, name);
    add(head, k);
    put_text(line, head);
    put_item(line, "=");
    if (r.overflow) {
        item v{};
        add(v, view(lowest_form(r.value)));
        add(v, ":");
        put_text(line, v);
        put_item(line, not_computable);
        end_wrapped(line);
        return;
    }
    put_item(line, view(lowest_form(r.value)));
    put_item(line, "in");
    item low{}, high{};
    add(low, r.has_low ? "[" : "(-inf,");
    if (r.has_low) {
        add(low, view(lowest_form(r.low)));
        add(low, ",");
    }
    add(high, r.has_high ? view(lowest_form(r.high)) : "+inf)");
    add(high, r.has_high ? "]" : "");
    put_text(line, low);
    put_text(line, high);
    end_wrapped(line);
}

// The zero combination that fixes row i, on the line after its range: row d = sum over k != d
// of -transform[d][k] * row k.
void print_fixed_row(const typed_basis &basis, int m, int i, int redundant, int width,
                     std::ostream &out) {
    wrapped_line line = begin_wrapped(out, width);
    item row{}, tail{};
    add(row, "        riga ");
    add(row, redundant);
    add(row, " =");
    put_text(line, row);
    int last = 0;
    for (int k = 1; k <= m; ++k)
        if (k != redundant && basis.transform[redundant][k].num != 0)
            last = k;
    bool first = true;
    for (int k = 1; k <= last; ++k) {
        fraction c = frac_negate(basis.transform[redundant][k]);
        if (k == redundant || c.num == 0)
            continue;
        put_row_term(line, c, k, first, k == last ? ":" : "");
        first = false;
    }
    if (first)
        put_item(line, "0:"); // a row of zeros, 0 = 0
    add(tail, "b");
    add(tail, i);
    add(tail, " da solo");
    put_text(line, tail);
    put_item(line, "renderebbe i vincoli incompatibili");
    end_wrapped(line);
}

void print_ranges(const tableau_store &s, const typed_basis &basis, const fraction *y, int width,
                  std::ostream &out) {
    cost_ranges costs = compute_cost_ranges(s, basis, y);
    put_words(out, "Intervalli dei costi (la base resta ottima):", width);
    for (int j = 1; j <= s.typed.n_vars; ++j)
        print_range(out, width, "c", j, costs.c[j]);
    rhs_ranges rhs = compute_rhs_ranges(s, basis);
    put_words(out, "Intervalli dei termini noti (la base resta ammissibile):", width);
    for (int i = 1; i <= s.typed.n_rows; ++i) {
        print_range(out, width, "b", i, rhs.b[i]);
        if (rhs.with[i] != 0 && !rhs.b[i].overflow)
            print_fixed_row(basis, s.typed.n_rows, i, rhs.with[i], width, out);
    }
}

// ---- Infeasible and unbounded ----

void print_farkas_check(const typed_problem &t, const fraction *y, const farkas_check &check,
                        int width, std::ostream &out) {
    item rhs{};
    switch (check.outcome) {
    case farkas_outcome::passed:
        add(rhs, "e il termine noto ");
        add(rhs, view(lowest_form(check.rhs)));
        add(rhs, " e' > 0:");
        put_sentence(out, width,
                     {"Verifica: ogni y_i ha il segno", "del suo vincolo,",
                      "ogni coefficiente e' <= 0", std::string_view(rhs.text, rhs.len),
                      "per x >= 0 il primo membro", "non supera 0,",
                      "quindi nessun x soddisfa i vincoli"});
        break;
    case farkas_outcome::wrong_sign:
        put_format_words(out, width,
                         "Verifica fallita: y%d = %s, ma il vincolo %d (%s) vuole y%d %s 0\n",
                         check.index, view(lowest_form(y[check.index])), check.index,
                         relation_text(t.relation[check.index]), check.index,
                         t.relation[check.index] == relation_less ? "<=" : ">=");
        break;
    case farkas_outcome::coefficient_positive:
        put_format_words(out, width, "Verifica fallita: il coefficiente di x%d e' %s > 0\n",
                         check.index, view(lowest_form(check.coefficient[check.index])));
        break;
    case farkas_outcome::rhs_not_positive:
        put_format_words(out, width, "Verifica fallita: il termine noto %s non e' > 0\n",
                         view(lowest_form(check.rhs)));
        break;
    case farkas_outcome::overflow:
        put_not_computable(out, width, "Verifica:");
        break;
    }
}

void print_ray_check(const typed_problem &t, const ray_check &check, int width, std::ostream &out) {
    item cd{};
    switch (check.outcome) {
    case ray_outcome::passed:
        add(cd, "e c*d = ");
        add(cd, view(lowest_form(check.cd)));
        add(cd, t.maximise ? " > 0:" : " < 0:");
        put_sentence(out, width,
                     {"Verifica: x0 soddisfa i vincoli,", "d >= 0 e non nullo,",
                      "ogni vincolo resta soddisfatto lungo d", std::string_view(cd.text, cd.len),
                      "z = c*x0 + t*(c*d)",
                      t.maximise ? "cresce senza limite" : "decresce senza limite"});
        break;
    case ray_outcome::point_negative:
        put_format_words(out, width, "Verifica fallita: in x0, x%d = %s < 0\n", check.index,
                         view(lowest_form(check.lhs)));
        break;
    case ray_outcome::point_violates:
        put_format_words(out, width, "Verifica fallita: x0 non soddisfa il vincolo %d (%s %s %s)\n",
                         check.index, view(lowest_form(check.lhs)), relation_text(check.relation),
                         view(lowest_form(check.rhs)));
        break;
    case ray_outcome::direction_negative:
        put_format_words(out, width, "Verifica fallita: d%d = %s < 0\n", check.index,
                         view(lowest_form(check.lhs)));
        break;
    case ray_outcome::direction_zero:
        put_words(out, "Verifica fallita: d e' nullo", width);
        break;
    case ray_outcome::direction_violates:
        put_format_words(
            out, width,
            "Verifica fallita: lungo d il vincolo %d non resta soddisfatto (a%d*d = %s)\n",
            check.index, check.index, view(lowest_form(check.lhs)));
        break;
    case ray_outcome::not_improving:
        put_format_words(out, width, "Verifica fallita: c*d = %s, z non migliora lungo d\n",
                         view(lowest_form(check.cd)));
        break;
    case ray_outcome::overflow:
        put_not_computable(out, width, "Verifica:");
        break;
    }
}

} // namespace

void print_duality_screen(const tableau_store &s, int width, std::ostream &out) {
    const typed_problem &t = s.typed;
    typed_basis basis;
    rebuild_basis(s, basis);
    put(out, "\nAnalisi post-ottimale - dualita'\n");
    print_basis(s, basis, width, out);
    print_dual_problem(t, width, out);
    dual_values v = compute_dual_values(s, basis);
    if (v.overflow)
        put_not_computable(out, width, "Prezzi ombra:");
    else
        put_values(out, width, "Prezzi ombra:", "y", v.y, t.n_rows);
    print_price_sources(s, v, width, out);
    basic_solution solution = read_solution(s);
    if (v.overflow) {
        put_not_computable(out, width, "Verifica duale:");
        put_not_computable(out, width, "Costi ridotti:");
        put_not_computable(out, width, "Scarti complementari:");
        return;
    }
    print_dual_check(t, v.y, solution.x, width, out);
    reduced_costs d = compute_reduced_costs(t, v.y);
    if (d.overflow) {
        put_not_computable(out, width, "Costi ridotti:");
        put_not_computable(out, width, "Scarti complementari:");
        return;
    }
    put_values(out, width, "Costi ridotti:", "x", d.d, t.n_vars);
    print_slackness(t, v.y, solution.x, d.d, width, out);
}

void print_sensitivity_screen(const tableau_store &s, int width, std::ostream &out) {
    typed_basis basis;
    rebuild_basis(s, basis);
    put(out, "\nAnalisi post-ottimale - sensitivita'\n");
    dual_values v = compute_dual_values(s, basis);
    if (v.overflow) {
        put_not_computable(out, width, "Unicita' dell'ottimo:");
    } else {
        print_second_optimum(s, basis, v.y, width, out);
        print_degeneracy(basis, width, out);
    }
    print_ranges(s, basis, v.y, width, out);
}

void print_farkas_certificate(const tableau_store &s, int width, std::ostream &out) {
    const typed_problem &t = s.typed;
    typed_basis basis;
    rebuild_basis(s, basis);
    farkas_certificate f = infeasibility_certificate(s, basis);
    if (f.overflow) {
        put_not_computable(out, width, "Certificato:");
        return;
    }
    put_values(out, width, "Certificato:", "y", f.y, t.n_rows);
    farkas_check check = check_farkas(t, f.y);
    if (check.outcome != farkas_outcome::overflow) {
        wrapped_line line = begin_wrapped(out, width);
        put_item(line, "Combinazione sum y_i*(vincolo i),");
        put_item(line, "scritta con >=:");
        put_expression(line, check.coefficient, t.n_vars, "x", true);
        put_item(line, ">=");
        put_item(line, view(lowest_form(check.rhs)));
        end_wrapped(line);
    }
    print_farkas_check(t, f.y, check, width, out);
}

void print_unbounded_ray(const tableau_store &s, int col, int width, std::ostream &out) {
    const typed_problem &t = s.typed;
    typed_basis basis;
    rebuild_basis(s, basis);
    unbounded_ray ray = unbounded_direction(s, basis, col);
    if (ray.overflow) {
        put_not_computable(out, width, "Direzione illimitata:");
        return;
    }
    put_values(out, width, "Direzione illimitata:", "d", ray.d, t.n_vars);
    put_values(out, width, "Punto di partenza x0:", "x", ray.x0, t.n_vars);
    print_ray_check(t, check_ray(t, ray.x0, ray.d), width, out);
}
