// The bases met since the objective value last changed.
#include "simplex/basis_history.h"

namespace {

basis_set basis_of(const tableau_store &s) {
    basis_set set{};
    for (int i = 1; i <= s.n_rows; ++i) {
        int j = row_basic(s, i);
        set.bits[j / 64] |= uint64_t{1} << (j % 64);
    }
    return set;
}

bool same_set(const basis_set &a, const basis_set &b) {
    return a.bits[0] == b.bits[0] && a.bits[1] == b.bits[1];
}

// Exact equality of two fractions whatever their forms: 64-bit cross products fit in 128 bits.
bool same_value(fraction a, fraction b) {
    return static_cast<__int128>(a.num) * b.den == static_cast<__int128>(b.num) * a.den;
}

} // namespace

bool basis_seen_before(basis_history &history, const tableau_store &s, fraction value) {
    if (history.count > 0 && !same_value(history.value, value))
        history.count = history.next = 0;
    history.value = value;
    basis_set set = basis_of(s);
    for (int k = 0; k < history.count; ++k)
        if (same_set(history.bases[k], set))
            return true;
    history.bases[history.next] = set;
    history.next = (history.next + 1) % bases_kept;
    if (history.count < bases_kept)
        history.count += 1;
    return false;
}
