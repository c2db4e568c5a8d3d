// Lines that teaching mode writes within the screen width W, broken only between items (a term,
// a "name = value" pair), so no number or name is ever cut at the screen's edge.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

// One line being written: items are separated by one space; an item that would pass the width
// goes to a new screen line instead, indented by four spaces. An item wider than the width
// alone is not cut: it passes the width on a screen line of its own.
struct wrapped_line {
    std::ostream *out;
    int width;
    int used; // characters on the current screen line, 0 before the first item
};

wrapped_line begin_wrapped(std::ostream &out, int width);
void put_item(wrapped_line &line, std::string_view item);
void end_wrapped(const wrapped_line &line); // the line break after the last item

// The whole line from a list of items, with its line break.
void put_wrapped(std::ostream &out, std::span<const std::string_view> items, int width);
