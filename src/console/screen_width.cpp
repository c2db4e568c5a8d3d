// The screen width. A number in COLUMNS too large for an int is still a width of at least 40;
// it is held at widest_screen, wider than any line the program writes.
#include "console/screen_width.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr int widest_screen = 1 << 20;

// COLUMNS as a width: digits only, nothing before or after them; 0 when it is not a number.
int columns_width(const char *text) {
    if (text == nullptr)
        return 0;
    const char *end = text + std::strlen(text);
    unsigned long value = 0;
    auto [stop, error] = std::from_chars(text, end, value);
    if (stop != end || stop == text)
        return 0;
    if (error == std::errc::result_out_of_range || value > widest_screen)
        return widest_screen;
    return static_cast<int>(value);
}

} // namespace

int choose_screen_width(int terminal_columns, const char *columns_variable) {
    if (terminal_columns >= narrowest_screen)
        return terminal_columns;
    int columns = columns_width(columns_variable);
    return columns >= narrowest_screen ? columns : default_screen;
}

int screen_width() {
    winsize size{};
    // Only a terminal answers this request.
    bool terminal = ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0;
    return choose_screen_width(terminal ? size.ws_col : 0, std::getenv("COLUMNS"));
}
