// The check of a solution against the typed problem.
#include "analysis/solution_check.h"

#include "analysis/exact.h"

solution_check check_solution(const typed_problem &typed, const fraction *x, fraction z) {
    for (int j = 1; j <= typed.n_vars; ++j)
        if (frac_is_negative(x[j]))
            return {check_outcome::negative_value, j, relation_equal, x[j], {0, 1}};
    bool overflow = false;
    for (int i = 1; i <= typed.n_rows; ++i) {
        fraction lhs = dot(typed.a[i], typed.n_vars, x, overflow);
        int order = compare(lhs, typed.b[i]);
        if (overflow)
            return {check_outcome::overflow, i, relation_equal, {0, 1}, {0, 1}};
        if (!relation_holds(typed.relation[i], order))
            return {check_outcome::row_violated, i, typed.relation[i], lhs, typed.b[i]};
    }
    fraction cx = dot(typed.cost, typed.n_vars, x, overflow);
    int order = compare(cx, z);
    if (overflow)
        return {check_outcome::overflow, 0, relation_equal, {0, 1}, {0, 1}};
    if (order != 0)
        return {check_outcome::objective_differs, 0, relation_equal, cx, z};
    return {check_outcome::passed, 0, relation_equal, {0, 1}, {0, 1}};
}
