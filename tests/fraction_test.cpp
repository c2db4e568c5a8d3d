// Exact fractions: the trial-division forms a hand computation shows, lowest terms past 32 bits,
// and exact intermediates that either give the stored value or record an overflow
// past 64 bits, never a wrapped one.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "model/fraction.h"
#include "reference_fraction.h"
#include "test_support.h"

namespace {

// Both fields.
std::string text(fraction f) {
    return fraction_text(f);
}

// Cases "operation operands -> result", separated by ";". "overflow" demands the flag, any other
// fraction result forbids it.
const char *const cases =
    // Trial division: each divisor from 101 down to 2 is tried once, after the sign has moved.
    "make 4/8 -> 1/2; make 12/18 -> 2/3; make 128/256 -> 1/2; make 121/242 -> 11/22;"
    "make 103/206 -> 103/206; make -4/8 -> -1/2; make 4/-8 -> -1/2; make 1/-3 -> -1/3;"
    "make 0/6 -> 0/1; make 0/202 -> 0/1; make 0/103 -> 0/103; make 6/0 -> 1/0; make 0/-5 -> 0/1;"
    "make -2147483648/-2147483648 -> 1024/1024;"
    // The 32-bit edge: the trial form where it fits, lowest terms just past it.
    "make 2147483565/206 -> 2147483565/206; make 2147483771/206 -> 20849357/2;"
    "make -2147483648/206 -> -1073741824/103; make 2147483648/206 -> 1073741824/103;"
    "make 221190815/2147483648 -> 221190815/2147483648;"
    "add 2/3 1/6 -> 5/6; add 1/2 1/3 -> 5/6; add 1/-3 1/3 -> 0/1; add 1/-2 0 -> -1/2;"
    "add 1/206 1/206 -> 103/10609; mul 2/-3 3/4 -> -1/2; mul 1/-3 1/-3 -> 1/9;"
    "mul 0/5 3/-7 -> 0/1; mul 103 1/206 -> 103/206; sub_mul 1/2 1/3 3/4 -> 1/4;"
    "sub_mul 5 2 3 -> -1; sub_mul 3/4 3/4 1 -> 0/1; reciprocal -2/3 -> 3/-2;"
    "negate 2/3 -> 2/-3; negate 1/-3 -> 1/3; negate 0/1 -> 0/-1;"
    "negate 3/-9223372036854775808 -> -3/-9223372036854775808;"
    // Out of range after the trial division, in range after the gcd (1201289 = 103 107 109).
    "add 1/1201289 1/1201289 -> 2/1201289; mul 2060000 30000/103 -> 600000000;"
    // Out of range before the trial division only: its form, not the gcd's, is the result.
    "mul 2060000000 2/206 -> 2060000000/103; mul 2/-2147483648 1 -> -1/1073741824;"
    "mul -2147483648 1 -> -2147483648;"
    // The product alone needs more bits than the sum that is stored.
    "sub_mul 1 65536 32768 -> -2147483647; sub_mul 0 -2147483648 -1 -> -2147483648;"
    "sub_mul -1 2147483647 1 -> -2147483648; sub_mul 1/65536 1/65536 65536/65536 -> 0/2048;"
    "sub_mul 9223372036854775807 4294967296 2147483648 -> -1;"
    "sub_mul 1/4294967311 4294967311/3 1/4294967311 -> -4294967308/12884901933;"
    // Past 32 bits, in lowest terms (the gcd of the second sum needs the wide path).
    "add 2147483647 1 -> 2147483648; add 1/65536 -1/65537 -> 1/4295032832;"
    "mul 65536 65536 -> 4294967296; mul 1/65537 1/65537 -> 1/4295098369;"
    "mul -2147483648 -1 -> 2147483648; mul 1/-2147483648 1 -> -1/2147483648;"
    "mul 2060000000 1000/927 -> 20000000000/9; add 1/4000000007 1/4000000007 -> 2/4000000007;"
    "sub_mul 0 -2147483648 1 -> 2147483648; sub_mul 1/65536 1/65536 1/65536 -> 65535/4294967296;"
    "mul -9223372036854775808 1 -> -9223372036854775808; make -9223372036854775808 -> "
    "-9223372036854775808; sub_mul -1 9223372036854775807 1 -> -9223372036854775808;"
    // The 64-bit edge: no form with both fields in signed 64 bits exists.
    "add 9223372036854775807 1 -> overflow; mul 4294967296 4294967296 -> overflow;"
    "mul -9223372036854775808 -1 -> overflow; mul 1/-9223372036854775808 1 -> overflow;"
    "make 1/-9223372036854775808 -> overflow; sub_mul 0 -9223372036854775808 1 -> overflow;"
    "add 1/4294967311 1/4294967291 -> overflow; mul 4611686018427387904/3 2 -> overflow; sub_mul 1 "
    "4294967296 4294967296 -> overflow;"
    // Exact sign tests, also where a product of the two fields would wrap.
    "positive 1/-3 -> false; positive -2/-3 -> true; positive 0/5 -> false; positive 3/4 -> true;"
    "positive -2147483648/-2147483648 -> true; positive 2147483647/-2147483648 -> false;"
    "positive 0/-2147483648 -> false; positive -2147483648/0 -> false;"
    "positive -9223372036854775808/-9223372036854775808 -> true;"
    "positive 9223372036854775807/-9223372036854775808 -> false; positive 0/-1 -> false;"
    "positive -1/-9223372036854775808 -> true; positive -9223372036854775808/1 -> false;"
    // Ratios n1/d1 against n2/d2: small ones, then ones whose cross products fill up to 128
    // bits, then (from 4294967296 on) ones where a field product passes 64 bits, so that the
    // comparison needs four words; the last three come out reversed if cut to 128 bits.
    "compare 1 2 1 3 -> 1; compare 1 3 1 2 -> -1; compare 2/4 1 1/2 1 -> 0;"
    "compare -1/-2 1 1/2 1 -> 0; compare 0 5 1 5 -> -1;"
    "compare 2147483647 1/2147483647 2147483647 1/2147483646 -> 1;"
    "compare 9223372036854775807 1/9223372036854775807 9223372036854775807 "
    "1/9223372036854775806 -> 1; compare 9223372036854775806/9223372036854775807 1 "
    "9223372036854775805/9223372036854775806 1 -> 1; compare 3/9223372036854775807 3 "
    "-1/-9223372036854775807 -1/-1 -> 0; compare 4294967296 1/4294967296 4294967295 1/4294967297 "
    "-> 1;"
    "compare 9223372036854775807/3 9223372036854775806/9223372036854775807 "
    "-9223372036854775807/-3 9223372036854775806/9223372036854775807 -> 0;"
    "compare 9223372036854775807/9223372036854775807 9223372036854775806/9223372036854775807 "
    "9223372036854775806/9223372036854775807 9223372036854775805/9223372036854775807 -> -1;"
    "compare 9223372036854775807/9223372036854775805 9223372036854775806/9223372036854775807 "
    "9223372036854775807/9223372036854775806 9223372036854775806/9223372036854775806 -> 1;"
    "compare 9223372036854775806/9223372036854775807 9223372036854775807/9223372036854775805 "
    "9223372036854775805/9223372036854775806 9223372036854775806/9223372036854775804 -> 1";

std::string evaluate(const std::string &op, const std::vector<fraction> &x, bool &overflow) {
    return op == "make"         ? text(frac_make(x[0], overflow))
           : op == "negate"     ? text(frac_negate(x[0]))
           : op == "reciprocal" ? text(frac_reciprocal(x[0]))
           : op == "add"        ? text(frac_add(x[0], x[1], overflow))
           : op == "mul"        ? text(frac_mul(x[0], x[1], overflow))
           : op == "sub_mul"    ? text(frac_sub_mul(x[0], x[1], x[2], overflow))
           : op == "positive"   ? (frac_is_positive(x[0]) ? "true" : "false")
                                : std::to_string(frac_ratio_compare(x[0], x[1], x[2], x[3]));
}

} // namespace

TEST(FractionOps, OperationsOnTheirExamplesAndAtThe32And64BitEdges) {
    std::istringstream all(cases);
    std::string one;
    while (std::getline(all, one, ';')) {
        std::istringstream words(one);
        std::string op, word;
        words >> op;
        std::vector<fraction> x;
        while (words >> word && word != "->")
            x.push_back(fraction_from(word));
        words >> word;
        bool overflow = false;
        std::string got = evaluate(op, x, overflow);
        EXPECT_EQ(overflow, word == "overflow") << one;
        bool plain = op == "positive" || op == "compare";
        if (word != "overflow") {
            EXPECT_EQ(got, plain ? word : text(fraction_from(word))) << one;
        }
    }
    fraction minus_one = frac_negate({INT64_MIN, INT64_MIN}); // 1 has no field-wise negation
    EXPECT_TRUE(minus_one.den != 0 && minus_one.num == -minus_one.den);
    bool recorded = true; // a recorded overflow survives later results that fit
    frac_add({1, 2}, {1, 3}, recorded);
    frac_sub_mul({1, 2}, {1, 3}, {1, 1}, recorded);
    EXPECT_TRUE(recorded);
}

// Every small operand pair (and triple) against the reference; the first few mismatches are
// reported with their operands, the rest only counted.
TEST(FractionOps, SweepAgainstReference) {
    auto values = [](int range) {
        std::vector<fraction> v;
        for (int n = -range; n <= range; ++n)
            for (int d = -range; d <= range; ++d)
                if (d != 0)
                    v.push_back({n, d});
        return v;
    };
    int failures = 0;
    auto check = [&](const char *name, fraction got, bool flag, fraction want,
                     std::initializer_list<fraction> operands) {
        if ((!flag && got.num == want.num && got.den == want.den) || ++failures > 5)
            return;
        std::string shown;
        for (fraction f : operands)
            shown += " " + text(f);
        ADD_FAILURE() << name << shown << " gave " << text(got) << (flag ? " (overflow)" : "")
                      << ", expected " << text(want);
    };
    const std::vector<fraction> as = values(16), bs = values(16);
    for (fraction a : as)
        for (fraction b : bs) {
            bool add_flag = false, mul_flag = false;
            check("frac_add", frac_add(a, b, add_flag), add_flag, reference::add(a, b).f, {a, b});
            check("frac_mul", frac_mul(a, b, mul_flag), mul_flag, reference::mul(a, b).f, {a, b});
        }
    const std::vector<fraction> small_a = values(4), small = values(4);
    for (fraction a : small_a)
        for (fraction b : small)
            for (fraction c : small) {
                bool flag = false;
                check("frac_sub_mul", frac_sub_mul(a, b, c, flag), flag,
                      reference::sub_mul(a, b, c).f, {a, b, c});
            }
    EXPECT_EQ(failures, 0);
}
