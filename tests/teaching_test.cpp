// Teaching mode: the check of a solution against the problem as typed, and the added screens of
// whole runs, with every number worked out by hand.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "console/analysis_screens.h"
#include "console/teaching.h"
#include "console/teaching_problem.h"
#include "simplex/phases.h"
#include "standard_form/standard_form.h"
#include "test_support.h"

namespace {

// Minimise x1 + 2x2 with x1 + x2 = 2, x1 - x2 <= 1 (typed "<"): the optimum is (3/2, 1/2), 5/2.
const std::string worked = "\n1 2\n1 1 = 2\n1 -1 < 1\nq\n";

std::string verification(const std::string &keys, fraction x1, fraction x2, fraction z,
                         bool maximise = false) {
    auto s = read_typed(keys, nullptr, maximise);
    build_standard_form(*s);
    const fraction x[] = {{0, 1}, x1, x2};
    std::ostringstream out;
    print_verification(s->typed, x, z, 80, out);
    return out.str();
}

// The typed problem in standard form. Under --max (`maximise`) row 0 holds the costs as typed,
// the negated costs of -z, where the plain reader leaves them negated.
std::unique_ptr<tableau_store> standard_form_of(const std::string &keys, bool maximise) {
    auto s = read_typed(keys);
    s->maximise = maximise;
    for (int j = 1; maximise && j < s->n_cols; ++j)
        s->tableau[0][j] = frac_negate(s->tableau[0][j]);
    build_standard_form(*s);
    return s;
}

std::string written(const std::string &keys, int width, bool maximise = false) {
    auto s = standard_form_of(keys, maximise);
    std::ostringstream out;
    print_written_problem(s->typed, width, out);
    return out.str();
}

std::string legend(const std::string &keys, bool maximise = false) {
    auto s = standard_form_of(keys, maximise);
    std::ostringstream out;
    print_legend(*s, 80, out);
    return out.str();
}

const std::string reading = "Una riga obiettivo si legge z - c*x = 0: un valore positivo segna "
                            "una colonna\n    che fa scendere l'obiettivo\n";

size_t count(const std::string &text, const std::string &part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(Teaching, VerificationFindsTheFirstCheckThatFails) {
    struct verification_case {
        const char *name;
        fraction x1, x2, z;
        const char *expected;
    } cases[] = {
        {"the optimum",
         {3, 2},
         {1, 2},
         {5, 2},
         "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"},
        {"the optimum in other forms",
         {-6, -4},
         {11, 22},
         {10, 4},
         "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n"},
        {"a negative value", {3, 1}, {-1, 1}, {1, 1}, "Verifica fallita: x2 = -1 < 0\n"},
        {"a negative value with the sign below",
         {1, -2},
         {5, 2},
         {9, 2},
         "Verifica fallita: x1 = -1/2 < 0\n"},
        {"the equality misses",
         {1, 1},
         {1, 2},
         {2, 1},
         "Verifica fallita: vincolo 1 non soddisfatto (3/2 = 2)\n"},
        {"the inequality misses",
         {2, 1},
         {0, 1},
         {2, 1},
         "Verifica fallita: vincolo 2 non soddisfatto (2 <= 1)\n"},
        {"the objective value is not c*x",
         {3, 2},
         {1, 2},
         {3, 1},
         "Verifica fallita: c*x = 5/2, diverso da z = 3\n"},
    };
    for (const verification_case &c : cases)
        EXPECT_EQ(verification(worked, c.x1, c.x2, c.z), c.expected) << c.name;
    // ">" rows, typed zero denominators (read as 1) and a negative right-hand side as typed.
    EXPECT_EQ(verification("\n1 1\n1 2/0 > -3\n1 -1 > 1\nq\n", {1, 1}, {0, 1}, {1, 1}),
              "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n");
    EXPECT_EQ(verification("\n1 1\n1 2/0 > -3\n1 -1 > 1\nq\n", {1, 2}, {0, 1}, {1, 2}),
              "Verifica fallita: vincolo 2 non soddisfatto (1/2 >= 1)\n");
    // Under --max the row holds the costs as typed and the value checked is the maximum:
    // max 3x1 + 5x2 with x1 <= 4, 2x2 <= 12, 3x1 + 2x2 <= 18 is 36 at (2, 6).
    const std::string wyndor = "\n3 5\n1 0 <= 4\n0 2 <= 12\n3 2 <= 18\nq\n";
    EXPECT_EQ(verification(wyndor, {2, 1}, {6, 1}, {36, 1}, true),
              "Verifica: tutti i vincoli sono soddisfatti e c*x = max z\n");
    EXPECT_EQ(verification(wyndor, {2, 1}, {6, 1}, {-36, 1}, true),
              "Verifica fallita: c*x = 36, diverso da max z = -36\n");
    EXPECT_EQ(verification(wyndor, {4, 1}, {3, 1}, {27, 1}, true), // a vertex, not the best
              "Verifica: tutti i vincoli sono soddisfatti e c*x = max z\n");
    EXPECT_EQ(verification(wyndor, {4, 1}, {4, 1}, {32, 1}, true),
              "Verifica fallita: vincolo 3 non soddisfatto (20 <= 18)\n");
}

// The worked example in teaching mode: the problem as written, the standard form named column
// by column, both pivots of phase 1 named with their ratio tests and in brackets, the iteration
// between them, the phase-2 tableau without the artificial column, the solution.
TEST(Teaching, WorkedExampleShowsEveryChoice) {
    program_run run = run_with_keys(worked + std::string(9, '\n'), true);
    const std::string screen = run.screen;
    const char *in_order[] = {
        "+x1-x2<1\n\n\n"
        "Il problema da risolvere:\nmin z = x1 + 2x2\nx1 + x2 = 2\nx1 - x2 <= 1\nx1, x2 >= 0\n"
        "\nForma standard\n\n"
        "    x1  x2  x3  x4  RHS\n"
        "w    0   0   0  -1    0\n"
        "-----------------------\n"
        "x4   1   1   0   1    2\n"
        "x3   1  -1   1   0    1\n"
        "\n"
        "x3: variabile di scarto (slack) della riga 2\n"
        "x4: variabile artificiale della riga 1\n"
        "w = x4: somma delle variabili artificiali, minimizzata nella prima fase\n"
        "Una riga obiettivo si legge z - c*x = 0: un valore positivo segna una colonna\n"
        "    che fa scendere l'obiettivo\n"
        "\nPremetere INVIO per continuare... ",
        "Prima Fase - Tableau iniziale\n",
        "x3  [1]  -1   1   0    1\n"
        "\n"
        "Entra x1, esce x3 (riga 2), elemento pivot 1\n"
        "Test del rapporto minimo sulla colonna x1:\n"
        "  riga 1 (x4): 2 : 1 = 2\n"
        "  riga 2 (x3): 1 : 1 = 1 <- minimo\n",
        "\nPrima Fase - Iterazione 1\n",
        "x4   0  [2]  -1   1    1\n"
        "x1   1   -1   1   0    1\n"
        "\n"
        "Entra x2, esce x4 (riga 1), elemento pivot 2\n"
        "Test del rapporto minimo sulla colonna x2:\n"
        "  riga 1 (x4): 1 : 2 = 1/2 <- minimo\n",
        "Prima Fase - Tableau finale\n",
        "Seconda Fase - Tableau iniziale\n\n"
        "    x1  x2    x3   x4  RHS\n"
        "z    0   0  -1/2  3/2  5/2\n",
        "\nSeconda Fase - Senza variabili artificiali\n\n    x1  x2    x3  RHS\n",
        "Seconda Fase - Tableau finale\n",
        "\nSoluzione Ottima!\nSoluzione: x1 = 3/2, x2 = 1/2\nValore ottimo: z = 5/2\n"
        "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n\nPremetere INVIO per "
        "continuare... ",
        "\nAnalisi post-ottimale - dualita'\nBase ottima: x2, x1\n",
        "Prezzi ombra: y1 = 3/2, y2 = -1/2\n",
        "\nPremetere INVIO per continuare... ",
        "\nAnalisi post-ottimale - sensitivita'\n",
        "    b2 = 1 in [-2, 2]\nPremetere INVIO per terminare... ",
    };
    size_t at = 0;
    for (const char *text : in_order) {
        size_t found = screen.find(text, at);
        ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << text;
        at = found + 1;
    }
    EXPECT_EQ(screen.find("Iterazione 2"), std::string::npos);
    EXPECT_EQ(screen.find("Regola del minimo indice"), std::string::npos);
    // Up to the verdict: the ranges after it are written with brackets of their own.
    size_t phase1_end = screen.find("Prima Fase - Tableau finale");
    EXPECT_EQ(screen.substr(phase1_end, screen.find("Soluzione Ottima!") - phase1_end).find('['),
              std::string::npos)
        << "a bracket where no pivot follows";
    EXPECT_EQ(run.status, -1); // the ninth newline is the final key
}

namespace {

// Everything teaching mode prints after the verdict of `keys`, laid out within `width`.
std::string after_verdict(const std::string &keys, int width) {
    auto s = read_typed(keys);
    phase_end end = solve(*s);
    std::ostringstream out;
    if (end == phase_end::optimal) {
        print_duality_screen(*s, width, out);
        print_sensitivity_screen(*s, width, out);
    } else if (end == phase_end::infeasible) {
        print_farkas_certificate(*s, width, out);
    }
    return out.str();
}

std::string joined(std::string text) {
    for (size_t at = text.find("\n    "); at != std::string::npos; at = text.find("\n    ", at))
        text.replace(at, 5, " ");
    return text;
}

} // namespace

// A list after the verdict breaks only between its items, within the width, and its lines joined
// again give back the line a wide screen shows.
TEST(Teaching, ListsAfterTheVerdictBreakWithinTheWidth) {
    const char *problems[] = {
        "\n-3 -5\n1 0 < 4\n0 2 < 12\n3 2 < 18\nq\n",            // Wyndor glass
        "\n-1 -1\n1 0 < 1\n0 1 < 1\n1 1 < 2\nq\n",              // degenerate
        "\n-1 -1\n1 1 < 4\n1 0 < 3\nq\n",                       // a second optimum
        "\n-2 -1 -1\n1 1 1 < 6\n-1 -2 0 = 0\n-2 -4 0 = 0\nq\n", // a redundant row
        "\n1 1\n1 1 < 1\n1 1 > 2\nq\n",                         // infeasible
        "\n1 2 3 4 5 6 7 8 9\n1 1 1 1 1 1 1 1 1 > 1000000\n9 8 7 6 5 4 3 2 1 < 2000000\nq\n",
    };
    for (const char *keys : problems) {
        SCOPED_TRACE(keys);
        std::string narrow = after_verdict(keys, 40), wide = after_verdict(keys, 1000);
        std::istringstream lines(narrow);
        std::string line;
        while (std::getline(lines, line)) {
            bool fixed = line.find("(la base resta") != std::string::npos ||
                         line.starts_with("Verifica duale: y ammissibile"); // kept whole
            EXPECT_TRUE(fixed || line.size() <= 40u) << line;
        }
        EXPECT_NE(narrow, wide);
        EXPECT_EQ(joined(narrow), joined(wide));
    }
}

// Under --max the verdict lines speak of the maximum: max x1 + 2x2 with -x1 + x2 <= 2 and
// x1 - x2 <= 1 grows without bound along (1, 1), and the column of x1 has no positive entry
// once x2 has entered (z = 4 at (0, 2)).
TEST(Teaching, MaximisationVerdictLines) {
    program_run run =
        run_with_keys("\n1 2\n-1 1 <= 2\n1 -1 <= 1\nq\n" + std::string(20, '\n'), {true, true});
    // From (0, 2) along (1, 1) both rows keep their value and z grows by 3 per unit.
    EXPECT_TRUE(run.screen.ends_with(
        "\nProblema illimitato!\nLa colonna x1 non ha elementi positivi: se x1 entra, z cresce "
        "senza limite\nDirezione illimitata: d1 = 1, d2 = 1\n"
        "Punto di partenza x0: x1 = 0, x2 = 2\n"
        "Verifica: x0 soddisfa i vincoli, d >= 0 e non nullo,\n"
        "    ogni vincolo resta soddisfatto lungo d e c*d = 3 > 0: z = c*x0 + t*(c*d)\n"
        "    cresce senza limite\nPremetere INVIO per terminare... "))
        << tail(run.screen, 300);
    // Minimising the same costs ends at (0, 0) with z = 0, the other way round; both slacks are
    // basic, so every price is 0.
    run = run_with_keys("\n1 2\n-1 1 <= 2\n1 -1 <= 1\nq\n" + std::string(20, '\n'), {true, false});
    EXPECT_NE(run.screen.find("Valore ottimo: z = 0\nVerifica: tutti i vincoli sono "
                              "soddisfatti e c*x = z\n\nPremetere INVIO per continuare... "),
              std::string::npos)
        << tail(run.screen, 300);
    EXPECT_NE(run.screen.find("Prezzi ombra: y1 = 0, y2 = 0\n"), std::string::npos);
}

TEST(Teaching, ProblemAsWritten) {
    const std::string twelve = "\n1 2 3 4 5 6 7 8 9 10 11 12\n1 1 1 1 1 1 1 1 1 1 1 1 < 100\nq\n";
    struct written_case {
        std::string keys;
        int width;
        bool maximise;
        const char *want;
    } cases[] = {
        {worked, 80, false,
         "Il problema da risolvere:\nmin z = x1 + 2x2\nx1 + x2 = 2\nx1 - x2 <= 1\nx1, x2 >= 0\n"},
        {worked, 80, true,
         "Il problema da risolvere:\nmax z = x1 + 2x2\nx1 + x2 = 2\nx1 - x2 <= 1\nx1, x2 >= 0\n"},
        // Fractions in lowest terms and in brackets, signs below the line, zeros left out, a row
        // of zeros, a short row, a negative right-hand side as typed.
        {"\n-3/4 20 0 -2/4\n1/4 -8 0 9 < 0\n0 0 0 0 < 1\n2/4 1/-2 > -14/6\nq\n", 80, false,
         "Il problema da risolvere:\nmin z = -(3/4)x1 + 20x2 - (1/2)x4\n"
         "(1/4)x1 - 8x2 + 9x4 <= 0\n0 <= 1\n(1/2)x1 - (1/2)x2 >= -7/3\nx1, x2, x3, x4 >= 0\n"},
        {"\n0 0\n-1 -1 = -2\nq\n", 80, false,
         "Il problema da risolvere:\nmin z = 0\n-x1 - x2 = -2\nx1, x2 >= 0\n"},
        // Broken between terms only, each continued four spaces in.
        {twelve, 40, false,
         "Il problema da risolvere:\n"
         "min z = x1 + 2x2 + 3x3 + 4x4 + 5x5 + 6x6\n    + 7x7 + 8x8 + 9x9 + 10x10 + 11x11\n"
         "    + 12x12\n"
         "x1 + x2 + x3 + x4 + x5 + x6 + x7 + x8\n    + x9 + x10 + x11 + x12 <= 100\n"
         "x1, x2, x3, x4, x5, x6, x7, x8, x9, x10,\n    x11, x12 >= 0\n"},
    };
    for (const written_case &c : cases)
        EXPECT_EQ(written(c.keys, c.width, c.maximise), c.want) << c.keys;
}

TEST(Teaching, LegendNamesEveryAddedColumn) {
    struct legend_case {
        const char *name;
        std::string keys;
        std::string want;
    } cases[] = {
        {"worked", worked,
         "x3: variabile di scarto (slack) della riga 2\n"
         "x4: variabile artificiale della riga 1\n"
         "w = x4: somma delle variabili artificiali, minimizzata nella prima fase\n" +
             reading},
        {"no artificial variable", "\n-3 -2\n1 1 < 4\n1 3 < 6\nq\n",
         "x3: variabile di scarto (slack) della riga 1\n"
         "x4: variabile di scarto (slack) della riga 2\n" +
             reading},
        {"rows turned round, a typed variable as surplus, a column of no row",
         "\n2 3 1 0\n1 1 1 > 4\n-1 2 < -2\n1 0 -1 = -1\nq\n",
         "Riga 2: termine noto negativo, moltiplicata per -1 (<= diventa >=)\n"
         "Riga 3: termine noto negativo, moltiplicata per -1\n"
         "x4: non compare in nessun vincolo, quindi fa da variabile di eccedenza (surplus)\n"
         "    della riga 1\n"
         "x5: variabile di eccedenza (surplus) della riga 2\n"
         "x6: colonna vuota, di nessuna riga (x6 resta a 0)\n"
         "x7: variabile artificiale della riga 1\n"
         "x8: variabile artificiale della riga 2\n"
         "x9: variabile artificiale della riga 3\n"
         "w = x7 + x8 + x9: somma delle variabili artificiali, minimizzata nella prima\n"
         "    fase\n" +
             reading},
        {"a typed variable as slack", "\n1 0\n1 < 4\nq\n",
         "x2: non compare in nessun vincolo, quindi fa da variabile di scarto (slack)\n"
         "    della riga 1\n"
         "x3: colonna vuota, di nessuna riga (x3 resta a 0)\n" +
             reading},
        // x1 and the ">" row's artificial x8 are both unit columns, more than the one row, so
        // the row receives a second artificial variable.
        {"two artificial variables in one row", "\n0 4 4 0 0 3\n-1 -5 -1/2 -2 1 5/4 < -7/2\nq\n",
         "Riga 1: termine noto negativo, moltiplicata per -1 (<= diventa >=)\n"
         "x7: variabile di eccedenza (surplus) della riga 1\n"
         "x8: variabile artificiale della riga 1\n"
         "x9: variabile artificiale della riga 1\n"
         "w = x8 + x9: somma delle variabili artificiali, minimizzata nella prima fase\n" +
             reading},
    };
    for (const legend_case &c : cases)
        EXPECT_EQ(legend(c.keys), c.want) << c.name;
    EXPECT_EQ(legend("\n-3 -2\n1 1 < 4\nq\n", true),
              "x3: variabile di scarto (slack) della riga 1\n"
              "Una riga obiettivo si legge z - c*x = 0, qui con -z al posto di z (massimizzare\n"
              "    z e' minimizzare -z): un valore positivo segna una colonna che fa scendere\n"
              "    -z, cioe' salire z\n");
}

// Without artificial variables phase 1 would end where it starts: one line stands for its two
// screens and their pauses, and phase 2 starts on the next screen.
TEST(Teaching, NoPhaseOneWithoutArtificialVariables) {
    const std::string keys = "\n-3 -2\n1 1 < 4\n1 3 < 6\n2 1 < 6\nq\n" + std::string(40, '\n');
    const std::string pause = "Premetere INVIO per continuare... ";
    std::string plain = run_with_keys(keys).screen, teaching = run_with_keys(keys, true).screen;
    EXPECT_EQ(teaching.find("Prima Fase"), std::string::npos);
    EXPECT_NE(teaching.find(pause + std::string(11, '\n') +
                            "Nessuna variabile artificiale: la base iniziale (x3, x4, x5) e' "
                            "gia'\n    ammissibile, la prima fase non serve: si passa alla "
                            "seconda.\n\nSeconda Fase - Tableau iniziale\n"),
              std::string::npos);
    size_t iterations = count(teaching, "Seconda Fase - Iterazione");
    EXPECT_EQ(iterations, 1U); // 3 pivots: (x1, row 3), (x2, row 2), then the optimum
    EXPECT_EQ(count(plain, pause), 4U);
    // Phase 1's two pauses go; one per iteration screen and the two before the screens after
    // the optimum come.
    EXPECT_EQ(count(teaching, pause), 4U - 2U + iterations + 2U);
    // With artificial variables phase 1 stays, its grids headed by w.
    EXPECT_NE(run_with_keys(worked + std::string(7, '\n'), true)
                  .screen.find("Prima Fase - Tableau iniziale\n\n     x1  x2  x3  x4  RHS\nw "),
              std::string::npos);
}
