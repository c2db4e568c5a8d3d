// Entry point: the program reads the keyboard and writes the screen, nothing else.
#include <iostream>
#include <string_view>

#include "console/driver.h"

namespace {
tableau_store store; // zero-filled at start, like every fixed table of the program
}

int main(int argc, char **argv) {
    std::ios::sync_with_stdio(false);
    bool teaching = argc > 1 && std::string_view(argv[1]) == "--passi";
    return run_program(store, std::cin, std::cout, teaching);
}
