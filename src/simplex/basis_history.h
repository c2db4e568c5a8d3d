// The bases a phase has met since its objective value last changed. A pivot that moves the
// objective never comes back to an earlier value, so only a run of degenerate pivots can bring a
// basis back; this table is what tells a hand-chosen run that it is cycling.
#pragma once

#include <cstdint>

#include "model/tableau_store.h"

// A set of basic columns, whatever rows they sit in: bit j stands for column j (columns < 128).
struct basis_set {
    uint64_t bits[2];
};
static_assert(table_size <= 128, "a basis_set holds one bit per column");

constexpr int bases_kept = 64; // a longer run of degenerate pivots forgets its oldest bases

struct basis_history {
    int count;      // bases held, at most bases_kept
    int next;       // the slot the next basis takes (the oldest, once the table is full)
    fraction value; // the objective value every basis held was met at
    basis_set bases[bases_kept];
};

// Records the basis of the store, met at the objective value `value`, and says whether it was
// already met since the value last changed. A changed value empties the table first. A
// value-initialised history is empty.
bool basis_seen_before(basis_history &history, const tableau_store &s, fraction value);
