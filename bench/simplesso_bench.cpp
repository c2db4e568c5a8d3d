// Benchmarks of the arithmetic and the simplex engine: single fraction operations, one pivot and
// one pricing out on full tables, and whole solves from the typed store to the end of phase 2,
// with no display, two of them from the program's own keystroke files in bench/data/. Each solve
// also counts the heap allocations made while it runs: the solving path must work in the fixed
// tables alone, so any count above zero fails the benchmark.
#include <benchmark/benchmark.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "console/input_reader.h"
#include "console/text_out.h"
#include "model/fraction.h"
#include "model/tableau_store.h"
#include "simplex/phases.h"
#include "simplex/pivoting.h"

// Heap allocations made so far by the whole program (counting_new.cpp).
long allocation_count();

namespace {

// A small deterministic generator, so every run benchmarks the same data.
struct lcg {
    uint64_t state;
};

int32_t next_in(lcg &g, int32_t low, int32_t high) {
    g.state = g.state * 6364136223846793005ull + 1442695040888963407ull;
    return low + static_cast<int32_t>((g.state >> 33) % static_cast<uint64_t>(high - low + 1));
}

fraction small_fraction(lcg &g) {
    int32_t num = next_in(g, -9, 9);
    return {num == 0 ? 1 : num, next_in(g, 1, 9)};
}

// ---- single fraction operations -------------------------------------------------------------

struct operand_set {
    const char *name;
    std::vector<fraction> values;
};

// Small coprime values, values with common factors, and values near the 32-bit limits.
std::vector<fraction> operands(int kind) {
    lcg g{static_cast<uint64_t>(kind) + 1};
    std::vector<fraction> v;
    for (int i = 0; i < 256; ++i) {
        if (kind == 0) {
            v.push_back({next_in(g, -97, 97) | 1, 2 * next_in(g, 1, 48) + 1});
        } else if (kind == 1) {
            int32_t common = next_in(g, 2, 60) * next_in(g, 1, 12);
            v.push_back({common * next_in(g, -300, 300), common * next_in(g, 1, 300)});
        } else {
            v.push_back({next_in(g, -2147483647, 2147483647), next_in(g, 1 << 30, 2147483647)});
        }
    }
    return v;
}

const char *const operand_names[] = {"small_coprime", "common_factors", "near_32_bit"};

void bm_frac_make(benchmark::State &state) {
    std::vector<fraction> v = operands(static_cast<int>(state.range(0)));
    bool overflow = false;
    std::size_t i = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): only counts the runs
        benchmark::DoNotOptimize(frac_make(v[i], overflow));
        i = (i + 1) & 255;
    }
    state.SetLabel(operand_names[state.range(0)]);
}
BENCHMARK(bm_frac_make)->Name("frac_make")->DenseRange(0, 2);

void bm_frac_sub_mul(benchmark::State &state) {
    std::vector<fraction> v = operands(static_cast<int>(state.range(0)));
    // For the values near the limits only the product and sum of small multipliers stay in range,
    // as they do in a tableau: the pivot row entry is the large one.
    std::vector<fraction> small = operands(0);
    bool overflow = false;
    std::size_t i = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): only counts the runs
        fraction b = state.range(0) == 2 ? small[(i + 1) & 255] : v[(i + 1) & 255];
        fraction c = state.range(0) == 2 ? small[(i + 2) & 255] : v[(i + 2) & 255];
        benchmark::DoNotOptimize(frac_sub_mul(v[i], b, c, overflow));
        i = (i + 1) & 255;
    }
    state.SetLabel(operand_names[state.range(0)]);
}
BENCHMARK(bm_frac_sub_mul)->Name("frac_sub_mul")->DenseRange(0, 2);

// ---- one pivot, one pricing out -------------------------------------------------------------

// 99 constraint rows over 98 columns of small non-zero fractions, the largest tableau there is.
std::unique_ptr<tableau_store> full_tableau() {
    auto s = std::make_unique<tableau_store>();
    lcg g{42};
    s->n_rows = max_rows;
    s->n_cols = max_rhs_col;
    for (int i = 0; i <= s->n_rows; ++i)
        for (int j = 1; j <= s->n_cols; ++j)
            s->tableau[i][j] = small_fraction(g);
    for (int j = 1; j <= s->n_cols; ++j)
        s->w_row[j] = small_fraction(g);
    return s;
}

void bm_pivot(benchmark::State &state) {
    auto prepared = full_tableau();
    auto s = std::make_unique<tableau_store>();
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): only counts the runs
        state.PauseTiming();
        std::memcpy(s.get(), prepared.get(), sizeof(tableau_store));
        state.ResumeTiming();
        pivot(*s, 50, 7, s->w_row);
        benchmark::ClobberMemory();
    }
    if (s->overflow)
        state.SkipWithError("overflow in the pivot");
    state.counters["cells"] = s->n_rows * s->n_cols;
}
BENCHMARK(bm_pivot)->Name("pivot_99x98")->Unit(benchmark::kMicrosecond);

// The same pivot on values past 32 bits: every cell n/3^25 with |n| below 1000 and prime to 3,
// as lowest terms hold it. The sums need more than 64 bits (about 80) before their common factor
// goes, so every update of the other rows runs on the two-word path, yet each result fits in 64.
std::unique_ptr<tableau_store> past_32_bit_tableau() {
    auto s = std::make_unique<tableau_store>();
    constexpr int64_t den = 847288609443; // 3^25
    lcg g{43};
    auto cell = [&g] {
        int32_t n = next_in(g, -999, 999);
        return fraction{n % 3 == 0 ? n + 1 : n, den};
    };
    s->n_rows = max_rows;
    s->n_cols = max_rhs_col;
    for (int i = 0; i <= s->n_rows; ++i)
        for (int j = 1; j <= s->n_cols; ++j)
            s->tableau[i][j] = cell();
    for (int j = 1; j <= s->n_cols; ++j)
        s->w_row[j] = cell();
    return s;
}

void bm_pivot_past_32_bits(benchmark::State &state) {
    auto prepared = past_32_bit_tableau();
    auto s = std::make_unique<tableau_store>();
    long allocated = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(s.get(), prepared.get(), sizeof(tableau_store));
        long before = allocation_count();
        state.ResumeTiming();
        pivot(*s, 50, 7, s->w_row);
        benchmark::ClobberMemory();
        state.PauseTiming();
        allocated += allocation_count() - before;
        state.ResumeTiming();
    }
    int wide = 0; // cells that hold a value past 32 bits after the pivot
    for (int i = 1; i <= s->n_rows; ++i)
        for (int j = 1; j <= s->n_cols; ++j)
            wide += s->tableau[i][j].den > INT32_MAX || s->tableau[i][j].num > INT32_MAX ||
                    s->tableau[i][j].num < INT32_MIN;
    state.counters["cells_past_32_bits"] = wide;
    if (s->overflow)
        state.SkipWithError("overflow in the pivot");
    else if (allocated != 0)
        state.SkipWithError("the pivot allocated");
}
BENCHMARK(bm_pivot_past_32_bits)->Name("pivot_99x98_past_32_bits")->Unit(benchmark::kMicrosecond);

// A full objective row priced out against 49 unit columns (49..97), each the basic variable of
// one row; columns 1..48 and the right-hand side hold small fractions.
void bm_price_out(benchmark::State &state) {
    auto prepared = std::make_unique<tableau_store>();
    lcg g{7};
    tableau_store &p = *prepared;
    p.n_rows = 49;
    p.n_cols = max_rhs_col;
    for (int j = 1; j <= p.n_cols; ++j)
        p.w_row[j] = small_fraction(g);
    for (int i = 1; i <= p.n_rows; ++i) {
        p.basic[i] = 48 + i;
        for (int j = 1; j <= p.n_cols; ++j)
            p.tableau[i][j] = j <= 48 || j == 98 ? small_fraction(g) : fraction{j == 48 + i, 1};
    }
    auto s = std::make_unique<tableau_store>();
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): only counts the runs
        state.PauseTiming();
        std::memcpy(s.get(), prepared.get(), sizeof(tableau_store));
        state.ResumeTiming();
        price_out(*s, s->w_row);
        benchmark::ClobberMemory();
    }
    if (s->overflow)
        state.SkipWithError("overflow in price_out");
}
BENCHMARK(bm_price_out)->Name("price_out_full_row")->Unit(benchmark::kMicrosecond);

// ---- whole solves -----------------------------------------------------------------------------

struct problem {
    std::vector<int32_t> costs;             // minimised
    std::vector<std::vector<int32_t>> rows; // coefficients, then the right-hand side
    std::vector<int32_t> relations;         // -1 "<", 0 "=", 1 ">"
};

// Puts the problem into a fresh store exactly as the keyboard reader would, for problems whose
// lines are too long to type (more than 98 characters).
void load(tableau_store &s, const problem &p) {
    int n = static_cast<int>(p.costs.size());
    for (int j = 0; j < n; ++j)
        s.tableau[0][j + 1] = {-p.costs[j], 1};
    s.cost_count = n + 1;
    s.tableau[0][n + 2] = {0, 1};
    for (std::size_t r = 0; r < p.rows.size(); ++r) {
        int i = static_cast<int>(r) + 1;
        int k = static_cast<int>(p.rows[r].size());
        s.relation[i] = p.relations[r];
        for (int j = 0; j < k; ++j)
            s.tableau[i][j + 1] = {p.rows[r][j], 1};
        row_length(s, i) = k;
        if (k > s.n_cols)
            s.n_cols = k;
    }
    s.n_rows = static_cast<int32_t>(p.rows.size());
    if (s.n_cols < s.cost_count)
        s.n_cols = s.cost_count;
    for (int j = 0; j <= s.n_cols; ++j)
        s.w_row[j] = {0, 1};
}

// The whole method, without screens or pauses, to an optimum.
bool solve_to_optimum(tableau_store &s) {
    return solve(s) == phase_end::optimal;
}

// 7 sources, 7 destinations, balanced: 49 variables, 14 equality rows.
problem transportation() {
    const int32_t supply[7] = {35, 50, 40, 45, 30, 55, 45};
    const int32_t demand[7] = {40, 45, 50, 30, 45, 40, 50};
    lcg g{2024};
    problem p;
    for (int k = 0; k < 49; ++k)
        p.costs.push_back(next_in(g, 1, 20));
    for (int i = 0; i < 14; ++i) {
        std::vector<int32_t> row(50, 0);
        for (int k = 0; k < 49; ++k)
            row[k] = i < 7 ? (k / 7 == i) : (k % 7 == i - 7);
        row[49] = i < 7 ? supply[i] : demand[i - 7];
        p.rows.push_back(row);
        p.relations.push_back(0);
    }
    return p;
}

// 20 "<" rows over 20 variables, every coefficient a small positive integer.
problem dense_20() {
    lcg g{99};
    problem p;
    for (int k = 0; k < 20; ++k)
        p.costs.push_back(-next_in(g, 1, 9));
    for (int i = 0; i < 20; ++i) {
        std::vector<int32_t> row;
        row.reserve(21);
        for (int k = 0; k < 20; ++k)
            row.push_back(next_in(g, 1, 9));
        row.push_back(next_in(g, 50, 100));
        p.rows.push_back(row);
        p.relations.push_back(-1);
    }
    return p;
}

// The most the tables hold with data that stays in range: 47 variables, 30 "<" rows and 10 ">"
// rows, so 40 slack or surplus columns and 10 artificial columns put the right-hand side at
// column 98. Each row couples three variables with small coefficients; the "<" rows between them
// bound every variable, the ">" rows make phase 1 work.
problem largest() {
    lcg g{5};
    problem p;
    const int n = 47;
    for (int k = 0; k < n; ++k)
        p.costs.push_back(-next_in(g, 1, 5));
    for (int i = 0; i < 40; ++i) {
        bool at_least = i >= 30;
        int k = at_least ? i - 30 : i;
        std::vector<int32_t> row(n + 1, 0);
        const int offsets[2][3] = {{0, 1, 17}, {0, 2, 3}};
        for (int t = 0; t < 3; ++t)
            row[((at_least ? 5 : 2) * k + offsets[at_least][t]) % n] = next_in(g, 1, 3);
        row[n] = at_least ? next_in(g, 1, 3) : next_in(g, 10, 30);
        p.rows.push_back(row);
        p.relations.push_back(at_least ? 1 : -1);
    }
    return p;
}

// Times solve() on fresh copies of the prepared store, counting the allocations made inside.
void time_solves(benchmark::State &state, const tableau_store &prepared) {
    auto s = std::make_unique<tableau_store>();
    long allocated = 0;
    bool solved = true;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): only counts the runs
        state.PauseTiming();
        std::memcpy(s.get(), &prepared, sizeof(tableau_store));
        long before = allocation_count();
        state.ResumeTiming();
        solved = solve_to_optimum(*s) && solved;
        state.PauseTiming();
        allocated += allocation_count() - before;
        state.ResumeTiming();
    }
    state.counters["rows"] = s->n_rows;
    state.counters["cols"] = s->n_cols;
    state.counters["allocs"] = static_cast<double>(allocated);
    if (!solved)
        state.SkipWithError("not solved to an optimum in range");
    else if (allocated != 0)
        state.SkipWithError("the solving path allocated");
}

void bm_solve(benchmark::State &state, problem (*make)()) {
    auto prepared = std::make_unique<tableau_store>();
    load(*prepared, make());
    time_solves(state, *prepared);
}
BENCHMARK_CAPTURE(bm_solve, transportation_7x7, transportation)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(bm_solve, dense_20x20, dense_20)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(bm_solve, largest_40x47, largest)->Unit(benchmark::kMicrosecond);

// A complete keystroke stream of the program (bench/data/), typed into a store by the keyboard
// reader as the program does it, outside the timing: the start key, then the problem. The keys
// of the pauses that follow are left unread, as the solve shows no screens.
bool read_keys(tableau_store &s, const char *name) {
    std::ifstream file(std::string(SIMPLESSO_BENCH_DATA "/") + name, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream screen;
    read_key(file, screen);
    read_problem(s, file, screen);
    return s.n_rows > 0;
}

void bm_solve_keys(benchmark::State &state, const char *name) {
    auto prepared = std::make_unique<tableau_store>();
    if (!read_keys(*prepared, name)) {
        state.SkipWithError("keystroke file missing or without a problem");
        return;
    }
    time_solves(state, *prepared);
}
BENCHMARK_CAPTURE(bm_solve_keys, dense_5x5, "dense_5x5.keys")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(bm_solve_keys, dense_20x20, "dense_20x20.keys")->Unit(benchmark::kMicrosecond);

// The loader above must give the store the keyboard reader gives, or the solves would measure
// something else: a small transportation problem, typed and loaded, is compared cell by cell.
bool loader_matches_reader() {
    problem p;
    p.costs = {4, 6, 9, 5};
    p.rows = {{1, 1, 0, 0, 7}, {0, 0, 1, 1, 5}, {1, 0, 1, 0, 6}, {0, 1, 0, 1, 6}};
    p.relations = {0, 0, 0, 0};
    auto loaded = std::make_unique<tableau_store>();
    load(*loaded, p);
    auto typed = std::make_unique<tableau_store>();
    std::istringstream in("4 6 9 5\n1 1 0 0 = 7\n0 0 1 1 = 5\n1 0 1 0 = 6\n0 1 0 1 = 6\nq\n");
    std::ostringstream out;
    read_problem(*typed, in, out);
    auto same = [](const fraction &a, const fraction &b) {
        return a.num == b.num && a.den == b.den;
    };
    for (int i = 0; i < table_size; ++i)
        for (int j = 0; j < table_size; ++j)
            if (!same(loaded->tableau[i][j], typed->tableau[i][j]))
                return false;
    for (int j = 0; j < table_size; ++j)
        if (!same(loaded->w_row[j], typed->w_row[j]))
            return false;
    return loaded->n_rows == typed->n_rows && loaded->n_cols == typed->n_cols &&
           loaded->cost_count == typed->cost_count;
}

} // namespace

int main(int argc, char **argv) {
    if (!loader_matches_reader()) {
        std::fputs("the benchmark loader no longer matches the keyboard reader\n", stderr);
        return 1;
    }
    long before = allocation_count();
    auto probe = std::make_unique<int>(1);
    if (allocation_count() == before) {
        std::fputs("allocations are not being counted\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
