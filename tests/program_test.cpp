// The whole program, in-process and as the built binary reading a real pipe: the banner, the
// pauses, the order of the first screens, the exit status chosen by the last key, and the
// command line.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/options.h"
#include "test_support.h"

extern char **environ;

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

std::string file_text(const std::string &path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

struct command_run {
    std::string out, err;
    int status;
    off_t keys_read; // how far the program moved its standard input
};

// The built program started with `args`, its standard input an open file holding `keys`. The
// program shares that file's offset, so the offset afterwards shows any read at all (the
// keyboard stream reads ahead by blocks).
command_run run_binary_with(const std::vector<std::string> &args, const std::string &keys) {
    static int serial = 0;
    std::string base =
        (std::filesystem::temp_directory_path() /
         ("simplesso_options_test_" + std::to_string(getpid()) + "_" + std::to_string(serial++)))
            .string();
    std::string in = base + ".keys", out = base + ".out", err = base + ".err";
    std::ofstream(in, std::ios::binary) << keys;
    int keys_fd = open(in.c_str(), O_RDONLY);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, keys_fd, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char *> argv{const_cast<char *>(SIMPLESSO_BINARY)};
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int raw = -1;
    if (posix_spawn(&pid, SIMPLESSO_BINARY, &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &raw, 0);
    posix_spawn_file_actions_destroy(&actions);
    command_run run{file_text(out), file_text(err), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1000,
                    lseek(keys_fd, 0, SEEK_CUR)};
    close(keys_fd);
    for (const std::string &path : {in, out, err})
        std::filesystem::remove(path);
    return run;
}

// parse_options in-process on `args`, its two streams captured.
struct parsed_run {
    program_options options;
    std::string out, err;
};
parsed_run parse_in_process(const std::vector<std::string> &args) {
    std::vector<const char *> argv{"simplesso"};
    for (const std::string &arg : args)
        argv.push_back(arg.c_str());
    std::ostringstream out, err;
    program_options options = parse_options(static_cast<int>(argv.size()), argv.data(), out, err);
    return {options, out.str(), err.str()};
}

struct runner {
    const char *name;
    program_run (*run)(const std::string &);
    int enter_status; // Enter at the final pause: -1 returned in-process, 255 seen by the shell
};
const runner runners[] = {
    {"in-process", [](const std::string &keys) { return run_with_keys(keys); }, -1},
    {"binary", run_binary, 255}};

// Minimise x1 + 2x2 subject to x1 + x2 = 2 and x1 - x2 < 1, typed after the start pause.
const std::string problem = "\n1 2\n1 1 = 2\n1 -1 < 1\nq\n";
const std::string continue_prompt = "\nPremetere INVIO per continuare... " + std::string(11, '\n');
const std::string final_prompt = "Premetere INVIO per terminare... ";

} // namespace

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

// Input that ends before a cost line is taken: one message right after the cost prompt, then
// the final pause, with no echo and no tableau.
TEST(ProgramRun, NoProblemGoesStraightToTheFinalPause) {
    const std::string cost_prompt = "costi funzione obiettivo -> ";
    const std::string ending = "error: nessun problema inserito!\n" + final_prompt;
    const struct {
        std::string keys, screen_end;
    } cases[] = {
        {"", cost_prompt + ending},
        {"\n", cost_prompt + ending},
        {"\n\n  \n", cost_prompt + cost_prompt + cost_prompt + ending},
        {"\nq\n1 x", cost_prompt + "error: numero non valido: q\n" + cost_prompt +
                         "error: numero non valido: x\n" + cost_prompt + ending},
    };
    for (const auto &[keys, screen_end] : cases)
        for (const runner &r : runners) {
            program_run run = r.run(keys);
            EXPECT_EQ(run.status, 0) << r.name << " keys: " << keys;
            EXPECT_TRUE(run.screen.ends_with(screen_end)) << r.name << " keys: " << keys;
            EXPECT_EQ(run.screen.find("Funzione Obiettivo"), std::string::npos) << keys;
            EXPECT_EQ(run.screen.find("RHS"), std::string::npos) << keys;
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

TEST(ProgramOptions, AnsweredWithoutReadingTheKeyboard) {
    const std::string help = parse_in_process({"--help"}).out;
    const std::string version = std::string("simplesso ") + SIMPLESSO_VERSION + "\n";
    auto refused = [](const std::string &arg) {
        return "simplesso: opzione sconosciuta: " + arg + "\nProvare 'simplesso --help'.\n";
    };
    // Whatever the order: an unknown argument refuses the line, then help, then version.
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } cases[] = {
        {{"--help"}, 0, help, ""},
        {{"-h"}, 0, help, ""},
        {{"-p", "--help"}, 0, help, ""},
        {{"--version", "-h", "--passi"}, 0, help, ""},
        {{"--version"}, 0, version, ""},
        {{"--passi", "--version", "-p"}, 0, version, ""},
        {{"--bogus"}, 2, "", refused("--bogus")},
        {{"--help", "-x", "-y"}, 2, "", refused("-x")},
        {{"-p", "problema.txt"}, 2, "", refused("problema.txt")},
        {{"-m", "-h", "-p"}, 0, help, ""},
        {{"--max", "--version"}, 0, version, ""},
        {{"-ph"}, 2, "", refused("-ph")},
        {{"-M"}, 2, "", refused("-M")},
        {{"--maximise"}, 2, "", refused("--maximise")},
        {{"--max", "-max"}, 2, "", refused("-max")},
        {{"-P"}, 2, "", refused("-P")},
        {{"--passi=1"}, 2, "", refused("--passi=1")},
        {{"-v"}, 2, "", refused("-v")},
        {{"-"}, 2, "", refused("-")},
        {{"--"}, 2, "", refused("--")},
        {{""}, 2, "", refused("")},
    };
    const std::string keys = problem + "\n\n\n\n\n"; // a whole run, which must stay unread
    for (const auto &[args, status, out, err] : cases) {
        std::string named = "args:";
        for (const std::string &arg : args)
            named += " '" + arg + "'";
        parsed_run parsed = parse_in_process(args);
        EXPECT_TRUE(parsed.options.answered) << named;
        EXPECT_EQ(parsed.options.status, status) << named;
        EXPECT_EQ(parsed.out, out) << named;
        EXPECT_EQ(parsed.err, err) << named;
        command_run run = run_binary_with(args, keys);
        EXPECT_EQ(run.status, status) << named;
        EXPECT_EQ(run.out, out) << named;
        EXPECT_EQ(run.err, err) << named;
        EXPECT_EQ(run.keys_read, 0) << named << ": the keyboard was read";
    }
    EXPECT_NE(help, "");
    // The project's version reached the code (it is empty when project() names none).
    int dots = 0;
    for (char c : std::string(SIMPLESSO_VERSION))
        dots += c == '.' ? 1 : (c >= '0' && c <= '9' ? 0 : 100);
    EXPECT_EQ(dots, 2) << "version '" << SIMPLESSO_VERSION << "'";
}

TEST(ProgramOptions, RunsInTheModeAsked) {
    const struct {
        std::vector<std::string> args;
        bool teaching, maximise, exercise;
    } cases[] = {{{}, false, false, false},
                 {{"-p"}, true, false, false},
                 {{"--passi"}, true, false, false},
                 {{"-p", "--passi", "-p"}, true, false, false},
                 {{"-m"}, false, true, false},
                 {{"--max"}, false, true, false},
                 {{"-p", "-m"}, true, true, false},
                 {{"--max", "--passi", "--max"}, true, true, false},
                 {{"-e"}, true, false, true},
                 {{"--esercizio", "-p"}, true, false, true},
                 {{"--passi", "--esercizio", "-e"}, true, false, true},
                 {{"-m", "-e"}, true, true, true}};
    const std::string keys = problem + "\n\n\n\n\n" + std::string(100, '\n');
    for (const auto &[args, teaching, maximise, exercise] : cases) {
        std::string named = "args:";
        for (const std::string &arg : args)
            named += " '" + arg + "'";
        parsed_run parsed = parse_in_process(args);
        EXPECT_FALSE(parsed.options.answered) << named;
        EXPECT_EQ(parsed.options.teaching, teaching) << named;
        EXPECT_EQ(parsed.options.maximise, maximise) << named;
        EXPECT_EQ(parsed.options.exercise, exercise) << named;
        EXPECT_EQ(parsed.out + parsed.err, "") << named;
        command_run run = run_binary_with(args, keys);
        // In exercise mode empty lines only ask again, so the keys run out before the final
        // pause: the program answers every question left, and the end of input is the last key.
        EXPECT_EQ(run.status, exercise ? 0 : 255) << named;
        EXPECT_EQ(run.err, "") << named;
        EXPECT_NE(run.out.find("\nSoluzione Ottima!\n"), std::string::npos) << named;
        EXPECT_TRUE(run.out.ends_with(final_prompt)) << named;
        EXPECT_GT(run.keys_read, 0) << named;
        EXPECT_EQ(run.out.find("(input finito: risponde il programma)") != std::string::npos,
                  exercise)
            << named;
        // The binary runs the mode the options name, exactly as it runs in-process (exercise
        // mode lays its lines out in the width of the binary's screen, so it is left out).
        if (!exercise) {
            EXPECT_EQ(run.out, run_with_keys(keys, run_mode{teaching, maximise}).screen) << named;
        }
        EXPECT_EQ(run.out.find(maximise ? "Min z -> " : "Max z -> "), std::string::npos) << named;
        EXPECT_EQ(run.out.find("Entra x") != std::string::npos, teaching) << named;
    }
}

TEST(ProgramOptions, HelpTellsHowToTypeAndFeedAProblem) {
    const std::string help = parse_in_process({"-h"}).out;
    for (const char *text :
         {"Uso: simplesso", "-p, --passi", "-e, --esercizio", "-m, --max", "-h, --help",
          "--version", "1 1 = 2", "1 -1 <= 1", "3/4", "0.4", "0,4", "3x1", "q",
          "simplesso < problema.txt", "6 in tutto", "yes ''", "secondo le iterazioni",
          "2 dopo l'ottimo", "il programma risponde da solo"})
        EXPECT_NE(help.find(text), std::string::npos) << "missing: " << text;
    size_t line_start = 0, lines = 0;
    for (size_t k = 0; k < help.size(); ++k) {
        unsigned char c = help[k];
        EXPECT_TRUE(c == '\n' || (c >= ' ' && c < 127)) << "not plain ASCII at " << k;
        if (c == '\n') {
            EXPECT_LE(k - line_start, 79u) << help.substr(line_start, k - line_start);
            line_start = k + 1;
            ++lines;
        }
    }
    EXPECT_TRUE(help.ends_with("\n"));
    // A terminal of 24 lines shows it whole with the shell's next prompt under it.
    EXPECT_LE(lines, 23u);
}

// The feeding the help suggests, (cat problema.txt; yes '') | simplesso, must end in every mode:
// every golden problem, cut after its q line, then endless Enter keys.
TEST(ProgramOptions, EndlessEnterKeysAfterTheProblemEndTheRun) {
    for (const auto &entry : std::filesystem::directory_iterator(SIMPLESSO_TEST_DIR "/golden")) {
        if (entry.path().extension() != ".in")
            continue;
        std::string keys = file_text(entry.path().string());
        size_t q = keys.find("\nq");
        ASSERT_NE(q, std::string::npos) << entry.path();
        std::string problem_only = std::filesystem::temp_directory_path() /
                                   ("simplesso_yes_" + std::to_string(getpid()) + ".in");
        std::ofstream(problem_only, std::ios::binary) << keys.substr(0, keys.find('\n', q + 1) + 1);
        std::string expected =
            file_text(std::filesystem::path(entry.path()).replace_extension(".out"));
        // The golden screen is the one of the mode its .args file names (none: plain); an
        // exercise run's screen depends on its answers, so it is compared with neither.
        std::filesystem::path args = std::filesystem::path(entry.path()).replace_extension(".args");
        std::string golden_mode;
        if (std::filesystem::exists(args)) {
            std::string words = file_text(args.string());
            golden_mode = " " + words.substr(0, words.find_last_not_of(" \n") + 1);
        }
        std::vector<std::string> modes = {"", " --passi", " --max", " --max --passi"};
        bool exercise = golden_mode.find("--esercizio") != std::string::npos;
        if (std::find(modes.begin(), modes.end(), golden_mode) == modes.end() && !exercise)
            modes.push_back(golden_mode);
        for (const std::string &mode : modes) {
            std::string screen = problem_only + ".screen";
            // Teaching mode lays its lines out in COLUMNS when no terminal answers: the golden
            // screens are 80 columns wide.
            std::string command = "(cat '" + problem_only + "'; yes '') | COLUMNS=80 '" +
                                  SIMPLESSO_BINARY "'" + mode + " > '" + screen + "'";
            int raw = std::system(command.c_str());
            EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1000, 255) << entry.path() << mode;
            std::string shown = file_text(screen);
            EXPECT_TRUE(shown.ends_with(final_prompt)) << entry.path() << mode;
            if (mode == golden_mode) {
                EXPECT_EQ(shown, expected) << entry.path() << mode;
            }
            std::filesystem::remove(screen);
        }
        std::filesystem::remove(problem_only);
    }
}
