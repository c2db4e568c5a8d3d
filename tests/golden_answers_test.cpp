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

std::string typed_keys(const std::string &name) {
    std::ifstream file(std::string(SIMPLESSO_TEST_DIR) + "/golden/" + name + ".in");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The right-hand side of the objective line of the last tableau on the screen.
std::string last_objective_value(const std::string &screen) {
    size_t header = screen.rfind("RHS\n");
    size_t separator_end = screen.find('\n', header + 4);
    size_t line_end = screen.find('\n', separator_end + 1);
    std::string line = screen.substr(separator_end + 1, line_end - separator_end - 1);
    line.pop_back(); // every cell ends with a tab
    return line.substr(line.rfind('\t') + 1);
}

struct golden_answer {
    const char *name;
    const char *verdict; // optimal, infeasible, unbounded or overflow
    const char *value;   // the last objective value, in lowest terms; none after an overflow
};

// Values: the optimum (phase 2), or the least sum of artificials (infeasible), or the vertex
// where the improving ray (1, 1) starts (unbounded).
const golden_answer answers[] = {
    {"worked", "optimal", "5/2"},            // x = (3/2, 1/2)
    {"only_less", "optimal", "-48/5"},       // x = (12/5, 6/5)
    {"greater_equal", "optimal", "19/2"},    // x = (5/2, 3/2)
    {"beale", "optimal", "-5/4"},            // x = (1, 0, 1, 0)
    {"infeasible", "infeasible", "1"},       // x1 + x2 falls 1 short of 2
    {"unbounded", "unbounded", "-1"},        // x = (1, 0) + t(1, 1)
    {"redundant_row", "optimal", "2"},       // row 2 = 2 * row 1; x = (2, 0)
    {"artificial_at_zero", "optimal", "-6"}, // x1 = x2 = 0 forced; -12 if dropped
    {"negative_rhs", "optimal", "7/2"},      // x = (3/2, 1/2)
    {"large_ratio", "optimal", "-321/2"},    // x = (301/2, 5), ratio 301/2 in row 2
    // The optimum -28396419056/269324621 at x = (2213348048, 2119071656)/269324621, where both
    // rows are tight, needs more than 32 bits; in lowest terms every value of the two pivots to
    // it fits in 35.
    {"overflow", "overflow", nullptr},
};

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
        program_run run = run_with_keys(typed_keys(a.name));
        std::string ending = verdict_text(a.verdict) + "Premetere INVIO per terminare... ";
        EXPECT_EQ(tail(run.screen, ending.size()), ending);
        if (a.value != nullptr) {
            EXPECT_EQ(last_objective_value(run.screen), a.value);
        }
        EXPECT_EQ(run.status, a.name == std::string("unbounded") ? 0 : -1);
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
