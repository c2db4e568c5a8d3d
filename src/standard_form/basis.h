// Basis detection and artificial variables: the starting basis of phase 1 and its objective.
#pragma once

#include "model/tableau_store.h"

// Gives every ">" row (after any turning round) an artificial column, with -1 in w_row.
void add_artificials(tableau_store &s);

// Records each unit column as the basic variable of the row that holds its 1 (the highest column
// wins a row; nothing is recorded when there are more unit columns than rows), then gives every
// row without one an artificial column as its basic variable.
void complete_basis(tableau_store &s);
