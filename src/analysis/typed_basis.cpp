// The basis rebuilt on the typed rows.
#include "analysis/typed_basis.h"

#include <cassert>

namespace {

constexpr fraction zero{0, 1};
constexpr fraction one{1, 1};

// The slack of a "<" row adds to it, the surplus of a ">" row takes away: a turned-round row
// turned back keeps these signs.
int32_t slack_sign(const typed_problem &t, int i) {
    return t.relation[i] == relation_greater ? -1 : 1;
}

// The order in which typed rows are offered to B: the rows the tableau still has, then the rest.
int offer_order(const tableau_store &s, int *order) {
    int n = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 1; i <= s.typed.n_rows; ++i)
            if (s.records.deleted[i] == (pass == 1))
                order[n++] = i;
    return n;
}

// The first offered row not yet in B with a non-zero entry in column p of the work matrix.
int pivot_row(const fraction (*work)[table_size], const bool *in_b, const int *order, int n,
              int p) {
    for (int k = 0; k < n; ++k)
        if (!in_b[order[k]] && work[order[k]][p].num != 0)
            return order[k];
    return 0;
}

// Gauss-Jordan step on work[r][p]: row r of work and of the transform divided by the pivot, every
// other row losing its multiple of it.
void eliminate(fraction (*work)[table_size], typed_basis &basis, int m, int r, int p) {
    fraction inverse = frac_reciprocal(work[r][p]);
    for (int q = p; q <= basis.size; ++q)
        work[r][q] = frac_mul(work[r][q], inverse, basis.overflow);
    for (int k = 1; k <= m; ++k)
        basis.transform[r][k] = frac_mul(basis.transform[r][k], inverse, basis.overflow);
    for (int i = 1; i <= m; ++i) {
        fraction e = work[i][p];
        if (i == r || e.num == 0)
            continue;
        // row_i = row_i - e * row_r, in both blocks
        frac_sub_mul_row(work[i], e, work[r], p, basis.size, basis.overflow);
        frac_sub_mul_row(basis.transform[i], e, basis.transform[r], 1, m, basis.overflow);
    }
}

} // namespace

column_role role_of(const tableau_store &s, int col) {
    int row = slack_row(s, col);
    if (row != 0)
        return {column_kind::slack, row, slack_sign(s.typed, row)};
    row = s.records.artificial_row[col];
    if (row != 0 && col < s.n_cols)
        return {column_kind::artificial, row, s.records.negated[row] ? -1 : 1};
    if (col > s.typed.n_vars)
        return {column_kind::empty, 0, 1};
    return {column_kind::typed_variable, 0, 1};
}

fraction typed_entry(const tableau_store &s, int col, int i) {
    column_role role = role_of(s, col);
    if (role.kind == column_kind::typed_variable)
        return s.typed.a[i][col];
    return role.row == i ? fraction{role.sign, 1} : zero;
}

fraction typed_cost(const tableau_store &s, int col, bool phase1) {
    column_kind kind = role_of(s, col).kind;
    if (phase1)
        return kind == column_kind::artificial ? one : zero;
    return kind == column_kind::typed_variable ? s.typed.cost[col] : zero;
}

void typed_column(const tableau_store &s, int col, fraction *a) {
    for (int i = 1; i <= s.typed.n_rows; ++i)
        a[i] = typed_entry(s, col, i);
}

void rebuild_basis(const tableau_store &s, typed_basis &basis) {
    const int m = s.typed.n_rows;
    basis.size = s.n_rows;
    basis.overflow = false;
    fraction work[table_size][table_size]; // work[i][p]: typed row i of the basic column p
    for (int i = 1; i <= m; ++i) {
        basis.in_b[i] = false;
        for (int p = 1; p <= basis.size; ++p)
            work[i][p] = typed_entry(s, row_basic(s, p), i);
        for (int k = 1; k <= m; ++k)
            basis.transform[i][k] = k == i ? one : zero;
    }
    int order[table_size];
    int n_offered = offer_order(s, order);
    for (int p = 1; p <= basis.size; ++p) {
        basis.column[p] = row_basic(s, p);
        int r = pivot_row(work, basis.in_b, order, n_offered, p);
        // The tableau is canonical for its basis: its rows, combinations of the typed rows, hold
        // the identity in the basic columns, so those columns are independent and some row that
        // is not yet in B has a non-zero entry in column p (exact arithmetic, no overflow yet).
        assert(r != 0);
        basis.in_b[r] = true;
        basis.inverse_row[p] = r;
        eliminate(work, basis, m, r, p);
        if (basis.overflow)
            return;
    }
    for (int p = 1; p <= basis.size; ++p)
        basis.value[p] = basis_solve_entry(basis, p, s.typed.b, m, basis.overflow);
}

fraction basis_solve_entry(const typed_basis &basis, int p, const fraction *a, int n_rows,
                           bool &overflow) {
    const fraction *row = basis.transform[basis.inverse_row[p]];
    fraction sum = zero;
    for (int i = 1; i <= n_rows; ++i)
        if (row[i].num != 0 && a[i].num != 0)
            sum = frac_add(sum, frac_mul(row[i], a[i], overflow), overflow);
    return sum;
}

fraction basis_tableau_entry(const tableau_store &s, const typed_basis &basis, int p, int col,
                             bool &overflow) {
    fraction a[table_size];
    typed_column(s, col, a);
    return basis_solve_entry(basis, p, a, s.typed.n_rows, overflow);
}

void basis_point(const tableau_store &s, const typed_basis &basis, fraction *x) {
    for (int j = 1; j <= s.typed.n_vars; ++j)
        x[j] = zero;
    for (int p = 1; p <= basis.size; ++p)
        if (role_of(s, basis.column[p]).kind == column_kind::typed_variable)
            x[basis.column[p]] = basis.value[p];
}
