// An independent reference for the fraction operations, written straight from their definitions:
// 128-bit sums and products over the full product of the denominators, the sign moved to the
// numerator, the trial division 101, 100, ..., 2 with each divisor tried once, then, only for a
// result that does not fit in 32 bits, a full gcd reduction and the overflow verdict.
#pragma once

#include <climits>
#include <cstdint>

#include "model/fraction.h"

namespace reference {

using i128 = __int128;

struct result {
    fraction f; // meaningful only without overflow
    bool overflow;
};

inline bool fits(i128 v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

inline void trial_divide(i128 &n, i128 &d) {
    for (int k = 101; k >= 2; --k) {
        if (n % k == 0 && d % k == 0) {
            n /= k;
            d /= k;
        }
    }
}

inline i128 gcd(i128 a, i128 b) {
    a = a < 0 ? -a : a;
    b = b < 0 ? -b : b;
    while (b != 0) {
        i128 t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// Sign to the numerator, then the trial division: what every result goes through, and all that
// the product inside a - b * c goes through before the sum.
inline void normalise(i128 &n, i128 &d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    trial_divide(n, d);
}

inline result settle(i128 n, i128 d, uint32_t mark) {
    normalise(n, d);
    if (!fits(n) || !fits(d)) {
        i128 g = gcd(n, d);
        if (g > 1) {
            n /= g;
            d /= g;
        }
    }
    if (!fits(n) || !fits(d))
        return {{0, 0, mark}, true};
    return {{static_cast<int32_t>(n), static_cast<int32_t>(d), mark}, false};
}

inline fraction make(fraction f) {
    i128 n = f.num, d = f.den;
    trial_divide(n, d);
    return {static_cast<int32_t>(n), static_cast<int32_t>(d), f.mark};
}

inline result add(fraction a, fraction b) {
    return settle(i128{a.num} * b.den + i128{b.num} * a.den, i128{a.den} * b.den, a.mark);
}

inline result mul(fraction a, fraction b) {
    return settle(i128{a.num} * b.num, i128{a.den} * b.den, a.mark);
}

inline result sub_mul(fraction a, fraction b, fraction c) {
    i128 n = i128{b.num} * c.num, d = -(i128{b.den} * c.den);
    normalise(n, d); // the product stays wide: only the stored sum can overflow
    return settle(a.num * d + n * a.den, a.den * d, a.mark);
}

} // namespace reference
