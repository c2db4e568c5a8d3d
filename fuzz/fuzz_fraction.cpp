// The fraction operations against a wide reference written straight from their definitions, on
// its own 256-bit integers: exact sums and products, the sign moved to the numerator, the trial
// division 101..2 with each divisor tried once, then (only for a result that does not fit in 32
// bits) lowest terms, then the 64-bit overflow verdict; and the ratio test's comparison against
// the sign of a difference of products. Any difference in value, form, overflow flag or order
// stops the run.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "model/fraction.h"
#include "reference_fraction.h"

namespace {

// Each field is eight bytes shifted right by a count from a ninth, so small values, values near
// the 32-bit and 64-bit limits and everything between are all common.
int64_t field(const uint8_t *&p) {
    int64_t v;
    std::memcpy(&v, p + 1, 8);
    v >>= p[0] % 64;
    p += 9;
    return v;
}

void check(bool same) {
    if (!same)
        __builtin_trap();
}

// The comparison is defined on ratios of a value not negative over a positive one: each operand
// is brought there by its sign, and one that no sign makes fit (a zero denominator, a zero
// divisor) leaves the comparison out.
void check_ratio_compare(fraction n1, fraction d1, fraction n2, fraction d2) {
    for (fraction *f : {&n1, &d1, &n2, &d2}) {
        if (f->den == 0)
            return;
        if (frac_is_negative(*f))
            *f = frac_negate(*f);
    }
    if (d1.num == 0 || d2.num == 0)
        return;
    check(frac_ratio_compare(n1, d1, n2, d2) == reference::ratio_compare(n1, d1, n2, d2));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    uint8_t bytes[2 + 4 * 19] = {}; // inputs of three operands (older ones) leave the fourth 0/0
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    const uint8_t *p = bytes + 2;
    fraction v[4];
    for (fraction &f : v) {
        f.num = field(p);
        f.den = field(p);
        p += 1; // a byte the stored corpus still carries per operand; it no longer means anything
    }
    auto [a, b, c, d] = v;
    bool sticky = bytes[1] & 1, overflow = sticky;
    fraction got;
    reference::result want;
    int op = bytes[0] % 5;
    switch (op) {
    case 0:
        got = frac_add(a, b, overflow);
        want = reference::add(a, b);
        break;
    case 1:
        got = frac_mul(a, b, overflow);
        want = reference::mul(a, b);
        break;
    case 2:
        got = frac_sub_mul(a, b, c, overflow);
        want = reference::sub_mul(a, b, c);
        break;
    case 3:
        got = frac_make(a, overflow);
        want = reference::make(a);
        break;
    default:
        check(frac_is_positive(a) == (__int128{a.num} * a.den > 0));
        check(frac_is_negative(a) == (__int128{a.num} * a.den < 0));
        check_ratio_compare(a, b, c, d);
        return 0;
    }
    // frac_add divides by both denominators, and the engine never hands it a zero one.
    if ((op == 0 || op == 2) && (a.den == 0 || b.den == 0 || (op == 2 && c.den == 0)))
        return 0;
    check(overflow == (sticky || want.overflow));
    if (!want.overflow)
        check(got.num == want.f.num && got.den == want.f.den);
    return 0;
}
