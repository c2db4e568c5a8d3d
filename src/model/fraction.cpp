// Fraction arithmetic. The trial division fixes every printed value; the helpers below reach its
// results without its hundred remainders per operation. Operations whose intermediates all fit
// in 64 bits take a short path, which is every operation on values that fit in 32 bits; those
// whose intermediates fit in two words take a second one, with no 128-bit division; the rest
// run on a four-word integer, exact up to 256 bits. That holds every sum (a 64-bit field times a
// product of up to 127 bits: at most 191 bits) and every cross product of a ratio comparison
// (four 64-bit fields: at most 252 bits), so no intermediate is ever cut.
#include "model/fraction.h"

#include <bit>
#include <climits>
#include <iterator>

namespace {

using u128 = unsigned __int128;

uint64_t magnitude64(int64_t v) {
    return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

// Binary gcd for values below 2^63, which lets the difference of two odd values be taken signed:
// its trailing zeros are counted while its magnitude is formed, so each step is short.
uint64_t gcd64(uint64_t a, uint64_t b) {
    if (a == 0)
        return b;
    if (b == 0)
        return a;
    int a_zeros = std::countr_zero(a);
    int b_zeros = std::countr_zero(b);
    int shift = a_zeros < b_zeros ? a_zeros : b_zeros;
    b >>= b_zeros;
    while (a != 0) {
        a >>= a_zeros;
        int64_t diff = static_cast<int64_t>(b) - static_cast<int64_t>(a);
        a_zeros = std::countr_zero(static_cast<uint64_t>(diff));
        b = a < b ? a : b;
        a = magnitude64(diff);
    }
    return b << shift;
}

int trailing_zeros128(u128 v) {
    auto low = static_cast<uint64_t>(v);
    return low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(static_cast<uint64_t>(v >> 64));
}

// Binary gcd: subtractions and shifts until both values are below 2^63, where gcd64 goes on.
u128 binary_gcd128(u128 a, u128 b) {
    if (a == 0)
        return b;
    if (b == 0)
        return a;
    int a_zeros = trailing_zeros128(a), b_zeros = trailing_zeros128(b);
    int shift = a_zeros < b_zeros ? a_zeros : b_zeros;
    a >>= a_zeros;
    b >>= b_zeros;
    while ((a >> 63) != 0 || (b >> 63) != 0) {
        if (a == b)
            return a << shift;
        if (a > b) {
            u128 t = a;
            a = b;
            b = t;
        }
        b -= a; // both odd: the difference is even and not zero
        b >>= trailing_zeros128(b);
    }
    return u128{gcd64(static_cast<uint64_t>(a), static_cast<uint64_t>(b))} << shift;
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

constexpr divisor_table make_divisor_table() {
    divisor_table t{};
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

// ---- the four-word integer: magnitudes up to 2^256 - 1, least significant word first ----------

struct u256 {
    uint64_t w[4];
};

u256 to_u256(u128 v) {
    return {{static_cast<uint64_t>(v), static_cast<uint64_t>(v >> 64), 0, 0}};
}

bool is_zero(const u256 &a) {
    return (a.w[0] | a.w[1] | a.w[2] | a.w[3]) == 0;
}

// True when a is below 2^(64 * words).
bool fits_words(const u256 &a, int words) {
    for (int i = words; i < 4; ++i)
        if (a.w[i] != 0)
            return false;
    return true;
}

u128 low128(const u256 &a) {
    return u128{a.w[1]} << 64 | a.w[0];
}

int compare(const u256 &a, const u256 &b) {
    for (int i = 3; i >= 0; --i)
        if (a.w[i] != b.w[i])
            return a.w[i] < b.w[i] ? -1 : 1;
    return 0;
}

// a + b, for a sum below 2^256.
u256 add(const u256 &a, const u256 &b) {
    u256 r;
    uint64_t carry = 0;
    for (int i = 0; i < 4; ++i) {
        u128 s = u128{a.w[i]} + b.w[i] + carry;
        r.w[i] = static_cast<uint64_t>(s);
        carry = static_cast<uint64_t>(s >> 64);
    }
    return r;
}

// a - b, for a not below b.
u256 subtract(const u256 &a, const u256 &b) {
    u256 r;
    uint64_t borrow = 0;
    for (int i = 0; i < 4; ++i) {
        u128 d = u128{a.w[i]} - b.w[i] - borrow;
        r.w[i] = static_cast<uint64_t>(d);
        borrow = (d >> 64) != 0 ? 1 : 0;
    }
    return r;
}

// a * b, for a product below 2^256.
u256 multiply(const u256 &a, const u256 &b) {
    u256 r{};
    for (int i = 0; i < 4; ++i) {
        if (a.w[i] == 0)
            continue;
        uint64_t carry = 0;
        for (int j = 0; i + j < 4; ++j) {
            u128 p = u128{a.w[i]} * b.w[j] + r.w[i + j] + carry;
            r.w[i + j] = static_cast<uint64_t>(p);
            carry = static_cast<uint64_t>(p >> 64);
        }
    }
    return r;
}

void shift_right(u256 &a, int k) {
    int words = k / 64, bits = k % 64;
    for (int i = 0; i < 4; ++i) {
        uint64_t low = i + words < 4 ? a.w[i + words] : 0;
        uint64_t high = i + words + 1 < 4 ? a.w[i + words + 1] : 0;
        a.w[i] = bits == 0 ? low : (low >> bits | high << (64 - bits));
    }
}

// a * 2^k, for a result below 2^256.
void shift_left(u256 &a, int k) {
    int words = k / 64, bits = k % 64;
    for (int i = 3; i >= 0; --i) {
        uint64_t high = i - words >= 0 ? a.w[i - words] : 0;
        uint64_t low = i - words - 1 >= 0 ? a.w[i - words - 1] : 0;
        a.w[i] = bits == 0 ? high : (high << bits | low >> (64 - bits));
    }
}

// For a non-zero a.
int trailing_zeros(const u256 &a) {
    int i = 0;
    while (a.w[i] == 0)
        ++i;
    return 64 * i + std::countr_zero(a.w[i]);
}

int bit_length(const u256 &a) {
    for (int i = 3; i >= 0; --i)
        if (a.w[i] != 0)
            return 64 * i + static_cast<int>(std::bit_width(a.w[i]));
    return 0;
}

// Binary gcd on the full width, handed to binary_gcd128 once both values fit in two words.
u256 gcd256(u256 a, u256 b) {
    if (is_zero(a))
        return b;
    if (is_zero(b))
        return a;
    int a_zeros = trailing_zeros(a), b_zeros = trailing_zeros(b);
    int shift = a_zeros < b_zeros ? a_zeros : b_zeros;
    shift_right(a, a_zeros);
    shift_right(b, b_zeros);
    while (!fits_words(a, 2) || !fits_words(b, 2)) {
        int order = compare(a, b);
        if (order == 0)
            break;
        if (order < 0) {
            u256 t = a;
            a = b;
            b = t;
        }
        a = subtract(a, b); // both odd: the difference is even and not zero
        shift_right(a, trailing_zeros(a));
    }
    u256 g =
        fits_words(a, 2) && fits_words(b, 2) ? to_u256(binary_gcd128(low128(a), low128(b))) : a;
    shift_left(g, shift);
    return g;
}

// a = a / d for a single-word d; returns the remainder.
uint64_t divide_by_word(u256 &a, uint64_t d) {
    u128 remainder = 0;
    for (int i = 3; i >= 0; --i) {
        u128 current = remainder << 64 | a.w[i];
        a.w[i] = static_cast<uint64_t>(current / d);
        remainder = current % d;
    }
    return static_cast<uint64_t>(remainder);
}

// a / g for a g that divides a exactly, g below 2^255.
u256 divide_exact(const u256 &a, const u256 &g) {
    u256 quotient = a;
    if (fits_words(g, 1)) {
        divide_by_word(quotient, g.w[0]);
        return quotient;
    }
    quotient = {};
    u256 rest{};
    for (int i = bit_length(a) - 1; i >= 0; --i) {
        shift_left(rest, 1);
        rest.w[0] |= (a.w[i / 64] >> (i % 64)) & 1;
        if (compare(rest, g) >= 0) {
            rest = subtract(rest, g);
            quotient.w[i / 64] |= uint64_t{1} << (i % 64);
        }
    }
    return quotient;
}

// ---- signed wide values and the reduction on them ---------------------------------------------

// A signed value as sign and magnitude; zero is never negative.
struct wide {
    u256 mag;
    bool negative;
};

wide wide_of(int64_t v) {
    return {to_u256(magnitude64(v)), v < 0};
}

wide times(const wide &a, const wide &b) {
    wide r{multiply(a.mag, b.mag), a.negative != b.negative};
    r.negative = r.negative && !is_zero(r.mag);
    return r;
}

wide plus(const wide &a, const wide &b) {
    if (a.negative == b.negative)
        return {add(a.mag, b.mag), a.negative};
    int order = compare(a.mag, b.mag);
    if (order == 0)
        return {u256{}, false};
    return order > 0 ? wide{subtract(a.mag, b.mag), a.negative}
                     : wide{subtract(b.mag, a.mag), b.negative};
}

// A negative denominator passes its sign to the numerator; a zero one is left alone.
void normalise_sign(wide &n, wide &d) {
    if (!d.negative)
        return;
    d.negative = false;
    n.negative = !n.negative && !is_zero(n.mag);
}

// The trial division on wide values; 0/0 stays 0/0, as every divisor divides it.
void trial_reduce(wide &n, wide &d) {
    u256 g = gcd256(n.mag, d.mag);
    if (fits_words(g, 1)) {
        if (g.w[0] <= 1)
            return;
        uint64_t f = trial_factor(g.w[0]);
        if (f > 1) {
            divide_by_word(n.mag, f);
            divide_by_word(d.mag, f);
        }
        return;
    }
    for (uint64_t k = largest_divisor; k >= 2; --k) {
        u256 rest = g;
        if (divide_by_word(rest, k) != 0)
            continue;
        g = rest;
        divide_by_word(n.mag, k);
        divide_by_word(d.mag, k);
    }
}

// True when v is a signed field of bits + 1 bits.
bool fits_field(const wide &v, int bits) {
    uint64_t limit = (uint64_t{1} << bits) - (v.negative ? 0 : 1);
    return fits_words(v.mag, 1) && v.mag.w[0] <= limit;
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
    u256 g = gcd256(n.mag, d.mag);
    if (compare(g, to_u256(1)) > 0) {
        n.mag = divide_exact(n.mag, g);
        d.mag = divide_exact(d.mag, g);
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
    if (d < 0) {
        n = -n;
        d = -d;
    }
    uint64_t un = magnitude64(n), ud = static_cast<uint64_t>(d);
    uint64_t num_limit = n < 0 ? uint64_t{1} << 31 : INT32_MAX;
    // A field of 1 leaves nothing in common, which spares the gcd on the commonest values.
    uint64_t g = un == 1 || ud == 1 ? 1 : gcd64(un, ud);
    if (g > 1) {
        // The trial form is never narrower than lowest terms: when those do not fit in 32 bits
        // (un / g > limit, that is un > limit * g), neither does it, and lowest terms are stored.
        if (u128{un} > u128{num_limit} * g || u128{ud} > u128{INT32_MAX} * g) {
            divide_exactly(un, ud, g);
        } else {
            uint64_t f = trial_factor(g);
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

int bit_width128(u128 v) {
    auto high = static_cast<uint64_t>(v >> 64);
    return high != 0 ? 64 + static_cast<int>(std::bit_width(high))
                     : static_cast<int>(std::bit_width(static_cast<uint64_t>(v)));
}

// The inverse of an odd value modulo 2^128: each Newton step doubles the correct low bits, from
// the 3 that odd * odd = 1 (mod 8) gives.
constexpr u128 inverse128(u128 odd) {
    u128 inverse = odd;
    for (int i = 0; i < 6; ++i)
        inverse *= 2 - odd * inverse;
    return inverse;
}

// Division by an f known to divide the dividend: the power of two by a shift, the odd part by a
// multiply with its inverse, found on one word first and then widened by one Newton step.
struct exact_divisor {
    int zeros;
    u128 inverse;
};

exact_divisor exact_divisor_of(u128 f) {
    int zeros = trailing_zeros128(f);
    u128 odd = f >> zeros;
    auto low = static_cast<uint64_t>(odd);
    uint64_t inverse = low; // right in the low 3 bits; each Newton step doubles that
    for (int i = 0; i < 5; ++i)
        inverse *= 2 - low * inverse;
    u128 wide_inverse = inverse;
    wide_inverse *= 2 - odd * wide_inverse;
    return {zeros, wide_inverse};
}

u128 divide_exact128(u128 v, const exact_divisor &f) {
    return (v >> f.zeros) * f.inverse;
}

// Both fields of v divided by a common factor f.
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

// Sign normalisation and trial division on two words: settle_wide's first two steps, to the bit.
void trial_reduce128(pair128 &v) {
    u128 g = binary_gcd128(v.num, v.den);
    if (g <= 1)
        return;
    u128 f = trial_factor128(g);
    if (f > 1)
        divide_both(v.num, v.den, f);
}

// settle_wide for numerator and denominator below 2^127 in magnitude.
fraction settle128(pair128 v, bool &overflow) {
    u128 g = binary_gcd128(v.num, v.den);
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
        wide n{to_u256(p.num), p.negative && p.num != 0}, d{to_u256(p.den), false};
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
    d = -d;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    uint64_t un = magnitude64(n), ud = static_cast<uint64_t>(d);
    uint64_t g = un == 1 || ud == 1 ? 1 : gcd64(un, ud);
    if (g > 1) {
        divide_exactly(un, ud, trial_factor(g));
        n = n < 0 ? -static_cast<int64_t>(un) : static_cast<int64_t>(un);
        d = static_cast<int64_t>(ud);
    }
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
    // n1/d1 = (n1.num * d1.den) / (n1.den * d1.num); every value here is non-negative, so the
    // magnitudes of the four fields give the same quotient.
    auto cross = [](int64_t x, int64_t y) { return u128{magnitude64(x)} * magnitude64(y); };
    u128 top1 = cross(n1.num, d1.den), bottom1 = cross(n1.den, d1.num);
    u128 top2 = cross(n2.num, d2.den), bottom2 = cross(n2.den, d2.num);
    if (((top1 | bottom1 | top2 | bottom2) >> 64) == 0) {
        u128 left = top1 * bottom2, right = top2 * bottom1;
        return left < right ? -1 : (left > right ? 1 : 0);
    }
    return compare(multiply(to_u256(top1), to_u256(bottom2)),
                   multiply(to_u256(top2), to_u256(bottom1)));
}
