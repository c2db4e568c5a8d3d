// Teaching mode: the check of a solution against the problem as typed, and the added screens of
// whole runs, with every number worked out by hand.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "console/analysis_screens.h"
#include "console/teaching.h"
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
    print_verification(s->typed, x, z, out);
    return out.str();
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

// The worked example in teaching mode: both pivots of phase 1 named with their ratio tests, the
// iteration between them, the phase-2 tableau without the artificial column, the solution.
TEST(Teaching, WorkedExampleShowsEveryChoice) {
    program_run run = run_with_keys(worked + std::string(9, '\n'), true);
    const std::string screen = run.screen;
    const char *in_order[] = {
        "\tx1\tx2\tx3\tx4\tRHS\n",
        "Prima Fase - Tableau iniziale\n",
        "Entra x1, esce x3 (riga 2), elemento pivot 1\n"
        "Test del rapporto minimo sulla colonna x1:\n"
        "\triga 1 (x4): 2 : 1 = 2\n"
        "\triga 2 (x3): 1 : 1 = 1\t<- minimo\n",
        "\nPrima Fase - Iterazione 1\n",
        "x1\t1\t-1\t1\t0\t1\t\n",
        "Entra x2, esce x4 (riga 1), elemento pivot 2\n"
        "Test del rapporto minimo sulla colonna x2:\n"
        "\triga 1 (x4): 1 : 2 = 1/2\t<- minimo\n",
        "Prima Fase - Tableau finale\n",
        "Seconda Fase - Tableau iniziale\n",
        "\nSeconda Fase - Senza variabili artificiali\n\n\n\tx1\tx2\tx3\tRHS\n",
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
        "\nProblema illimitato!\nLa colonna x1 non ha elementi positivi: facendo entrare x1, z "
        "cresce senza limite\nDirezione illimitata: d1 = 1, d2 = 1\n"
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
