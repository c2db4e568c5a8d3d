// Exact fractions: the tableau cell and the arithmetic the simplex engine runs on.
// Values are num/den on signed 32-bit fields; results are reduced only by the trial division
// of frac_make, so printed tableaus show the same forms a hand computation would.
#pragma once

#include <cstdint>

// One tableau cell. The sign may sit in either field (1/-3 is valid); `mark` carries the pivot
// mark in its low byte and is copied from the first operand of every operation.
struct fraction {
    int32_t num;
    int32_t den;
    uint32_t mark;
};

// Reduces f by trying each divisor 101, 100, ..., 2 exactly once, in that order; a factor still
// common after its divisor has been passed stays (121/242 gives 11/22). Signs are not touched.
fraction frac_make(fraction f);

// Exact test that the value is strictly positive (non-zero fields of the same sign).
bool frac_is_positive(fraction f);

// Exact test that the value is strictly negative (non-zero fields of opposite signs).
bool frac_is_negative(fraction f);

// The same value with its sign changed by negating the denominator (2/3 gives 2/-3); when the
// denominator is the one 32-bit value without a negative, the numerator takes the sign instead.
fraction frac_negate(fraction f);

// Numerator and denominator swapped, without any test or normalisation (-2/3 gives 3/-2).
fraction frac_reciprocal(fraction f);

// a + b over the full product of the denominators, sign moved to the numerator, reduced by
// frac_make. Intermediates are wide; a result that still needs more than 32 bits after trial
// division is reduced by its greatest common divisor, and if even that does not fit, `overflow`
// is set and the returned value is meaningless.
fraction frac_add(fraction a, fraction b, bool &overflow);

// a * b, sign moved to the numerator, reduced as frac_add reduces.
fraction frac_mul(fraction a, fraction b, bool &overflow);

// a - b * c, computed as frac_add(a, frac_mul(frac_negate(b), c)). The product is reduced by
// trial division but kept wide, so only the stored sum can overflow.
fraction frac_sub_mul(fraction a, fraction b, fraction c, bool &overflow);

// Single-precision approximation of a / b: the two cross products converted to float, divided.
float frac_ratio(fraction a, fraction b);

// Exact comparison of the ratios n1/d1 and n2/d2, where n1 and n2 are zero or positive and d1
// and d2 positive: -1, 0 or 1 as n1/d1 is less than, equal to or greater than n2/d2.
int frac_ratio_compare(fraction n1, fraction d1, fraction n2, fraction d2);

// True when f is exactly zero.
inline bool frac_is_zero(fraction f) {
    return f.num == 0;
}
