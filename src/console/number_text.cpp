// Values as text. The one gcd of the screens lives here: it runs on 64-bit words while both
// values fit in them, which is every cell of a tableau.
#include "console/number_text.h"

#include <charconv>
#include <cstdint>

namespace {

using u128 = unsigned __int128;

u128 magnitude(__int128 v) {
    return v < 0 ? 0 - static_cast<u128>(v) : static_cast<u128>(v);
}

void append_digits(number_text &t, u128 v) {
    if (v >> 64 == 0) {
        char *end =
            std::to_chars(t.text + t.len, t.text + sizeof t.text, static_cast<uint64_t>(v)).ptr;
        t.len = static_cast<int>(end - t.text);
        return;
    }
    char digits[40];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
    } while (v != 0);
    while (n > 0)
        t.text[t.len++] = digits[--n];
}

// "n" or "n/d" from a sign and two magnitudes; a zero numerator keeps no sign.
number_text signed_form(bool negative, u128 num, u128 den) {
    number_text t{};
    if (negative && num != 0)
        t.text[t.len++] = '-';
    append_digits(t, num);
    if (den != 1) {
        t.text[t.len++] = '/';
        append_digits(t, den);
    }
    return t;
}

uint64_t gcd64(uint64_t a, uint64_t b) {
    while (b != 0) {
        uint64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

u128 gcd(u128 a, u128 b) {
    while (b != 0) {
        if (a >> 64 == 0 && b >> 64 == 0)
            return gcd64(static_cast<uint64_t>(a), static_cast<uint64_t>(b));
        u128 r = a % b;
        a = b;
        b = r;
    }
    return a;
}

} // namespace

number_text stored_form(fraction f) {
    number_text t{};
    t.len = static_cast<int>(std::to_chars(t.text, t.text + sizeof t.text, f.num).ptr - t.text);
    if (f.den != 1) {
        t.text[t.len++] = '/';
        t.len = static_cast<int>(std::to_chars(t.text + t.len, t.text + sizeof t.text, f.den).ptr -
                                 t.text);
    }
    return t;
}

number_text lowest_form(__int128 num, __int128 den) {
    if (den == 0)
        return signed_form(num < 0, magnitude(num), 0);
    u128 n = magnitude(num), d = magnitude(den);
    u128 g = gcd(n, d); // d is not 0, so neither is g
    return signed_form((num < 0) != (den < 0), n / g, d / g);
}

number_text lowest_form(fraction f) {
    return lowest_form(f.num, f.den);
}
