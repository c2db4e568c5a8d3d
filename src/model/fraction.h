// Exact fractions: the tableau cell and the arithmetic the simplex engine runs on.
// Values are num/den on signed 64-bit fields. Every result is reduced by the trial division
// (101 down to 2, each divisor once), so printed tableaus show the forms a hand computation would;
// a result that still needs more than 32 bits is reduced to lowest terms instead, and only one
// that needs more than 64 bits even then is an overflow. Intermediates are exact at any size.
#pragma once

#include <cstdint>

// One tableau cell, a plain value of 16 bytes. The sign may sit in either field (1/-3 is valid).
struct fraction {
    int64_t num;
    int64_t den;
};
static_assert(sizeof(fraction) == 16, "a cell is its two fields and nothing else");

// The reduction every result goes through. A negative denominator passes its sign to the
// numerator (0/-5 becomes 0/5); then each divisor 101, 100, ..., 2 is tried exactly once, in that
// order, so a factor still common after its divisor has been passed stays (121/242 gives 11/22).
// If either field then needs more than 32 bits, the value is reduced to lowest terms, and if even
// that does not fit in 64 bits, `overflow` is set and the returned value is meaningless.
fraction frac_make(fraction f, bool &overflow);

// Exact test that the value is strictly positive (non-zero fields of the same sign).
bool frac_is_positive(fraction f);

// Exact test that the value is strictly negative (non-zero fields of opposite signs).
bool frac_is_negative(fraction f);

// The same value with its sign changed by negating the denominator (2/3 gives 2/-3); when the
// denominator is the one 64-bit value without a negative, the numerator takes the sign instead.
fraction frac_negate(fraction f);

// Numerator and denominator swapped, without any test or normalisation (-2/3 gives 3/-2).
fraction frac_reciprocal(fraction f);

// a + b over the full product of the denominators, reduced by frac_make.
fraction frac_add(fraction a, fraction b, bool &overflow);

// a * b, reduced by frac_make.
fraction frac_mul(fraction a, fraction b, bool &overflow);

// a - b * c, computed as frac_add(a, frac_mul(frac_negate(b), c)), except that the product only
// has its sign normalised and the trial division applied: it is kept exact at whatever width it
// needs, so only the stored sum can overflow. A zero b leaves a as it is when the sum provably
// comes out as a (a sparse pivot meets that in most cells).
fraction frac_sub_mul(fraction a, fraction b, fraction c, bool &overflow);

// row[j] = frac_sub_mul(row[j], e, pivot_row[j]) for j = first..last: the update of one tableau
// row in one call, so the short path of each cell runs without a call of its own.
void frac_sub_mul_row(fraction *row, fraction e, const fraction *pivot_row, int first, int last,
                      bool &overflow);

// Exact comparison of the ratios n1/d1 and n2/d2, where n1 and n2 are zero or positive and d1
// and d2 positive: -1, 0 or 1 as n1/d1 is less than, equal to or greater than n2/d2.
int frac_ratio_compare(fraction n1, fraction d1, fraction n2, fraction d2);
