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

// Plain ASCII like every screen of the program, so no accented letters.
constexpr std::string_view usage_text =
    "Uso: simplesso [-p | --passi] [-h | --help] [--version]\n"
    "\n"
    "Risolve un problema di programmazione lineare con il metodo del simplesso\n"
    "primale a due fasi, tutto in frazioni esatte, e mostra i tableau di ogni\n"
    "fase. La funzione obiettivo e' sempre da minimizzare e ogni variabile e' >= 0.\n"
    "\n"
    "Opzioni:\n"
    "  -p, --passi    modo didattico: mostra anche ogni pivot (variabile che entra,\n"
    "                 variabile che esce, elemento pivot, test del rapporto), la\n"
    "                 soluzione e la sua verifica; dopo l'ottimo il problema duale,\n"
    "                 i prezzi ombra, i costi ridotti e gli intervalli di costi e\n"
    "                 termini noti; per un problema inammissibile o illimitato un\n"
    "                 certificato verificato\n"
    "  -h, --help     mostra questo aiuto ed esce\n"
    "      --version  mostra la versione ed esce\n"
    "Senza opzioni mostra i tableau iniziale e finale di ogni fase. Un'opzione\n"
    "sconosciuta e' un errore (stato di uscita 2); --help vale prima di --version,\n"
    "e tutte e due prima di --passi. Con --help e --version non si legge nulla.\n"
    "\n"
    "Come si scrive il problema: una riga alla volta, parole separate da uno spazio.\n"
    "  - La prima riga: i costi della funzione obiettivo, in ordine di variabile.\n"
    "        1 2          vuol dire  min z = x1 + 2 x2\n"
    "  - Poi una riga per vincolo: i coefficienti, la relazione come parola a se\n"
    "    stante, il termine noto.\n"
    "        1 1 = 2      vuol dire  x1 + x2 = 2\n"
    "        1 -1 < 1     vuol dire  x1 - x2 <= 1\n"
    "    Le relazioni: < (minore o uguale), = (uguale), > (maggiore o uguale);\n"
    "    <=, == e >= valgono come <, = e >.\n"
    "  - Ogni numero e' un intero o una frazione: 4, -3, 3/4, -1/2.\n"
    "  - Una riga che comincia con q chiude i vincoli e avvia il calcolo\n"
    "    (al massimo 99 vincoli, 98 caratteri per riga).\n"
    "\n"
    "Da un file: simplesso < problema.txt  (oppure simplesso --passi < problema.txt)\n"
    "Ogni pausa legge un INVIO, cioe' una riga vuota del file:\n"
    "  - senza opzioni: una prima del problema (il file comincia con una riga\n"
    "    vuota), una per ognuna delle quattro pause \"continuare\" e una per la\n"
    "    pausa finale: 6 in tutto;\n"
    "  - con --passi: in piu' una per ogni schermata aggiunta (ogni iterazione\n"
    "    che non chiude la sua fase, il tableau senza variabili artificiali e,\n"
    "    dopo l'ottimo, le due schermate dell'analisi post-ottimale): il numero\n"
    "    dipende dalle iterazioni del problema.\n"
    "Le righe vuote in piu' restano non lette. Quando il file finisce, ogni pausa\n"
    "rimasta prosegue da sola. Per dare INVIO a tutte le pause, in ogni modo:\n"
    "    (cat problema.txt; yes '') | simplesso --passi\n"
    "(il file deve contenere la riga q). Stato di uscita: 255 se l'ultimo tasto\n"
    "e' INVIO, altrimenti 0.\n";

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
