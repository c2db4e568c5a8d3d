// The fraction operations against a wide reference written straight from their definitions:
// 128-bit sums and products, the trial division 101..2 with each divisor tried once, then (only
// for a result that does not fit in 32 bits) a full gcd reduction, then the overflow verdict.
// Any difference in value, form, mark word or overflow flag stops the run.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/fraction.h"

namespace {

using i128 = __int128;

struct expected {
    fraction f;
    bool overflow;
};

bool fits(i128 v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}
i128 absolute(i128 v) {
    return v < 0 ? -v : v;
}

void trial_divide(i128 &n, i128 &d) {
    for (int k = 101; k >= 2; --k)
        if (n % k == 0 && d % k == 0) {
            n /= k;
            d /= k;
        }
}

// Sign to the numerator, trial division, gcd if still too wide, then the range verdict.
expected settle(i128 n, i128 d, uint32_t mark) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    trial_divide(n, d);
    if (!fits(n) || !fits(d)) {
        i128 a = absolute(n), b = absolute(d);
        while (b != 0) {
            i128 t = a % b;
            a = b;
            b = t;
        }
        if (a > 1) {
            n /= a;
            d /= a;
        }
    }
    if (!fits(n) || !fits(d))
        return {{0, 0, mark}, true};
    return {{static_cast<int32_t>(n), static_cast<int32_t>(d), mark}, false};
}

// a + n/d, over the full product of the denominators.
expected add(fraction a, i128 n, i128 d) {
    return settle(a.num * d + n * a.den, a.den * d, a.mark);
}

// Each field is four bytes shifted right by a count from a fifth, so small values, values near
// the 32-bit limits and everything between are all common.
int32_t field(const uint8_t *&p) {
    int32_t v;
    std::memcpy(&v, p + 1, 4);
    v >>= p[0] % 32;
    p += 5;
    return v;
}

void check(bool same) {
    if (!same)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    uint8_t bytes[44] = {};
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    const uint8_t *p = bytes + 2;
    fraction v[3];
    for (fraction &f : v) {
        f.num = field(p);
        f.den = field(p);
        f.mark = p[0] * 0x01010101u;
        p += 1;
    }
    auto [a, b, c] = v;
    bool sticky = bytes[1] & 1, overflow = sticky;
    fraction got;
    expected want;
    int op = bytes[0] % 5;
    switch (op) {
    case 0:
        got = frac_add(a, b, overflow);
        want = add(a, b.num, b.den);
        break;
    case 1:
        got = frac_mul(a, b, overflow);
        want = settle(i128{a.num} * b.num, i128{a.den} * b.den, a.mark);
        break;
    case 2: {
        got = frac_sub_mul(a, b, c, overflow);
        i128 n = i128{b.num} * c.num, d = -(i128{b.den} * c.den);
        if (d < 0) {
            n = -n;
            d = -d;
        }
        trial_divide(n, d); // the product stays wide: only the stored sum can overflow
        want = add(a, n, d);
        break;
    }
    case 3: {
        got = frac_make(a);
        i128 n = a.num, d = a.den;
        trial_divide(n, d);
        want = {{static_cast<int32_t>(n), static_cast<int32_t>(d), a.mark}, false};
        break;
    }
    default:
        check(frac_is_positive(a) == (i128{a.num} * a.den > 0));
        return 0;
    }
    // frac_add divides by both denominators, and the engine never hands it a zero one.
    if ((op == 0 || op == 2) && (a.den == 0 || b.den == 0 || (op == 2 && c.den == 0)))
        return 0;
    check(overflow == (sticky || want.overflow) && got.mark == want.f.mark);
    if (!want.overflow)
        check(got.num == want.f.num && got.den == want.f.den);
    return 0;
}
