// Second optimum, degeneracy and the ranges of the costs and right-hand sides.
#include "analysis/sensitivity.h"

#include "analysis/exact.h"

namespace {

constexpr fraction zero{0, 1};

// Whether column col is the basic variable of some row of the final tableau.
bool is_basic(const typed_basis &basis, int col) {
    for (int p = 1; p <= basis.size; ++p)
        if (basis.column[p] == col)
            return true;
    return false;
}

// Narrows a range by a candidate end: an upper end where the range is still open above or lower
// than its high end so far, a lower end likewise.
void narrow(value_range &r, fraction end, bool upper) {
    if (upper && (!r.has_high || compare(end, r.high) < 0))
        r.high = end, r.has_high = true;
    if (!upper && (!r.has_low || compare(end, r.low) > 0))
        r.low = end, r.has_low = true;
}

// The end value + step / divisor, where the value can move by step / divisor before a sign
// changes. Only the end is stored: the quotient stays exact inside the sum, so an end that fits
// in 64 bits is never lost to a quotient that does not.
fraction end_at(fraction value, fraction step, fraction divisor, bool &overflow) {
    // value - (-step) * (1 / divisor)
    return frac_sub_mul(value, frac_negate(step), frac_reciprocal(divisor), overflow);
}

// The other vertex, x + ratio * d, or d itself along a ray.
void second_point(const tableau_store &s, const typed_basis &basis, second_optimum &o,
                  const fraction *alpha) {
    fraction x[table_size];
    basis_point(s, basis, x);
    fraction d[table_size];
    for (int j = 1; j <= s.typed.n_vars; ++j)
        d[j] = zero;
    if (role_of(s, o.column).kind == column_kind::typed_variable)
        d[o.column] = {1, 1};
    for (int p = 1; p <= basis.size; ++p)
        if (role_of(s, basis.column[p]).kind == column_kind::typed_variable)
            d[basis.column[p]] = frac_negate(alpha[p]);
    for (int j = 1; j <= s.typed.n_vars; ++j)
        o.x[j] = o.along_ray ? d[j] : frac_sub_mul(x[j], frac_negate(o.ratio), d[j], o.overflow);
}

// Whether column col proves a second optimum; fills o when it does.
bool proves_second_optimum(const tableau_store &s, const typed_basis &basis, const fraction *y,
                           int col, second_optimum &o) {
    if (column_reduced_cost(s, col, y, o.overflow).num != 0)
        return false;
    fraction alpha[table_size];
    o.row = 0;
    for (int p = 1; p <= basis.size; ++p) {
        alpha[p] = basis_tableau_entry(s, basis, p, col, o.overflow);
        // The least ratio x_p / alpha_p over the positive alpha_p limits the column.
        if (frac_is_positive(alpha[p]) &&
            (o.row == 0 ||
             frac_ratio_compare(basis.value[p], alpha[p], basis.value[o.row], alpha[o.row]) < 0))
            o.row = p;
    }
    if (o.overflow)
        return true; // said so on its line, rather than passed over
    o.along_ray = o.row == 0;
    if (!o.along_ray && basis.value[o.row].num == 0)
        return false;
    if (!o.along_ray)
        o.ratio = frac_mul(basis.value[o.row], frac_reciprocal(alpha[o.row]), o.overflow);
    o.column = col;
    second_point(s, basis, o, alpha);
    return true;
}

// A typed variable in no row and without cost can grow alone: d is its unit vector.
void unused_variable(const tableau_store &s, int col, second_optimum &o) {
    o.column = col;
    o.unused = true;
    o.along_ray = true;
    o.row = 0;
    for (int j = 1; j <= s.typed.n_vars; ++j)
        o.x[j] = j == col ? fraction{1, 1} : zero;
}

} // namespace

fraction column_reduced_cost(const tableau_store &s, int col, const fraction *y, bool &overflow) {
    // d = c_col - sum_i y_i a_i,col
    fraction d = typed_cost(s, col, false);
    for (int i = 1; i <= s.typed.n_rows; ++i) {
        fraction a = typed_entry(s, col, i);
        if (a.num != 0)
            d = frac_sub_mul(d, y[i], a, overflow);
    }
    return d;
}

second_optimum find_second_optimum(const tableau_store &s, const typed_basis &basis,
                                   const fraction *y) {
    second_optimum o{};
    o.overflow = basis.overflow;
    for (int col = 1; col < s.n_cols && !o.overflow; ++col) {
        if (col <= s.typed.n_vars && slack_row(s, col) != 0) {
            unused_variable(s, col, o);
            return o;
        }
        bool empty = role_of(s, col).kind == column_kind::empty;
        if (!empty && !is_basic(basis, col) && proves_second_optimum(s, basis, y, col, o))
            return o;
    }
    o.column = 0;
    return o;
}

degeneracy find_degeneracy(const typed_basis &basis) {
    degeneracy d{};
    for (int p = 1; p <= basis.size && !basis.overflow; ++p)
        if (basis.value[p].num == 0)
            d.row[d.count++] = p;
    return d;
}

cost_ranges compute_cost_ranges(const tableau_store &s, const typed_basis &basis,
                                const fraction *y) {
    cost_ranges ranges;
    const int sense = s.typed.maximise ? -1 : 1; // optimal while sense * d_k >= 0 for every k
    for (int j = 1; j <= s.typed.n_vars; ++j) {
        value_range &r = ranges.c[j];
        r = {s.typed.cost[j], false, false, zero, zero, basis.overflow};
        int p = 1;
        while (p <= basis.size &&
               !(basis.column[p] == j && role_of(s, j).kind == column_kind::typed_variable))
            ++p;
        if (r.overflow) {
            continue;
        } else if (p > basis.size) {
            // Non-basic: only its own reduced cost moves, d_j + delta keeps its sign, so the end
            // is c_j - d_j. (A typed variable whose column serves as a slack is non-basic: it
            // appears in no row.)
            fraction d = s.typed.cost[j];
            for (int i = 1; i <= s.typed.n_rows; ++i)
                d = frac_sub_mul(d, y[i], s.typed.a[i][j], r.overflow);
            narrow(r, frac_sub_mul(r.value, d, {1, 1}, r.overflow), sense < 0);
        } else {
            // Basic in row p: every reduced cost d_k moves by -delta * alpha_pk and changes sign
            // at delta = d_k / alpha_pk.
            for (int k = 1; k < s.n_cols; ++k) {
                if (is_basic(basis, k))
                    continue;
                fraction alpha = basis_tableau_entry(s, basis, p, k, r.overflow);
                if (alpha.num == 0)
                    continue;
                fraction d = column_reduced_cost(s, k, y, r.overflow);
                narrow(r, end_at(r.value, d, alpha, r.overflow),
                       sense * (frac_is_positive(alpha) ? 1 : -1) > 0);
            }
        }
    }
    return ranges;
}

rhs_ranges compute_rhs_ranges(const tableau_store &s, const typed_basis &basis) {
    rhs_ranges ranges;
    const int m = s.typed.n_rows;
    for (int i = 1; i <= m; ++i) {
        ranges.with[i] = 0;
        ranges.b[i] = {s.typed.b[i], false, false, zero, zero, basis.overflow};
    }
    for (int d = 1; d <= m && !basis.overflow; ++d)
        for (int i = 1; i <= m && !basis.in_b[d]; ++i)
            if (basis.transform[d][i].num != 0 && ranges.with[i] == 0)
                ranges.with[i] = d;
    for (int i = 1; i <= m; ++i) {
        value_range &r = ranges.b[i];
        if (r.overflow)
            continue;
        if (ranges.with[i] != 0) {
            r.low = r.high = r.value; // [b_i, b_i]
            r.has_low = r.has_high = true;
        }
        // x_B + delta * (B^-1 e_i) >= 0 row by row: row p holds until delta = -x_p / beta_p.
        for (int p = 1; p <= basis.size && ranges.with[i] == 0; ++p) {
            fraction beta = basis.transform[basis.inverse_row[p]][i];
            if (beta.num == 0)
                continue;
            narrow(r, end_at(r.value, frac_negate(basis.value[p]), beta, r.overflow),
                   frac_is_negative(beta));
        }
    }
    return ranges;
}
