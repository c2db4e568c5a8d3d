// Exercise mode driven in-process by a simulated student who answers right, wrong, "?" or
// nothing at random, looking at the live store to know which is which. For every generated
// problem the run must end, refuse exactly the wrong answers with the fact that rules each out,
// keep an exact tally, and reach the verdict and the optimum of the teaching run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace {

const std::string entering_prompt = "Variabile entrante (xN, oppure ottimo)? ";
const std::string leaving_prompt = "Variabile uscente (xN, oppure illimitato)? ";
const std::string final_prompt = "Premetere INVIO per terminare... ";

// ---- Exact facts about the store, worked out here apart from the program's checks ----

bool positive(fraction f) {
    return f.num != 0 && (f.num > 0) == (f.den > 0);
}

// Small problems keep every field far below 2^31, so products of four fields fit in 128 bits;
// past that the student stops judging and only asks for help.
bool small(const tableau_store &s) {
    auto ok = [](fraction f) {
        return f.num > -(1 << 30) && f.num < (1 << 30) && f.den > -(1 << 30) && f.den < (1 << 30);
    };
    for (int i = 0; i <= s.n_rows; ++i)
        for (int j = 1; j <= s.n_cols; ++j)
            if (!ok(s.tableau[i][j]) || !ok(s.w_row[j]))
                return false;
    return true;
}

// a/b < c/d for rhs/entry ratios (rhs >= 0, entry > 0), by cross products.
__int128 ratio_side(fraction rhs, fraction entry, fraction other_rhs, fraction other_entry) {
    __int128 n = static_cast<__int128>(rhs.num) * entry.den; // ratio = n / d with
    __int128 d = static_cast<__int128>(rhs.den) * entry.num; // the sign of d fixed below
    __int128 on = static_cast<__int128>(other_rhs.num) * other_entry.den;
    __int128 od = static_cast<__int128>(other_rhs.den) * other_entry.num;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    if (od < 0) {
        on = -on;
        od = -od;
    }
    return n * od - on * d; // < 0, 0, > 0
}

std::string lowest_text(__int128 num, __int128 den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    long long n = static_cast<long long>(num), d = static_cast<long long>(den);
    long long g = std::gcd(n < 0 ? -n : n, d);
    n /= g;
    d /= g;
    return std::to_string(n) + (d == 1 ? "" : "/" + std::to_string(d));
}

std::string ratio_text(const tableau_store &s, int row, int col) {
    fraction rhs = s.tableau[row][s.n_cols], entry = s.tableau[row][col];
    return lowest_text(static_cast<__int128>(rhs.num) * entry.den,
                       static_cast<__int128>(rhs.den) * entry.num);
}

struct tableau_facts {
    std::vector<int> improving; // columns with a positive objective entry
    std::vector<int> basic;     // basic variables, by row
    std::vector<int> other;     // non-basic columns with an entry <= 0
    bool optimum;               // "ottimo" is right
};

tableau_facts facts_of(const tableau_store &s, int phase) {
    const fraction *objective = phase == 1 ? s.w_row : s.tableau[0];
    tableau_facts f{};
    for (int i = 1; i <= s.n_rows; ++i)
        f.basic.push_back(row_basic(s, i));
    for (int j = 1; j < s.n_cols; ++j) {
        bool is_basic = std::find(f.basic.begin(), f.basic.end(), j) != f.basic.end();
        if (positive(objective[j]))
            f.improving.push_back(j);
        else if (!is_basic)
            f.other.push_back(j);
    }
    f.optimum = f.improving.empty() || (phase == 1 && s.w_row[s.n_cols].num == 0);
    return f;
}

// Rows that may leave for column c, and those of them at the minimum ratio.
struct leaving_facts {
    std::vector<int> eligible, minimum, not_eligible;
};

leaving_facts leaving_of(const tableau_store &s, int c) {
    leaving_facts f{};
    for (int i = 1; i <= s.n_rows; ++i)
        (positive(s.tableau[i][c]) ? f.eligible : f.not_eligible).push_back(i);
    for (int i : f.eligible) {
        if (f.minimum.empty()) {
            f.minimum.push_back(i);
            continue;
        }
        int m = f.minimum[0];
        __int128 side = ratio_side(s.tableau[i][s.n_cols], s.tableau[i][c], s.tableau[m][s.n_cols],
                                   s.tableau[m][c]);
        if (side < 0)
            f.minimum = {i};
        else if (side == 0)
            f.minimum.push_back(i);
    }
    return f;
}

// ---- The student ----

enum class expect_kind { nothing, same_prompt, refusal, accepted };

struct student {
    std::mt19937 rng;
    const tableau_store *s;
    const std::ostringstream *screen;
    std::string problem; // the keys of the problem, typed before anything else
    int budget;          // answers left before the student stops typing (end of input)
    size_t seen;         // screen length at the last answer
    std::string failure;
    // What the last answer should bring.
    expect_kind expect;
    std::string expected_text; // a fact the refusal must name
    std::string last_prompt;
    int entering_col; // the accepted entering column, for the leaving question
    // The tally as the student counts it.
    bool missed;
    int questions, right_first, helps;
};

int pick(student &st, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(st.rng);
}

template <typename T> T pick_of(student &st, const std::vector<T> &v) {
    return v[static_cast<size_t>(pick(st, static_cast<int>(v.size())))];
}

// A variable as a student may type it.
std::string typed_var(student &st, int var) {
    const char *forms[] = {"x%d", "X%d", "%d", "  x%d  ", "x0%d"};
    char text[32];
    std::snprintf(text, sizeof text, forms[pick(st, 5)], var);
    return text;
}

void close_question(student &st, bool right, bool helped) {
    st.questions += 1;
    st.right_first += right && !st.missed ? 1 : 0;
    st.helps += helped ? 1 : 0;
    st.missed = false;
}

std::string entering_answer(student &st, int phase) {
    tableau_facts f = facts_of(*st.s, phase);
    int roll = pick(st, 20);
    if (roll < 7) { // right
        st.expect = expect_kind::accepted;
        if (f.optimum && (f.improving.empty() || pick(st, 2) == 0)) {
            st.entering_col = 0;
            return pick(st, 2) ? "ottimo" : " OTTIMO ";
        }
        st.entering_col = pick_of(st, f.improving);
        return typed_var(st, st.entering_col);
    }
    if (roll < 10) {
        st.expect = expect_kind::accepted;
        st.entering_col = -1; // the help names it
        return "?";
    }
    if (roll < 11) {
        st.expect = expect_kind::same_prompt;
        return pick(st, 2) ? "" : "   ";
    }
    st.expect = expect_kind::refusal;
    int kind = pick(st, 6);
    if (kind == 0 || (kind == 1 && f.basic.empty())) {
        st.expected_text = "non e' una colonna del tableau";
        return typed_var(st, pick(st, 2) ? 0 : st.s->n_cols + pick(st, 3));
    }
    if (kind == 1) {
        int row = pick(st, static_cast<int>(f.basic.size()));
        st.expected_text = "e' in base (riga " + std::to_string(row + 1) + ")";
        return typed_var(st, f.basic[static_cast<size_t>(row)]);
    }
    if (kind == 2 && !f.other.empty()) {
        int col = pick_of(st, f.other);
        const fraction *objective = phase == 1 ? st.s->w_row : st.s->tableau[0];
        st.expected_text = "ha coefficiente " + lowest_text(objective[col].num, objective[col].den);
        return typed_var(st, col);
    }
    if (kind == 3 && !f.optimum) {
        st.expected_text = "non e' ancora ottimo";
        return "ottimo";
    }
    if (kind == 4)
        return "illimitato";
    return pick(st, 2) ? "x" : "entra x1";
}

std::string leaving_answer(student &st) {
    const tableau_store &s = *st.s;
    int c = st.entering_col;
    leaving_facts f = leaving_of(s, c);
    int roll = pick(st, 20);
    if (roll < 7) {
        st.expect = expect_kind::accepted;
        if (f.eligible.empty())
            return "illimitato";
        return typed_var(st, row_basic(s, pick_of(st, f.minimum)));
    }
    if (roll < 10) {
        st.expect = expect_kind::accepted;
        return "?";
    }
    if (roll < 11) {
        st.expect = expect_kind::same_prompt;
        return "";
    }
    st.expect = expect_kind::refusal;
    int kind = pick(st, 6);
    if (kind == 0) {
        std::vector<int> non_basic;
        for (int j = 1; j <= s.n_cols + 2; ++j) {
            bool basic = false;
            for (int i = 1; i <= s.n_rows; ++i)
                basic = basic || row_basic(s, i) == j;
            if (!basic)
                non_basic.push_back(j);
        }
        st.expected_text = "non e' in base";
        return typed_var(st, pick_of(st, non_basic));
    }
    if (kind == 1 && !f.not_eligible.empty()) {
        int row = pick_of(st, f.not_eligible);
        fraction e = s.tableau[row][c];
        st.expected_text =
            "(riga " + std::to_string(row) + ") ha elemento " + lowest_text(e.num, e.den);
        return typed_var(st, row_basic(s, row));
    }
    if (kind == 2 && f.eligible.size() > f.minimum.size()) {
        for (int row : f.eligible)
            if (std::find(f.minimum.begin(), f.minimum.end(), row) == f.minimum.end()) {
                st.expected_text = "ha rapporto " + ratio_text(s, row, c) +
                                   ", maggiore del minimo " + ratio_text(s, f.minimum[0], c);
                return typed_var(st, row_basic(s, row));
            }
    }
    if (kind == 3 && !f.eligible.empty()) {
        st.expected_text = "non e' illimitato";
        return "illimitato";
    }
    if (kind == 4)
        return "ottimo";
    return "esce";
}

// What the screen shows after the last answer must be what the student expected of it.
void check_reply(student &st, const std::string &shown) {
    auto fail = [&](const std::string &what) {
        if (st.failure.empty())
            st.failure =
                what + " after prompt '" + st.last_prompt + "'; shown: " + shown.substr(0, 300);
    };
    bool refused =
        shown.starts_with("Risposta errata: ") || shown.starts_with("Risposta non valida: ");
    switch (st.expect) {
    case expect_kind::nothing:
        return;
    case expect_kind::same_prompt:
        if (shown != st.last_prompt)
            fail("an empty answer did not ask again");
        return;
    case expect_kind::refusal:
        if (!refused || !shown.ends_with(st.last_prompt))
            fail("a wrong answer was not refused and asked again");
        else if (shown.find(st.expected_text) == std::string::npos)
            fail("the refusal does not say '" + st.expected_text + "'");
        st.missed = true;
        return;
    case expect_kind::accepted:
        if (refused)
            fail("a right answer was refused");
        return;
    }
}

// The screen ends at a question or a pause: the next line to type.
std::string next_line(student &st) {
    if (!st.problem.empty())
        return std::exchange(st.problem, "");
    const std::string &screen = st.screen->str();
    std::string shown = screen.substr(st.seen);
    check_reply(st, shown);
    st.expect = expect_kind::nothing;
    st.expected_text.clear();
    st.seen = screen.size();
    bool entering = screen.ends_with(entering_prompt), leaving = screen.ends_with(leaving_prompt);
    if (!entering && !leaving) // a pause: Enter, sometimes after a word that must be dropped
        return pick(st, 4) == 0 ? "ottimo\n" : "\n";
    if (st.budget-- <= 0 || !small(*st.s))
        return "";
    int phase = screen.rfind("Seconda Fase") == std::string::npos ? 1 : 2;
    if (leaving && st.entering_col < 0) { // the help answered the entering question
        size_t at = screen.rfind("Aiuto: entra x");
        st.entering_col = std::stoi(screen.substr(at + 14));
    }
    st.last_prompt = entering ? entering_prompt : leaving_prompt;
    std::string answer = entering ? entering_answer(st, phase) : leaving_answer(st);
    if (st.expect == expect_kind::accepted)
        close_question(st, answer != "?", answer == "?");
    return answer + "\n";
}

// The keyboard the program reads: each time it runs dry, the student looks at the screen.
struct student_keyboard : std::streambuf {
    student *st;
    std::string line;
    bool ended = false;
    int_type underflow() override {
        if (ended)
            return traits_type::eof();
        line = next_line(*st);
        if (line.empty()) {
            ended = true;
            return traits_type::eof();
        }
        setg(line.data(), line.data(), line.data() + line.size());
        return traits_type::to_int_type(line[0]);
    }
};

// ---- Problems ----

std::string generated_problem(std::mt19937 &rng) {
    auto draw = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int n = draw(2, 4), m = draw(1, 4);
    std::vector<int> x0(static_cast<size_t>(n));
    for (int &v : x0)
        v = draw(0, 2);
    bool feasible = draw(0, 9) < 8;
    std::string keys = "\n";
    for (int j = 0; j < n; ++j)
        keys += std::to_string(draw(-5, 5)) + (j + 1 < n ? " " : "\n");
    for (int i = 0; i < m; ++i) {
        int lhs = 0;
        for (int j = 0; j < n; ++j) {
            int a = draw(-3, 3);
            lhs += a * x0[static_cast<size_t>(j)];
            keys += std::to_string(a) + " ";
        }
        const char *relations[] = {"<", "=", ">"};
        int r = draw(0, 2);
        int gap = r == 1 ? 0 : draw(0, 2);
        int rhs = feasible ? lhs + (r == 0 ? gap : -gap) : draw(-4, 6);
        keys += std::string(relations[r]) + " " + std::to_string(rhs) + "\n";
    }
    return keys + "q\n";
}

// The verdict and the optimum a screen ends with.
std::string outcome_of(const std::string &screen) {
    for (const char *verdict : {"Soluzione Ottima!", "Problema illimitato!",
                                "Problema inammissibile!", "overflow aritmetico"}) {
        if (screen.find(verdict) == std::string::npos)
            continue;
        size_t at = screen.find("Valore ottimo: ");
        return verdict + (at == std::string::npos
                              ? std::string()
                              : " " + screen.substr(at, screen.find('\n', at) - at));
    }
    return "no verdict";
}

std::string tally_line(int right_first, int questions, int helps) {
    return "Esercizio: " + std::to_string(right_first) + " scelte giuste al primo tentativo su " +
           std::to_string(questions) + ", " + std::to_string(helps) + " aiuti\n";
}

int count_of(const std::string &text, const std::string &part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

// Every fourth problem is a maximisation (--max).
TEST(ExerciseProperty, RandomAnswersReachTheTeachingRunsVerdict) {
    std::mt19937 rng(20261209);
    int endings = 0, refusals = 0, ended_input = 0;
    for (int problem = 0; problem < 400; ++problem) {
        std::string keys = generated_problem(rng);
        bool maximise = problem % 4 == 3; // exercise mode combines with --max
        std::string teaching =
            run_with_keys(keys + std::string(300, '\n'), run_mode{true, maximise}).screen;
        auto s = fresh_store();
        std::ostringstream out;
        student st{};
        st.rng.seed(static_cast<unsigned>(problem));
        st.s = s.get();
        st.screen = &out;
        st.budget = std::uniform_int_distribution<int>(0, 60)(rng);
        st.problem = keys; // typed first, then the student answers
        student_keyboard keyboard;
        keyboard.st = &st;
        std::istream in(&keyboard);
        int status = run_program(*s, in, out, run_mode{true, maximise, true, default_screen});
        const std::string screen = out.str();
        SCOPED_TRACE("problem " + std::to_string(problem) + ":" + keys);
        EXPECT_EQ(st.failure, "");
        EXPECT_TRUE(screen.ends_with(final_prompt));
        EXPECT_TRUE(status == 0 || status == -1);
        EXPECT_EQ(outcome_of(screen), outcome_of(teaching));
        // The program answers every question after the end of input, each a help.
        int by_program = count_of(screen, "(input finito: risponde il programma)");
        EXPECT_NE(screen.find(
                      tally_line(st.right_first, st.questions + by_program, st.helps + by_program)),
                  std::string::npos);
        endings += 1;
        refusals += count_of(screen, "Risposta errata: ");
        ended_input += by_program > 0 ? 1 : 0;
    }
    // The answers reached every path: refusals, and runs cut by the end of input.
    EXPECT_GT(refusals, 400);
    EXPECT_GT(ended_input, 50);
    EXPECT_EQ(endings, 400);
}

namespace {

// The worked example: minimise x1 + 2x2 with x1 + x2 = 2, x1 - x2 <= 1.
const std::string worked = "\n1 2\n1 1 = 2\n1 -1 < 1\nq\n";

std::string repeated(const std::string &text, int n) {
    std::string all;
    for (int k = 0; k < n; ++k)
        all += text;
    return all;
}

} // namespace

// Every ending, the problem alone typed and every question answered by the program at the end
// of input: the tally comes last before the final pause, each question a help.
TEST(Exercise, EveryEndingShowsTheTally) {
    struct ending_case {
        const char *name;
        std::string keys;
        const char *ending; // the last line before the tally
        int questions;
    } cases[] = {
        {"optimal", worked, "Verifica: tutti i vincoli sono soddisfatti e c*x = z\n", 6},
        {"unbounded", "\n-1 -1\n1 -1 < 1\nq\n", "facendo entrare x2, z decresce senza limite\n", 4},
        {"infeasible", "\n1 1\n1 1 < 1\n1 1 > 2\nq\n", "nessun punto soddisfa tutti i vincoli\n",
         3},
        {"overflow",
         "\n-1 -1 -1\n2147483647/3 1 1 < 1000000007\n1 2147483646/5 7 < 999999937\n"
         "3 1 2147483645/11 < 999999929\nq\n",
         "\nerror: overflow aritmetico!\n", -1},
        {"too big", "\n1\n" + repeated("1 > 1\n", 50) + "q\n", "error: problema troppo grande!\n",
         0},
    };
    for (const ending_case &c : cases) {
        SCOPED_TRACE(c.name);
        program_run run = run_exercise_with_keys(c.keys);
        EXPECT_EQ(run.status, 0); // the end of input is the final key
        size_t tally = run.screen.rfind("Esercizio: 0 scelte giuste al primo tentativo su ");
        ASSERT_NE(tally, std::string::npos);
        EXPECT_TRUE(run.screen.substr(0, tally).ends_with(c.ending));
        int by_program = count_of(run.screen, "(input finito: risponde il programma)");
        EXPECT_TRUE(run.screen.substr(tally).starts_with(tally_line(0, by_program, by_program)));
        EXPECT_TRUE(run.screen.ends_with(tally_line(0, by_program, by_program) + final_prompt));
        if (c.questions >= 0) {
            EXPECT_EQ(by_program, c.questions);
        }
    }
}

// Answers are one line each, read whatever their case and surrounding blanks; a variable is xN
// or N. An empty line asks again without counting; so does nothing else.
TEST(Exercise, AnswersAreReadAsWritten) {
    const std::string pauses_then = "\n"; // the pause after the standard form
    struct answer_case {
        const char *name;
        std::string answers; // to the first question of phase 1 (x1 enters, x3 leaves)
        const char *tally;
    } cases[] = {
        {"plain", "x1\nx3\n", "2 scelte giuste al primo tentativo su"},
        {"upper case, blanks, CR", "  X1 \t\r\n3\r\n", "2 scelte giuste al primo tentativo su"},
        {"leading zeros", "x01\n003\n", "2 scelte giuste al primo tentativo su"},
        {"empty lines first", "\n\n   \nx1\n\nx3\n", "2 scelte giuste al primo tentativo su"},
        {"a word and a long line", "x1 x2\n" + std::string(200, '1') + "\nx1\nx3\n",
         "1 scelte giuste al primo tentativo su"},
    };
    for (const answer_case &c : cases) {
        SCOPED_TRACE(c.name);
        program_run run = run_exercise_with_keys(worked + pauses_then + c.answers);
        EXPECT_NE(run.screen.find("Entra x1, esce x3 (riga 2), elemento pivot 1\n"),
                  std::string::npos);
        EXPECT_NE(run.screen.find(c.tally), std::string::npos);
    }
    // A huge variable number is named as typed, not as some other column.
    program_run run = run_exercise_with_keys(worked + "\nx123456789012\n");
    EXPECT_NE(run.screen.find("Risposta errata: x123456789012 non e' una colonna del tableau"),
              std::string::npos);
}

// A pause of teaching and exercise mode takes a whole line, so a word typed there is neither the
// next answer nor the next pause; the plain program's pause still takes one character.
TEST(Exercise, PausesTakeAWholeLine) {
    const std::string answers = "x1\nx3\n\nx2\nx4\n\nottimo\n\n\nottimo\n\n";
    program_run typed = run_exercise_with_keys(worked + "\n" + answers);
    std::string with_words = answers;
    for (size_t at = with_words.find("\n\n"); at != std::string::npos;
         at = with_words.find("\n\n", at + 8))
        with_words.insert(at + 1, "ottimo x9");
    program_run worded = run_exercise_with_keys("2 3" + worked + "x1 ottimo\n" + with_words);
    EXPECT_EQ(worded.screen, typed.screen);
    EXPECT_EQ(worded.status, 0); // the final pause read "ottimo x9", not Enter
    EXPECT_EQ(typed.status, -1);
    EXPECT_NE(typed.screen.find("Esercizio: 6 scelte giuste al primo tentativo su 6, 0 aiuti\n"),
              std::string::npos);

    std::string plenty(20, '\n');
    EXPECT_EQ(run_with_keys("2 3" + worked + plenty, true).screen,
              run_with_keys(worked + plenty, true).screen);
    EXPECT_NE(run_with_keys("2 3" + worked + plenty).screen, run_with_keys(worked + plenty).screen);
}

// With --max the objective row is that of -z, and the verdict names the maximum: the Wyndor
// glass problem, max 3x1 + 5x2, answered by "?" from the end of input: x2 enters (5), then x1 (3).
TEST(Exercise, CombinesWithMax) {
    program_run run = run_with_keys("\n3 5\n1 0 < 4\n0 2 < 12\n3 2 < 18\nq\n",
                                    run_mode{true, true, true, default_screen});
    for (const char *text :
         {"Max z -> -3x1-5x2=0\n",
          "Aiuto: entra x2, che ha il coefficiente positivo piu' grande della riga -z (5)\n",
          "Aiuto: entra x1, che ha il coefficiente positivo piu' grande della riga -z (3)\n",
          "Aiuto: ottimo, nessun coefficiente della riga -z e' positivo\n",
          "Valore ottimo: max z = 36\n",
          "Esercizio: 0 scelte giuste al primo tentativo su 5, 5 aiuti\n"})
        EXPECT_NE(run.screen.find(text), std::string::npos) << text;
}
