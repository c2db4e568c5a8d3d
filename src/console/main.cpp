// Entry point: the program reads the command line and the keyboard and writes the screen, nothing
// else.
#include <iostream>

#include "console/driver.h"
#include "console/options.h"
#include "console/screen_width.h"

namespace {
tableau_store store; // zero-filled at start, like every fixed table of the program
}

int main(int argc, char **argv) {
    std::ios::sync_with_stdio(false);
    program_options options = parse_options(argc, argv, std::cout, std::cerr);
    if (options.answered)
        return options.status;
    // Only the modes that lay lines out ask the terminal: the plain program reads nothing but
    // the keyboard.
    int width = options.teaching ? screen_width() : default_screen;
    return run_program(store, std::cin, std::cout,
                       {options.teaching, options.maximise, options.exercise, width});
}
