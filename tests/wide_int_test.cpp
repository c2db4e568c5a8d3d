// The wide integers against the test reference's own (eight 32-bit limbs, schoolbook arithmetic,
// Stein's gcd, bit-by-bit quotient): every operation on a table of values at the word edges and
// made of shared factors, then on random values of every width, some sharing a random factor.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/wide_int.h"
#include "reference_fraction.h"

namespace {

reference::big to_big(const u256 &a) {
    reference::big r{};
    for (int i = 0; i < 4; ++i) {
        r.limb[2 * i] = static_cast<uint32_t>(a.w[i]);
        r.limb[2 * i + 1] = static_cast<uint32_t>(a.w[i] >> 32);
    }
    return r;
}

std::string hex(const u256 &a) {
    std::string text = "0x";
    char word[20];
    for (int i = 3; i >= 0; --i) {
        std::snprintf(word, sizeof word, "%016llx", static_cast<unsigned long long>(a.w[i]));
        text += word;
        text += i > 0 ? "_" : "";
    }
    return text;
}

bool same(const u256 &a, const reference::big &b) {
    return reference::compare_magnitude(to_big(a), b) == 0;
}

u256 power(uint64_t base, int exponent) {
    u256 r = u256_of(1);
    for (int i = 0; i < exponent; ++i)
        r = u256_multiply(r, u256_of(base));
    return r;
}

u256 two_to(int k) {
    u256 r{};
    r.w[k / 64] = uint64_t{1} << (k % 64);
    return r;
}

u256 minus_one(const u256 &a) {
    return u256_subtract(a, u256_of(1));
}

// The edges of one, two, three and four words, odd and even values, powers of the trial
// divisors and of primes past them, and values that share large factors across words.
std::vector<u256> edge_values() {
    const u256 p61 = minus_one(two_to(61)); // the Mersenne prime 2^61 - 1
    std::vector<u256> v = {u256_of(0),
                           u256_of(1),
                           u256_of(2),
                           u256_of(3),
                           u256_of(101),
                           u256_of(103 * 206),
                           minus_one(two_to(63)),
                           two_to(63),
                           minus_one(two_to(64)),
                           two_to(64),
                           u256_add(two_to(64), u256_of(1)),
                           two_to(127),
                           minus_one(two_to(128)),
                           two_to(128),
                           u256_add(two_to(192), two_to(64)),
                           two_to(255),
                           minus_one(two_to(255)),
                           u256{{~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}}},
                           power(3, 40),
                           power(3, 80),
                           power(3, 160),
                           power(101, 9),
                           power(101, 18),
                           power(4294967311, 2),
                           power(4294967311, 5),
                           u256_multiply(power(2, 70), power(3, 50)),
                           u256_multiply(p61, p61),
                           u256_multiply(u256_multiply(p61, p61), u256_of(6)),
                           u256_multiply(u256_multiply(p61, p61), p61),
                           u256_multiply(power(97, 9), p61)};
    return v;
}

struct generator {
    uint64_t state = 2024;

    uint64_t word() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        uint64_t high = state >> 32;
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return high << 32 | state >> 32;
    }

    // A value of 0 to `bits` bits, the width itself random.
    u256 below(int bits) {
        u256 r{{word(), word(), word(), word()}};
        u256_shift_right(r, 256 - static_cast<int>(word() % (bits + 1)));
        return r;
    }
};

// Every operation on one pair, each checked only where its contract holds.
void check_pair(const u256 &a, const u256 &b) {
    SCOPED_TRACE("a " + hex(a) + ", b " + hex(b));
    reference::big ra = to_big(a), rb = to_big(b);
    int la = u256_bit_length(a), lb = u256_bit_length(b);
    EXPECT_EQ(la, reference::bit_length(ra));
    EXPECT_EQ(u256_compare(a, b), reference::compare_magnitude(ra, rb));
    EXPECT_EQ(u256_is_zero(a), reference::is_zero(ra));
    if (!u256_is_zero(a)) {
        int zeros = 0;
        while (!reference::bit(ra, zeros))
            ++zeros;
        EXPECT_EQ(u256_trailing_zeros(a), zeros);
    }
    for (int words = 1; words <= 4; ++words)
        EXPECT_EQ(u256_fits_words(a, words), la <= 64 * words);
    reference::big sum = reference::magnitude_sum(ra, rb);
    if (reference::compare_magnitude(sum, ra) >= 0) { // the reference sum did not wrap past 2^256
        EXPECT_TRUE(same(u256_add(a, b), sum));
    }
    if (reference::compare_magnitude(ra, rb) >= 0) {
        EXPECT_TRUE(same(u256_subtract(a, b), reference::magnitude_difference(ra, rb)));
    }
    u256 product{};
    bool product_fits = la + lb <= 256;
    if (product_fits) {
        product = u256_multiply(a, b);
        EXPECT_TRUE(same(product, reference::times(ra, rb)));
    }
    reference::big rg = reference::gcd(ra, rb);
    u256 g = u256_gcd(a, b);
    EXPECT_TRUE(same(g, rg)) << "gcd " << hex(g);
    if (!u256_is_zero(g) && u256_bit_length(g) < 256) {
        EXPECT_TRUE(same(u256_divide_exact(a, g), reference::quotient(ra, rg)));
        EXPECT_TRUE(same(u256_divide_exact(b, g), reference::quotient(rb, rg)));
    }
    if (product_fits && lb > 0 && lb < 256) {
        EXPECT_TRUE(same(u256_divide_exact(product, b), ra));
    }
    if (la <= 128 && lb <= 128) {
        u128 g2 = gcd128(u256_low(a), u256_low(b));
        EXPECT_TRUE(same(u256_of(g2), rg)) << "gcd128";
        if (g2 != 0) {
            exact_divisor by_g = exact_divisor_of(g2);
            EXPECT_TRUE(
                same(u256_of(divide_exact128(u256_low(a), by_g)), reference::quotient(ra, rg)));
        }
        if (la > 0) {
            EXPECT_EQ(trailing_zeros128(u256_low(a)), u256_trailing_zeros(a));
        }
        EXPECT_EQ(bit_width128(u256_low(a)), la);
    }
    if (la <= 63 && lb <= 63) {
        EXPECT_TRUE(same(u256_of(gcd64(a.w[0], b.w[0])), rg)) << "gcd64";
    }
}

// Shifts by counts at the word edges, and division by single words.
void check_one(const u256 &a) {
    SCOPED_TRACE("a " + hex(a));
    reference::big ra = to_big(a);
    for (int k : {0, 1, 31, 63, 64, 65, 127, 128, 129, 191, 200, 255}) {
        u256 right = a;
        u256_shift_right(right, k);
        reference::big halved = ra;
        for (int i = 0; i < k; ++i)
            reference::halve(halved);
        EXPECT_TRUE(same(right, halved)) << "shift right " << k;
        if (u256_bit_length(a) + k <= 256) {
            u256 left = a;
            u256_shift_left(left, k);
            reference::big doubled = ra;
            for (int i = 0; i < k; ++i)
                doubled = reference::magnitude_sum(doubled, doubled);
            EXPECT_TRUE(same(left, doubled)) << "shift left " << k;
        }
    }
    for (uint64_t d : {uint64_t{1}, uint64_t{3}, uint64_t{101}, uint64_t{4294967311},
                       uint64_t{1} << 63, ~uint64_t{0}}) {
        u256 q = a;
        uint64_t rest = u256_divide_by_word(q, d);
        reference::big rd = to_big(u256_of(d));
        reference::big want = reference::quotient(ra, rd);
        EXPECT_TRUE(same(q, want)) << "divided by " << d;
        reference::big back =
            reference::magnitude_sum(reference::times(want, rd), to_big(u256_of(rest)));
        EXPECT_TRUE(rest < d && reference::compare_magnitude(back, ra) == 0) << "remainder " << d;
    }
}

} // namespace

TEST(WideInt, EdgeValuesAgainstReference) {
    const std::vector<u256> values = edge_values();
    for (const u256 &a : values) {
        check_one(a);
        for (const u256 &b : values)
            check_pair(a, b);
        ASSERT_FALSE(HasFailure());
    }
}

// Random widths; every third pair shares a random factor of up to two words, so that the gcds
// and exact divisions meet divisors of every width, not just 1.
TEST(WideInt, RandomValuesAgainstReference) {
    generator g;
    for (int k = 0; k < 20000 && !HasFailure(); ++k) {
        u256 a = g.below(256), b = g.below(256);
        if (k % 3 == 0) {
            u256 common = g.below(128);
            a = u256_multiply(g.below(128), common);
            b = u256_multiply(g.below(127), common);
        }
        check_pair(a, b);
        if (k % 16 == 0)
            check_one(a);
    }
}
