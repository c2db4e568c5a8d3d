// The fast reduction against the plain trial division it replaces: divisors 101 down to 2, each
// tried once, on wide integers. Every printed value comes out of this reduction, so the two must
// agree to the bit on every sum, product and pivot update that fits in 32 bits; a result that
// does not fit must be in lowest terms, or be reported as an overflow past 64 bits.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "model/fraction.h"
#include "reference_fraction.h"
#include "simplex/pivoting.h"
#include "test_support.h"

namespace {

// A stored result must be the reference's to the bit, or an overflow where the reference has one.
void expect_result(fraction got, bool overflow, reference::result want) {
    EXPECT_EQ(overflow, want.overflow);
    if (want.overflow)
        return;
    EXPECT_EQ(got.num, want.f.num);
    EXPECT_EQ(got.den, want.f.den);
}

// Field values where a reduction can go wrong: signs, zero, powers of 2 and 3, products of the
// trial divisors and of primes just past them, and the ends of the 32-bit and 64-bit ranges.
std::vector<int64_t> interesting_values() {
    std::vector<int64_t> v = {0,
                              1,
                              2,
                              3,
                              6,
                              7,
                              11,
                              12,
                              97,
                              100,
                              101,
                              103,
                              107,
                              121,
                              128,
                              202,
                              206,
                              242,
                              256,
                              1001,
                              5151,
                              10403,
                              10609,
                              30030,
                              46340,
                              46341,
                              65536,
                              65537,
                              510510,
                              1 << 30,
                              177147,
                              1162261467,
                              9699690,
                              223092870,
                              2147483646,
                              INT32_MAX,
                              2147483629,
                              1073741823,
                              614889782,
                              int64_t{1} << 31,
                              4294967296,
                              4294967311,
                              4000000007,
                              1201289 * int64_t{1201289},
                              3037000499,
                              6469693230,
                              200560490130,
                              3 * (int64_t{1} << 61),
                              4611686018427387904,
                              9223372036854775806,
                              INT64_MAX,
                              9223372036854775783,
                              2305843009213693951};
    std::vector<int64_t> all;
    for (int64_t x : v) {
        all.push_back(x);
        all.push_back(-x);
    }
    all.push_back(INT32_MIN);
    all.push_back(INT64_MIN);
    return all;
}

struct sampler {
    std::vector<int64_t> values = interesting_values();
    uint64_t state = 12345;

    uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 32);
    }

    // Fields from the list, small numbers as in a tableau, and now and then any 32-bit or wider
    // value, so that results that fit, results that fit only in lowest terms and overflows all
    // occur.
    int64_t field() {
        uint32_t r = next();
        if (r % 8 < 3)
            return values[next() % values.size()];
        if (r % 8 < 6)
            return static_cast<int64_t>(next() % 41) - 20;
        if (r % 8 < 7)
            return static_cast<int32_t>(next());
        int64_t wide = static_cast<int64_t>(uint64_t{next()} << 32 | next());
        return wide >> (next() % 40);
    }

    fraction any(bool zero_den_allowed) {
        int64_t den = field();
        while (den == 0 && !zero_den_allowed)
            den = field();
        return {field(), den};
    }
};

constexpr int samples = 300000;

TEST(reduction, frac_make_equals_the_trial_division) {
    sampler s;
    for (int k = 0; k < samples; ++k) {
        fraction f = s.any(true);
        SCOPED_TRACE(testing::Message() << f.num << "/" << f.den);
        bool overflow = false;
        fraction got = frac_make(f, overflow);
        expect_result(got, overflow, reference::make(f));
        ASSERT_FALSE(HasFailure());
    }
}

TEST(reduction, sums_products_and_updates_equal_the_trial_division) {
    sampler s;
    for (int k = 0; k < samples && !HasFailure(); ++k) {
        fraction a = s.any(false), b = s.any(false), c = s.any(k % 8 == 0);
        SCOPED_TRACE(testing::Message() << "a " << a.num << "/" << a.den << ", b " << b.num << "/"
                                        << b.den << ", c " << c.num << "/" << c.den);
        bool overflow = false;
        fraction sum = frac_add(a, b, overflow);
        expect_result(sum, overflow, reference::add(a, b));
        overflow = false;
        fraction product = frac_mul(a, c, overflow);
        expect_result(product, overflow, reference::mul(a, c));
        if (c.den == 0)
            continue;
        overflow = false;
        fraction update = frac_sub_mul(a, b, c, overflow);
        expect_result(update, overflow, reference::sub_mul(a, b, c));
    }
}

// The ratio test's comparison on the sampler's fields, which pass 64 bits in their cross
// products often enough to reach the four-word branch. The comparison is defined for ratios of a
// value not negative over a positive one, so each operand is brought there by its sign; every
// fourth pair compares a ratio with itself written in other fields.
TEST(reduction, ratio_comparison_equals_the_reference) {
    sampler s;
    auto not_negative = [](fraction f) { return frac_is_negative(f) ? frac_negate(f) : f; };
    auto positive = [&](sampler &from) {
        fraction f = from.any(false);
        while (f.num == 0)
            f = from.any(false);
        return not_negative(f);
    };
    auto other_fields = [](fraction f) {
        return f.num == INT64_MIN || f.den == INT64_MIN ? f : fraction{-f.num, -f.den};
    };
    for (int k = 0; k < samples && !HasFailure(); ++k) {
        fraction n1 = not_negative(s.any(false)), d1 = positive(s);
        fraction n2 = other_fields(n1), d2 = other_fields(d1);
        if (k % 4 != 0) {
            n2 = not_negative(s.any(false));
            d2 = positive(s);
        }
        EXPECT_EQ(frac_ratio_compare(n1, d1, n2, d2), reference::ratio_compare(n1, d1, n2, d2))
            << fraction_text(n1) << " over " << fraction_text(d1) << " against "
            << fraction_text(n2) << " over " << fraction_text(d2);
    }
}

// Operands whose products and sums need two words (up to 2^127), with common factors on both
// sides of 2^63 and 2^64: powers of the trial divisors and of primes past them, each scaled by
// small cofactors so that the trial division and the lowest terms both have work to do.
TEST(reduction, two_word_values_equal_the_trial_division) {
    const int64_t bases[] = {10460353203,         // 3^21
                             1099511627776,       // 2^40
                             1093685272684360901, // 101^9
                             760231058654565217,  // 97^9
                             3656158440062976,    // 6^20
                             6469693230,          // 2 * 3 * ... * 29
                             1443095260521,       // 1201289^2, a prime past 101
                             4294967311,          // a prime just past 2^32: squares past 2^64
                             4294967291,          // the prime below 2^32: squares below 2^64
                             3037000499,          // floor(sqrt(2^63)): squares below 2^63
                             3037000507};         // squares just past 2^63
    const int64_t cofactors[] = {1, -1, 2, 5, -7, 11, 101, -103, 30030};
    int checked = 0;
    for (int64_t base : bases)
        for (int64_t x : cofactors)
            for (int64_t y : cofactors) {
                int64_t bx = base, by = base;
                if (__builtin_mul_overflow(base, x, &bx) || __builtin_mul_overflow(base, y, &by))
                    continue;
                fraction a{bx, by < 0 ? -by : by}, b{by, bx < 0 ? -bx : bx};
                fraction c{x * 3, base}, d{base, y * y};
                SCOPED_TRACE(testing::Message() << "base " << base << ", " << x << ", " << y);
                for (const fraction &p : {a, c, d})
                    for (const fraction &q : {a, b, c, d}) {
                        bool overflow[4] = {};
                        fraction sum = frac_add(p, q, overflow[0]);
                        fraction product = frac_mul(p, q, overflow[1]);
                        fraction update_d = frac_sub_mul(d, p, q, overflow[2]);
                        fraction update_a = frac_sub_mul(a, p, q, overflow[3]);
                        expect_result(sum, overflow[0], reference::add(p, q));
                        expect_result(product, overflow[1], reference::mul(p, q));
                        expect_result(update_d, overflow[2], reference::sub_mul(d, p, q));
                        expect_result(update_a, overflow[3], reference::sub_mul(a, p, q));
                        checked += 4;
                    }
                ASSERT_FALSE(HasFailure());
            }
    EXPECT_GT(checked, 3000);
}

// The forms the tables show: results the trial division leaves unreduced, zero over what it
// cannot divide, a zero multiplier that still changes an unreduced cell, and a sum too wide for
// 32 bits until its whole common factor is gone.
TEST(reduction, printed_forms_of_the_trial_division) {
    struct update_case {
        fraction a, b, c, want;
    } cases[] = {
        {{11, 22}, {0, 1}, {5, 7}, {1, 2}},     // 0 added: 11/22 meets divisor 11
        {{1, 2}, {0, 1}, {1, 103}, {103, 206}}, // 0/103 added: 103 stays
        {{2, -4}, {0, 1}, {1, 1}, {-1, 2}},     // the sign moves to the numerator
        {{1, 2}, {1, 3}, {3, 4}, {1, 4}},
        {{3, 4}, {3, 4}, {1, 1}, {0, 1}},
        // The sum's common factor needs more than 64 bits; it fits only in lowest terms.
        {{30030, -9699690}, {0, 1212652153}, {1, 2147483629}, {-1, 323}},
        // Past 32 bits a zero added gives back the lowest terms, not a trial form.
        {{1, 4294967296}, {0, 1}, {1, 1}, {1, 4294967296}},
        {{3, 4294967296}, {0, 103}, {1, 1}, {3, 4294967296}},
        {{6, 12884901888}, {0, 1}, {1, 1}, {1, 2147483648}},
        {{2, -4294967296}, {0, 1}, {5, 7}, {-1, 2147483648}},
        // A trial form that fits in 32 bits stays one, whatever the operands' widths.
        {{1, 4294967296}, {-2147483647, 4294967296}, {1, 1}, {1, 2}},
        {{0, 1}, {4294967311, 3}, {-1, 4294967311}, {1, 3}},
        {{0, 1}, {4294967311 * 2, 3}, {-1, 4294967311}, {2, 3}},
    };
    for (const update_case &t : cases) {
        bool overflow = false;
        fraction got = frac_sub_mul(t.a, t.b, t.c, overflow);
        EXPECT_FALSE(overflow);
        EXPECT_EQ(got.num, t.want.num) << t.a.num << "/" << t.a.den;
        EXPECT_EQ(got.den, t.want.den) << t.a.num << "/" << t.a.den;
    }
}

// The pivot leaves a cell alone where a zero multiplier provably cannot change it; every other
// cell must come out in the form the trial division gives it, worked out here by hand. Pivot on
// row 1, column 1 (the element 2); rows 2 and 3 have a zero multiplier, 0/1 and 0/7.
TEST(reduction, pivot_keeps_the_trial_division_forms) {
    auto s = store_from_rows(5, "0 1/2 0 -1 0 0 | 6 2 2/103 4 6 8 | 7 0 1/2 11/22 2/-4 5 |"
                                "8 0/7 1 1/3 4 6/4 | 9 3 1 1/2 7 13");
    pivot(*s, 1, 1, s->tableau[0]);
    EXPECT_FALSE(s->overflow);
    const char *const want[] = {
        "0 0 -1/206 -2 -3/2 -2",  // minus 1/2 times the pivot row; 1/2 - 1/2 is 0/4, then 0/1
        "6 1 1/103 2 3 4",        // 2/206 is reduced by 2; 103 is past the divisors
        "7 0 103/206 1/2 -1/2 5", // 1/2 + 0/103; 11/22 meets 11; 2/-4 turns its sign; 5 kept
        "8 0 103/103 1/3 4 3/2",  // 0/7 reduces to 0/1; 1 + 0/103; 1/3 and 4 kept; 6/4 to 3/2
        "9 0 100/103 -11/2 -2 1", // minus 3 times the pivot row
    };
    std::string expected = want[0];
    for (int i = 1; i <= 4; ++i)
        expected += std::string(" | ") + want[i];
    EXPECT_EQ(rows_text(*s), expected);
}

} // namespace
