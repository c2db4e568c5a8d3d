// Helpers shared by the tests: fresh stores and the whole program driven by typed keys.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "console/driver.h"
#include "console/input_reader.h"
#include "model/tableau_store.h"

// A zero-filled store of its own for each test (too large for comfort on the stack).
inline std::unique_ptr<tableau_store> fresh_store() {
    return std::make_unique<tableau_store>();
}

// A separator line of a tableau with right-hand side in column n_cols.
inline std::string separator_line(int n_cols) {
    return "\t" + std::string(8 * static_cast<size_t>(n_cols), '-') + "\n";
}

struct program_run {
    std::string screen;
    int status;
};

// Runs the whole program with `keys` as everything typed on the keyboard.
inline program_run run_with_keys(const std::string &keys, bool teaching = false) {
    auto s = fresh_store();
    std::istringstream in(keys);
    std::ostringstream out;
    int status = run_program(*s, in, out, teaching);
    return {out.str(), status};
}

// Reads a problem typed as `keys` into a fresh store; the prompts go to `screen` when given.
inline std::unique_ptr<tableau_store> read_typed(const std::string &keys,
                                                 std::string *screen = nullptr) {
    auto s = fresh_store();
    std::istringstream in(keys);
    std::ostringstream out;
    read_problem(*s, in, out);
    if (screen != nullptr)
        *screen = out.str();
    return s;
}
