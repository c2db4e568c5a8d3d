// The width W that teaching mode lays its lines out in: asked here and nowhere else, and handed
// to the screens as a plain number, so a test can give any width it likes.
#pragma once

constexpr int narrowest_screen = 40; // a width below this is taken for a wrong answer
constexpr int default_screen = 80;

// W from the two answers: `terminal_columns` is the width the terminal of standard output
// reports (0 when standard output is no terminal), `columns_variable` the text of COLUMNS
// (nullptr when it is not set). The terminal when it reports at least 40 columns, otherwise
// COLUMNS when it is a decimal number of at least 40, otherwise 80.
int choose_screen_width(int terminal_columns, const char *columns_variable);

// W for this run: asks the terminal of standard output and reads COLUMNS.
int screen_width();
