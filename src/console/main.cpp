// Entry point: the program reads the command line and the keyboard and writes the screen, nothing
// else.
#include <iostream>

#include "console/driver.h"
#include "console/options.h"

namespace {
tableau_store store; // zero-filled at start, like every fixed table of the program
}

int main(int argc, char **argv) {
    std::ios::sync_with_stdio(false);
    program_options options = parse_options(argc, argv, std::cout, std::cerr);
    if (options.answered)
        return options.status;
    return run_program(store, std::cin, std::cout, {options.teaching, options.maximise});
}
