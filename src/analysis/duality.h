// The dual side of an optimum: the dual values of the typed rows, where the final tableau shows
// them, the dual problem's senses and signs, the check of a dual solution, the reduced costs of
// the typed variables and complementary slackness. All in the typed objective's own sense: under
// maximisation the dual values are those of max z.
#pragma once

#include "analysis/typed_basis.h"

// Where a dual value can be read in the final tableau.
enum class price_source {
    objective_column, // sign * (the objective row's entry in `column`), the row's slack or surplus
    computed,      // no column of the row is left (an "=" row's artificial was dropped): c_B B^-1
    redundant_row, // the row is outside the basis (deleted as redundant): 0
};

struct dual_values {
    fraction y[table_size]; // y[1..typed.n_rows]: c_B B^-1, 0 on a row outside the basis
    price_source source[table_size];
    int32_t column[table_size]; // objective_column: the column of the row's slack or surplus
    int32_t sign[table_size];   // objective_column: y_i = sign * tableau[0][column]
    bool overflow;
};

// After a phase 2 that ended optimal, with `basis` rebuilt from its final tableau: y_i is the
// change of the optimal value per unit increase of b_i while the basis stays optimal.
dual_values compute_dual_values(const tableau_store &s, const typed_basis &basis);

// The sign the dual requires of y_i: -1 (y_i <= 0), 0 (free) or 1 (y_i >= 0). At a minimum a
// "<" row's price is <= 0 and a ">" row's >= 0; at a maximum the other way round.
int dual_sign(const typed_problem &t, int i);

enum class dual_outcome {
    passed,
    wrong_sign,          // y[index] has not the sign its row requires
    constraint_violated, // dual constraint of x_index: a_index^T y against c_index
    value_differs,       // b*y is not c*x
    overflow,
};

struct dual_check {
    dual_outcome outcome;
    int index;    // the row or variable that failed
    fraction lhs; // y_index, (A^T y)_index, or b*y (b*y also when passed)
    fraction rhs; // 0, c_index, or c*x
};

// Checks y[1..n_rows] against the dual of the typed problem and the point x[1..n_vars]: every
// sign, then A^T y <= c (>= c at a maximum) for every typed variable, then b*y = c*x; reports the
// first check that fails, in that order.
dual_check check_dual(const typed_problem &t, const fraction *y, const fraction *x);

struct reduced_costs {
    fraction d[table_size]; // d[1..n_vars] = c_j - y*A_j
    bool overflow;
};

// The reduced costs of the typed variables for the dual values y: >= 0 at a minimum, <= 0 at a
// maximum, 0 on every basic variable.
reduced_costs compute_reduced_costs(const typed_problem &t, const fraction *y);

enum class slackness_outcome {
    holds,
    row_fails,      // y_index * (b_index - a_index x) is not 0
    variable_fails, // x_index * d_index is not 0
    overflow,
};

struct slackness_check {
    slackness_outcome outcome;
    int index;
    fraction first, second;     // the two factors whose product is not 0
    fraction slack[table_size]; // slack[1..n_rows] = b_i - a_i x, the rows' slacks as typed
};

// Complementary slackness of the pair (x, y) with reduced costs d: y_i * (b_i - a_i x) = 0 for
// every row, then x_j * d_j = 0 for every variable; the first product that is not 0.
slackness_check check_complementary_slackness(const typed_problem &t, const fraction *y,
                                              const fraction *x, const fraction *d);

// y = c_B B^-1 over the typed rows, with the costs of phase 2 (`phase1` false) or of phase 1.
// The rows outside B get 0.
void basis_prices(const tableau_store &s, const typed_basis &basis, bool phase1, fraction *y,
                  bool &overflow);
