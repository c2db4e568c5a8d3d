// An independent reference for the fraction operations, written straight from their definitions
// on its own signed integers of eight 32-bit limbs (enough for every intermediate: a sum needs at
// most 191 bits): sums and products over the full product of the denominators, the sign moved to
// the numerator, the trial division 101, 100, ..., 2 with each divisor tried once on both fields,
// then, only for a result that does not fit in 32 bits, lowest terms and the 64-bit verdict; and
// the comparison of two ratios of fractions by the sign of a difference of products.
#pragma once

#include <cstdint>

#include "model/fraction.h"

namespace reference {

constexpr int limbs = 8;

// Sign and magnitude, least significant limb first; zero is never negative.
struct big {
    uint32_t limb[limbs];
    bool negative;
};

inline bool is_zero(const big &a) {
    for (uint32_t l : a.limb)
        if (l != 0)
            return false;
    return true;
}

inline big of(int64_t v) {
    big r{};
    uint64_t m = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    r.limb[0] = static_cast<uint32_t>(m);
    r.limb[1] = static_cast<uint32_t>(m >> 32);
    r.negative = v < 0;
    return r;
}

inline int compare_magnitude(const big &a, const big &b) {
    for (int i = limbs - 1; i >= 0; --i)
        if (a.limb[i] != b.limb[i])
            return a.limb[i] < b.limb[i] ? -1 : 1;
    return 0;
}

inline big times(const big &a, const big &b) {
    uint64_t acc[2 * limbs] = {};
    for (int i = 0; i < limbs; ++i)
        for (int j = 0; j < limbs; ++j) {
            uint64_t p = uint64_t{a.limb[i]} * b.limb[j];
            for (int k = i + j; p != 0; ++k) { // propagate the carry limb by limb
                uint64_t s = acc[k] + (p & 0xFFFFFFFFu);
                acc[k] = s & 0xFFFFFFFFu;
                p = (p >> 32) + (s >> 32);
            }
        }
    big r{};
    for (int i = 0; i < limbs; ++i)
        r.limb[i] = static_cast<uint32_t>(acc[i]);
    r.negative = a.negative != b.negative && !is_zero(r);
    return r;
}

// |a| - |b| for |a| >= |b|, and |a| + |b|.
inline big magnitude_difference(const big &a, const big &b) {
    big r{};
    int64_t borrow = 0;
    for (int i = 0; i < limbs; ++i) {
        int64_t d = int64_t{a.limb[i]} - b.limb[i] - borrow;
        borrow = d < 0;
        r.limb[i] = static_cast<uint32_t>(d + (borrow << 32));
    }
    return r;
}

inline big magnitude_sum(const big &a, const big &b) {
    big r{};
    uint64_t carry = 0;
    for (int i = 0; i < limbs; ++i) {
        uint64_t s = uint64_t{a.limb[i]} + b.limb[i] + carry;
        r.limb[i] = static_cast<uint32_t>(s);
        carry = s >> 32;
    }
    return r;
}

inline big plus(const big &a, const big &b) {
    if (a.negative == b.negative) {
        big r = magnitude_sum(a, b);
        r.negative = a.negative;
        return r;
    }
    bool a_larger = compare_magnitude(a, b) >= 0;
    big r = a_larger ? magnitude_difference(a, b) : magnitude_difference(b, a);
    r.negative = (a_larger ? a.negative : b.negative) && !is_zero(r);
    return r;
}

// a / k (magnitude) for a small k; returns the remainder.
inline uint32_t divide_small(big &a, uint32_t k) {
    uint64_t rest = 0;
    for (int i = limbs - 1; i >= 0; --i) {
        uint64_t cur = rest << 32 | a.limb[i];
        a.limb[i] = static_cast<uint32_t>(cur / k);
        rest = cur % k;
    }
    return static_cast<uint32_t>(rest);
}

inline bool divisible(big a, uint32_t k) {
    return divide_small(a, k) == 0;
}

inline bool bit(const big &a, int i) {
    return (a.limb[i / 32] >> (i % 32)) & 1;
}

inline void halve(big &a) {
    for (int i = 0; i < limbs; ++i)
        a.limb[i] = a.limb[i] >> 1 | (i + 1 < limbs ? a.limb[i + 1] << 31 : 0);
}

inline int bit_length(const big &a) {
    for (int i = 32 * limbs - 1; i >= 0; --i)
        if (bit(a, i))
            return i + 1;
    return 0;
}

// The quotient of magnitudes, one bit at a time (b not zero).
inline big quotient(const big &a, const big &b) {
    big q{}, r{};
    for (int i = bit_length(a) - 1; i >= 0; --i) {
        r = magnitude_sum(r, r);
        r.limb[0] |= bit(a, i);
        if (compare_magnitude(r, b) >= 0) {
            r = magnitude_difference(r, b);
            q.limb[i / 32] |= 1u << (i % 32);
        }
    }
    return q;
}

// Stein's algorithm on the magnitudes: halve what is even, subtract the smaller odd value.
inline big gcd(big a, big b) {
    a.negative = b.negative = false;
    if (is_zero(a))
        return b;
    if (is_zero(b))
        return a;
    int twos = 0;
    while (!bit(a, 0) && !bit(b, 0)) {
        halve(a);
        halve(b);
        ++twos;
    }
    while (!is_zero(a)) {
        while (!bit(a, 0))
            halve(a);
        while (!bit(b, 0))
            halve(b);
        if (compare_magnitude(a, b) >= 0)
            a = magnitude_difference(a, b);
        else
            b = magnitude_difference(b, a);
    }
    for (; twos > 0; --twos)
        b = magnitude_sum(b, b);
    return b;
}

// True when v is a signed field of bits + 1 bits.
inline bool fits(const big &v, int bits) {
    big limit = of(bits == 63 ? INT64_MAX : (int64_t{1} << bits) - 1);
    if (v.negative)
        limit = magnitude_sum(limit, of(1));
    return compare_magnitude(v, limit) <= 0;
}

inline int64_t value(const big &v) {
    uint64_t m = v.limb[0] | uint64_t{v.limb[1]} << 32;
    return static_cast<int64_t>(v.negative ? 0 - m : m);
}

struct result {
    fraction f; // meaningful only without overflow
    bool overflow;
};

// Sign to the numerator, then the trial division: what every result goes through, and all that
// the product inside a - b * c goes through before the sum.
inline void normalise(big &n, big &d) {
    if (d.negative) {
        d.negative = false;
        n.negative = !n.negative && !is_zero(n);
    }
    for (uint32_t k = 101; k >= 2; --k) {
        if (divisible(n, k) && divisible(d, k)) {
            divide_small(n, k);
            divide_small(d, k);
        }
    }
}

inline result settle(big n, big d) {
    normalise(n, d);
    if (!fits(n, 31) || !fits(d, 31)) {
        big g = gcd(n, d);
        if (!is_zero(g)) {
            bool sign = n.negative;
            n = quotient(n, g);
            d = quotient(d, g);
            n.negative = sign && !is_zero(n);
        }
    }
    if (!fits(n, 63) || !fits(d, 63))
        return {{0, 0}, true};
    return {{value(n), value(d)}, false};
}

inline result make(fraction f) {
    return settle(of(f.num), of(f.den));
}

inline result add(fraction a, fraction b) {
    return settle(plus(times(of(a.num), of(b.den)), times(of(b.num), of(a.den))),
                  times(of(a.den), of(b.den)));
}

inline result mul(fraction a, fraction b) {
    return settle(times(of(a.num), of(b.num)), times(of(a.den), of(b.den)));
}

inline result sub_mul(fraction a, fraction b, fraction c) {
    big n = times(of(b.num), of(c.num)), d = times(of(b.den), of(c.den));
    d.negative = !d.negative && !is_zero(d);
    normalise(n, d); // the product stays wide: only the stored sum can overflow
    return settle(plus(times(of(a.num), d), times(n, of(a.den))), times(of(a.den), d));
}

// -1, 0 or 1 as n1/d1 is less than, equal to or greater than n2/d2, for d1 and d2 positive: the
// sign of n1 * d2 - n2 * d1, each product a quotient of two products of fields, hence the sign of
// n1.num d2.num n2.den d1.den - n2.num d1.num n1.den d2.den times that of the four denominators'
// product (four fields of 64 bits: at most 253 bits, all signs kept).
inline int ratio_compare(fraction n1, fraction d1, fraction n2, fraction d2) {
    big left = times(times(of(n1.num), of(d2.num)), times(of(n2.den), of(d1.den)));
    big right = times(times(of(n2.num), of(d1.num)), times(of(n1.den), of(d2.den)));
    big denominators = times(times(of(n1.den), of(d2.den)), times(of(n2.den), of(d1.den)));
    right.negative = !right.negative && !is_zero(right);
    big difference = plus(left, right);
    if (is_zero(difference))
        return 0;
    return difference.negative != denominators.negative ? -1 : 1;
}

} // namespace reference
