// How far the optimum can be pushed: a second optimum where a zero reduced cost proves one, the
// basic variables at zero, and the ranges of the typed costs and right-hand sides over which the
// optimal basis stays optimal and feasible. All on the typed problem, for the basis of the final
// tableau, in the typed objective's own sense.
#pragma once

#include "analysis/typed_basis.h"

// The reduced cost of column col for the prices y, in the typed sense: its cost less y times its
// typed column (for a slack of row i, -y_i; for a surplus, +y_i).
fraction column_reduced_cost(const tableau_store &s, int col, const fraction *y, bool &overflow);

struct second_optimum {
    int column;     // the non-basic column that proves it, 0 when none does
    bool unused;    // that column is a typed variable in no row (its tableau column is a slack's)
    bool along_ray; // no row limits the column: x + t*d stays optimal for every t >= 0
    int row;        // otherwise: the tableau row of the minimum ratio
    fraction ratio; // and that ratio, above 0
    fraction x[table_size]; // x[1..n_vars]: the direction d along a ray, else the other vertex
    bool overflow;
};

// The lowest non-basic column (a typed variable, slack or surplus) with reduced cost 0 whose
// minimum ratio is above 0, or that no row limits. A minimum ratio of 0 proves nothing (the pivot
// would reach the same point), so such a column is passed over. A typed variable whose column a
// slack took appears in no row and costs nothing: it can grow alone, and is named at its column.
second_optimum find_second_optimum(const tableau_store &s, const typed_basis &basis,
                                   const fraction *y);

struct degeneracy {
    int count;
    int row[table_size]; // row[0..count-1]: the tableau rows whose basic variable is 0
};

degeneracy find_degeneracy(const typed_basis &basis);

// A range of one typed cost or right-hand side; an end that does not exist is infinite.
struct value_range {
    fraction value; // the typed value itself
    bool has_low, has_high;
    fraction low, high;
    bool overflow;
};

// Per typed variable: the costs c_j (the others fixed) for which the basis stays optimal.
struct cost_ranges {
    value_range c[table_size]; // c[1..n_vars]
};

cost_ranges compute_cost_ranges(const tableau_store &s, const typed_basis &basis,
                                const fraction *y);

// Per typed row: the right-hand sides b_i (the others fixed) for which the basis stays feasible.
// A row in a zero combination of rows (one deleted as redundant, or one with a non-zero
// multiplier in such a combination) cannot move alone without making the rows inconsistent:
// its range is [b_i, b_i], and `with` names a redundant row whose combination holds it.
struct rhs_ranges {
    value_range b[table_size]; // b[1..n_rows]
    int with[table_size];      // 0, or the redundant row of the combination that fixes row i
};

rhs_ranges compute_rhs_ranges(const tableau_store &s, const typed_basis &basis);
