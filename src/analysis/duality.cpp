// Dual values, the dual check, reduced costs and complementary slackness.
#include "analysis/duality.h"

#include "analysis/exact.h"

namespace {

constexpr fraction zero{0, 1};

// y_i from the objective row: the row minimises z (or -z under maximisation) and holds the
// negated reduced costs, so a slack's entry is +y_i of the minimised objective and a surplus's
// entry -y_i; maximisation turns both round.
int32_t reading_sign(const typed_problem &t, int i) {
    int32_t sign = t.relation[i] == relation_greater ? -1 : 1;
    return t.maximise ? -sign : sign;
}

} // namespace

void basis_prices(const tableau_store &s, const typed_basis &basis, bool phase1, fraction *y,
                  bool &overflow) {
    const int m = s.typed.n_rows;
    for (int i = 1; i <= m; ++i)
        y[i] = zero;
    for (int p = 1; p <= basis.size; ++p) {
        fraction c = typed_cost(s, basis.column[p], phase1);
        if (c.num == 0)
            continue;
        const fraction *row = basis.transform[basis.inverse_row[p]];
        // y = y + c_p * (row p of B^-1)
        for (int i = 1; i <= m; ++i)
            if (row[i].num != 0)
                y[i] = frac_add(y[i], frac_mul(c, row[i], overflow), overflow);
    }
}

dual_values compute_dual_values(const tableau_store &s, const typed_basis &basis) {
    dual_values v;
    v.overflow = basis.overflow;
    if (!v.overflow)
        basis_prices(s, basis, false, v.y, v.overflow);
    for (int i = 1; i <= s.typed.n_rows; ++i) {
        v.column[i] = s.records.slack_col[i];
        v.sign[i] = reading_sign(s.typed, i);
        if (!basis.in_b[i])
            v.source[i] = price_source::redundant_row;
        else if (v.column[i] != 0)
            v.source[i] = price_source::objective_column;
        else
            v.source[i] = price_source::computed;
    }
    return v;
}

int dual_sign(const typed_problem &t, int i) {
    int sign = t.relation[i] == relation_less ? -1 : (t.relation[i] == relation_greater ? 1 : 0);
    return t.maximise ? -sign : sign;
}

dual_check check_dual(const typed_problem &t, const fraction *y, const fraction *x) {
    for (int i = 1; i <= t.n_rows; ++i)
        if (sign_of(y[i]) * dual_sign(t, i) < 0)
            return {dual_outcome::wrong_sign, i, y[i], zero};
    bool overflow = false;
    for (int j = 1; j <= t.n_vars; ++j) {
        fraction aty = zero;
        for (int i = 1; i <= t.n_rows; ++i)
            aty = frac_add(aty, frac_mul(t.a[i][j], y[i], overflow), overflow);
        int order = compare(aty, t.cost[j]);
        if (overflow)
            return {dual_outcome::overflow, j, zero, zero};
        if (t.maximise ? order < 0 : order > 0)
            return {dual_outcome::constraint_violated, j, aty, t.cost[j]};
    }
    fraction by = dot(t.b, t.n_rows, y, overflow);
    fraction cx = dot(t.cost, t.n_vars, x, overflow);
    int order = compare(by, cx);
    if (overflow)
        return {dual_outcome::overflow, 0, zero, zero};
    if (order != 0)
        return {dual_outcome::value_differs, 0, by, cx};
    return {dual_outcome::passed, 0, by, cx};
}

reduced_costs compute_reduced_costs(const typed_problem &t, const fraction *y) {
    reduced_costs r;
    r.overflow = false;
    for (int j = 1; j <= t.n_vars; ++j) {
        // d_j = c_j - sum_i y_i a_ij
        fraction d = t.cost[j];
        for (int i = 1; i <= t.n_rows; ++i)
            d = frac_sub_mul(d, y[i], t.a[i][j], r.overflow);
        r.d[j] = d;
    }
    return r;
}

namespace {

void fail(slackness_check &c, slackness_outcome outcome, int index, fraction first,
          fraction second) {
    if (c.outcome != slackness_outcome::holds)
        return; // the first failure stays
    c.outcome = outcome;
    c.index = index;
    c.first = first;
    c.second = second;
}

} // namespace

slackness_check check_complementary_slackness(const typed_problem &t, const fraction *y,
                                              const fraction *x, const fraction *d) {
    slackness_check c;
    c.outcome = slackness_outcome::holds;
    c.index = 0;
    c.first = c.second = zero;
    bool overflow = false;
    for (int i = 1; i <= t.n_rows; ++i) {
        // slack_i = b_i - a_i x
        c.slack[i] =
            frac_sub_mul(t.b[i], fraction{1, 1}, dot(t.a[i], t.n_vars, x, overflow), overflow);
        if (y[i].num != 0 && c.slack[i].num != 0)
            fail(c, slackness_outcome::row_fails, i, y[i], c.slack[i]);
    }
    for (int j = 1; j <= t.n_vars; ++j)
        if (x[j].num != 0 && d[j].num != 0)
            fail(c, slackness_outcome::variable_fails, j, x[j], d[j]);
    if (overflow)
        c.outcome = slackness_outcome::overflow;
    return c;
}
