// The check of a solution against the typed problem.
#include "analysis/solution_check.h"

namespace {

// sum of v[1..n] * x[1..n].
fraction dot(const fraction *v, int n, const fraction *x, bool &overflow) {
    fraction sum{0, 1};
    for (int j = 1; j <= n; ++j)
        sum = frac_add(sum, frac_mul(v[j], x[j], overflow), overflow);
    return sum;
}

// The sign of a - b: -1, 0 or 1.
int compare(fraction a, fraction b, bool &overflow) {
    fraction difference = frac_sub_mul(a, b, fraction{1, 1}, overflow);
    return frac_is_negative(difference) ? -1 : (frac_is_positive(difference) ? 1 : 0);
}

bool relation_holds(int32_t code, int order) {
    if (code == relation_less)
        return order <= 0;
    if (code == relation_greater)
        return order >= 0;
    return order == 0;
}

} // namespace

solution_check check_solution(const typed_problem &typed, const fraction *x, fraction z) {
    for (int j = 1; j <= typed.n_vars; ++j)
        if (frac_is_negative(x[j]))
            return {check_outcome::negative_value, j, relation_equal, x[j], {0, 1}};
    bool overflow = false;
    for (int i = 1; i <= typed.n_rows; ++i) {
        fraction lhs = dot(typed.a[i], typed.n_vars, x, overflow);
        int order = compare(lhs, typed.b[i], overflow);
        if (overflow)
            return {check_outcome::overflow, i, relation_equal, {0, 1}, {0, 1}};
        if (!relation_holds(typed.relation[i], order))
            return {check_outcome::row_violated, i, typed.relation[i], lhs, typed.b[i]};
    }
    fraction cx = dot(typed.cost, typed.n_vars, x, overflow);
    int order = compare(cx, z, overflow);
    if (overflow)
        return {check_outcome::overflow, 0, relation_equal, {0, 1}, {0, 1}};
    if (order != 0)
        return {check_outcome::objective_differs, 0, relation_equal, cx, z};
    return {check_outcome::passed, 0, relation_equal, {0, 1}, {0, 1}};
}
