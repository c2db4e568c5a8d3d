// The program driver. Each verdict the student must not miss (a problem too large for the
// tables, an overflow, an infeasible or unbounded problem) replaces the screen it would have
// spoiled and leads straight to the final pause.
#include "console/driver.h"

#include <istream>
#include <ostream>

#include "console/analysis_screens.h"
#include "console/display.h"
#include "console/input_reader.h"
#include "console/teaching.h"
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

void continue_pause(std::istream &in, std::ostream &out) {
    put(out, "\nPremetere INVIO per continuare... ");
    read_key(in, out);
    print_newlines(out, 11);
}

// The last key: Enter ends the program with status -1; anything else, end of input included,
// lets it end normally.
int final_pause(std::istream &in, std::ostream &out) {
    put(out, "Premetere INVIO per terminare... ");
    int key = read_key(in, out);
    out.flush();
    return key == '\n' ? -1 : 0;
}

int stop_with(std::istream &in, std::ostream &out, const char *message) {
    put(out, message);
    return final_pause(in, out);
}

constexpr const char *overflow_message = "\nerror: overflow aritmetico!\n";

void start_screen(std::istream &in, std::ostream &out) {
    put(out, "\n\n");
    print_banner(out);
    put(out, "\n\n\n\n\n");
    put(out, "\nPremetere INVIO per iniziare... ");
    read_key(in, out);
    print_newlines(out, 33);
}

// The keyboard and the screen of one run, and whether teaching mode adds its screens.
struct console {
    std::istream &in;
    std::ostream &out;
    bool teaching;
    int width; // of the screen, for teaching mode's lines
};

void show_choice(const tableau_store &s, const phase_run &run, const console &c) {
    if (c.teaching)
        print_choice(s, run, c.out);
}

// Runs a begun phase to its end. Teaching mode takes one pivot at a time and shows the tableau
// after each pivot that does not end the phase, with the choice of the next one.
phase_end drive_phase(tableau_store &s, phase_run &run, const console &c) {
    const char *heading =
        run.phase == 1 ? "\nPrima Fase - Iterazione %d\n" : "\nSeconda Fase - Iterazione %d\n";
    while (continue_phase(s, run, c.teaching ? 1 : all_pivots) == phase_end::running) {
        put_format(c.out, heading, run.pivots);
        print_tableau(s, phase_objective(s, run), c.out);
        print_choice(s, run, c.out);
        continue_pause(c.in, c.out);
    }
    return run.end;
}

// Teaching mode's screen between the initial tableau of phase 2 and its loop.
void show_removal(const tableau_store &s, const phase_run &run, const artificial_removal &removal,
                  const console &c) {
    if (!c.teaching || run.end == phase_end::overflow)
        return;
    put(c.out, "\nSeconda Fase - Senza variabili artificiali\n");
    print_removal(removal, c.out);
    print_tableau(s, s.tableau[0], c.out);
    print_choice(s, run, c.out);
    continue_pause(c.in, c.out);
}

// Phase 1 from its priced-out tableau to its final one.
phase_end phase1_screens(tableau_store &s, const console &c) {
    put(c.out, "\nPrima Fase - Tableau iniziale\n");
    phase_run run = start_phase1(s);
    if (run.end == phase_end::overflow)
        return phase_end::overflow;
    print_tableau(s, s.w_row, c.out);
    show_choice(s, run, c);
    continue_pause(c.in, c.out);
    if (drive_phase(s, run, c) == phase_end::overflow)
        return phase_end::overflow;
    put(c.out, "Prima Fase - Tableau finale\n");
    print_tableau(s, s.w_row, c.out);
    return run.end;
}

// Phase 2 from the pricing out of row 0 to its final tableau. Without artificial columns the
// loop starts on the initial tableau, and its first choice is shown there.
phase_end phase2_screens(tableau_store &s, const console &c, phase_run &run) {
    put(c.out, "\nSeconda Fase - Tableau iniziale\n");
    if (!prepare_phase2(s))
        return phase_end::overflow;
    print_tableau(s, s.tableau[0], c.out);
    bool had_artificials = s.n_artificial > 0;
    artificial_removal removal;
    if (!had_artificials) {
        run = begin_phase2(s, removal);
        show_choice(s, run, c);
    }
    continue_pause(c.in, c.out);
    if (had_artificials) {
        run = begin_phase2(s, removal);
        show_removal(s, run, removal, c);
    }
    if (drive_phase(s, run, c) == phase_end::overflow)
        return phase_end::overflow;
    put(c.out, "Seconda Fase - Tableau finale\n");
    print_tableau(s, s.tableau[0], c.out);
    return run.end;
}

// The verdict of a phase 2 that ran to its end, explained in teaching mode: an unbounded end
// with its ray, an optimum with its check and then, a screen each, its duality and sensitivity.
void print_verdict(const tableau_store &s, const phase_run &run, const console &c) {
    bool unbounded = run.end == phase_end::unbounded;
    put(c.out, unbounded ? "\nProblema illimitato!\n" : "\nSoluzione Ottima!\n");
    if (!c.teaching)
        return;
    if (unbounded) {
        print_unbounded(run, c.out);
        print_unbounded_ray(s, run.col, c.width, c.out);
        return;
    }
    print_solution(s, c.out);
    continue_pause(c.in, c.out);
    print_duality_screen(s, c.width, c.out);
    continue_pause(c.in, c.out);
    print_sensitivity_screen(s, c.width, c.out);
}

} // namespace

int run_program(tableau_store &s, std::istream &in, std::ostream &out, bool teaching, int width) {
    console c{in, out, teaching, width};
    start_screen(in, out);
    read_problem(s, in, out);
    put(out, "\n");
    print_problem(s, out);
    build_standard_form(s);
    if (s.too_big)
        return stop_with(in, out, "error: problema troppo grande!\n");
    print_tableau(s, s.w_row, out);
    continue_pause(in, out);

    phase_end end = phase1_screens(s, c);
    if (end == phase_end::overflow)
        return stop_with(in, out, overflow_message);
    if (end == phase_end::infeasible) {
        put(out, "\nProblema inammissibile!\n");
        if (teaching) {
            print_infeasible(s, out);
            print_farkas_certificate(s, width, out);
        }
        return final_pause(in, out);
    }
    continue_pause(in, out);
    phase_run run{};
    if (phase2_screens(s, c, run) == phase_end::overflow)
        return stop_with(in, out, overflow_message);
    print_verdict(s, run, c);
    return final_pause(in, out);
}
