// A tableau value as text, in the two forms the screens use: the stored form, which the plain
// grid shows as it stands, and the value in lowest terms, which teaching mode shows.
#pragma once

#include <string_view>

#include "model/fraction.h"

// The text of one number (or of a short name such as x12), in a buffer of its own: room for a
// sign, two numbers of 128 bits, the slash between them and a pair of brackets.
struct number_text {
    char text[84];
    int len;
};

inline std::string_view view(const number_text &t) {
    return {t.text, static_cast<size_t>(t.len)};
}

// "n", or "n/d" when the denominator is not 1: both fields as they stand, signs included.
number_text stored_form(fraction f);

// The value num/den in lowest terms with a positive denominator, "n" when that is 1: "0" for any
// zero, "1" for 18869/18869, "-1/20" for -25/500. Wide enough for a product of two 64-bit fields
// in either place (a ratio of two cells); a zero denominator, which holds no value, is written as
// it stands.
number_text lowest_form(__int128 num, __int128 den);
number_text lowest_form(fraction f);
