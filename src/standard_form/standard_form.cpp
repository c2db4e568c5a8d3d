// Standard form as a whole.
#include "standard_form/standard_form.h"

#include "standard_form/basis.h"
#include "standard_form/row_alignment.h"

namespace {

// A typed cell; an empty or zero denominator was read as 1.
fraction typed_cell(fraction f) {
    if (f.den == 0)
        f.den = 1;
    return f;
}

// The rows as read: short rows end with their right-hand side, the rest of A is zero. Row 0
// holds the costs of the minimised objective negated, so the typed costs are row 0 itself when
// the student's objective is maximised, and row 0 negated otherwise.
void keep_typed_problem(tableau_store &s) {
    typed_problem &t = s.typed;
    t.n_rows = s.n_rows;
    t.n_vars = s.n_cols - 1;
    t.maximise = s.maximise;
    for (int j = 1; j <= t.n_vars; ++j) {
        fraction c = typed_cell(s.tableau[0][j]);
        t.cost[j] = s.maximise ? c : frac_negate(c);
    }
    for (int i = 1; i <= t.n_rows; ++i) {
        int length = row_length(s, i);
        for (int j = 1; j <= t.n_vars; ++j)
            t.a[i][j] = j < length ? typed_cell(s.tableau[i][j]) : fraction{0, 1};
        t.b[i] = typed_cell(s.tableau[i][length]);
        t.relation[i] = s.relation[i];
    }
}

} // namespace

void build_standard_form(tableau_store &s) {
    keep_typed_problem(s);
    for (int i = 1; i <= s.n_rows; ++i)
        s.records.origin[i] = i;
    align_rows(s);
    add_slack_surplus(s);
    add_artificials(s);
    complete_basis(s);
}
