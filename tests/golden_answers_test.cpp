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
    const char *explained; // teaching and exercise mode (passi_*, esercizio_*): the lines between
                           // verdict and final pause, the exercise tally last
    const char *shown;     // a text the run must show on the way, or nullptr
};

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
    {"passi_worked", "optimal", "5/2",
     "Soluzione: x1 = 3/2, x2 = 1/2\nValore ottimo: z = 5/2\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n",
     nullptr},
    // Degenerate from the first pivot: the largest-coefficient rule alone would cycle.
    {"passi_beale", "optimal", "-5/4",
     "Soluzione: x1 = 1, x2 = 0, x3 = 1, x4 = 0\nValore ottimo: z = -5/4\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n",
     "Regola del minimo indice: dopo un pivot degenere entra la prima colonna\n"
     "    migliorante e, a pari rapporto, esce la variabile di indice minore\n"},
    // After x1 enters (x = (1, 0), z = -1) the column of x2 is -1, 0: the ray (1, 1) from there.
    {"passi_unbounded", "unbounded", "-1",
     "La colonna x2 non ha elementi positivi: se x2 entra, z decresce senza limite\n", nullptr},
    {"passi_infeasible", "infeasible", "1",
     "Minimo della prima fase: w = 1 > 0, nessun punto soddisfa tutti i vincoli\n", nullptr},
    // Phase 1 ends at once (w has no positive entry) with x5 and x6 basic at 0. Row 2's x5 leaves
    // for x1 on its -1; row 3 (twice row 2) is then 0 in every real column. x1 = x2 = 0, x3 = 6.
    {"passi_artificial_out", "optimal", "-6",
     "Soluzione: x1 = 0, x2 = 0, x3 = 6\nValore ottimo: z = -6\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n",
     "\nSeconda Fase - Senza variabili artificiali\n"
     "Esce x5 (artificiale), entra x1 (riga 2), elemento pivot -1\n"
     "Riga 3 eliminata: x6 artificiale resta in base, il vincolo e' ridondante\n"},
    // Transport from four sources (capacities 5/2, 4, 3, 2; x1..x4 to A, x5..x8 to B) to A and
    // B (at least 9/2 and 7/2, 8 in all): A takes s2's 4 at 2 and 1/2 from s1 at 3, B the rest
    // of s1 (2, at 1) and 3/2 from s3 at 2. The only optimal vertex of all the bases of its
    // standard form, tried one by one; 18 columns, so the grids split in two blocks.
    {"passi_wide", "optimal", "29/2",
     "Soluzione: x1 = 1/2, x2 = 4, x3 = 0, x4 = 0, x5 = 2, x6 = 0, x7 = 3/2, x8 = 0\n"
     "Valore ottimo: z = 29/2\nVerifica: tutti i vincoli sono soddisfatti e c*x = z\n",
     "x17: variabile artificiale della riga 7\n"},
    // Rows 2 and 3 have negative right-hand sides. x3 = x1 + 1 and x1 >= 2 + 2x2 make
    // z = 3x1 + 3x2 + 1 least at x1 = 2, x2 = 0. x4, typed with cost 0 and in no row, becomes
    // the surplus of row 1: 2 + 0 + 3 - 4 = 1.
    {"passi_legend", "optimal", "7",
     "Soluzione: x1 = 2, x2 = 0, x3 = 3, x4 = 1\nValore ottimo: z = 7\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n",
     "Riga 2: termine noto negativo, moltiplicata per -1 (<= diventa >=)\n"
     "Riga 3: termine noto negativo, moltiplicata per -1\n"
     "x4: non compare in nessun vincolo, quindi fa da variabile di eccedenza (surplus)\n"
     "    della riga 1\n"
     "x5: variabile di eccedenza (surplus) della riga 2\n"
     "x6: colonna vuota, di nessuna riga (x6 resta a 0)\n"},
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
    {"passi_radiation", "optimal", "21/4",
     "Soluzione: x1 = 15/2, x2 = 9/2\nValore ottimo: z = 21/4\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n",
     "Min z -> -2/5x1-1/2x2=0\nMatrice dei vincoli\n+3/10x1+1/10x2<27/10\n+1/2x1+1/2x2=6\n"
     "+3/5x1+2/5x2>6\n"},
    // The Wyndor glass problem, --max: max 3x1 + 5x2 with x1 <= 4, 2x2 <= 12, 3x1 + 2x2 <= 18.
    // The best vertex is (2, 6) with 36; the tableaux minimise -z, so their last value is -36.
    {"passi_wyndor_max", "optimal", "-36",
     "Soluzione: x1 = 2, x2 = 6\nValore ottimo: max z = 36\n"
     "Verifica: tutti i vincoli sono soddisfatti e c*x = max z\n",
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
