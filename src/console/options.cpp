// The command line. Every answer is written before any key is read, so asking for help or
// mistyping an option never waits on the keyboard.
#include "console/options.h"

#include <ostream>
#include <string_view>

#include "console/text_out.h"

namespace {

enum class option_kind { teaching, help, version, unknown };

option_kind kind_of(std::string_view arg) {
    if (arg == "-p" || arg == "--passi")
        return option_kind::teaching;
    if (arg == "-h" || arg == "--help")
        return option_kind::help;
    if (arg == "--version")
        return option_kind::version;
    return option_kind::unknown;
}

// Plain ASCII like every screen of the program, so no accented letters. It fits a terminal of
// 80 columns and 24 lines, the shell's next prompt included, with room for two more option
// lines.
constexpr std::string_view usage_text =
    "Uso: simplesso [-p | --passi] [-h | --help] [--version]\n"
    "Risolve un problema lineare (minimo, variabili >= 0) con il simplesso primale\n"
    "a due fasi, in frazioni esatte, e ne mostra i tableau.\n"
    "  -p, --passi    modo didattico: ogni pivot con il test del rapporto, la\n"
    "                 soluzione e la sua verifica\n"
    "  -h, --help     mostra questo aiuto ed esce\n"
    "      --version  mostra la versione ed esce\n"
    "Il problema, una riga alla volta, parole separate da uno spazio:\n"
    "  1 2         i costi: min z = x1 + 2x2\n"
    "  1 1 = 2     un vincolo: x1 + x2 = 2\n"
    "  1 -1 < 1    un vincolo: x1 - x2 <= 1 (relazioni <, =, > o <=, ==, >=)\n"
    "  q           fine dei vincoli (al massimo 99, righe di 98 caratteri)\n"
    "Ogni numero e' un intero o una frazione: 4, -3, 3/4, -1/2.\n"
    "Da un file: simplesso < problema.txt. Ogni pausa legge un INVIO (una riga\n"
    "vuota): senza opzioni una prima del problema, quattro \"continuare\" e una\n"
    "finale, 6 in tutto; con --passi una in piu' per ogni iterazione che non\n"
    "chiude la sua fase e per il tableau senza variabili artificiali, due in meno\n"
    "se non ce ne sono (niente prima fase): il numero dipende dalle iterazioni.\n"
    "A file finito ogni pausa prosegue da sola. INVIO a tutte le pause:\n"
    "    (cat problema.txt; yes '') | simplesso --passi\n"
    "Stato di uscita: 255 se l'ultimo tasto e' INVIO, se no 0 (2: opzione ignota).\n";

program_options answer(std::ostream &stream, std::string_view text, int status) {
    put(stream, text);
    stream.flush();
    return {false, true, status};
}

} // namespace

program_options parse_options(int argc, const char *const *argv, std::ostream &out,
                              std::ostream &err) {
    bool teaching = false, help = false, version = false;
    for (int k = 1; k < argc; ++k) {
        switch (kind_of(argv[k])) {
        case option_kind::teaching:
            teaching = true;
            break;
        case option_kind::help:
            help = true;
            break;
        case option_kind::version:
            version = true;
            break;
        case option_kind::unknown:
            put(err, "simplesso: opzione sconosciuta: ");
            put(err, argv[k]);
            return answer(err, "\nProvare 'simplesso --help'.\n", 2);
        }
    }
    if (help)
        return answer(out, usage_text, 0);
    if (version)
        return answer(out, "simplesso " SIMPLESSO_VERSION "\n", 0);
    return {teaching, false, 0};
}
