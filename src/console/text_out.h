// Small output helpers shared by the console code: fixed texts, and texts that carry numbers
// written as printf-like format strings, so each reads as the screen shows it.
#pragma once

#include <cassert>
#include <charconv>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string_view>
#include <type_traits>

inline void put(std::ostream &out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline void put_arg(std::ostream &out, int64_t value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.write(digits, end - digits);
}

inline void put_arg(std::ostream &out, std::string_view text) {
    put(out, text);
}

inline void put_format(std::ostream &out, std::string_view format) {
    assert(format.find('%') == std::string_view::npos); // every conversion has its argument
    put(out, format);
}

// The format with each "%d" replaced by the next integer argument and each "%s" by the next
// text argument, in order; every other character is written as it stands.
template <typename First, typename... Rest>
void put_format(std::ostream &out, std::string_view format, const First &first,
                const Rest &...rest) {
    size_t at = format.find('%');
    assert(at != std::string_view::npos && at + 1 < format.size());
    assert(format[at + 1] == (std::is_integral_v<First> ? 'd' : 's'));
    put(out, format.substr(0, at));
    put_arg(out, first);
    put_format(out, format.substr(at + 2), rest...);
}

// One key from the keyboard, with whatever was printed made visible first.
inline int read_key(std::istream &in, std::ostream &out) {
    out.flush();
    return in.get();
}

// A key at a pause of teaching and exercise mode: the first character of a whole line, the rest
// of the line dropped up to its newline, so a word typed at a pause is never read as the next
// answer or the next pause. End of input reads as itself.
inline int read_line_key(std::istream &in, std::ostream &out) {
    int first = read_key(in, out);
    for (int c = first; c != '\n' && c != std::char_traits<char>::eof();)
        c = in.get();
    return first;
}
