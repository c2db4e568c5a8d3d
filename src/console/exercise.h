// Exercise mode: teaching mode that asks instead of telling. Under each tableau of a phase loop
// the student names the entering and then the leaving variable; every answer is checked by the
// engine's own rules, a wrong one is explained and asked again, and the run follows the
// student's pivot through the engine's phase loop.
#pragma once

#include <iosfwd>

#include "model/tableau_store.h"
#include "simplex/basis_history.h"
#include "simplex/phases.h"

// The student's side of one run.
struct exercise_state {
    int width;             // of the screen, for the lines this mode writes
    int questions;         // questions answered
    int right_first;       // of those, right at the first answer that was not empty
    int helps;             // answered by "?", or by the program itself once the input ended
    bool input_ended;      // from then on the program answers every question itself
    int phase;             // the phase whose bases `bases` holds
    bool pivot_by_program; // both answers of the last pivot were given by a help
    basis_history bases;   // met in that phase since its objective value last changed
};

// The questions under the tableau on screen, whose phase `run` is (running, or ended by the
// engine's rule: the student must still say so). Warns first when the student's choices have
// brought back a basis. When the student's pivot follows, it is recorded in `run` for the next
// continue_phase and the "Entra ..." line with its ratio test is shown, and the result is false;
// when a right "ottimo" or "illimitato" ended the phase, `run` says so and the result is true.
// At end of input every question is answered as "?" would answer it.
bool ask_pivot(const tableau_store &s, phase_run &run, exercise_state &ex, std::istream &in,
               std::ostream &out);

// The line "Esercizio: ..." with the student's tally, before the final pause.
void print_exercise_tally(const exercise_state &ex, std::ostream &out);
