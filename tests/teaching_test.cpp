// Teaching mode: the check of a solution against the problem as typed, and the added screens of
// whole runs, with every number worked out by hand.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "console/teaching.h"
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
    program_run run = run_with_keys(worked + std::string(7, '\n'), true);
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
        "Verifica: tutti i vincoli sono soddisfatti e c*x = z\nPremetere INVIO per terminare... ",
    };
    size_t at = 0;
    for (const char *text : in_order) {
        size_t found = screen.find(text, at);
        ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << text;
        at = found + 1;
    }
    EXPECT_EQ(screen.find("Iterazione 2"), std::string::npos);
    EXPECT_EQ(screen.find("Regola del minimo indice"), std::string::npos);
    EXPECT_EQ(run.status, -1); // the seventh newline is the final key
}

// Under --max the verdict lines speak of the maximum: max x1 + 2x2 with -x1 + x2 <= 2 and
// x1 - x2 <= 1 grows without bound along (1, 1), and the column of x1 has no positive entry
// once x2 has entered (z = 4 at (0, 2)).
TEST(Teaching, MaximisationVerdictLines) {
    program_run run =
        run_with_keys("\n1 2\n-1 1 <= 2\n1 -1 <= 1\nq\n" + std::string(20, '\n'), {true, true});
    EXPECT_TRUE(run.screen.ends_with(
        "\nProblema illimitato!\nLa colonna x1 non ha elementi positivi: facendo entrare x1, z "
        "cresce senza limite\nPremetere INVIO per terminare... "))
        << tail(run.screen, 300);
    // Minimising the same costs ends at (0, 0) with z = 0, the other way round.
    run = run_with_keys("\n1 2\n-1 1 <= 2\n1 -1 <= 1\nq\n" + std::string(20, '\n'), {true, false});
    EXPECT_TRUE(run.screen.ends_with("Valore ottimo: z = 0\nVerifica: tutti i vincoli sono "
                                     "soddisfatti e c*x = z\nPremetere INVIO per terminare... "))
        << tail(run.screen, 300);
}
