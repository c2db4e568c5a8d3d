// Fraction arithmetic. The trial division of frac_make fixes every printed value; the wide
// helpers below reach the same results without its hundred remainders per operation and
// without ever overflowing an intermediate.
#include "model/fraction.h"

#include <bit>
#include <climits>
#include <cstddef>
#include <cstring>

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

u128 magnitude(i128 v) {
    return v < 0 ? -static_cast<u128>(v) : static_cast<u128>(v);
}

uint64_t magnitude64(int64_t v) {
    return v < 0 ? -static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
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

u128 gcd128(u128 a, u128 b) {
    while (b != 0 && (a >> 63 != 0 || b >> 63 != 0)) {
        u128 t = a % b;
        a = b;
        b = t;
    }
    if (b == 0)
        return a; // a may still need more than 64 bits
    return gcd64(static_cast<uint64_t>(a), static_cast<uint64_t>(b));
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

// What the trial division 101, 100, ..., 2 divides out of a pair whose greatest common divisor
// is g: a divisor divides both values exactly when it divides what is still common, so the
// whole loop runs on g alone, and only while something is left to find. A divisor above what is
// left cannot divide it, so the loop starts at g itself when g is below 101.
uint64_t trial_factor(uint64_t g) {
    if (g <= largest_divisor)
        return g;
    uint64_t removed = 1;
    for (int d = largest_divisor; d >= 2 && g > 1; --d) {
        if (static_cast<uint64_t>(d) > g)
            d = static_cast<int>(g);
        const divisor_test &t = divisors.at[d];
        if ((g & ((uint64_t{1} << t.shift) - 1)) != 0)
            continue;
        uint64_t quotient = (g >> t.shift) * t.inverse;
        if (quotient <= t.limit) {
            g = quotient;
            removed *= static_cast<uint64_t>(d);
        }
    }
    return removed;
}

// The same for a common divisor that needs more than 64 bits.
u128 trial_factor_wide(u128 g) {
    if (g >> 64 == 0)
        return trial_factor(static_cast<uint64_t>(g));
    u128 removed = 1;
    for (u128 d = 101; d >= 2 && g > 1; --d) {
        if (g % d == 0) {
            g /= d;
            removed *= d;
        }
    }
    return removed;
}

// The trial division of frac_make on wide values; 0/0 stays 0/0, as every divisor divides it.
void trial_reduce(i128 &n, i128 &d) {
    u128 g = gcd128(magnitude(n), magnitude(d));
    if (g <= 1)
        return;
    i128 f = static_cast<i128>(trial_factor_wide(g));
    n /= f;
    d /= f;
}

bool fits32(i128 v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

// Normalises the sign, reduces, and stores n/d in 32 bits, or records that it cannot.
fraction settle(i128 n, i128 d, uint32_t mark, bool &overflow) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    trial_reduce(n, d);
    if (!fits32(n) || !fits32(d)) {
        u128 g = gcd128(magnitude(n), magnitude(d));
        if (g > 1) {
            n /= static_cast<i128>(g);
            d /= static_cast<i128>(g);
        }
    }
    if (!fits32(n) || !fits32(d)) {
        overflow = true;
        return {0, 1, mark};
    }
    return {static_cast<int32_t>(n), static_cast<int32_t>(d), mark};
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

// Builds the result with num and den as one 64-bit word, the way it is returned in a register;
// filling the fields one by one makes the compiler store them apart and load them back whole.
static_assert(std::endian::native == std::endian::little && offsetof(fraction, den) == 4 &&
              sizeof(fraction) == 12);
[[gnu::always_inline]] inline fraction packed(uint32_t num, uint32_t den, uint32_t mark) {
    uint64_t fields = num | uint64_t{den} << 32;
    fraction f;
    std::memcpy(&f, &fields, sizeof fields);
    f.mark = mark;
    return f;
}

// settle for values that are known to fit in 64 bits, neither of them INT64_MIN, which is what
// almost every operation on a tableau meets. Divides through the magnitudes, which is exact, so
// the result is the wide settle's to the bit.
[[gnu::always_inline]] inline fraction settle64(int64_t n, int64_t d, uint32_t mark,
                                                bool &overflow) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    uint64_t un = magnitude64(n), ud = static_cast<uint64_t>(d);
    uint64_t num_limit = n < 0 ? uint64_t{1} << 31 : INT32_MAX;
    // A field of 1 leaves nothing in common, which spares the gcd on the commonest values.
    uint64_t g = un == 1 || ud == 1 ? 1 : gcd64(un, ud);
    if (g > 1) {
        uint64_t f = trial_factor(g);
        divide_exactly(un, ud, f);
        // Past 32 bits the rest of the common divisor goes too.
        if (un > num_limit || ud > INT32_MAX)
            divide_exactly(un, ud, g / f);
    }
    if (un > num_limit || ud > INT32_MAX) {
        overflow = true;
        return {0, 1, mark};
    }
    int64_t signed_num = n < 0 ? -static_cast<int64_t>(un) : static_cast<int64_t>(un);
    return packed(static_cast<uint32_t>(signed_num), static_cast<uint32_t>(ud), mark);
}

// The sum a + n/d with the second operand already wide.
fraction add_wide(fraction a, i128 n, i128 d, bool &overflow) {
    i128 sum_den = a.den * d;
    i128 sum_num = a.num * d + n * a.den;
    return settle(sum_num, sum_den, a.mark, overflow);
}

// The same sum, in 64-bit arithmetic whenever every intermediate fits there.
[[gnu::always_inline]] inline fraction add64(fraction a, int64_t n, int64_t d, bool &overflow) {
    int64_t sum_den, left, right, sum_num;
    if (__builtin_mul_overflow(static_cast<int64_t>(a.den), d, &sum_den) ||
        __builtin_mul_overflow(static_cast<int64_t>(a.num), d, &left) ||
        __builtin_mul_overflow(n, static_cast<int64_t>(a.den), &right) ||
        __builtin_add_overflow(left, right, &sum_num) || sum_den == INT64_MIN ||
        sum_num == INT64_MIN)
        return add_wide(a, n, d, overflow);
    return settle64(sum_num, sum_den, a.mark, overflow);
}

} // namespace

fraction frac_make(fraction f) {
    uint64_t g = gcd64(magnitude64(f.num), magnitude64(f.den));
    if (g <= 1)
        return f;
    int64_t factor = static_cast<int64_t>(trial_factor(g));
    f.num = static_cast<int32_t>(f.num / factor);
    f.den = static_cast<int32_t>(f.den / factor);
    return f;
}

bool frac_is_positive(fraction f) {
    return (f.num > 0 && f.den > 0) || (f.num < 0 && f.den < 0);
}

bool frac_is_negative(fraction f) {
    return (f.num < 0 && f.den > 0) || (f.num > 0 && f.den < 0);
}

fraction frac_negate(fraction f) {
    if (f.den != INT32_MIN)
        return {f.num, -f.den, f.mark};
    if (f.num != INT32_MIN)
        return {-f.num, f.den, f.mark};
    return {-1, 1, f.mark}; // the value was exactly 1
}

fraction frac_reciprocal(fraction f) {
    return {f.den, f.num, f.mark};
}

fraction frac_add(fraction a, fraction b, bool &overflow) {
    return add64(a, b.num, b.den, overflow);
}

fraction frac_mul(fraction a, fraction b, bool &overflow) {
    int64_t n = static_cast<int64_t>(a.num) * b.num;
    int64_t d = static_cast<int64_t>(a.den) * b.den;
    return settle64(n, d, a.mark, overflow);
}

fraction frac_sub_mul(fraction a, fraction b, fraction c, bool &overflow) {
    // p = (-b) * c, sign-normalised and trial-reduced, but never narrowed to 32 bits. Both
    // products are at most 2^62 in magnitude, so they and their negations fit in 64 bits.
    int64_t n = static_cast<int64_t>(b.num) * c.num;
    int64_t d = -(static_cast<int64_t>(b.den) * c.den);
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

float frac_ratio(fraction a, fraction b) {
    int64_t p = static_cast<int64_t>(a.num) * b.den;
    int64_t q = static_cast<int64_t>(a.den) * b.num;
    return static_cast<float>(p) / static_cast<float>(q);
}

int frac_ratio_compare(fraction n1, fraction d1, fraction n2, fraction d2) {
    // n1/d1 = (n1.num * d1.den) / (n1.den * d1.num); every value here is non-negative, so the
    // magnitudes of the four fields give the same quotient.
    auto mag = [](int32_t v) { return static_cast<u128>(v < 0 ? -static_cast<int64_t>(v) : v); };
    u128 top1 = mag(n1.num) * mag(d1.den), bottom1 = mag(n1.den) * mag(d1.num);
    u128 top2 = mag(n2.num) * mag(d2.den), bottom2 = mag(n2.den) * mag(d2.num);
    u128 left = top1 * bottom2, right = top2 * bottom1;
    return left < right ? -1 : (left > right ? 1 : 0);
}
