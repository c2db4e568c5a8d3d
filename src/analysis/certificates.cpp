// The Farkas certificate and the unbounded ray, and their checks.
#include "analysis/certificates.h"

#include "analysis/duality.h"
#include "analysis/exact.h"

namespace {

constexpr fraction zero{0, 1};

// The sign a Farkas multiplier must have: the combination is written with ">=", so a "<" row
// enters multiplied by a number <= 0 and a ">" row by one >= 0.
int farkas_sign(const typed_problem &t, int i) {
    return t.relation[i] == relation_less ? -1 : (t.relation[i] == relation_greater ? 1 : 0);
}

// The first typed row that does not hold at x, with its left-hand side; 0 when all hold.
int first_broken_row(const typed_problem &t, const fraction *x, fraction rhs_scale, fraction &lhs,
                     bool &overflow) {
    for (int i = 1; i <= t.n_rows; ++i) {
        lhs = dot(t.a[i], t.n_vars, x, overflow);
        int order = compare(lhs, frac_mul(t.b[i], rhs_scale, overflow));
        if (overflow)
            return 0;
        if (!relation_holds(t.relation[i], order))
            return i;
    }
    return 0;
}

ray_check ray_failure(ray_outcome outcome, int index, int32_t relation, fraction lhs,
                      fraction rhs) {
    return {outcome, index, relation, lhs, rhs, zero};
}

} // namespace

farkas_certificate infeasibility_certificate(const tableau_store &s, const typed_basis &basis) {
    farkas_certificate c;
    c.overflow = basis.overflow;
    if (!c.overflow)
        basis_prices(s, basis, true, c.y, c.overflow);
    return c;
}

farkas_check check_farkas(const typed_problem &t, const fraction *y) {
    farkas_check c{};
    bool overflow = false;
    for (int j = 1; j <= t.n_vars; ++j) {
        c.coefficient[j] = zero;
        for (int i = 1; i <= t.n_rows; ++i)
            c.coefficient[j] =
                frac_add(c.coefficient[j], frac_mul(y[i], t.a[i][j], overflow), overflow);
    }
    c.rhs = dot(t.b, t.n_rows, y, overflow);
    c.outcome = farkas_outcome::passed;
    if (overflow) {
        c.outcome = farkas_outcome::overflow;
        return c;
    }
    for (int i = 1; i <= t.n_rows && c.outcome == farkas_outcome::passed; ++i)
        if (sign_of(y[i]) * farkas_sign(t, i) < 0)
            c.outcome = farkas_outcome::wrong_sign, c.index = i;
    for (int j = 1; j <= t.n_vars && c.outcome == farkas_outcome::passed; ++j)
        if (frac_is_positive(c.coefficient[j]))
            c.outcome = farkas_outcome::coefficient_positive, c.index = j;
    if (c.outcome == farkas_outcome::passed && !frac_is_positive(c.rhs))
        c.outcome = farkas_outcome::rhs_not_positive;
    return c;
}

unbounded_ray unbounded_direction(const tableau_store &s, const typed_basis &basis, int col) {
    unbounded_ray r;
    r.overflow = basis.overflow;
    for (int j = 1; j <= s.typed.n_vars; ++j)
        r.d[j] = r.x0[j] = zero;
    if (r.overflow)
        return r;
    basis_point(s, basis, r.x0);
    if (role_of(s, col).kind == column_kind::typed_variable)
        r.d[col] = {1, 1};
    for (int p = 1; p <= basis.size; ++p) {
        int basic = basis.column[p];
        if (role_of(s, basic).kind == column_kind::typed_variable)
            r.d[basic] = frac_negate(basis_tableau_entry(s, basis, p, col, r.overflow));
    }
    return r;
}

ray_check check_ray(const typed_problem &t, const fraction *x0, const fraction *d) {
    bool overflow = false;
    for (int j = 1; j <= t.n_vars; ++j)
        if (frac_is_negative(x0[j]))
            return ray_failure(ray_outcome::point_negative, j, relation_equal, x0[j], zero);
    fraction lhs;
    int broken = first_broken_row(t, x0, {1, 1}, lhs, overflow);
    if (overflow)
        return ray_failure(ray_outcome::overflow, 0, relation_equal, zero, zero);
    if (broken != 0)
        return ray_failure(ray_outcome::point_violates, broken, t.relation[broken], lhs,
                           t.b[broken]);
    bool all_zero = true;
    for (int j = 1; j <= t.n_vars; ++j) {
        if (frac_is_negative(d[j]))
            return ray_failure(ray_outcome::direction_negative, j, relation_equal, d[j], zero);
        all_zero = all_zero && d[j].num == 0;
    }
    if (all_zero)
        return ray_failure(ray_outcome::direction_zero, 0, relation_equal, zero, zero);
    // The rows of the direction: a_i d against 0, the right-hand sides scaled by 0.
    broken = first_broken_row(t, d, zero, lhs, overflow);
    if (overflow)
        return ray_failure(ray_outcome::overflow, 0, relation_equal, zero, zero);
    if (broken != 0)
        return ray_failure(ray_outcome::direction_violates, broken, t.relation[broken], lhs, zero);
    fraction cd = dot(t.cost, t.n_vars, d, overflow);
    if (overflow)
        return ray_failure(ray_outcome::overflow, 0, relation_equal, zero, zero);
    if (t.maximise ? !frac_is_positive(cd) : !frac_is_negative(cd))
        return {ray_outcome::not_improving, 0, relation_equal, zero, zero, cd};
    return {ray_outcome::passed, 0, relation_equal, zero, zero, cd};
}
