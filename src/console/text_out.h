// Small output helpers shared by the console code: fixed texts and printf-like "%d" numbers.
#pragma once

#include <charconv>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string_view>

inline void put(std::ostream &out, std::string_view text) {
    out.write(text.data(), text.size());
}

// "%lld" of a 64-bit value.
inline void put_int(std::ostream &out, int64_t value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.write(digits, end - digits);
}

// One key from the keyboard, with whatever was printed made visible first.
inline int read_key(std::istream &in, std::ostream &out) {
    out.flush();
    return in.get();
}
