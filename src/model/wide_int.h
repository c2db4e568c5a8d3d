// Unsigned integers wider than one word, for the exact intermediates of the fraction arithmetic:
// the binary gcd on one, two and four words, exact division (by inverses on two words, by long
// division on four), and the four-word integer `u256` with the few operations the fractions need.
#pragma once

#include <bit>
#include <cstdint>

using u128 = unsigned __int128;

// ---- one and two words -------------------------------------------------------------------------

// Binary gcd for values below 2^63, which lets the difference of two odd values be taken signed:
// its trailing zeros are counted while its magnitude is formed, so each step is short. Inline:
// the 64-bit tier of the fractions calls it on almost every result.
inline uint64_t gcd64(uint64_t a, uint64_t b) {
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
        a = diff < 0 ? 0 - static_cast<uint64_t>(diff) : static_cast<uint64_t>(diff);
    }
    return b << shift;
}

// For a non-zero v.
int trailing_zeros128(u128 v);

// 0 for 0.
int bit_width128(u128 v);

// Binary gcd on two words: subtractions and shifts until both values are below 2^63, where gcd64
// goes on. No 128-bit division.
u128 gcd128(u128 a, u128 b);

// Division by an f known to divide the dividend: the power of two by a shift, the odd part by a
// multiply with its inverse modulo 2^128. Made once per divisor, used on both fields.
struct exact_divisor {
    int zeros;
    u128 inverse;
};

// For a non-zero f.
exact_divisor exact_divisor_of(u128 f);

// v / f for a v that f divides; any other v gives a meaningless result.
inline u128 divide_exact128(u128 v, const exact_divisor &f) {
    return (v >> f.zeros) * f.inverse;
}

// ---- four words: magnitudes up to 2^256 - 1, least significant word first ---------------------

struct u256 {
    uint64_t w[4];
};

inline u256 u256_of(u128 v) {
    return {{static_cast<uint64_t>(v), static_cast<uint64_t>(v >> 64), 0, 0}};
}

// The low two words.
inline u128 u256_low(const u256 &a) {
    return u128{a.w[1]} << 64 | a.w[0];
}

inline bool u256_is_zero(const u256 &a) {
    return (a.w[0] | a.w[1] | a.w[2] | a.w[3]) == 0;
}

// True when a is below 2^(64 * words).
inline bool u256_fits_words(const u256 &a, int words) {
    for (int i = words; i < 4; ++i)
        if (a.w[i] != 0)
            return false;
    return true;
}

// -1, 0 or 1 as a is less than, equal to or greater than b.
int u256_compare(const u256 &a, const u256 &b);

// a + b, for a sum below 2^256.
u256 u256_add(const u256 &a, const u256 &b);

// a - b, for a not below b.
u256 u256_subtract(const u256 &a, const u256 &b);

// a * b, for bit lengths that add up to at most 256 (so the product is below 2^256).
u256 u256_multiply(const u256 &a, const u256 &b);

// a / 2^k and a * 2^k (for a result below 2^256), k from 0 to 255.
void u256_shift_right(u256 &a, int k);
void u256_shift_left(u256 &a, int k);

// For a non-zero a.
int u256_trailing_zeros(const u256 &a);

// 0 for 0.
int u256_bit_length(const u256 &a);

// Binary gcd on the full width, handed to gcd128 once both values fit in two words; gcd(0, b)
// is b.
u256 u256_gcd(u256 a, u256 b);

// a = a / d for a non-zero single-word d; returns the remainder.
uint64_t u256_divide_by_word(u256 &a, uint64_t d);

// a / g for a non-zero g below 2^255 that divides a exactly (the long division doubles what is
// left, which stays below 2g).
u256 u256_divide_exact(const u256 &a, const u256 &g);
