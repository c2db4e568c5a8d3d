// Standard form as a whole: the problem as typed kept aside, every right-hand side in one column,
// slack and surplus columns, the starting basis with its artificial variables, and the records
// of what each typed row became.
#pragma once

#include "model/tableau_store.h"

// Turns the problem as read_problem left it into the phase-1 tableau (w_row not yet priced
// out). Keeps the typed problem in s.typed and fills s.records: each current row's origin, each
// typed row's slack or surplus column, artificial column and whether it was turned round. Sets
// too_big, and stops, when a column would pass column 98.
void build_standard_form(tableau_store &s);
