// Teaching mode's layout pieces: values as text.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "console/number_text.h"

namespace {

using i128 = __int128;

i128 parse_integer(const std::string &text) {
    i128 v = 0;
    for (char c : text.substr(text[0] == '-' ? 1 : 0))
        v = v * 10 + (c - '0');
    return text[0] == '-' ? -v : v;
}

i128 gcd128(i128 a, i128 b) {
    a = a < 0 ? -a : a;
    while (b != 0) {
        i128 r = a % b;
        a = b;
        b = r < 0 ? -r : r;
    }
    return a;
}

// The text shows num/den in lowest terms: same value, positive denominator, "n" when it is 1.
void expect_lowest(const std::string &text, i128 num, i128 den) {
    size_t slash = text.find('/');
    i128 n = parse_integer(text.substr(0, slash));
    i128 d = slash == std::string::npos ? 1 : parse_integer(text.substr(slash + 1));
    bool ok = d > 0 && (slash == std::string::npos || d > 1) && gcd128(n, d) == 1 &&
              n * den == num * d && !(n == 0 && text != "0");
    EXPECT_TRUE(ok) << text << " for " << static_cast<long long>(num) << "/"
                    << static_cast<long long>(den);
}

} // namespace

TEST(NumberText, StoredFormAndLowestTerms) {
    const int64_t lo = INT64_MIN, hi = INT64_MAX;
    struct text_case {
        fraction f;
        const char *stored, *lowest;
    } cases[] = {
        {{-25, 500}, "-25/500", "-1/20"},
        {{0, 5}, "0/5", "0"},
        {{18869, 18869}, "18869/18869", "1"},
        {{5, 125}, "5/125", "1/25"},
        {{1, -2}, "1/-2", "-1/2"},
        {{-3, -6}, "-3/-6", "1/2"},
        {{0, -7}, "0/-7", "0"},
        {{7, 1}, "7", "7"},
        {{lo, 1}, "-9223372036854775808", "-9223372036854775808"},
        {{lo, -1}, "-9223372036854775808/-1", "9223372036854775808"},
        {{5, lo}, "5/-9223372036854775808", "-5/9223372036854775808"},
        {{hi, lo},
         "9223372036854775807/-9223372036854775808",
         "-9223372036854775807/9223372036854775808"},
        {{lo, lo}, "-9223372036854775808/-9223372036854775808", "1"},
        {{7, 0}, "7/0", "7/0"},
    };
    for (const text_case &c : cases) {
        EXPECT_EQ(view(stored_form(c.f)), c.stored);
        EXPECT_EQ(view(lowest_form(c.f)), c.lowest) << c.stored;
    }
    // Products of two 64-bit fields, as a ratio of two cells gives them.
    EXPECT_EQ(view(lowest_form(i128{hi} * hi, i128{hi} * 2)), "9223372036854775807/2");
    EXPECT_EQ(view(lowest_form(i128{lo} * lo, -3)), "-85070591730234615865843651857942052864/3");
    for (int num = -30; num <= 30; ++num)
        for (int den = -30; den <= 30; ++den)
            if (den != 0)
                expect_lowest(std::string(view(lowest_form(fraction{num, den}))), num, den);
}
