// What teaching mode shows after each verdict, computed by the analysis room on the problem as
// typed: after an optimum the screens of duality and of sensitivity, after an infeasible phase 1
// the Farkas certificate, after an unbounded phase 2 the ray. Every value in lowest terms, every
// list within the screen width. Each function only reads the store.
#pragma once

#include <iosfwd>

#include "model/tableau_store.h"

// "Analisi post-ottimale - dualita'": the optimal basis, the dual problem, the dual values with
// where the final tableau shows them and their check, the reduced costs and complementary
// slackness. After a phase 2 that ended optimal.
void print_duality_screen(const tableau_store &s, int width, std::ostream &out);

// "Analisi post-ottimale - sensitivita'": a second optimum where one is proved, the degenerate
// basic variables, the ranges of the costs and of the right-hand sides.
void print_sensitivity_screen(const tableau_store &s, int width, std::ostream &out);

// After the minimum of an infeasible phase 1: the multipliers of the typed rows, their combined
// inequality and its check.
void print_farkas_certificate(const tableau_store &s, int width, std::ostream &out);

// After an unbounded phase 2 on column `col`: the direction, the point it starts from and the
// check of both.
void print_unbounded_ray(const tableau_store &s, int col, int width, std::ostream &out);
