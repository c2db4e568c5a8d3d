// The basic solution of the final tableau.
#include "simplex/solution.h"

basic_solution read_solution(const tableau_store &s) {
    basic_solution solution;
    solution.n_vars = s.typed.n_vars;
    for (int j = 1; j <= solution.n_vars; ++j)
        solution.x[j] = {0, 1};
    for (int i = 1; i <= s.n_rows; ++i) {
        int col = row_basic(s, i);
        if (col <= solution.n_vars && slack_row(s, col) == 0)
            solution.x[col] = s.tableau[i][s.n_cols];
    }
    fraction value = s.tableau[0][s.n_cols];
    solution.z = s.typed.maximise ? frac_negate(value) : value;
    return solution;
}
