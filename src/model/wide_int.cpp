// Wide unsigned integers: the binary gcds, exact division and the four-word operations.
#include "model/wide_int.h"

#include <cassert>

int trailing_zeros128(u128 v) {
    auto low = static_cast<uint64_t>(v);
    return low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(static_cast<uint64_t>(v >> 64));
}

int bit_width128(u128 v) {
    auto high = static_cast<uint64_t>(v >> 64);
    return high != 0 ? 64 + static_cast<int>(std::bit_width(high))
                     : static_cast<int>(std::bit_width(static_cast<uint64_t>(v)));
}

u128 gcd128(u128 a, u128 b) {
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
        b -= a;
        assert(b != 0); // both odd and unequal: the difference is even and not zero
        b >>= trailing_zeros128(b);
    }
    return u128{gcd64(static_cast<uint64_t>(a), static_cast<uint64_t>(b))} << shift;
}

// The inverse of the odd part is found on one word first (each Newton step doubles the correct
// low bits, from the 3 that odd * odd = 1 (mod 8) gives), then widened by one more step.
exact_divisor exact_divisor_of(u128 f) {
    int zeros = trailing_zeros128(f);
    u128 odd = f >> zeros;
    auto low = static_cast<uint64_t>(odd);
    uint64_t inverse = low;
    for (int i = 0; i < 5; ++i)
        inverse *= 2 - low * inverse;
    u128 wide_inverse = inverse;
    wide_inverse *= 2 - odd * wide_inverse;
    return {zeros, wide_inverse};
}

int u256_compare(const u256 &a, const u256 &b) {
    for (int i = 3; i >= 0; --i)
        if (a.w[i] != b.w[i])
            return a.w[i] < b.w[i] ? -1 : 1;
    return 0;
}

u256 u256_add(const u256 &a, const u256 &b) {
    u256 r;
    uint64_t carry = 0;
    for (int i = 0; i < 4; ++i) {
        u128 s = u128{a.w[i]} + b.w[i] + carry;
        r.w[i] = static_cast<uint64_t>(s);
        carry = static_cast<uint64_t>(s >> 64);
    }
    return r;
}

u256 u256_subtract(const u256 &a, const u256 &b) {
    u256 r;
    uint64_t borrow = 0;
    for (int i = 0; i < 4; ++i) {
        u128 d = u128{a.w[i]} - b.w[i] - borrow;
        r.w[i] = static_cast<uint64_t>(d);
        borrow = (d >> 64) != 0 ? 1 : 0;
    }
    return r;
}

u256 u256_multiply(const u256 &a, const u256 &b) {
    // A longer product would lose its top words and stand for a wrong value, not a cut one; the
    // fractions' widest product is a cross product of the ratio test, 127 + 127 bits.
    assert(u256_bit_length(a) + u256_bit_length(b) <= 256);
    int b_words = 4;
    while (b_words > 0 && b.w[b_words - 1] == 0)
        --b_words;
    u256 r{};
    for (int i = 0; i < 4; ++i) {
        if (a.w[i] == 0)
            continue;
        uint64_t carry = 0;
        for (int j = 0; j < b_words && i + j < 4; ++j) {
            u128 p = u128{a.w[i]} * b.w[j] + r.w[i + j] + carry;
            r.w[i + j] = static_cast<uint64_t>(p);
            carry = static_cast<uint64_t>(p >> 64);
        }
        if (i + b_words < 4)
            r.w[i + b_words] = carry;
    }
    return r;
}

void u256_shift_right(u256 &a, int k) {
    int words = k / 64, bits = k % 64;
    for (int i = 0; i < 4; ++i) {
        uint64_t low = i + words < 4 ? a.w[i + words] : 0;
        uint64_t high = i + words + 1 < 4 ? a.w[i + words + 1] : 0;
        a.w[i] = bits == 0 ? low : (low >> bits | high << (64 - bits));
    }
}

void u256_shift_left(u256 &a, int k) {
    int words = k / 64, bits = k % 64;
    for (int i = 3; i >= 0; --i) {
        uint64_t high = i - words >= 0 ? a.w[i - words] : 0;
        uint64_t low = i - words - 1 >= 0 ? a.w[i - words - 1] : 0;
        a.w[i] = bits == 0 ? high : (high << bits | low >> (64 - bits));
    }
}

int u256_trailing_zeros(const u256 &a) {
    int i = 0;
    while (a.w[i] == 0)
        ++i;
    return 64 * i + std::countr_zero(a.w[i]);
}

int u256_bit_length(const u256 &a) {
    for (int i = 3; i >= 0; --i)
        if (a.w[i] != 0)
            return 64 * i + static_cast<int>(std::bit_width(a.w[i]));
    return 0;
}

u256 u256_gcd(u256 a, u256 b) {
    if (u256_fits_words(a, 2) && u256_fits_words(b, 2))
        return u256_of(gcd128(u256_low(a), u256_low(b)));
    if (u256_is_zero(a))
        return b;
    if (u256_is_zero(b))
        return a;
    int a_zeros = u256_trailing_zeros(a), b_zeros = u256_trailing_zeros(b);
    int shift = a_zeros < b_zeros ? a_zeros : b_zeros;
    u256_shift_right(a, a_zeros);
    u256_shift_right(b, b_zeros);
    while (!u256_fits_words(a, 2) || !u256_fits_words(b, 2)) {
        int order = u256_compare(a, b);
        if (order == 0)
            break;
        if (order < 0) {
            u256 t = a;
            a = b;
            b = t;
        }
        a = u256_subtract(a, b); // both odd: the difference is even and not zero
        u256_shift_right(a, u256_trailing_zeros(a));
    }
    u256 g = u256_fits_words(a, 2) && u256_fits_words(b, 2)
                 ? u256_of(gcd128(u256_low(a), u256_low(b)))
                 : a;
    u256_shift_left(g, shift);
    return g;
}

uint64_t u256_divide_by_word(u256 &a, uint64_t d) {
    u128 remainder = 0;
    for (int i = 3; i >= 0; --i) {
        u128 current = remainder << 64 | a.w[i];
        a.w[i] = static_cast<uint64_t>(current / d);
        remainder = current % d;
    }
    return static_cast<uint64_t>(remainder);
}

u256 u256_divide_exact(const u256 &a, const u256 &g) {
    u256 quotient = a;
    if (u256_fits_words(g, 1)) {
        [[maybe_unused]] uint64_t rest = u256_divide_by_word(quotient, g.w[0]);
        assert(rest == 0); // g is a common divisor: a remainder would make the value wrong
        return quotient;
    }
    quotient = {};
    u256 rest{};
    for (int i = u256_bit_length(a) - 1; i >= 0; --i) {
        u256_shift_left(rest, 1);
        rest.w[0] |= (a.w[i / 64] >> (i % 64)) & 1;
        if (u256_compare(rest, g) >= 0) {
            rest = u256_subtract(rest, g);
            quotient.w[i / 64] |= uint64_t{1} << (i % 64);
        }
    }
    assert(u256_is_zero(rest)); // as above
    return quotient;
}
