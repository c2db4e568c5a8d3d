// Fraction arithmetic. The trial division fixes every printed value; the helpers below reach its
// results without its hundred remainders per operation. Operations whose intermediates all fit
// in 64 bits take a short path, which is every operation on values that fit in 32 bits; those
// whose intermediates fit in two words take a second one, with no 128-bit division; the rest
// run on the four-word integer of model/wide_int.h, exact up to 256 bits. That holds every sum (a
// 64-bit field times a product of up to 127 bits: at most 191 bits) and every cross product of a
// ratio comparison (four 64-bit fields: at most 252 bits), so no intermediate is ever cut.
#include "model/fraction.h"
#include "model/wide_int.h"

#include <bit>
#include <cassert>
#include <climits>
#include <iterator>

namespace {

uint64_t magnitude64(int64_t v) {
    return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

// The gcd of every pair of values below 128, looked up: small tableaus meet almost nothing
// else, and there the binary gcd's loop, whose length no branch predictor can guess, was most of
// the cost of a pivot. 16 KiB: small enough for the first-level cache.
constexpr int small_gcd_limit = 128;

struct small_gcd_table {
    uint8_t of[small_gcd_limit][small_gcd_limit];
};

constexpr small_gcd_table make_small_gcds() {
    small_gcd_table t{};
    for (int a = 0; a < small_gcd_limit; ++a)
        for (int b = 0; b < small_gcd_limit; ++b) {
            int x = a, y = b;
            while (y != 0) {
                int r = x % y;
                x = y;
                y = r;
            }
            t.of[a][b] = static_cast<uint8_t>(x);
        }
    return t;
}

constexpr small_gcd_table small_gcds = make_small_gcds();

// gcd64, by the table where both values are small.
[[gnu::always_inline]] inline uint64_t gcd_word(uint64_t a, uint64_t b) {
    if ((a | b) < small_gcd_limit)
        return small_gcds.of[a][b];
    return gcd64(a, b);
}

// Divisibility by each trial divisor without a division: with d = odd * 2^shift, g is a multiple
// of d exactly when its low `shift` bits are zero and (g >> shift) * inverse, the inverse of odd
// modulo 2^64, is at most (2^64 - 1) / odd; that product is then the exact quotient.
struct divisor_test {
    uint64_t inverse;
    uint64_t limit;
    int shift;
};

constexpr divisor_test make_divisor_test(uint64_t d) {
    int shift = 0;
    while (d % 2 == 0) {
        d /= 2;
        ++shift;
    }
    uint64_t inverse = d; // right in the low 3 bits; each Newton step doubles that
    for (int i = 0; i < 5; ++i)
        inverse *= 2 - d * inverse;
    return {inverse, UINT64_MAX / d, shift};
}

constexpr int largest_divisor = 101;

struct divisor_table {
    divisor_test at[largest_divisor + 1];
};

// Entries 0 and 1 divide by 1, so that a gcd of 0 (0/0) or 1 needs no test of its own.
constexpr divisor_table make_divisor_table() {
    divisor_table t{};
    t.at[0] = t.at[1] = make_divisor_test(1);
    for (int d = 2; d <= largest_divisor; ++d)
        t.at[d] = make_divisor_test(static_cast<uint64_t>(d));
    return t;
}

constexpr divisor_table divisors = make_divisor_table();

bool divides(uint64_t g, int d) {
    const divisor_test &t = divisors.at[d];
    return (g & ((uint64_t{1} << t.shift) - 1)) == 0 && (g >> t.shift) * t.inverse <= t.limit;
}

// The primes up to the largest divisor, and for each the divisors it divides, as a set of bits
// (bit d for divisor d, in two words): a divisor can divide g only when each of its primes does.
constexpr int small_primes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41,
                                43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97, 101};
constexpr int prime_count = static_cast<int>(std::size(small_primes));

struct divisor_set {
    uint64_t word[2];
};

struct multiples_table {
    divisor_set of[prime_count];
};

constexpr multiples_table make_multiples() {
    multiples_table t{};
    for (int k = 0; k < prime_count; ++k)
        for (int d = small_primes[k]; d <= largest_divisor; d += small_primes[k])
            t.of[k].word[d / 64] |= uint64_t{1} << (d % 64);
    return t;
}

constexpr multiples_table multiples = make_multiples();

// The divisors 2..101 whose primes all divide g.
divisor_set candidate_divisors(uint64_t g) {
    divisor_set set{{~uint64_t{3}, (uint64_t{1} << (largest_divisor - 63)) - 1}};
    for (int k = 0; k < prime_count; ++k) {
        uint64_t absent = divides(g, small_primes[k]) ? 0 : ~uint64_t{0};
        set.word[0] &= ~(multiples.of[k].word[0] & absent);
        set.word[1] &= ~(multiples.of[k].word[1] & absent);
    }
    return set;
}

// What the trial division 101, 100, ..., 2 divides out of a pair whose greatest common divisor
// is g: a divisor divides both values exactly when it divides what is still common, so the
// whole loop runs on g alone, and only while something is left to find. A divisor above what is
// left cannot divide it, so the loop starts at g itself when g is below 101; nor can one with a
// prime that g lacks, so the loop visits only the divisors made of g's own primes, largest first.
[[gnu::noinline]] uint64_t trial_factor_above_101(uint64_t g) {
    divisor_set set = candidate_divisors(g);
    uint64_t removed = 1;
    for (int w = 1; w >= 0; --w)
        while (set.word[w] != 0 && g > 1) {
            int top = 63 - std::countl_zero(set.word[w]);
            set.word[w] &= ~(uint64_t{1} << top);
            int d = 64 * w + top;
            if (divides(g, d)) {
                const divisor_test &t = divisors.at[d];
                g = (g >> t.shift) * t.inverse;
                removed *= static_cast<uint64_t>(d);
            }
        }
    return removed;
}

// The commonest case, a common divisor of at most 101, stays inline at every call.
[[gnu::always_inline]] inline uint64_t trial_factor(uint64_t g) {
    return g <= largest_divisor ? g : trial_factor_above_101(g);
}

// Divides both values by a common factor g of at most 101 (0 and 1 leave them as they are): a
// multiply each, and no branch, as g is as often 1 as not.
[[gnu::always_inline]] inline void divide_small(uint64_t &un, uint64_t &ud, uint64_t g) {
    const divisor_test &t = divisors.at[g];
    un = (un >> t.shift) * t.inverse;
    ud = (ud >> t.shift) * t.inverse;
}

// Divides both values by a common factor f; for a trial divisor the exact quotient is a multiply.
[[gnu::always_inline]] inline void divide_exactly(uint64_t &un, uint64_t &ud, uint64_t f) {
    if (f <= 1)
        return;
    if (f <= largest_divisor) {
        const divisor_test &t = divisors.at[f];
        un = (un >> t.shift) * t.inverse;
        ud = (ud >> t.shift) * t.inverse;
        return;
    }
    un /= f;
    ud /= f;
}

// ---- signed wide values and the reduction on them ---------------------------------------------

// A signed value as sign and magnitude; zero is never negative.
struct wide {
    u256 mag;
    bool negative;
};

wide wide_of(int64_t v) {
    return {u256_of(magnitude64(v)), v < 0};
}

wide times(const wide &a, const wide &b) {
    wide r{u256_multiply(a.mag, b.mag), a.negative != b.negative};
    r.negative = r.negative && !u256_is_zero(r.mag);
    return r;
}

wide plus(const wide &a, const wide &b) {
    if (a.negative == b.negative)
        return {u256_add(a.mag, b.mag), a.negative};
    int order = u256_compare(a.mag, b.mag);
    if (order == 0)
        return {u256{}, false};
    return order > 0 ? wide{u256_subtract(a.mag, b.mag), a.negative}
                     : wide{u256_subtract(b.mag, a.mag), b.negative};
}

// A negative denominator passes its sign to the numerator; a zero one is left alone.
void normalise_sign(wide &n, wide &d) {
    if (!d.negative)
        return;
    d.negative = false;
    n.negative = !n.negative && !u256_is_zero(n.mag);
}

// The trial division on wide values; 0/0 stays 0/0, as every divisor divides it.
void trial_reduce(wide &n, wide &d) {
    u256 g = u256_gcd(n.mag, d.mag);
    if (u256_fits_words(g, 1)) {
        if (g.w[0] <= 1)
            return;
        uint64_t f = trial_factor(g.w[0]);
        if (f > 1) {
            u256_divide_by_word(n.mag, f);
            u256_divide_by_word(d.mag, f);
        }
        return;
    }
    for (uint64_t k = largest_divisor; k >= 2; --k) {
        u256 rest = g;
        if (u256_divide_by_word(rest, k) != 0)
            continue;
        g = rest;
        u256_divide_by_word(n.mag, k);
        u256_divide_by_word(d.mag, k);
    }
}

// True when v is a signed field of bits + 1 bits.
bool fits_field(const wide &v, int bits) {
    uint64_t limit = (uint64_t{1} << bits) - (v.negative ? 0 : 1);
    return u256_fits_words(v.mag, 1) && v.mag.w[0] <= limit;
}

int64_t field_value(const wide &v) {
    return static_cast<int64_t>(v.negative ? 0 - v.mag.w[0] : v.mag.w[0]);
}

// The reduction of every result: sign, trial division, lowest terms past 32 bits, and the
// overflow verdict past 64 bits.
[[gnu::noinline]] fraction settle_wide(wide n, wide d, bool &overflow) {
    normalise_sign(n, d);
    trial_reduce(n, d);
    if (fits_field(n, 31) && fits_field(d, 31))
        return {field_value(n), field_value(d)};
    u256 g = u256_gcd(n.mag, d.mag);
    if (u256_compare(g, u256_of(1)) > 0) {
        n.mag = u256_divide_exact(n.mag, g);
        d.mag = u256_divide_exact(d.mag, g);
    }
    if (!fits_field(n, 63) || !fits_field(d, 63)) {
        overflow = true;
        return {0, 1};
    }
    return {field_value(n), field_value(d)};
}

// settle_wide for values that fit in 64 bits, neither of them INT64_MIN, which is what almost
// every operation on a tableau meets. Lowest terms of such values always fit, so it cannot
// overflow. Divides through the magnitudes, which is exact, so the result is settle_wide's to
// the bit.
[[gnu::always_inline]] inline fraction settle64(int64_t n, int64_t d) {
    // The sign of a denominator is anyone's guess in a pivot: moved over without a branch.
    int64_t flip = d >> 63;
    n = (n ^ flip) - flip;
    d = (d ^ flip) - flip;
    uint64_t un = magnitude64(n), ud = static_cast<uint64_t>(d);
    uint64_t g = gcd_word(un, ud);
    // A common divisor of at most 101 is itself the trial division's factor (the first divisor
    // tried that divides it), so the trial form is lowest terms, whatever its width.
    if (g <= largest_divisor) {
        divide_small(un, ud, g);
    } else {
        uint64_t num_limit = n < 0 ? uint64_t{1} << 31 : INT32_MAX;
        // The trial form is never narrower than lowest terms: when those do not fit in 32 bits
        // (un / g > limit, that is un > limit * g), neither does it, and lowest terms are stored.
        if (u128{un} > u128{num_limit} * g || u128{ud} > u128{INT32_MAX} * g) {
            divide_exactly(un, ud, g);
        } else {
            uint64_t f = trial_factor_above_101(g);
            divide_exactly(un, ud, f);
            // Past 32 bits the rest of the common divisor goes too.
            if (un > num_limit || ud > INT32_MAX)
                divide_exactly(un, ud, g / f);
        }
    }
    int64_t signed_num = n < 0 ? -static_cast<int64_t>(un) : static_cast<int64_t>(un);
    return {signed_num, static_cast<int64_t>(ud)};
}

// ---- the two-word path: values below 2^127, reduced without a single 128-bit division -------

// The inverse of an odd value modulo 2^128: each Newton step doubles the correct low bits, from
// the 3 that odd * odd = 1 (mod 8) gives.
constexpr u128 inverse128(u128 odd) {
    u128 inverse = odd;
    for (int i = 0; i < 6; ++i)
        inverse *= 2 - odd * inverse;
    return inverse;
}

// num and den divided by a factor f common to both.
void divide_both(u128 &num, u128 &den, u128 f) {
    exact_divisor divisor = exact_divisor_of(f);
    num = divide_exact128(num, divisor);
    den = divide_exact128(den, divisor);
}

// The divisibility tests of divisor_test, on two words: g is a multiple of d = odd * 2^shift when
// its low `shift` bits are zero and (g >> shift) * inverse is at most (2^128 - 1) / odd.
struct divisor_test128 {
    u128 inverse;
    u128 limit;
};

struct divisor_table128 {
    divisor_test128 at[largest_divisor + 1];
};

constexpr divisor_table128 make_divisor_table128() {
    divisor_table128 t{};
    for (int d = 2; d <= largest_divisor; ++d) {
        u128 odd = static_cast<u128>(d) >> divisors.at[d].shift;
        t.at[d] = {inverse128(odd), ~u128{0} / odd};
    }
    return t;
}

constexpr divisor_table128 divisors128 = make_divisor_table128();

// trial_factor for a common divisor of up to two words.
u128 trial_factor128(u128 g) {
    if ((g >> 64) == 0)
        return trial_factor(static_cast<uint64_t>(g));
    u128 removed = 1;
    for (int d = largest_divisor; d >= 2; --d) {
        int shift = divisors.at[d].shift;
        if ((g & ((u128{1} << shift) - 1)) != 0)
            continue;
        u128 quotient = (g >> shift) * divisors128.at[d].inverse;
        if (quotient <= divisors128.at[d].limit) {
            g = quotient;
            removed *= static_cast<u128>(d);
        }
    }
    return removed;
}

u128 magnitude128(__int128 v) {
    return v < 0 ? 0 - static_cast<u128>(v) : static_cast<u128>(v);
}

// A signed value of two words as its magnitude and sign.
struct pair128 {
    u128 num; // magnitude of the numerator
    u128 den; // magnitude of the denominator
    bool negative;
};

// The trial division on two words, to the bit settle_wide's: its sign step was taken when the
// pair was formed (pair_of), which leaves the sign apart from both magnitudes.
void trial_reduce128(pair128 &v) {
    u128 g = gcd128(v.num, v.den);
    if (g <= 1)
        return;
    u128 f = trial_factor128(g);
    if (f > 1)
        divide_both(v.num, v.den, f);
}

// settle_wide for numerator and denominator below 2^127 in magnitude.
fraction settle128(pair128 v, bool &overflow) {
    u128 g = gcd128(v.num, v.den);
    u128 num_limit = v.negative ? u128{1} << 31 : INT32_MAX;
    if (g > 1) {
        exact_divisor by_gcd = exact_divisor_of(g);
        u128 lowest_num = divide_exact128(v.num, by_gcd),
             lowest_den = divide_exact128(v.den, by_gcd);
        // The trial form is never narrower than lowest terms, so it is looked for only when
        // lowest terms fit in 32 bits; past them, lowest terms are the stored value.
        if (lowest_num <= num_limit && lowest_den <= INT32_MAX) {
            u128 f = trial_factor128(g);
            if (f > 1)
                divide_both(v.num, v.den, f);
        }
        if (v.num > num_limit || v.den > INT32_MAX) {
            v.num = lowest_num;
            v.den = lowest_den;
        }
    }
    if (v.num > num_limit || v.den > INT32_MAX) {
        num_limit = v.negative ? u128{1} << 63 : INT64_MAX;
        if (v.num > num_limit || v.den > INT64_MAX) {
            overflow = true;
            return {0, 1};
        }
    }
    auto num = static_cast<int64_t>(v.negative ? 0 - static_cast<uint64_t>(v.num)
                                               : static_cast<uint64_t>(v.num));
    return {num, static_cast<int64_t>(v.den)};
}

// n/d as magnitudes, with the sign moved to the numerator; a zero numerator is never negative.
pair128 pair_of(__int128 n, __int128 d) {
    bool negative = (n < 0) != (d < 0) && n != 0 && d != 0;
    // A zero denominator keeps the numerator's own sign, as normalise_sign leaves it.
    if (d == 0)
        negative = n < 0;
    return {magnitude128(n), magnitude128(d), negative};
}

// x * y when it fits below 2^126, so that the sum of two such products fits a signed word pair.
bool small_product(int64_t x, u128 y, int width_y) {
    return static_cast<int>(std::bit_width(magnitude64(x))) + width_y <= 126 || x == 0 || y == 0;
}

// The sum a + n/d with the second operand already wide.
[[gnu::noinline]] fraction add_wide(fraction a, const wide &n, const wide &d, bool &overflow) {
    wide sum_den = times(wide_of(a.den), d);
    wide sum_num = plus(times(wide_of(a.num), d), times(n, wide_of(a.den)));
    return settle_wide(sum_num, sum_den, overflow);
}

// The sum a + p with p already sign-normalised: on two words when every product fits there.
[[gnu::noinline]] fraction add128(fraction a, const pair128 &p, bool &overflow) {
    int num_width = bit_width128(p.num), den_width = bit_width128(p.den);
    if (!small_product(a.num, p.den, den_width) || !small_product(a.den, p.num, num_width) ||
        !small_product(a.den, p.den, den_width)) {
        wide n{u256_of(p.num), p.negative && p.num != 0}, d{u256_of(p.den), false};
        return add_wide(a, n, d, overflow);
    }
    __int128 p_num = p.negative ? -static_cast<__int128>(p.num) : static_cast<__int128>(p.num);
    auto p_den = static_cast<__int128>(p.den);
    __int128 sum_num = a.num * p_den + p_num * a.den;
    __int128 sum_den = a.den * p_den;
    return settle128(pair_of(sum_num, sum_den), overflow);
}

// The same sum, in 64-bit arithmetic whenever every intermediate fits there.
[[gnu::always_inline]] inline fraction add64(fraction a, int64_t n, int64_t d, bool &overflow) {
    int64_t sum_den, left, right, sum_num;
    if (__builtin_mul_overflow(a.den, d, &sum_den) || __builtin_mul_overflow(a.num, d, &left) ||
        __builtin_mul_overflow(n, a.den, &right) || __builtin_add_overflow(left, right, &sum_num) ||
        sum_den == INT64_MIN || sum_num == INT64_MIN)
        return add128(a, pair_of(n, d), overflow);
    return settle64(sum_num, sum_den);
}

// a - b * c with the product formed wide: sign-normalised and trial-divided, never narrowed.
[[gnu::noinline]] fraction sub_mul_wide(fraction a, fraction b, fraction c, bool &overflow) {
    // Two 64-bit fields make a product of at most 2^126: it fits two words.
    __int128 n = static_cast<__int128>(b.num) * c.num;
    __int128 d = -(static_cast<__int128>(b.den) * c.den); // the product is -b * c
    pair128 p = pair_of(n, d);
    trial_reduce128(p);
    return add128(a, p, overflow);
}

// A zero b adds 0/q to a, q being what the trial division leaves of |b.den * c.den|; when that
// product is at most 101 it is itself the first divisor that divides it, so q is 1. The sum is
// then a itself sign-normalised and reduced, which is a as it stands when its denominator is
// positive and a field of 1 leaves nothing in common. Any other cell goes through the
// arithmetic: 0 added can still change its form (11/22 becomes 1/2, and 1/2 plus 0/103 becomes
// 103/206).
bool kept_by_zero_multiplier(fraction a, fraction b, fraction c) {
    uint64_t b_den = magnitude64(b.den), c_den = magnitude64(c.den);
    return b_den >= 1 && c_den >= 1 && b_den <= largest_divisor && c_den <= largest_divisor &&
           b_den * c_den <= largest_divisor && a.den > 0 &&
           (a.den == 1 || a.num == 1 || a.num == -1);
}

} // namespace

fraction frac_make(fraction f, bool &overflow) {
    if (f.num == INT64_MIN || f.den == INT64_MIN)
        return settle_wide(wide_of(f.num), wide_of(f.den), overflow);
    return settle64(f.num, f.den);
}

bool frac_is_positive(fraction f) {
    return (f.num > 0 && f.den > 0) || (f.num < 0 && f.den < 0);
}

bool frac_is_negative(fraction f) {
    return (f.num < 0 && f.den > 0) || (f.num > 0 && f.den < 0);
}

fraction frac_negate(fraction f) {
    if (f.den != INT64_MIN)
        return {f.num, -f.den};
    if (f.num != INT64_MIN)
        return {-f.num, f.den};
    return {-1, 1}; // the value was exactly 1
}

fraction frac_reciprocal(fraction f) {
    return {f.den, f.num};
}

fraction frac_add(fraction a, fraction b, bool &overflow) {
    if (b.num == INT64_MIN || b.den == INT64_MIN)
        return add_wide(a, wide_of(b.num), wide_of(b.den), overflow);
    return add64(a, b.num, b.den, overflow);
}

fraction frac_mul(fraction a, fraction b, bool &overflow) {
    int64_t n, d;
    if (__builtin_mul_overflow(a.num, b.num, &n) || __builtin_mul_overflow(a.den, b.den, &d) ||
        n == INT64_MIN || d == INT64_MIN)
        return settle128(
            pair_of(static_cast<__int128>(a.num) * b.num, static_cast<__int128>(a.den) * b.den),
            overflow);
    return settle64(n, d);
}

namespace {

[[gnu::always_inline]] inline fraction sub_mul(fraction a, fraction b, fraction c, bool &overflow) {
    if (b.num == 0 && kept_by_zero_multiplier(a, b, c))
        return a;
    // p = (-b) * c, sign-normalised and trial-reduced, but never narrowed to 32 bits.
    int64_t n, d;
    if (__builtin_mul_overflow(b.num, c.num, &n) || __builtin_mul_overflow(b.den, c.den, &d) ||
        n == INT64_MIN || d == INT64_MIN)
        return sub_mul_wide(a, b, c, overflow);
    // The product is -(n/d): the sign of d moves to n as in settle64, then n changes sign.
    int64_t flip = d >> 63;
    n = -((n ^ flip) - flip);
    d = (d ^ flip) - flip;
    uint64_t un = magnitude64(n), ud = static_cast<uint64_t>(d);
    uint64_t g = gcd_word(un, ud);
    if (g <= largest_divisor)
        divide_small(un, ud, g);
    else
        divide_exactly(un, ud, trial_factor_above_101(g));
    n = n < 0 ? -static_cast<int64_t>(un) : static_cast<int64_t>(un);
    d = static_cast<int64_t>(ud);
    return add64(a, n, d, overflow);
}

} // namespace

fraction frac_sub_mul(fraction a, fraction b, fraction c, bool &overflow) {
    return sub_mul(a, b, c, overflow);
}

void frac_sub_mul_row(fraction *row, fraction e, const fraction *pivot_row, int first, int last,
                      bool &overflow) {
    if (e.num != 0) {
        for (int j = first; j <= last; ++j)
            row[j] = sub_mul(row[j], e, pivot_row[j], overflow);
        return;
    }
    // A row that is zero in the pivot column mostly stays as it is: leave those cells unwritten.
    for (int j = first; j <= last; ++j)
        if (!kept_by_zero_multiplier(row[j], e, pivot_row[j]))
            row[j] = sub_mul(row[j], e, pivot_row[j], overflow);
}

int frac_ratio_compare(fraction n1, fraction d1, fraction n2, fraction d2) {
    // The magnitudes below stand for the values only when no value is negative and no divisor is
    // zero or negative; the ratio test passes nothing else (it skips those rows).
    assert(!frac_is_negative(n1) && !frac_is_negative(n2));
    assert(frac_is_positive(d1) && frac_is_positive(d2));
    // n1/d1 = (n1.num * d1.den) / (n1.den * d1.num); every value here is non-negative, so the
    // magnitudes of the four fields give the same quotient.
    auto cross = [](int64_t x, int64_t y) { return u128{magnitude64(x)} * magnitude64(y); };
    u128 top1 = cross(n1.num, d1.den), bottom1 = cross(n1.den, d1.num);
    u128 top2 = cross(n2.num, d2.den), bottom2 = cross(n2.den, d2.num);
    if (((top1 | bottom1 | top2 | bottom2) >> 64) == 0) {
        u128 left = top1 * bottom2, right = top2 * bottom1;
        return left < right ? -1 : (left > right ? 1 : 0);
    }
    return u256_compare(u256_multiply(u256_of(top1), u256_of(bottom2)),
                        u256_multiply(u256_of(top2), u256_of(bottom1)));
}
