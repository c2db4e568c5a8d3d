// Entry point: the program reads the keyboard and writes the screen, nothing else.
#include <iostream>

#include "console/driver.h"

namespace {
tableau_store store; // zero-filled at start, like every fixed table of the program
}

int main() {
    std::ios::sync_with_stdio(false);
    return run_program(store, std::cin, std::cout);
}
