// The golden runs checked against answers worked out by hand (exact fractions, every basis of the
// standard form enumerated), so a golden screen can never silently record a wrong verdict.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "test_support.h"

namespace {

std::string golden_file(const std::string &name, const char *extension) {
    std::ifstream file(std::string(SIMPLESSO_TEST_DIR) + "/golden/" + name + extension);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string typed_keys(const std::string &name) {
    return golden_file(name, ".in");
}

// The mode a golden run's arguments (NAME.args, none for a plain run) ask for.
run_mode golden_mode(const std::string &name) {
    std::istringstream words(golden_file(name, ".args"));
    run_mode mode{false, false, false, default_screen};
    for (std::string word; words >> word;) {
        mode.teaching = mode.teaching || word == "--passi" || word == "-p";
        mode.maximise = mode.maximise || word == "--max" || word == "-m";
        mode.exercise = mode.exercise || word == "--esercizio" || word == "-e";
        mode.teaching = mode.teaching || mode.exercise;
    }
    return mode;
}

// The right-hand side of the objective line of the last tableau on the screen: the line under
// the separator of the plain grid, or the line under the header of teaching mode's last block.
std::string last_objective_value(const std::string &screen, bool teaching) {
    size_t header = screen.rfind("RHS\n");
    size_t objective = screen.find('\n', header) + 1;
    if (!teaching)
        objective = screen.find('\n', objective) + 1; // past the separator
    std::string line = screen.substr(objective, screen.find('\n', objective) - objective);
    if (!teaching)
        line.pop_back(); // every cell ends with a tab
    return line.substr(line.find_last_of(teaching ? ' ' : '\t') + 1);
}

struct golden_answer {
    const char *name;
    const char *verdict;   // optimal, infeasible, unbounded or overflow
    const char *value;     // the last objective value, in lowest terms; none after an overflow
    std::string explained; // teaching and exercise mode (passi_*, esercizio_*): everything between
                           // verdict and final pause, the exercise tally last
    const char *shown;     // a text the run must show on the way, or nullptr
};

const std::string pause = "\nPremetere INVIO per continuare... " + std::string(11, '\n');

// What an optimal teaching run shows after "Soluzione Ottima!": the solution with its check, then
// the screen of duality and the screen of sensitivity, each after its pause.
std::string after_optimum(const std::string &solution, const std::string &duality,
                          const std::string &sensitivity) {
    return solution + "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n" + pause +
           "\nAnalisi post-ottimale - dualita'\n" + duality + pause +
           "\nAnalisi post-ottimale - sensitivita'\n" + sensitivity;
}

// The same after a maximum (--max), whose check names max z.
std::string after_maximum(const std::string &solution, const std::string &duality,
                          const std::string &sensitivity) {
    std::string minimum = after_optimum(solution, duality, sensitivity);
    std::string check = "c*x = z\n";
    return minimum.replace(minimum.find(check), check.size(), "c*x = max z\n");
}

// The two lines of complementary slackness when it holds, after the rows' slacks.
std::string slackness(const char *slacks) {
    return std::string("Scarti dei vincoli: ") + slacks +
           "\nScarti complementari: y_i * (b_i - a_i*x) = 0 per ogni vincolo e\n"
           "    x_j * costo ridotto_j = 0 per ogni variabile\n";
}

const char *degenerate_note = "    i prezzi ombra e gli intervalli valgono per questa base:\n"
                              "    un intervallo dei termini noti puo' avere un solo estremo\n"
                              "    o ridursi a un punto, e un intervallo dei costi\n"
                              "    puo' essere piu' stretto dei costi per cui il punto resta "
                              "ottimo\n";

// Values: the optimum (phase 2), or the least sum of artificials (infeasible), or the vertex
// where the improving ray (1, 1) starts (unbounded). The teaching-mode runs repeat four problems
// of the plain runs; their solutions are the unique optimal vertices found by trying every basis.
const golden_answer answers[] = {
    {"worked", "optimal", "5/2", "", nullptr},         // x = (3/2, 1/2)
    {"only_less", "optimal", "-48/5", "", nullptr},    // x = (12/5, 6/5)
    {"greater_equal", "optimal", "19/2", "", nullptr}, // x = (5/2, 3/2)
    {"beale", "optimal", "-5/4", "", nullptr},         // x = (1, 0, 1, 0)
    {"infeasible", "infeasible", "1", "", nullptr},    // x1 + x2 falls 1 short of 2
    {"unbounded", "unbounded", "-1", "", nullptr},     // x = (1, 0) + t(1, 1)
    {"redundant_row", "optimal", "2", "", nullptr},    // row 2 = 2 * row 1; x = (2, 0)
    // x1 = x2 = 0 forced; -12 if dropped
    {"artificial_at_zero", "optimal", "-6", "", nullptr},
    {"negative_rhs", "optimal", "7/2", "", nullptr}, // x = (3/2, 1/2)
    // x = (301/2, 5), ratio 301/2 in row 2
    {"large_ratio", "optimal", "-321/2", "", nullptr},
    // The figures after each optimum, certificate and ray are worked out in
    // tests/golden/derivations/post_optimal.py (bases traced by hand, every range end probed).
    // Basis x2, x1: y1 + y2 = 1, y1 - y2 = 2; row 1 is "=", so y1 is c_B B^-1.
    {"passi_worked", "optimal", "5/2",
     after_optimum("Soluzione: x1 = 3/2, x2 = 1/2\nValore ottimo: z = 5/2\n",
                   "Base ottima: x2, x1\nProblema duale:\nmax 2y1 + y2\ny1 + y2 <= 1\n"
                   "y1 - y2 <= 2\ny1 libera, y2 <= 0\n"
                   "Prezzi ombra: y1 = 3/2, y2 = -1/2\n"
                   "Nel tableau finale (riga obiettivo): y1 = c_B B^-1 (vincolo =), y2 = colonna "
                   "x3\n"
                   "Verifica duale: y ammissibile e b*y = c*x = 5/2\n"
                   "Costi ridotti: x1 = 0, x2 = 0\n" +
                       slackness("b1 - a1*x = 0, b2 - a2*x = 0"),
                   "Intervalli dei costi (la base resta ottima):\n    c1 = 1 in (-inf, 2]\n"
                   "    c2 = 2 in [1, +inf)\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 2 in [1, +inf)\n    b2 = 1 in [-2, 2]\n"),
     nullptr},
    // Degenerate from the first pivot: the largest-coefficient rule alone would cycle. The
    // optimum is unique and not degenerate: basis x3, x5 (row 1's slack), x1; y = (0, -3/2, -5/4).
    {"passi_beale", "optimal", "-5/4",
     after_optimum("Soluzione: x1 = 1, x2 = 0, x3 = 1, x4 = 0\nValore ottimo: z = -5/4\n",
                   "Base ottima: x3, x5, x1\nProblema duale:\nmax y3\n"
                   "1/4 y1 + 1/2 y2 <= -3/4\n-8y1 - 12y2 <= 20\n"
                   "-y1 - 1/2 y2 + y3 <= -1/2\n9y1 + 3y2 <= 6\n"
                   "y1 <= 0, y2 <= 0, y3 <= 0\n"
                   "Prezzi ombra: y1 = 0, y2 = -3/2, y3 = -5/4\n"
                   "Nel tableau finale (riga obiettivo): y1 = colonna x5, y2 = colonna x6,\n"
                   "    y3 = colonna x7\n"
                   "Verifica duale: y ammissibile e b*y = c*x = -5/4\n"
                   "Costi ridotti: x1 = 0, x2 = 2, x3 = 0, x4 = 21/2\n" +
                       slackness("b1 - a1*x = 3/4, b2 - a2*x = 0, b3 - a3*x = 0"),
                   "Intervalli dei costi (la base resta ottima):\n    c1 = -3/4 in [-5/6, 0]\n"
                   "    c2 = 20 in [18, +inf)\n    c3 = -1/2 in (-inf, 3/4]\n"
                   "    c4 = 6 in [-9/2, +inf)\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 0 in [-3/4, +inf)\n    b2 = 0 in [-1/2, 3/2]\n"
                   "    b3 = 1 in [0, +inf)\n"),
     "Regola del minimo indice: dopo un pivot degenere entra la prima colonna\n"
     "    migliorante e, a pari rapporto, esce la variabile di indice minore\n"},
    // After x1 enters (x = (1, 0), z = -1) the column of x2 is -1, 0: the ray (1, 1) from there,
    // along which both rows keep x1 - x2 = 1 and -x1 + x2 = -1.
    {"passi_unbounded", "unbounded", "-1",
     "La colonna x2 non ha elementi positivi: se x2 entra, z decresce senza limite\n"
     "Direzione illimitata: d1 = 1, d2 = 1\nPunto di partenza x0: x1 = 1, x2 = 0\n"
     "Verifica: x0 soddisfa i vincoli, d >= 0 e non nullo,\n"
     "    ogni vincolo resta soddisfatto lungo d e c*d = -2 < 0: z = c*x0 + t*(c*d)\n"
     "    decresce senza limite\n",
     nullptr},
    // -1 * (x1 + x2 <= 1) + 1 * (x1 + x2 >= 2): 0 >= 1, w = 1.
    {"passi_infeasible", "infeasible", "1",
     "Minimo della prima fase: w = 1 > 0, nessun punto soddisfa tutti i vincoli\n"
     "Certificato: y1 = -1, y2 = 1\n"
     "Combinazione sum y_i*(vincolo i), scritta con >=: 0x1 + 0x2 >= 1\n"
     "Verifica: ogni y_i ha il segno del suo vincolo, ogni coefficiente e' <= 0\n"
     "    e il termine noto 1 e' > 0: per x >= 0 il primo membro non supera 0,\n"
     "    quindi nessun x soddisfa i vincoli\n",
     nullptr},
    // Phase 1 ends at once (w has no positive entry) with x5 and x6 basic at 0. Row 2's x5 leaves
    // for x1 on its -1; row 3 (twice row 2) is then 0 in every real column. x1 = x2 = 0, x3 = 6.
    // Basis x3, x1 on rows 1, 2: y1 = -1, y1 - y2 = -2, y3 = 0; x1 is basic at 0.
    {"passi_artificial_out", "optimal", "-6",
     after_optimum("Soluzione: x1 = 0, x2 = 0, x3 = 6\nValore ottimo: z = -6\n",
                   "Base ottima: x3, x1\nProblema duale:\nmax 6y1\n"
                   "y1 - y2 - 2y3 <= -2\ny1 - 2y2 - 4y3 <= -1\ny1 <= -1\n"
                   "y1 <= 0, y2 libera, y3 libera\n"
                   "Prezzi ombra: y1 = -1, y2 = 1, y3 = 0\n"
                   "Nel tableau finale (riga obiettivo): y1 = colonna x4, y2 = c_B B^-1 "
                   "(vincolo =),\n"
                   "    y3 = 0, vincolo ridondante\n"
                   "Verifica duale: y ammissibile e b*y = c*x = -6\n"
                   "Costi ridotti: x1 = 0, x2 = 2, x3 = 0\n" +
                       slackness("b1 - a1*x = 0, b2 - a2*x = 0, b3 - a3*x = 0"),
                   std::string("Soluzione degenere: x1 (riga 2) e' in base con valore 0;\n") +
                       degenerate_note +
                       "Intervalli dei costi (la base resta ottima):\n"
                       "    c1 = -2 in (-inf, -1]\n    c2 = -1 in [-3, +inf)\n"
                       "    c3 = -1 in [-3, 0]\n"
                       "Intervalli dei termini noti (la base resta ammissibile):\n"
                       "    b1 = 6 in [0, +inf)\n    b2 = 0 in [0, 0]\n"
                       "        riga 3 = 2*riga 2: b2 da solo renderebbe i vincoli incompatibili\n"
                       "    b3 = 0 in [0, 0]\n"
                       "        riga 3 = 2*riga 2: b3 da solo renderebbe i vincoli "
                       "incompatibili\n"),
     "\nSeconda Fase - Senza variabili artificiali\n"
     "Esce x5 (artificiale), entra x1 (riga 2), elemento pivot -1\n"
     "Riga 3 eliminata: x6 artificiale resta in base, il vincolo e' ridondante\n"},
    // Transport from four sources (capacities 5/2, 4, 3, 2; x1..x4 to A, x5..x8 to B) to A and
    // B (at least 9/2 and 7/2, 8 in all): A takes s2's 4 at 2 and 1/2 from s1 at 3, B the rest
    // of s1 (2, at 1) and 3/2 from s3 at 2. The only optimal vertex of all the bases of its
    // standard form, tried one by one; 18 columns, so the grids split in two blocks. Row 2's
    // surplus x10 is basic at 0: row 7's total holds both ">" rows tight.
    {"passi_wide", "optimal", "29/2",
     after_optimum(
         "Soluzione: x1 = 1/2, x2 = 4, x3 = 0, x4 = 0, x5 = 2, x6 = 0, x7 = 3/2, x8 = 0\n"
         "Valore ottimo: z = 29/2\n",
         "Base ottima: x2, x7, x1, x5, x13, x14, x10\nProblema duale:\n"
         "max 9/2 y1 + 7/2 y2 + 5/2 y3 + 4y4 + 3y5 + 2y6 + 8y7\ny1 + y3 + y7 <= 3\n"
         "y1 + y4 + y7 <= 2\ny1 + y5 + y7 <= 5\ny1 + y6 + y7 <= 6\ny2 + y3 + y7 <= 1\n"
         "y2 + y4 + y7 <= 5\ny2 + y5 + y7 <= 2\ny2 + y6 + y7 <= 4\n"
         "y1 >= 0, y2 >= 0, y3 <= 0, y4 <= 0, y5 <= 0, y6 <= 0, y7 libera\n"
         "Prezzi ombra: y1 = 2, y2 = 0, y3 = -1, y4 = -2, y5 = 0, y6 = 0, y7 = 2\n"
         "Nel tableau finale (riga obiettivo): y1 = -(colonna x9), y2 = -(colonna x10),\n"
         "    y3 = colonna x11, y4 = colonna x12, y5 = colonna x13, y6 = colonna x14,\n"
         "    y7 = c_B B^-1 (vincolo =)\n"
         "Verifica duale: y ammissibile e b*y = c*x = 29/2\n"
         "Costi ridotti: x1 = 0, x2 = 0, x3 = 1, x4 = 2, x5 = 0, x6 = 5, x7 = 0, x8 = 2\n"
         "Scarti dei vincoli: b1 - a1*x = 0, b2 - a2*x = 0, b3 - a3*x = 0, b4 - a4*x = 0,\n"
         "    b5 - a5*x = 3/2, b6 - a6*x = 2, b7 - a7*x = 0\n"
         "Scarti complementari: y_i * (b_i - a_i*x) = 0 per ogni vincolo e\n"
         "    x_j * costo ridotto_j = 0 per ogni variabile\n",
         "Soluzione degenere: x10 (riga 7) e' in base con valore 0;\n"
         "    i prezzi ombra e gli intervalli valgono per questa base:\n"
         "    un intervallo dei termini noti puo' avere un solo estremo\n"
         "    o ridursi a un punto, e un intervallo dei costi\n"
         "    puo' essere piu' stretto dei costi per cui il punto resta ottimo\n"
         "Intervalli dei costi (la base resta ottima):\n    c1 = 3 in [1, 4]\n"
         "    c2 = 2 in (-inf, 4]\n    c3 = 5 in [4, +inf)\n    c4 = 6 in [4, +inf)\n"
         "    c5 = 1 in [0, 2]\n    c6 = 5 in [0, +inf)\n    c7 = 2 in [1, 3]\n"
         "    c8 = 4 in [2, +inf)\n"
         "Intervalli dei termini noti (la base resta ammissibile):\n"
         "    b1 = 9/2 in [4, 9/2]\n    b2 = 7/2 in (-inf, 7/2]\n"
         "    b3 = 5/2 in [1, 4]\n    b4 = 4 in [5/2, 9/2]\n"
         "    b5 = 3 in [3/2, +inf)\n    b6 = 2 in [0, +inf)\n"
         "    b7 = 8 in [8, 19/2]\n"),
     "x17: variabile artificiale della riga 7\n"},
    // Rows 2 and 3 have negative right-hand sides. x3 = x1 + 1 and x1 >= 2 + 2x2 make
    // z = 3x1 + 3x2 + 1 least at x1 = 2, x2 = 0. x4, typed with cost 0 and in no row, lends its
    // column to the surplus of row 1 (2 + 0 + 3 - 4 = 1), so x4 as typed is 0 and may grow along
    // the ray d = (0, 0, 0, 1) at no cost.
    {"passi_legend", "optimal", "7",
     after_optimum("Soluzione: x1 = 2, x2 = 0, x3 = 3, x4 = 0\nValore ottimo: z = 7\n",
                   "Base ottima: x1, x4, x3\n"
                   "x4 non compare in alcun vincolo e costa 0: la colonna x4 del tableau\n"
                   "    e' la variabile di surplus del vincolo 1, e x4 vale 0\nProblema duale:\n"
                   "max 4y1 - 2y2 - y3\ny1 - y2 + y3 <= 2\ny1 + 2y2 <= 3\ny1 - y3 <= 1\n0 <= 0\n"
                   "y1 >= 0, y2 <= 0, y3 libera\nPrezzi ombra: y1 = 0, y2 = -3, y3 = -1\n"
                   "Nel tableau finale (riga obiettivo): y1 = -(colonna x4), y2 = colonna x5,\n"
                   "    y3 = c_B B^-1 (vincolo =)\n"
                   "Verifica duale: y ammissibile e b*y = c*x = 7\n"
                   "Costi ridotti: x1 = 0, x2 = 9, x3 = 0, x4 = 0\n"
                   "Scarti dei vincoli: b1 - a1*x = -1, b2 - a2*x = 0, b3 - a3*x = 0\n"
                   "Scarti complementari: y_i * (b_i - a_i*x) = 0 per ogni vincolo e\n"
                   "    x_j * costo ridotto_j = 0 per ogni variabile\n",
                   "Ottimo non unico: x4 non compare in alcun vincolo e costa 0:\n"
                   "    x + t*d resta ottimo per ogni t >= 0, con d1 = 0, d2 = 0, d3 = 0, d4 = 1\n"
                   "Intervalli dei costi (la base resta ottima):\n    c1 = 2 in [-1, +inf)\n"
                   "    c2 = 3 in [-6, +inf)\n    c3 = 1 in [-2, +inf)\n"
                   "    c4 = 0 in [0, +inf)\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 4 in (-inf, 5]\n    b2 = -2 in (-inf, -3/2]\n"
                   "    b3 = -1 in (-inf, 0]\n"),
     "Riga 2: termine noto negativo, moltiplicata per -1 (<= diventa >=)\n"
     "Riga 3: termine noto negativo, moltiplicata per -1\n"
     "x4: non compare in nessun vincolo, quindi fa da variabile di eccedenza (surplus)\n"
     "    della riga 1\n"
     "x5: variabile di eccedenza (surplus) della riga 2\n"
     "x6: colonna vuota, di nessuna riga (x6 resta a 0)\n"},
    // Wyndor glass (Hillier-Lieberman) typed as a minimisation: tests/analysis/derivations.
    {"passi_wyndor_min", "optimal", "-36",
     after_optimum("Soluzione: x1 = 2, x2 = 6\nValore ottimo: z = -36\n",
                   "Base ottima: x3, x2, x1\nProblema duale:\nmax 4y1 + 12y2 + 18y3\n"
                   "y1 + 3y3 <= -3\n2y2 + 2y3 <= -5\ny1 <= 0, y2 <= 0, y3 <= 0\n"
                   "Prezzi ombra: y1 = 0, y2 = -3/2, y3 = -1\n"
                   "Nel tableau finale (riga obiettivo): y1 = colonna x3, y2 = colonna x4,\n"
                   "    y3 = colonna x5\n"
                   "Verifica duale: y ammissibile e b*y = c*x = -36\n"
                   "Costi ridotti: x1 = 0, x2 = 0\n" +
                       slackness("b1 - a1*x = 2, b2 - a2*x = 0, b3 - a3*x = 0"),
                   "Intervalli dei costi (la base resta ottima):\n    c1 = -3 in [-15/2, 0]\n"
                   "    c2 = -5 in (-inf, -2]\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 4 in [2, +inf)\n    b2 = 12 in [6, 18]\n    b3 = 18 in [12, 24]\n"),
     nullptr},
    // x1 + x2 = 4, x1 + 3x2 >= 5, x1 <= 3: x = (3, 1), the surplus x3 = 1 basic; y = (3, 0, -1).
    {"passi_equal_greater", "optimal", "9",
     after_optimum("Soluzione: x1 = 3, x2 = 1\nValore ottimo: z = 9\n",
                   "Base ottima: x3, x2, x1\nProblema duale:\nmax 4y1 + 5y2 + 3y3\n"
                   "y1 + y2 + y3 <= 2\ny1 + 3y2 <= 3\ny1 libera, y2 >= 0, y3 <= 0\n"
                   "Prezzi ombra: y1 = 3, y2 = 0, y3 = -1\n"
                   "Nel tableau finale (riga obiettivo): y1 = c_B B^-1 (vincolo =),\n"
                   "    y2 = -(colonna x3), y3 = colonna x4\n"
                   "Verifica duale: y ammissibile e b*y = c*x = 9\n"
                   "Costi ridotti: x1 = 0, x2 = 0\n" +
                       slackness("b1 - a1*x = 0, b2 - a2*x = -1, b3 - a3*x = 0"),
                   "Intervalli dei costi (la base resta ottima):\n    c1 = 2 in (-inf, 3]\n"
                   "    c2 = 3 in [2, +inf)\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 4 in [11/3, +inf)\n    b2 = 5 in (-inf, 6]\n    b3 = 3 in [0, 7/2]\n"),
     nullptr},
    // Three rows tight at (1, 1): x5 basic at 0, and b1, b2 may only fall.
    {"passi_degenerate", "optimal", "-2",
     after_optimum("Soluzione: x1 = 1, x2 = 1\nValore ottimo: z = -2\n",
                   "Base ottima: x1, x2, x5\nProblema duale:\nmax y1 + y2 + 2y3\n"
                   "y1 + y3 <= -1\ny2 + y3 <= -1\ny1 <= 0, y2 <= 0, y3 <= 0\n"
                   "Prezzi ombra: y1 = -1, y2 = -1, y3 = 0\n"
                   "Nel tableau finale (riga obiettivo): y1 = colonna x3, y2 = colonna x4,\n"
                   "    y3 = colonna x5\n"
                   "Verifica duale: y ammissibile e b*y = c*x = -2\n"
                   "Costi ridotti: x1 = 0, x2 = 0\n" +
                       slackness("b1 - a1*x = 0, b2 - a2*x = 0, b3 - a3*x = 0"),
                   std::string("Soluzione degenere: x5 (riga 3) e' in base con valore 0;\n") +
                       degenerate_note +
                       "Intervalli dei costi (la base resta ottima):\n"
                       "    c1 = -1 in (-inf, 0]\n    c2 = -1 in (-inf, 0]\n"
                       "Intervalli dei termini noti (la base resta ammissibile):\n"
                       "    b1 = 1 in [0, 1]\n    b2 = 1 in [0, 1]\n    b3 = 2 in [2, +inf)\n"),
     nullptr},
    // x4 (row 2's slack) has reduced cost 0 and ratio 3: one pivot reaches (0, 4), z = -4 too.
    {"passi_multiple", "optimal", "-4",
     after_optimum("Soluzione: x1 = 3, x2 = 1\nValore ottimo: z = -4\n",
                   "Base ottima: x2, x1\nProblema duale:\nmax 4y1 + 3y2\n"
                   "y1 + y2 <= -1\ny1 <= -1\ny1 <= 0, y2 <= 0\n"
                   "Prezzi ombra: y1 = -1, y2 = 0\n"
                   "Nel tableau finale (riga obiettivo): y1 = colonna x3, y2 = colonna x4\n"
                   "Verifica duale: y ammissibile e b*y = c*x = -4\n"
                   "Costi ridotti: x1 = 0, x2 = 0\n" +
                       slackness("b1 - a1*x = 0, b2 - a2*x = 0"),
                   "Ottimo non unico: x4 e' fuori base con costo ridotto 0 e rapporto minimo 3\n"
                   "    (riga 2): un pivot su x4 porta all'altro vertice ottimo x1 = 0, x2 = 4\n"
                   "Intervalli dei costi (la base resta ottima):\n    c1 = -1 in (-inf, -1]\n"
                   "    c2 = -1 in [-1, 0]\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 4 in [3, +inf)\n    b2 = 3 in [0, 4]\n"),
     nullptr},
    // 17 variables, 17 rows: phase 1 ends feasible (w = 0), then pricing out row 0 against that
    // basis makes column 41 exactly -12654621816878138779/408383914227805552 in lowest terms
    // (the independent replay of the random-problem check, in Python integers): a numerator
    // past 2^63, so no 64-bit store can hold it.
    {"overflow_64bit", "overflow", nullptr, "", nullptr},
    // The optimum -28396419056/269324621 at x = (2213348048, 2119071656)/269324621, where both
    // rows are tight, needs more than 32 bits; in lowest terms every value of the two pivots to
    // it fits in 35. With 32-bit fields this problem ended in an overflow.
    {"past_32_bits", "optimal", "-28396419056/269324621", "", nullptr},
    // Hillier-Lieberman's radiation problem typed with decimals: min 0.4x1 + 0.5x2 with
    // 0.3x1 + 0.1x2 <= 2.7, 0.5x1 + 0.5x2 = 6, 0.6x1 + 0.4x2 >= 6. Of every basis of the standard
    // form the feasible ones give 21/4 at (15/2, 9/2) as the least value.
    // y from the basis x1, x4 (row 3's surplus), x2: y3 = 0, 3/10 y1 + 1/2 y2 = 2/5,
    // 1/10 y1 + 1/2 y2 = 1/2, so y1 = -1/2, y2 = 11/10; b*y = -27/20 + 66/10 = 21/4.
    {"passi_radiation", "optimal", "21/4",
     after_optimum("Soluzione: x1 = 15/2, x2 = 9/2\nValore ottimo: z = 21/4\n",
                   "Base ottima: x1, x4, x2\nProblema duale:\nmax 27/10 y1 + 6y2 + 6y3\n"
                   "3/10 y1 + 1/2 y2 + 3/5 y3 <= 2/5\n1/10 y1 + 1/2 y2 + 2/5 y3 <= 1/2\n"
                   "y1 <= 0, y2 libera, y3 >= 0\n"
                   "Prezzi ombra: y1 = -1/2, y2 = 11/10, y3 = 0\n"
                   "Nel tableau finale (riga obiettivo): y1 = colonna x3, y2 = c_B B^-1 "
                   "(vincolo =),\n"
                   "    y3 = -(colonna x4)\n"
                   "Verifica duale: y ammissibile e b*y = c*x = 21/4\n"
                   "Costi ridotti: x1 = 0, x2 = 0\n" +
                       slackness("b1 - a1*x = 0, b2 - a2*x = 0, b3 - a3*x = -3/10"),
                   "Intervalli dei costi (la base resta ottima):\n    c1 = 2/5 in (-inf, 1/2]\n"
                   "    c2 = 1/2 in [2/5, +inf)\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 27/10 in [12/5, 18/5]\n    b2 = 6 in [11/2, 27/2]\n"
                   "    b3 = 6 in (-inf, 63/10]\n"),
     "Min z -> -2/5x1-1/2x2=0\nMatrice dei vincoli\n+3/10x1+1/10x2<27/10\n+1/2x1+1/2x2=6\n"
     "+3/5x1+2/5x2>6\n"},
    // The Wyndor glass problem, --max: max 3x1 + 5x2 with x1 <= 4, 2x2 <= 12, 3x1 + 2x2 <= 18.
    // The best vertex is (2, 6) with 36; the tableaux minimise -z, so their last value is -36.
    // The figures of max z: y = (0, 3/2, 1), every reduced cost <= 0, c1 in [0, 15/2],
    // c2 in [2, +inf); the right-hand-side ranges are those of the minimisation.
    {"passi_wyndor_max", "optimal", "-36",
     after_maximum("Soluzione: x1 = 2, x2 = 6\nValore ottimo: max z = 36\n",
                   "Base ottima: x3, x2, x1\nProblema duale:\nmin 4y1 + 12y2 + 18y3\n"
                   "y1 + 3y3 >= 3\n2y2 + 2y3 >= 5\ny1 >= 0, y2 >= 0, y3 >= 0\n"
                   "Prezzi ombra: y1 = 0, y2 = 3/2, y3 = 1\n"
                   "Nel tableau finale (riga obiettivo): y1 = -(colonna x3), y2 = -(colonna x4),\n"
                   "    y3 = -(colonna x5)\n"
                   "Verifica duale: y ammissibile e b*y = c*x = 36\n"
                   "Costi ridotti: x1 = 0, x2 = 0\n" +
                       slackness("b1 - a1*x = 2, b2 - a2*x = 0, b3 - a3*x = 0"),
                   "Intervalli dei costi (la base resta ottima):\n    c1 = 3 in [0, 15/2]\n"
                   "    c2 = 5 in [2, +inf)\n"
                   "Intervalli dei termini noti (la base resta ammissibile):\n"
                   "    b1 = 4 in [2, +inf)\n    b2 = 12 in [6, 18]\n    b3 = 18 in [12, 24]\n"),
     "Max z -> -3x1-5x2=0\n"},
    // --max: max x1 + 2x2 with -x1 + x2 <= 2, x1 - x2 <= 1. Along (1, 1) both rows keep their
    // value and z grows by 3. x2 enters first (2 > 1) and leaves the vertex (0, 2), z = 4: the
    // tableau of -z shows -4, and the column of x1 is -1, 0 there.
    {"max_unbounded", "unbounded", "-4", "", "Max z -> -x1-2x2=0\n"},
    // Exercise runs: the answers typed are in the .in file; the tally counts them by hand. The
    // worked example answered with the rule's six choices.
    {"esercizio_regola", "optimal", "5/2",
     "Soluzione: x1 = 3/2, x2 = 1/2\nValore ottimo: z = 5/2\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"
     "Esercizio: 6 scelte giuste al primo tentativo su 6, 0 aiuti\n",
     nullptr},
    // x2 enters first against the rule, x4 leaves: w = 0 at once; in phase 2 x1 enters and x3
    // leaves (ratio 3/2 against 2). Of the six questions only phase 2's first is right at once.
    {"esercizio_errori", "optimal", "5/2",
     "Soluzione: x1 = 3/2, x2 = 1/2\nValore ottimo: z = 5/2\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"
     "Esercizio: 1 scelte giuste al primo tentativo su 6, 0 aiuti\n",
     "Risposta errata: x2 (riga 1) ha rapporto 2, maggiore del minimo 3/2 (riga 2)\n"},
    // "?" everywhere follows the rule: six pivots, two questions each, and the last "ottimo".
    {"esercizio_aiuto", "optimal", "-5/4",
     "Soluzione: x1 = 1, x2 = 0, x3 = 1, x4 = 0\nValore ottimo: z = -5/4\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"
     "Esercizio: 0 scelte giuste al primo tentativo su 13, 13 aiuti\n",
     "Aiuto: esce x7 (riga 3), che ha il rapporto minimo 2/5\n"},
    // x2 enters first (ratio 2 in row 2), then x1 (ratio 12/5 in row 3): the same vertex.
    {"esercizio_altra_scelta", "optimal", "-48/5",
     "Soluzione: x1 = 12/5, x2 = 6/5\nValore ottimo: z = -48/5\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"
     "Esercizio: 5 scelte giuste al primo tentativo su 5, 0 aiuti\n",
     "Scelta valida; la regola del coefficiente piu' grande avrebbe fatto entrare x1\n"},
    // Three answers typed, then the input ends: the program answers the other three.
    {"esercizio_fine_input", "optimal", "5/2",
     "Soluzione: x1 = 3/2, x2 = 1/2\nValore ottimo: z = 5/2\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"
     "Esercizio: 3 scelte giuste al primo tentativo su 6, 3 aiuti\n",
     "? (input finito: risponde il programma)\n"},
    {"esercizio_illimitato", "unbounded", "-1",
     "La colonna x2 non ha elementi positivi: se x2 entra, z decresce senza limite\n"
     "Esercizio: 2 scelte giuste al primo tentativo su 4, 0 aiuti\n",
     nullptr},
    // Beale's six pivots by the largest coefficient bring the first basis back; "?" then takes
    // the lowest-index rule to the optimum in six more pivots.
    {"esercizio_ciclo", "optimal", "-5/4",
     "Soluzione: x1 = 1, x2 = 0, x3 = 1, x4 = 0\nValore ottimo: z = -5/4\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"
     "Esercizio: 12 scelte giuste al primo tentativo su 25, 13 aiuti\n",
     "Attenzione: base gia' vista da quando l'obiettivo vale 0:"},
    // x2 enters against the rule, x3 leaves: w = 1 with no positive entry left.
    {"esercizio_inammissibile", "infeasible", "1",
     "Minimo della prima fase: w = 1 > 0, nessun punto soddisfa tutti i vincoli\n"
     "Esercizio: 3 scelte giuste al primo tentativo su 3, 0 aiuti\n",
     nullptr},
};

// The runs whose input ends before the final pause, which then takes the end of input.
bool input_ends_early(const std::string &name) {
    return name == "unbounded" || name == "esercizio_fine_input";
}

// The line the screen ends with, before the final prompt; a misspelt verdict matches nothing.
std::string verdict_text(const std::string &verdict) {
    if (verdict == "optimal")
        return "\nSoluzione Ottima!\n";
    if (verdict == "infeasible")
        return "\nProblema inammissibile!\n";
    if (verdict == "unbounded")
        return "\nProblema illimitato!\n";
    if (verdict == "overflow")
        return "\nerror: overflow aritmetico!\n";
    return "(no verdict " + verdict + ")";
}

// The grid print_tableau shows: objective cells, then rows "label cell...".
std::string grid(const std::string &objective, const std::vector<std::string> &rows) {
    std::istringstream cells(objective);
    std::vector<std::string> values{std::istream_iterator<std::string>(cells), {}};
    std::string header = "\t", separator = "\t";
    for (size_t j = 1; j <= values.size(); ++j) {
        header += j < values.size() ? "x" + std::to_string(j) + "\t" : "RHS\n";
        separator += "--------";
    }
    separator += "\n";
    auto tabbed = [](std::string line) {
        for (char &c : line)
            c = c == ' ' ? '\t' : c;
        return line + "\t";
    };
    std::string text = "\n\n" + header + separator + tabbed("\t" + objective) + "\n" + separator;
    for (const std::string &row : rows)
        text += tabbed(row) + "\n\n";
    return text + separator + "\n";
}

} // namespace

TEST(GoldenAnswers, VerdictAndObjectiveValueMatchTheHandSolution) {
    for (const golden_answer &a : answers) {
        SCOPED_TRACE(a.name);
        run_mode mode = golden_mode(a.name);
        bool exercise = std::string(a.name).starts_with("esercizio_");
        EXPECT_EQ(mode.exercise, exercise);
        EXPECT_EQ(mode.teaching, exercise || std::string(a.name).starts_with("passi_"));
        program_run run = run_with_keys(typed_keys(a.name), mode);
        std::string ending =
            verdict_text(a.verdict) + a.explained + "Premetere INVIO per terminare... ";
        EXPECT_EQ(tail(run.screen, ending.size()), ending);
        if (a.value != nullptr) {
            EXPECT_EQ(last_objective_value(run.screen, mode.teaching), a.value);
        }
        if (a.shown != nullptr) {
            EXPECT_NE(run.screen.find(a.shown), std::string::npos) << a.shown;
        }
        EXPECT_EQ(run.status, input_ends_early(a.name) ? 0 : -1);
    }
}

// Every golden case has its answer in the table above.
TEST(GoldenAnswers, EveryCaseHasAnAnswer) {
    for (const auto &entry :
         std::filesystem::directory_iterator(std::string(SIMPLESSO_TEST_DIR) + "/golden")) {
        if (entry.path().extension() != ".in")
            continue;
        std::string name = entry.path().stem().string();
        EXPECT_TRUE(std::any_of(std::begin(answers), std::end(answers),
                                [&](const golden_answer &a) { return a.name == name; }))
            << name;
    }
}

TEST(GoldenAnswers, WorkedExampleShowsEveryTableauOfTheHandComputation) {
    const std::string pause = "\nPremetere INVIO per continuare... " + std::string(11, '\n');
    const std::vector<std::string> start = {"x4 1 1 0 1 2", "x3 1 -1 1 0 1"};
    const std::vector<std::string> end = {"x2 0 1 -1/2 1/2 1/2", "x1 1 0 1/2 1/2 3/2"};
    std::string expected =
        "Funzione Obiettivo\nMin z -> -x1-2x2=0\nMatrice dei vincoli\n+x1+x2=2\n+x1-x2<1\n\n\n" +
        grid("0 0 0 -1 0", start) + pause + "\nPrima Fase - Tableau iniziale\n" +
        grid("1 1 0 0 2", start) + pause + "Prima Fase - Tableau finale\n" +
        grid("0 0 0 -1 0", end) + pause + "\nSeconda Fase - Tableau iniziale\n" +
        grid("0 0 -1/2 3/2 5/2", end) + pause + "Seconda Fase - Tableau finale\n" +
        grid("0 0 -1/2 5/2", {"x2 0 1 -1/2 1/2", "x1 1 0 1/2 3/2"}) +
        "\nSoluzione Ottima!\nPremetere INVIO per terminare... ";
    std::string screen = run_with_keys(typed_keys("worked")).screen;
    EXPECT_EQ(tail(screen, expected.size()), expected);
}
