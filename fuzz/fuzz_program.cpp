// The whole program, plain, in teaching mode and in exercise mode, minimising and maximising,
// with arbitrary bytes as everything typed on the keyboard (in exercise mode, the answers too):
// reader, standard form, both phases and display. Whatever is typed, the run must end at the
// final pause with one of the two exit statuses, and the sanitizers must stay quiet on the way.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "console/driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static tableau_store s; // too large for the stack; zero-filled again for every run
    const std::string keys(reinterpret_cast<const char *>(data), size);
    const std::string last_prompt = "Premetere INVIO per terminare... ";
    for (run_mode mode :
         {run_mode{false, false}, run_mode{true, false}, run_mode{false, true},
          run_mode{true, true}, run_mode{true, false, true}, run_mode{true, true, true}}) {
        s = tableau_store{};
        std::istringstream in(keys);
        std::ostringstream out;
        int status = run_program(s, in, out, mode);
        if ((status != 0 && status != -1) || !out.str().ends_with(last_prompt))
            __builtin_trap();
    }
    return 0;
}
