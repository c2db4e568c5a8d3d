// The program driver. Each verdict the student must not miss (a problem too large for the
// tables, an overflow, an infeasible or unbounded problem) replaces the screen it would have
// spoiled and leads straight to the final pause.
#include "console/driver.h"

#include <istream>
#include <ostream>

#include "console/display.h"
#include "console/input_reader.h"
#include "console/text_out.h"
#include "simplex/phases.h"
#include "simplex/pivoting.h"
#include "standard_form/basis.h"
#include "standard_form/row_alignment.h"

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

void build_standard_form(tableau_store &s) {
    align_rows(s);
    add_slack_surplus(s);
    add_artificials(s);
    complete_basis(s);
}

} // namespace

int run_program(tableau_store &s, std::istream &in, std::ostream &out,
                [[maybe_unused]] bool teaching) {
    put(out, "\n\n");
    print_banner(out);
    put(out, "\n\n\n\n\n");
    put(out, "\nPremetere INVIO per iniziare... ");
    read_key(in, out);
    print_newlines(out, 33);

    read_problem(s, in, out);
    put(out, "\n");
    print_problem(s, out);
    build_standard_form(s);
    if (s.too_big)
        return stop_with(in, out, "error: problema troppo grande!\n");
    print_tableau(s, s.w_row, out);
    continue_pause(in, out);

    put(out, "\nPrima Fase -");
    put(out, " Tableau iniziale\n");
    price_out(s, s.w_row);
    if (s.overflow)
        return stop_with(in, out, overflow_message);
    print_tableau(s, s.w_row, out);
    continue_pause(in, out);

    if (run_phase1(s) == phase_end::overflow)
        return stop_with(in, out, overflow_message);
    put(out, "Prima Fase - Tableau finale\n");
    print_tableau(s, s.w_row, out);
    if (s.w_row[s.n_cols].num != 0)
        return stop_with(in, out, "\nProblema inammissibile!\n");
    continue_pause(in, out);

    put(out, "\nSeconda Fase -");
    put(out, " Tableau iniziale\n");
    price_out(s, s.tableau[0]);
    if (s.overflow)
        return stop_with(in, out, overflow_message);
    print_tableau(s, s.tableau[0], out);
    continue_pause(in, out);

    phase_end end = run_phase2(s);
    if (end == phase_end::overflow)
        return stop_with(in, out, overflow_message);
    put(out, "Seconda Fase - Tableau finale\n");
    print_tableau(s, s.tableau[0], out);
    put(out, end == phase_end::unbounded ? "\nProblema illimitato!\n" : "\nSoluzione Ottima!\n");
    return final_pause(in, out);
}
