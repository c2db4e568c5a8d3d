// The command line. Every answer is written before any key is read, so asking for help or
// mistyping an option never waits on the keyboard.
#include "console/options.h"

#include <ostream>
#include <string_view>

#include "console/text_out.h"

namespace {

enum class option_kind { teaching, exercise, maximise, help, version, unknown };

option_kind kind_of(std::string_view arg) {
    if (arg == "-p" || arg == "--passi")
        return option_kind::teaching;
    if (arg == "-e" || arg == "--esercizio")
        return option_kind::exercise;
    if (arg == "-m" || arg == "--max")
        return option_kind::maximise;
    if (arg == "-h" || arg == "--help")
        return option_kind::help;
    if (arg == "--version")
        return option_kind::version;
    return option_kind::unknown;
}

// Plain ASCII like every screen of the program, so no accented letters. It fits a terminal of
// 80 columns and 24 lines, the shell's next prompt included.
constexpr std::string_view usage_text =
    "Uso: simplesso [opzioni]            (poi il problema, una riga alla volta)\n"
    "Simplesso primale a due fasi in frazioni esatte; ogni variabile e' >= 0.\n"
    "  -p, --passi      modo didattico: ogni pivot con il test del rapporto, la\n"
    "                   soluzione verificata, duale, intervalli o un certificato\n"
    "  -e, --esercizio  come --passi, ma il pivot lo sceglie lo studente: entrante\n"
    "                   xN (o N) o ottimo, uscente xN o illimitato; ? per un aiuto\n"
    "  -m, --max        massimizza (i tableau minimizzano -z); senza, si minimizza\n"
    "  -h, --help       questo aiuto            --version   la versione\n"
    "Le righe: i costi, un vincolo per riga, q per finire (al massimo 99 vincoli).\n"
    "  1 2        min z = x1 + 2 x2 (--max: max)  numeri: 4, -3, 3/4, 0.4, 0,4\n"
    "  1 1 = 2    x1 + x2 = 2                     relazioni: < <= =< = == > >= =>\n"
    "  1 -1 <= 1  x1 - x2 <= 1                    una parola come 3x1 e' rifiutata\n"
    "  q          (parole separate da spazi)      e la domanda torna\n"
    "Da un file: simplesso < problema.txt. Ogni pausa legge un INVIO, una riga\n"
    "vuota: senza opzioni una prima del problema, quattro \"continuare\" e la finale,\n"
    "6 in tutto; --passi: secondo le iterazioni, e 2 dopo l'ottimo; a fine file ogni\n"
    "pausa prosegue. Per tutte: (cat problema.txt; yes '') | simplesso --passi\n"
    "Con -e ogni risposta e' una riga; una pausa dopo ogni pivot scelto, nessuna\n"
    "dopo ottimo e illimitato. yes '' non finisce mai (una riga vuota ripete la\n"
    "domanda): nel file le risposte e le righe vuote delle pause, oppure solo il\n"
    "problema: a fine file il programma risponde da solo a ogni domanda.\n"
    "Uscita: 255 se l'ultimo tasto e' INVIO, se no 0; 2 per un'opzione sconosciuta.\n"
    "Opzioni in ogni ordine; --help, poi --version, vince sulle altre e non legge.\n";

program_options answer(std::ostream &stream, std::string_view text, int status) {
    put(stream, text);
    stream.flush();
    return {false, false, false, true, status};
}

} // namespace

program_options parse_options(int argc, const char *const *argv, std::ostream &out,
                              std::ostream &err) {
    bool teaching = false, exercise = false, maximise = false, help = false, version = false;
    for (int k = 1; k < argc; ++k) {
        switch (kind_of(argv[k])) {
        case option_kind::teaching:
            teaching = true;
            break;
        case option_kind::exercise:
            exercise = true;
            break;
        case option_kind::maximise:
            maximise = true;
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
    return {teaching || exercise, exercise, maximise, false, 0};
}
