// Exact sums and comparisons shared by the checks of the analysis room. Each takes the overflow
// flag of the figure it helps to compute; the store's own flag is never touched here.
#pragma once

#include "model/tableau_store.h"

// sum of v[1..n] * x[1..n].
inline fraction dot(const fraction *v, int n, const fraction *x, bool &overflow) {
    fraction sum{0, 1};
    for (int j = 1; j <= n; ++j)
        sum = frac_add(sum, frac_mul(v[j], x[j], overflow), overflow);
    return sum;
}

// The sign of a - b: -1, 0 or 1, exactly and without overflow: the cross products of two 64-bit
// fractions fit in 128 bits, and the sign of the denominators' product turns the order round.
inline int compare(fraction a, fraction b) {
    __int128 left = static_cast<__int128>(a.num) * b.den;
    __int128 right = static_cast<__int128>(b.num) * a.den;
    int order = left < right ? -1 : (left > right ? 1 : 0);
    return (a.den < 0) != (b.den < 0) ? -order : order;
}

// The sign of a value: -1, 0 or 1.
inline int sign_of(fraction f) {
    return frac_is_negative(f) ? -1 : (frac_is_positive(f) ? 1 : 0);
}

// Whether "lhs relation rhs" holds, given the sign of lhs - rhs.
inline bool relation_holds(int32_t code, int order) {
    if (code == relation_less)
        return order <= 0;
    if (code == relation_greater)
        return order >= 0;
    return order == 0;
}
