// The whole program, in-process and as the built binary reading a real pipe: the banner, the
// pauses, the order of the first screens and the exit status chosen by the last key.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

// The built program with `keys` piped into its standard input.
program_run run_binary(const std::string &keys) {
    static int serial = 0;
    std::filesystem::path base =
        std::filesystem::temp_directory_path() /
        ("simplesso_program_test_" + std::to_string(getpid()) + "_" + std::to_string(serial++));
    std::string in = base.string() + ".keys", out = base.string() + ".screen";
    std::ofstream(in, std::ios::binary) << keys;
    std::string command = "cat '" + in + "' | '" SIMPLESSO_BINARY "' > '" + out + "'";
    int raw = std::system(command.c_str());
    std::ostringstream screen;
    screen << std::ifstream(out, std::ios::binary).rdbuf();
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    return {screen.str(), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1000};
}

struct runner {
    const char *name;
    program_run (*run)(const std::string &);
    int enter_status; // Enter at the final pause: -1 returned in-process, 255 seen by the shell
};
const runner runners[] = {{"in-process", run_with_keys, -1}, {"binary", run_binary, 255}};

// Minimise x1 + 2x2 subject to x1 + x2 = 2 and x1 - x2 < 1, typed after the start pause.
const std::string problem = "\n1 2\n1 1 = 2\n1 -1 < 1\nq\n";
const std::string continue_prompt = "\nPremetere INVIO per continuare... " + std::string(11, '\n');
const std::string final_prompt = "Premetere INVIO per terminare... ";

std::string box(int before, const std::string &text, int after) {
    return "\t*" + std::string(before, ' ') + text + std::string(after, ' ') + "*";
}

} // namespace

TEST(ProgramRun, BannerAndStartPause) {
    const std::string border = "\t" + std::string(64, '*') + "\n", empty = box(62, "", 0);
    const std::string fixed[11] = {empty,
                                   box(14, "Elaborato di Ricerca Operativa I", 16),
                                   empty,
                                   box(15, "Calcolo del Simplesso Primale", 18),
                                   box(20, "Metodo del Due Fasi", 23),
                                   empty,
                                   "",
                                   "",
                                   empty,
                                   box(29, "pivotra0.2.exe (molto beta)  :)", 2),
                                   empty};
    for (const runner &r : runners) {
        std::string screen = r.run(problem + "\n\n\n\n\n").screen;
        ASSERT_TRUE(screen.starts_with("\n\n\n" + border)) << r.name;
        size_t at = 3 + border.size();
        std::string credits[2];
        for (int k = 0; k < 11; ++k) {
            size_t end = screen.find('\n', at);
            std::string line = screen.substr(at, end - at);
            at = end + 1;
            EXPECT_EQ(line.size(), 65u) << r.name << " box line " << k << ": " << line;
            EXPECT_TRUE(line.starts_with("\t*") && line.ends_with("*")) << line;
            if (fixed[k].empty())
                credits[k - 6] = line.substr(2, 62);
            else
                EXPECT_EQ(line, fixed[k]) << r.name << " box line " << k;
        }
        for (const std::string &credit : credits)
            EXPECT_NE(credit.find_first_not_of(' '), std::string::npos) << "credit line is blank";
        EXPECT_NE(credits[0], credits[1]);
        const std::string after_box =
            border + "\n\n\n\n\n" + "\nPremetere INVIO per iniziare... " + std::string(33, '\n') +
            "Immettere coefficenti costo separati da SPAZIO in ordine di variabile crescente, e "
            "premere INVIO. Per fare partire il calcolo premere q... (";
        EXPECT_EQ(screen.substr(at, after_box.size()), after_box) << r.name;
        size_t line_end = screen.find('\n', at + after_box.size());
        const std::string joke_end = ")\n\ncosti funzione obiettivo -> ";
        EXPECT_EQ(screen.substr(line_end - 1, joke_end.size()), joke_end) << r.name;
    }
}

TEST(ProgramRun, PausesAndExitStatus) {
    // One key for each of the four continue pauses, then the final key (or the end of input).
    const struct {
        std::string keys;
        bool enter;
        std::string shown;
    } cases[] = {
        {problem + "\n\n\n\n\n", true, "Min z -> -x1-2x2=0\n"},
        {problem + "\n\n\n\nx\n", false, ""},
        {problem + "\n\n\n\n", false, ""},
        {problem, false, ""},
        // The start pause takes the 2 alone; the cost line then reads " 3".
        {"2 3\n1 < 5\nq\n\n\n\n\n\n", true, "\nMin z -> -3x1=0\nMatrice dei vincoli\n+x1<5\n\n\n"},
    };
    for (const auto &[keys, enter, shown] : cases) {
        program_run in_process = run_with_keys(keys);
        for (const runner &r : runners) {
            program_run run = r.run(keys);
            EXPECT_EQ(run.status, enter ? r.enter_status : 0) << r.name << " keys: " << keys;
            EXPECT_TRUE(run.screen.ends_with("\nSoluzione Ottima!\n" + final_prompt)) << r.name;
            EXPECT_NE(run.screen.find(shown), std::string::npos) << r.name << " keys: " << keys;
            EXPECT_EQ(run.screen, in_process.screen) << r.name << " shows another screen";
        }
    }
}

TEST(ProgramRun, ScreensFollowInOrder) {
    std::string screen = run_with_keys(problem + "\n\n\n\n\n").screen;
    // Echo, un-priced phase-1 tableau and the first continue prompt come with no pause between.
    const std::string first_screens =
        "vincoli funzione 3 -> \nFunzione Obiettivo\nMin z -> -x1-2x2=0\nMatrice dei vincoli\n"
        "+x1+x2=2\n+x1-x2<1\n\n\n" +
        std::string("\n\n\tx1\tx2\tx3\tx4\tRHS\n") + separator_line(5) + "\t0\t0\t0\t-1\t0\t\n" +
        separator_line(5) + "x4\t1\t1\t0\t1\t2\t\n\nx3\t1\t-1\t1\t0\t1\t\n\n" + separator_line(5) +
        "\n" + continue_prompt + "\nPrima Fase - Tableau iniziale\n";
    size_t at = screen.find(first_screens);
    ASSERT_NE(at, std::string::npos) << screen;
    for (const char *heading :
         {"Prima Fase - Tableau finale\n", "\nSeconda Fase - Tableau iniziale\n",
          "Seconda Fase - Tableau finale\n"}) {
        size_t next = screen.find(continue_prompt + heading, at + 1);
        ASSERT_NE(next, std::string::npos) << "missing after a pause: " << heading;
        EXPECT_EQ(screen.find("\n\n\tx1", at + 1) < next, true) << "no tableau before " << heading;
        at = next;
    }
    EXPECT_EQ(screen.find(continue_prompt, at + 1), std::string::npos) << "a fifth continue pause";
    EXPECT_TRUE(screen.ends_with("\nSoluzione Ottima!\n" + final_prompt));
}
