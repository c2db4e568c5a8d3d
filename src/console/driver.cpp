// The program driver. Each verdict the student must not miss (a problem too large for the
// tables, an overflow, an infeasible or unbounded problem) replaces the screen it would have
// spoiled and leads straight to the final pause.
#include "console/driver.h"

#include <istream>
#include <ostream>

#include "console/analysis_screens.h"
#include "console/display.h"
#include "console/exercise.h"
#include "console/input_reader.h"
#include "console/teaching.h"
#include "console/teaching_grid.h"
#include "console/teaching_problem.h"
#include "console/text_out.h"
#include "simplex/phases.h"
#include "standard_form/standard_form.h"

namespace {

void print_banner(std::ostream &out) {
    const char *empty = "\t*                                                              *\n";
    put(out, "\n\t****************************************************************\n");
    put(out, empty);
    put(out, "\t*              Elaborato di Ricerca Operativa I                *\n");
    put(out, empty);
    put(out, "\t*               Calcolo del Simplesso Primale                  *\n");
    put(out, "\t*                    Metodo del Due Fasi                       *\n");
    put(out, empty);
    put(out, "\t*       Un aiuto per chi studia il metodo del simplesso        *\n");
    put(out, "\t*    Tutti i conti in frazioni esatte, senza arrotondamenti    *\n");
    put(out, empty);
    put(out, "\t*                             pivotra0.2.exe (molto beta)  :)  *\n");
    put(out, empty);
    put(out, "\t****************************************************************\n");
}

void print_newlines(std::ostream &out, int count) {
    for (int i = 0; i < count; ++i)
        put(out, "\n");
}

// The keyboard and the screen of one run, whether teaching mode adds its screens, and in
// exercise mode (teaching mode that asks) the student's record.
struct console {
    std::istream &in;
    std::ostream &out;
    bool teaching;
    exercise_state *exercise; // null unless in exercise mode
    int width;                // of the screen, for teaching mode's lines
};

// A pause's key. Teaching and exercise mode take a whole line, so that a word typed at a pause
// is never read as the next answer or the next pause; the plain program takes one character.
int pause_key(const console &c) {
    return c.teaching ? read_line_key(c.in, c.out) : read_key(c.in, c.out);
}

void continue_pause(const console &c) {
    put(c.out, "\nPremetere INVIO per continuare... ");
    pause_key(c);
    print_newlines(c.out, 11);
}

// The last key: Enter ends the program with status -1; anything else, end of input included,
// lets it end normally.
int final_pause(const console &c) {
    if (c.exercise != nullptr)
        print_exercise_tally(*c.exercise, c.out);
    put(c.out, "Premetere INVIO per terminare... ");
    int key = pause_key(c);
    c.out.flush();
    return key == '\n' ? -1 : 0;
}

int stop_with(const console &c, const char *message) {
    put(c.out, message);
    return final_pause(c);
}

constexpr const char *overflow_message = "\nerror: overflow aritmetico!\n";

void start_screen(const console &c) {
    put(c.out, "\n\n");
    print_banner(c.out);
    put(c.out, "\n\n\n\n\n");
    put(c.out, "\nPremetere INVIO per iniziare... ");
    pause_key(c);
    print_newlines(c.out, 33);
}

// Under a tableau of a phase loop: teaching mode tells the next pivot, exercise mode asks for it.
// True when the student's answer ended the phase, whose final tableau then follows at once.
bool show_choice(const tableau_store &s, phase_run &run, const console &c) {
    if (c.exercise != nullptr)
        return ask_pivot(s, run, *c.exercise, c.in, c.out);
    if (c.teaching)
        print_choice(s, run, c.width, c.out);
    return false;
}

// The pause after a screen that shows a choice, unless an answer has just ended the phase.
void pause_after_choice(bool phase_ended, const console &c) {
    if (!phase_ended)
        continue_pause(c);
}

constexpr grid_cell no_pivot{0, 0};

// The pivot a running phase takes next, shown in brackets on teaching mode's grid; exercise mode
// shows none, since the student is to find it.
grid_cell next_pivot(const phase_run &run, const console &c) {
    bool shown = run.end == phase_end::running && c.exercise == nullptr;
    return shown ? grid_cell{run.row, run.col} : no_pivot;
}

// Row 0 holds -z when the typed objective is maximised.
const char *objective_label(const tableau_store &s, const table_row &objective) {
    if (&objective == &s.w_row)
        return "w";
    return s.maximise ? "-z" : "z";
}

// The tableau under `objective`: teaching mode's aligned grid, or the plain grid.
void show_tableau(const tableau_store &s, const table_row &objective, grid_cell pivot,
                  const console &c) {
    if (c.teaching)
        print_teaching_tableau(s, objective, objective_label(s, objective), pivot, c.width, c.out);
    else
        print_tableau(s, objective, c.out);
}

// The first tableau. Teaching mode heads it, shows it with the objective phase 1 will minimise
// (z when there is no artificial variable, so no phase 1), and names the columns under it.
void show_standard_form(const tableau_store &s, const console &c) {
    if (!c.teaching) {
        print_tableau(s, s.w_row, c.out);
        return;
    }
    put(c.out, "\nForma standard\n");
    show_tableau(s, s.n_artificial > 0 ? s.w_row : s.tableau[0], no_pivot, c);
    print_legend(s, c.width, c.out);
}

// Runs a begun phase to its end. Teaching mode takes one pivot at a time and shows the tableau
// after each pivot that does not end the phase, with the choice of the next one; exercise mode
// shows it after every pivot, since only the student may say that the phase has ended.
phase_end drive_phase(tableau_store &s, phase_run &run, const console &c) {
    const char *heading =
        run.phase == 1 ? "\nPrima Fase - Iterazione %d\n" : "\nSeconda Fase - Iterazione %d\n";
    while (run.end == phase_end::running) {
        continue_phase(s, run, c.teaching ? 1 : all_pivots);
        bool asked = c.exercise != nullptr && run.end != phase_end::overflow;
        if (run.end != phase_end::running && !asked)
            break;
        put_format(c.out, heading, run.pivots);
        show_tableau(s, phase_objective(s, run), next_pivot(run, c), c);
        pause_after_choice(show_choice(s, run, c), c);
    }
    return run.end;
}

// Teaching mode's screen between the initial tableau of phase 2 and its loop.
void show_removal(const tableau_store &s, phase_run &run, const artificial_removal &removal,
                  const console &c) {
    if (!c.teaching || run.end == phase_end::overflow)
        return;
    put(c.out, "\nSeconda Fase - Senza variabili artificiali\n");
    print_removal(removal, c.width, c.out);
    show_tableau(s, s.tableau[0], next_pivot(run, c), c);
    pause_after_choice(show_choice(s, run, c), c);
}

// Phase 1 from its priced-out tableau to its final one.
phase_end phase1_screens(tableau_store &s, const console &c) {
    put(c.out, "\nPrima Fase - Tableau iniziale\n");
    phase_run run = start_phase1(s); // chosen before the screen, which marks the pivot
    if (run.end == phase_end::overflow)
        return phase_end::overflow;
    show_tableau(s, s.w_row, next_pivot(run, c), c);
    pause_after_choice(show_choice(s, run, c), c);
    if (drive_phase(s, run, c) == phase_end::overflow)
        return phase_end::overflow;
    put(c.out, "Prima Fase - Tableau finale\n");
    show_tableau(s, s.w_row, no_pivot, c);
    return run.end;
}

// Teaching mode shows no phase 1 without artificial variables: w is 0 at the starting basis, so
// the phase ends where it starts. The engine still takes its steps, so phase 2 starts as ever.
bool phase1_shown(const tableau_store &s, const console &c) {
    return !c.teaching || s.n_artificial > 0;
}

phase_end skip_phase1(tableau_store &s, const console &c) {
    phase_run run = start_phase1(s);
    if (continue_phase(s, run, all_pivots) == phase_end::optimal)
        print_phase1_skipped(s, c.width, c.out);
    return run.end;
}

// Phase 2 from the pricing out of row 0 to its final tableau. Without artificial columns the
// loop starts on the initial tableau, and its first choice is shown there.
phase_end phase2_screens(tableau_store &s, const console &c, phase_run &run) {
    put(c.out, "\nSeconda Fase - Tableau iniziale\n");
    if (!prepare_phase2(s))
        return phase_end::overflow;
    bool had_artificials = s.n_artificial > 0;
    artificial_removal removal;
    bool ended = false;
    // Without artificial columns begin_phase2 only chooses, so the screen can mark its pivot.
    if (!had_artificials)
        run = begin_phase2(s, removal);
    show_tableau(s, s.tableau[0], had_artificials ? no_pivot : next_pivot(run, c), c);
    if (!had_artificials)
        ended = run.end != phase_end::overflow && show_choice(s, run, c);
    pause_after_choice(ended, c);
    if (had_artificials) {
        run = begin_phase2(s, removal);
        show_removal(s, run, removal, c);
    }
    if (drive_phase(s, run, c) == phase_end::overflow)
        return phase_end::overflow;
    put(c.out, "Seconda Fase - Tableau finale\n");
    show_tableau(s, s.tableau[0], no_pivot, c);
    return run.end;
}

// Teaching mode proper explains each verdict further (the screens after an optimum, the
// certificate of an infeasible or unbounded end); exercise mode ends with the student's tally.
bool analyses(const console &c) {
    return c.teaching && c.exercise == nullptr;
}

// The verdict of a phase 2 that ran to its end, explained in teaching mode: an unbounded end
// with its ray, an optimum with its check and then, a screen each, its duality and sensitivity.
void print_verdict(const tableau_store &s, const phase_run &run, const console &c) {
    bool unbounded = run.end == phase_end::unbounded;
    put(c.out, unbounded ? "\nProblema illimitato!\n" : "\nSoluzione Ottima!\n");
    if (!c.teaching)
        return;
    if (unbounded) {
        print_unbounded(s, run, c.width, c.out);
        if (analyses(c))
            print_unbounded_ray(s, run.col, c.width, c.out);
        return;
    }
    print_solution(s, c.width, c.out);
    if (!analyses(c))
        return;
    continue_pause(c);
    print_duality_screen(s, c.width, c.out);
    continue_pause(c);
    print_sensitivity_screen(s, c.width, c.out);
}

} // namespace

int run_program(tableau_store &s, std::istream &in, std::ostream &out, run_mode mode) {
    exercise_state ex{};
    ex.width = mode.width;
    console c{in, out, mode.teaching || mode.exercise, mode.exercise ? &ex : nullptr, mode.width};
    s.maximise = mode.maximise;
    start_screen(c);
    if (!read_problem(s, in, out))
        return final_pause(c); // nothing to solve
    put(out, "\n");
    print_problem(s, out);
    build_standard_form(s);
    if (c.teaching)
        print_written_problem(s.typed, c.width, out);
    if (s.too_big)
        return stop_with(c, "error: problema troppo grande!\n");
    show_standard_form(s, c);
    continue_pause(c);

    bool phase1 = phase1_shown(s, c);
    phase_end end = phase1 ? phase1_screens(s, c) : skip_phase1(s, c);
    if (end == phase_end::overflow)
        return stop_with(c, overflow_message);
    if (end == phase_end::infeasible) {
        put(out, "\nProblema inammissibile!\n");
        if (c.teaching)
            print_infeasible(s, c.width, out);
        if (analyses(c))
            print_farkas_certificate(s, c.width, out);
        return final_pause(c);
    }
    if (phase1)
        continue_pause(c);
    phase_run run{};
    if (phase2_screens(s, c, run) == phase_end::overflow)
        return stop_with(c, overflow_message);
    print_verdict(s, run, c);
    return final_pause(c);
}
