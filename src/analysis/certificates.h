// The certificates of the two verdicts that have no optimum: a Farkas combination of the typed
// rows for an infeasible problem, and a ray along which the objective improves without end for an
// unbounded one; each with its exact check on the typed problem, which anyone can redo by hand.
#pragma once

#include "analysis/typed_basis.h"

struct farkas_certificate {
    fraction y[table_size]; // y[1..n_rows]: the multipliers of the typed rows
    bool overflow;
};

// After a phase 1 that ended above 0, with `basis` rebuilt from its final tableau: the phase-1
// prices c_B B^-1 (cost 1 on the artificial columns). Their combination of the typed rows, written
// with ">=", has every coefficient <= 0 and the right-hand side w > 0, the minimum of phase 1.
farkas_certificate infeasibility_certificate(const tableau_store &s, const typed_basis &basis);

enum class farkas_outcome {
    passed,
    wrong_sign,           // y_index has not the sign of its row: <= 0 on "<", >= 0 on ">"
    coefficient_positive, // the combination's coefficient of x_index is above 0
    rhs_not_positive,     // the combination's right-hand side y*b is not above 0
    overflow,
};

struct farkas_check {
    farkas_outcome outcome;
    int index;
    fraction coefficient[table_size]; // coefficient[1..n_vars] = sum_i y_i a_ij
    fraction rhs;                     // y*b
};

// Checks that y proves the typed rows inconsistent: the signs (the same in either sense), then
// every coefficient of the combination, then its right-hand side; the first that fails.
farkas_check check_farkas(const typed_problem &t, const fraction *y);

struct unbounded_ray {
    fraction x0[table_size]; // x0[1..n_vars]: the point of the final tableau
    fraction d[table_size];  // d[1..n_vars]: the direction of the entering column
    bool overflow;
};

// After a phase 2 that ended unbounded on column `col`, with `basis` rebuilt from its final
// tableau: x0 the basis's point, d the typed part of the move as col grows by 1 (1 on col itself
// when it is a typed variable, -alpha_p on each basic typed variable).
unbounded_ray unbounded_direction(const tableau_store &s, const typed_basis &basis, int col);

enum class ray_outcome {
    passed,
    point_negative,     // x0_index < 0
    point_violates,     // typed row index does not hold at x0
    direction_negative, // d_index < 0
    direction_zero,     // d is 0
    direction_violates, // a_index * d against 0 breaks the row's relation
    not_improving,      // c*d is not below 0 (above 0 at a maximum)
    overflow,
};

struct ray_check {
    ray_outcome outcome;
    int index;
    int32_t relation; // the failed row's relation
    fraction lhs;     // x0_index, a_index x0, d_index or a_index d
    fraction rhs;     // b_index, or 0
    fraction cd;      // c*d (when the checks before it passed)
};

// Checks that x0 + t*d satisfies every typed row for every t >= 0 and that the typed objective
// improves along d: x0 feasible, d >= 0 and not 0, a_i*d <= 0, = 0 or >= 0 by relation, c*d < 0
// (> 0 at a maximum); the first check that fails, in that order.
ray_check check_ray(const typed_problem &t, const fraction *x0, const fraction *d);
