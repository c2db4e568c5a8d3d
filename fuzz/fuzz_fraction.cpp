// The fraction operations against a wide reference written straight from their definitions, on
// its own 256-bit integers: exact sums and products, the sign moved to the numerator, the trial
// division 101..2 with each divisor tried once, then (only for a result that does not fit in 32
// bits) lowest terms, then the 64-bit overflow verdict. Any difference in value, form or
// overflow flag stops the run.
#include <cstddef>
#include <cstdint>
#include <cstring>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    uint8_t bytes[2 + 3 * 19] = {};
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    const uint8_t *p = bytes + 2;
    fraction v[3];
    for (fraction &f : v) {
        f.num = field(p);
        f.den = field(p);
        p += 1; // a byte the stored corpus still carries per operand; it no longer means anything
    }
    auto [a, b, c] = v;
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
