// Line breaking between items.
#include "console/wrapped_line.h"

#include <ostream>

#include "console/text_out.h"

namespace {
constexpr int indent = 4; // of each continued screen line
}

wrapped_line begin_wrapped(std::ostream &out, int width) {
    return {&out, width, 0};
}

void put_item(wrapped_line &line, std::string_view item) {
    int length = static_cast<int>(item.size());
    if (line.used == 0) {
        line.used = length;
    } else if (line.used + 1 + length <= line.width) {
        put(*line.out, " ");
        line.used += 1 + length;
    } else {
        put(*line.out, "\n    ");
        line.used = indent + length;
    }
    put(*line.out, item);
}

void end_wrapped(const wrapped_line &line) {
    put(*line.out, "\n");
}

void put_wrapped(std::ostream &out, std::span<const std::string_view> items, int width) {
    wrapped_line line = begin_wrapped(out, width);
    for (std::string_view item : items)
        put_item(line, item);
    end_wrapped(line);
}
