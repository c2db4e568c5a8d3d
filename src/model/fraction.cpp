// Fraction arithmetic. The trial division of frac_make fixes every printed value; the wide
// helpers below reach the same results without its hundred remainders per operation and
// without ever overflowing an intermediate.
#include "model/fraction.h"

#include <climits>

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

u128 magnitude(i128 v) { return v < 0 ? -static_cast<u128>(v) : static_cast<u128>(v); }

uint64_t gcd64(uint64_t a, uint64_t b)
{
    if (a == 0)
        return b;
    if (b == 0)
        return a;
    int shift = __builtin_ctzll(a | b);
    a >>= __builtin_ctzll(a);
    do {
        b >>= __builtin_ctzll(b);
        if (a > b) {
            uint64_t t = a;
            a = b;
            b = t;
        }
        b -= a;
    } while (b != 0);
    return a << shift;
}

u128 gcd128(u128 a, u128 b)
{
    while (b != 0 && (a >> 64 != 0 || b >> 64 != 0)) {
        u128 t = a % b;
        a = b;
        b = t;
    }
    return gcd64(static_cast<uint64_t>(a), static_cast<uint64_t>(b));
}

// What the trial division 101, 100, ..., 2 divides out of a pair whose greatest common divisor
// is g: a divisor divides both values exactly when it divides what is still common, so the
// whole loop runs on g alone, and only while something is left to find.
u128 trial_factor(u128 g)
{
    u128 removed = 1;
    for (u128 d = g < 101 ? g : 101; d >= 2 && g > 1; --d) {
        if (g % d == 0) {
            g /= d;
            removed *= d;
        }
    }
    return removed;
}

// The trial division of frac_make on wide values; 0/0 stays 0/0, as every divisor divides it.
void trial_reduce(i128 &n, i128 &d)
{
    u128 g = gcd128(magnitude(n), magnitude(d));
    if (g <= 1)
        return;
    i128 f = static_cast<i128>(trial_factor(g));
    n /= f;
    d /= f;
}

bool fits32(i128 v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Normalises the sign, reduces, and stores n/d in 32 bits, or records that it cannot.
fraction settle(i128 n, i128 d, uint32_t mark, bool &overflow)
{
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

// The sum a + n/d with the second operand already wide.
fraction add_wide(fraction a, i128 n, i128 d, bool &overflow)
{
    i128 sum_den = a.den * d;
    i128 sum_num = a.num * d + n * a.den;
    return settle(sum_num, sum_den, a.mark, overflow);
}

} // namespace

fraction frac_make(fraction f)
{
    for (int32_t d = 101; d >= 2; --d) {
        if (f.num % d == 0 && f.den % d == 0) {
            f.num /= d;
            f.den /= d;
        }
    }
    return f;
}

bool frac_is_positive(fraction f) { return (f.num > 0 && f.den > 0) || (f.num < 0 && f.den < 0); }

fraction frac_negate(fraction f)
{
    if (f.den != INT32_MIN)
        return {f.num, -f.den, f.mark};
    if (f.num != INT32_MIN)
        return {-f.num, f.den, f.mark};
    return {-1, 1, f.mark}; // the value was exactly 1
}

fraction frac_reciprocal(fraction f) { return {f.den, f.num, f.mark}; }

fraction frac_add(fraction a, fraction b, bool &overflow)
{
    return add_wide(a, b.num, b.den, overflow);
}

fraction frac_mul(fraction a, fraction b, bool &overflow)
{
    i128 n = static_cast<int64_t>(a.num) * b.num;
    i128 d = static_cast<int64_t>(a.den) * b.den;
    return settle(n, d, a.mark, overflow);
}

fraction frac_sub_mul(fraction a, fraction b, fraction c, bool &overflow)
{
    // p = (-b) * c, sign-normalised and trial-reduced, but never narrowed to 32 bits.
    i128 n = static_cast<int64_t>(b.num) * c.num;
    i128 d = -(static_cast<int64_t>(b.den) * c.den);
    if (d < 0) {
        n = -n;
        d = -d;
    }
    trial_reduce(n, d);
    return add_wide(a, n, d, overflow);
}

float frac_ratio(fraction a, fraction b)
{
    int64_t p = static_cast<int64_t>(a.num) * b.den;
    int64_t q = static_cast<int64_t>(a.den) * b.num;
    return static_cast<float>(p) / static_cast<float>(q);
}

int frac_ratio_compare(fraction n1, fraction d1, fraction n2, fraction d2)
{
    // n1/d1 = (n1.num * d1.den) / (n1.den * d1.num); every value here is non-negative, so the
    // magnitudes of the four fields give the same quotient.
    auto mag = [](int32_t v) { return static_cast<u128>(v < 0 ? -static_cast<int64_t>(v) : v); };
    u128 top1 = mag(n1.num) * mag(d1.den), bottom1 = mag(n1.den) * mag(d1.num);
    u128 top2 = mag(n2.num) * mag(d2.den), bottom2 = mag(n2.den) * mag(d2.num);
    u128 left = top1 * bottom2, right = top2 * bottom1;
    return left < right ? -1 : (left > right ? 1 : 0);
}
