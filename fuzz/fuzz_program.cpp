// The whole program, plain and in teaching mode, with arbitrary bytes as everything typed on the
// keyboard: reader, standard form, both phases and display. Whatever is typed, the run must end at
// the final pause with one of the two exit statuses, and the sanitizers must stay quiet on the way.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "console/driver.h"
#include "console/screen_width.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static tableau_store s; // too large for the stack; zero-filled again for every run
    const std::string keys(reinterpret_cast<const char *>(data), size);
    const std::string last_prompt = "Premetere INVIO per terminare... ";
    for (bool teaching : {false, true}) {
        s = tableau_store{};
        std::istringstream in(keys);
        std::ostringstream out;
        // Teaching mode on the narrowest screen, where the most lines break.
        int status = run_program(s, in, out, teaching, narrowest_screen);
        if ((status != 0 && status != -1) || !out.str().ends_with(last_prompt))
            __builtin_trap();
    }
    return 0;
}
