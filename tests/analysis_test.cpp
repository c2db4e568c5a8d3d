// The analysis after the verdict: dual values and where the final tableau shows them, reduced
// costs, ranges, second optima, degeneracy, Farkas certificates and rays, on small problems whose
// every figure was worked out apart from the program (tests/analysis/derivations: analysis.md by
// hand, derive.py in exact fractions from the textbook formulas, each range end probed). And each
// check handed a wrong dual solution, certificate or ray, so that it is seen to fail.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "analysis/certificates.h"
#include "analysis/duality.h"
#include "analysis/sensitivity.h"
#include "analysis/typed_basis.h"
#include "simplex/phases.h"
#include "simplex/solution.h"
#include "standard_form/standard_form.h"
#include "test_support.h"

namespace {

// A value in lowest terms with a positive denominator, as the screens print it.
std::string text(fraction f) {
    int64_t g = std::gcd(f.num, f.den);
    int64_t num = f.num / g, den = f.den / g;
    if (den < 0)
        num = -num, den = -den;
    return std::to_string(num) + (den == 1 ? "" : "/" + std::to_string(den));
}

std::string list(const fraction *v, int n) {
    std::string out;
    for (int k = 1; k <= n; ++k)
        out += (k > 1 ? " " : "") + text(v[k]);
    return out;
}

std::string range_text(const value_range &r) {
    return (r.has_low ? "[" + text(r.low) : "(-inf") + ", " +
           (r.has_high ? text(r.high) + "]" : "+inf)");
}

struct solved {
    std::unique_ptr<tableau_store> s;
    std::unique_ptr<typed_basis> basis;
    phase_end end;
    int entering; // the column an unbounded end names
};

// The whole method by its steps, so the entering column of an unbounded end is known; then the
// basis of the tableau it stops on, rebuilt on the typed rows.
solved solve_problem(const std::string &keys, bool maximise) {
    solved r{read_typed("\n" + keys + "q\n", nullptr, maximise), std::make_unique<typed_basis>(),
             phase_end::optimal, 0};
    tableau_store &s = *r.s;
    build_standard_form(s);
    phase_run run = start_phase1(s);
    r.end = continue_phase(s, run, all_pivots);
    if (r.end == phase_end::optimal && prepare_phase2(s)) {
        artificial_removal removal;
        run = begin_phase2(s, removal);
        r.end = continue_phase(s, run, all_pivots);
        r.entering = run.col;
    }
    rebuild_basis(s, *r.basis);
    return r;
}

std::string basis_text(const typed_basis &basis) {
    std::string out;
    for (int p = 1; p <= basis.size; ++p)
        out += (p > 1 ? " x" : "x") + std::to_string(basis.column[p]);
    return out;
}

// Where each y_i is read: "+x3" (the objective row's entry in column x3), "-x5" (that entry with
// its sign changed), "B" (c_B B^-1), "R" (a redundant row, 0); each reading also checked against
// the tableau's own objective row.
std::string sources_text(const tableau_store &s, const dual_values &v) {
    std::string out;
    for (int i = 1; i <= s.typed.n_rows; ++i) {
        out += i > 1 ? " " : "";
        if (v.source[i] == price_source::objective_column) {
            out += (v.sign[i] > 0 ? "+x" : "-x") + std::to_string(v.column[i]);
            fraction read = s.tableau[0][v.column[i]];
            EXPECT_EQ(text(v.sign[i] > 0 ? read : frac_negate(read)), text(v.y[i])) << "y" << i;
        } else {
            out += v.source[i] == price_source::computed ? "B" : "R";
        }
    }
    return out;
}

std::string second_text(const tableau_store &s, const second_optimum &o) {
    if (o.column == 0)
        return "none";
    std::string head = "x" + std::to_string(o.column) + (o.unused ? " unused" : "");
    head += o.along_ray ? " ray: " : " ratio " + text(o.ratio) + ": ";
    return head + list(o.x, s.typed.n_vars);
}

std::string degenerate_text(const typed_basis &basis) {
    degeneracy d = find_degeneracy(basis);
    std::string out;
    for (int k = 0; k < d.count; ++k)
        out += (k > 0 ? " x" : "x") + std::to_string(basis.column[d.row[k]]);
    return out;
}

std::string cost_ranges_text(const tableau_store &s, const cost_ranges &r) {
    std::string out;
    for (int j = 1; j <= s.typed.n_vars; ++j)
        out += (j > 1 ? " " : "") + range_text(r.c[j]);
    return out;
}

// "[2, 2] with 2": the row is fixed by the combination of redundant row 2.
std::string rhs_ranges_text(const tableau_store &s, const rhs_ranges &r) {
    std::string out;
    for (int i = 1; i <= s.typed.n_rows; ++i) {
        out += (i > 1 ? " " : "") + range_text(r.b[i]);
        if (r.with[i] != 0)
            out += " with " + std::to_string(r.with[i]);
    }
    return out;
}

struct optimum_case {
    const char *name;
    const char *keys;
    bool maximise;
    const char *basis;
    const char *x; // the solution read from the final tableau
    const char *y;
    const char *sources;
    const char *reduced; // of the typed variables
    const char *costs;   // the cost ranges
    const char *rhs;     // the right-hand-side ranges
    const char *second;
    const char *degenerate;
};

// Every figure from tests/analysis/derivations (derive.py, analysis.md); the bases traced by hand.
const optimum_case optimum_cases[] = {
    {"wyndor as a minimisation", "-3 -5\n1 0 < 4\n0 2 < 12\n3 2 < 18\n", false, "x3 x2 x1", "2 6",
     "0 -3/2 -1", "+x3 +x4 +x5", "0 0", "[-15/2, 0] (-inf, -2]", "[2, +inf) [6, 18] [12, 24]",
     "none", ""},
    {"wyndor as a maximisation", "3 5\n1 0 < 4\n0 2 < 12\n3 2 < 18\n", true, "x3 x2 x1", "2 6",
     "0 3/2 1", "-x3 -x4 -x5", "0 0", "[0, 15/2] [2, +inf)", "[2, +inf) [6, 18] [12, 24]", "none",
     ""},
    {"rows turned round", "2 3\n-1 -1 < -2\n1 -1 < 1\n1 -1 > -3\n", false, "x2 x1 x5", "3/2 1/2",
     "-5/2 -1/2 0", "+x3 +x4 -x5", "0 0", "[-3, 3] [2, +inf)", "(-inf, -1] [-2, 2] (-inf, 1]",
     "none", ""},
    {"a redundant = pair", "1 2\n1 1 = 2\n2 2 = 4\n1 0 < 5\n", false, "x1 x3", "2 0", "1 0 0",
     "B R +x3", "0 1", "(-inf, 2] [1, +inf)", "[2, 2] with 2 [4, 4] with 2 [2, +inf)", "none", ""},
    {"a typed variable used as a surplus", "1 2 0\n1 1 0 > 2\n1 -1 0 < 1\n", false, "x2 x1",
     "3/2 1/2 0", "3/2 -1/2", "-x3 +x4", "0 0 0", "[-2, 2] [1, +inf) [0, +inf)",
     "[1, +inf) [-2, 2]", "x3 unused ray: 0 0 1", ""},
    // x3's column is row 1's slack, basic at 4: the typed x3 appears in no row and stays 0.
    {"a typed variable's column as a basic slack", "1 1 0\n1 0 0 < 4\n0 1 0 > 1\n", false, "x3 x2",
     "0 1 0", "0 1", "+x3 -x4", "1 0 0", "[0, +inf) [0, +inf) [0, +inf)", "[0, +inf) [0, +inf)",
     "x3 unused ray: 0 0 1", ""},
    // Phase 1 brings row 1's artificial back into the basis and the removal deletes row 4
    // (x2 = 1), which the basis needs: B takes it back, and row 2, a copy of row 1, is the row
    // left out as the combination.
    {"B takes a deleted row", "3 0\n-1 0 = -1\n-1 0 = -1\n2 1 < 3\n0 2 = 2\n", false, "x1 x3 x2",
     "1 1", "-3 0 0 0", "B R +x3 B", "0 0", "(-inf, +inf) (-inf, +inf)",
     "[-1, -1] with 2 [-1, -1] with 2 [3, +inf) [0, 2]", "none", "x3"},
    {"= and > rows", "2 3\n1 1 = 4\n1 3 > 5\n1 0 < 3\n", false, "x3 x2 x1", "3 1", "3 0 -1",
     "B -x3 +x4", "0 0", "(-inf, 3] [2, +inf)", "[11/3, +inf) (-inf, 6] [0, 7/2]", "none", ""},
    {"a degenerate optimum", "-1 -1\n1 0 < 1\n0 1 < 1\n1 1 < 2\n", false, "x1 x2 x5", "1 1",
     "-1 -1 0", "+x3 +x4 +x5", "0 0", "(-inf, 0] (-inf, 0]", "[0, 1] [0, 1] [2, +inf)", "none",
     "x5"},
    {"multiple optima", "-1 -1\n1 1 < 4\n1 0 < 3\n", false, "x2 x1", "3 1", "-1 0", "+x3 +x4",
     "0 0", "(-inf, -1] [-1, 0]", "[3, +inf) [0, 4]", "x4 ratio 3: 0 4", ""},
    // x2 is a unit column, so every row starts on an artificial and phase 1 ends with x2 basic
    // at 0. x4 has reduced cost 0 but its minimum ratio is 0: the optimum is unique, nothing is
    // said. c2's range is narrower than the costs for which the point stays optimal (c2 >= 0).
    {"a zero reduced cost with ratio 0", "-1 0\n1 0 < 1\n1 1 < 1\n", false, "x1 x2", "1 0", "-1 0",
     "+x3 +x4", "0 0", "(-inf, 0] [-1, 0]", "[0, 1] [1, +inf)", "none", "x2"},
};

} // namespace

TEST(Analysis, FiguresOfTheOptimalBasis) {
    for (const optimum_case &c : optimum_cases) {
        SCOPED_TRACE(c.name);
        solved r = solve_problem(c.keys, c.maximise);
        const tableau_store &s = *r.s;
        const typed_basis &basis = *r.basis;
        ASSERT_EQ(r.end, phase_end::optimal);
        ASSERT_FALSE(basis.overflow);
        EXPECT_EQ(basis_text(basis), c.basis);
        dual_values v = compute_dual_values(s, basis);
        ASSERT_FALSE(v.overflow);
        EXPECT_EQ(list(v.y, s.typed.n_rows), c.y);
        EXPECT_EQ(sources_text(s, v), c.sources);
        reduced_costs d = compute_reduced_costs(s.typed, v.y);
        EXPECT_EQ(list(d.d, s.typed.n_vars), c.reduced);
        basic_solution x = read_solution(s);
        EXPECT_EQ(list(x.x, s.typed.n_vars), c.x);
        dual_check check = check_dual(s.typed, v.y, x.x);
        EXPECT_EQ(check.outcome, dual_outcome::passed);
        EXPECT_EQ(text(check.lhs), text(x.z)); // b*y = c*x = z
        EXPECT_EQ(check_complementary_slackness(s.typed, v.y, x.x, d.d).outcome,
                  slackness_outcome::holds);
        EXPECT_EQ(cost_ranges_text(s, compute_cost_ranges(s, basis, v.y)), c.costs);
        EXPECT_EQ(rhs_ranges_text(s, compute_rhs_ranges(s, basis)), c.rhs);
        EXPECT_EQ(second_text(s, find_second_optimum(s, basis, v.y)), c.second);
        EXPECT_EQ(degenerate_text(basis), c.degenerate);
    }
}

// The Farkas certificate of an infeasible end is read off the final phase-1 basis; its
// combination, written with ">=", has no positive coefficient and the right-hand side w.
TEST(Analysis, FarkasCertificateOfAnInfeasibleEnd) {
    struct farkas_case {
        const char *name;
        const char *keys;
        const char *y, *coefficients, *rhs;
    } cases[] = {
        {"< against >", "1 1\n1 1 < 1\n1 1 > 2\n", "-1 1", "0 0", "1"},
        {"a > row turned round", "1 1\n-1 -1 > -1\n1 1 > 2\n", "1 1", "0 0", "1"},
        {"two = rows", "1 1\n1 1 = 1\n1 1 = 3\n", "-1 1", "0 0", "2"},
        // x2 is a unit column: no unit column is recorded and row 1 receives two artificials.
        {"a row with two artificials", "1 0\n1 0 > 3\n1 1 < 1\n", "1 -1", "0 -1", "2"},
    };
    for (const farkas_case &c : cases) {
        for (bool maximise : {false, true}) { // the certificate is the same in either sense
            SCOPED_TRACE(std::string(c.name) + (maximise ? ", max" : ", min"));
            solved r = solve_problem(c.keys, maximise);
            const tableau_store &s = *r.s;
            ASSERT_EQ(r.end, phase_end::infeasible);
            farkas_certificate f = infeasibility_certificate(s, *r.basis);
            ASSERT_FALSE(f.overflow);
            EXPECT_EQ(list(f.y, s.typed.n_rows), c.y);
            farkas_check check = check_farkas(s.typed, f.y);
            EXPECT_EQ(check.outcome, farkas_outcome::passed);
            EXPECT_EQ(list(check.coefficient, s.typed.n_vars), c.coefficients);
            EXPECT_EQ(text(check.rhs), c.rhs);
            EXPECT_EQ(text(s.w_row[s.n_cols]), c.rhs); // y*b is the minimum of phase 1
        }
    }
    // The record names the row of each artificial column, the one complete_basis left unused too.
    solved r = solve_problem("1 0\n1 0 > 3\n1 1 < 1\n", false);
    EXPECT_EQ(r.s->records.artificial_row[5], 1);
    EXPECT_EQ(r.s->records.artificial_row[6], 1);
    EXPECT_EQ(r.s->records.artificial_row[7], 2);
    EXPECT_EQ(role_of(*r.s, 5).kind, column_kind::artificial);
}

// The ray of an unbounded end: x0 the final tableau's point, d the move of its entering column.
TEST(Analysis, RayOfAnUnboundedEnd) {
    struct ray_case {
        const char *name;
        const char *keys;
        bool maximise;
        int entering;
        const char *x0, *d, *cd;
    } cases[] = {
        {"min -x1 - x2", "-1 -1\n1 -1 < 1\n", false, 2, "1 0", "1 1", "-2"},
        {"max x1 + x2", "1 1\n1 -1 < 1\n", true, 2, "1 0", "1 1", "2"},
        // The surplus x3 enters: x1 = x2 + x3 grows with it, x2 stays.
        {"a surplus enters", "-1 2\n1 -1 > 0\n", false, 3, "0 0", "1 0", "-1"},
    };
    for (const ray_case &c : cases) {
        SCOPED_TRACE(c.name);
        solved r = solve_problem(c.keys, c.maximise);
        const tableau_store &s = *r.s;
        ASSERT_EQ(r.end, phase_end::unbounded);
        EXPECT_EQ(r.entering, c.entering);
        unbounded_ray ray = unbounded_direction(s, *r.basis, r.entering);
        ASSERT_FALSE(ray.overflow);
        EXPECT_EQ(list(ray.x0, s.typed.n_vars), c.x0);
        EXPECT_EQ(list(ray.d, s.typed.n_vars), c.d);
        ray_check check = check_ray(s.typed, ray.x0, ray.d);
        EXPECT_EQ(check.outcome, ray_outcome::passed);
        EXPECT_EQ(text(check.cd), c.cd);
    }
}

namespace {

std::unique_ptr<tableau_store> typed_only(const std::string &keys, bool maximise) {
    auto s = read_typed("\n" + keys + "q\n", nullptr, maximise);
    build_standard_form(*s);
    return s;
}

} // namespace

// Each check names the first thing that is wrong with a wrong dual solution.
TEST(Analysis, DualCheckFailsOnWrongDualValues) {
    struct dual_case {
        const char *name;
        bool maximise;
        fraction y1, y2, y3;
        dual_outcome outcome;
        int index;
        const char *lhs, *rhs;
    } cases[] = {
        {"the optimum", false, {0, 1}, {-3, 2}, {-1, 1}, dual_outcome::passed, 0, "-36", "-36"},
        {"the optimum of max", true, {0, 1}, {3, 2}, {1, 1}, dual_outcome::passed, 0, "36", "36"},
        {"a < row's price above 0",
         false,
         {1, 1},
         {-3, 2},
         {-1, 1},
         dual_outcome::wrong_sign,
         1,
         "1",
         "0"},
        {"the minimisation's prices under max",
         true,
         {0, 1},
         {-3, 2},
         {-1, 1},
         dual_outcome::wrong_sign,
         2,
         "-3/2",
         "0"},
        {"x1's dual constraint broken",
         false,
         {0, 1},
         {0, 1},
         {0, 1},
         dual_outcome::constraint_violated,
         1,
         "0",
         "-3"},
        {"x2's dual constraint broken under max",
         true,
         {0, 1},
         {1, 1},
         {1, 1},
         dual_outcome::constraint_violated,
         2,
         "4",
         "5"},
        {"feasible but not optimal",
         false,
         {0, 1},
         {-5, 2},
         {-1, 1},
         dual_outcome::value_differs,
         0,
         "-48",
         "-36"},
    };
    const fraction x[] = {{0, 1}, {2, 1}, {6, 1}};
    for (const dual_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = typed_only(std::string(c.maximise ? "3 5" : "-3 -5") +
                                "\n1 0 < 4\n0 2 < 12\n3 2 < 18\n",
                            c.maximise);
        const fraction y[] = {{0, 1}, c.y1, c.y2, c.y3};
        dual_check check = check_dual(s->typed, y, x);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.index, c.index);
        EXPECT_EQ(text(check.lhs), c.lhs);
        EXPECT_EQ(text(check.rhs), c.rhs);
    }
}

TEST(Analysis, ComplementarySlacknessFailsOnAWrongPair) {
    auto s = typed_only("-3 -5\n1 0 < 4\n0 2 < 12\n3 2 < 18\n", false);
    const fraction x[] = {{0, 1}, {2, 1}, {6, 1}};
    const fraction y_right[] = {{0, 1}, {0, 1}, {-3, 2}, {-1, 1}};
    const fraction y_wrong[] = {{0, 1}, {-1, 1}, {0, 1}, {0, 1}};
    const fraction d_right[] = {{0, 1}, {0, 1}, {0, 1}};
    const fraction d_wrong[] = {{0, 1}, {1, 1}, {0, 1}};
    slackness_check check = check_complementary_slackness(s->typed, y_right, x, d_right);
    EXPECT_EQ(check.outcome, slackness_outcome::holds);
    EXPECT_EQ(list(check.slack, 3), "2 0 0");
    check = check_complementary_slackness(s->typed, y_wrong, x, d_right);
    EXPECT_EQ(check.outcome, slackness_outcome::row_fails);
    EXPECT_EQ(check.index, 1);
    EXPECT_EQ(text(check.first) + " " + text(check.second), "-1 2"); // y1 and row 1's slack
    check = check_complementary_slackness(s->typed, y_right, x, d_wrong);
    EXPECT_EQ(check.outcome, slackness_outcome::variable_fails);
    EXPECT_EQ(check.index, 1);
    EXPECT_EQ(text(check.first) + " " + text(check.second), "2 1"); // x1 and d1
}

TEST(Analysis, FarkasCheckFailsOnAWrongCertificate) {
    struct farkas_case {
        const char *name;
        fraction y1, y2;
        farkas_outcome outcome;
        int index;
    } cases[] = {
        {"the certificate", {-1, 1}, {1, 1}, farkas_outcome::passed, 0},
        {"a < row's multiplier above 0", {1, 1}, {1, 1}, farkas_outcome::wrong_sign, 1},
        {"a > row's multiplier below 0", {-1, 1}, {-1, 2}, farkas_outcome::wrong_sign, 2},
        {"a positive coefficient", {-1, 1}, {2, 1}, farkas_outcome::coefficient_positive, 1},
        {"a right-hand side of 0", {-2, 1}, {1, 1}, farkas_outcome::rhs_not_positive, 0},
        {"no combination at all", {0, 1}, {0, 1}, farkas_outcome::rhs_not_positive, 0},
    };
    auto s = typed_only("1 1\n1 1 < 1\n1 1 > 2\n", false);
    for (const farkas_case &c : cases) {
        SCOPED_TRACE(c.name);
        const fraction y[] = {{0, 1}, c.y1, c.y2};
        farkas_check check = check_farkas(s->typed, y);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.index, c.index);
    }
}

TEST(Analysis, RayCheckFailsOnAWrongRay) {
    struct ray_case {
        const char *name;
        const char *costs;
        fraction x1, x2, d1, d2;
        ray_outcome outcome;
        int index;
    } cases[] = {
        {"the ray", "-1 -1", {1, 1}, {0, 1}, {1, 1}, {1, 1}, ray_outcome::passed, 0},
        {"another ray", "-1 -1", {0, 1}, {0, 1}, {0, 1}, {1, 1}, ray_outcome::passed, 0},
        {"x0 below 0", "-1 -1", {-1, 1}, {0, 1}, {1, 1}, {1, 1}, ray_outcome::point_negative, 1},
        {"x0 outside row 1",
         "-1 -1",
         {2, 1},
         {0, 1},
         {1, 1},
         {1, 1},
         ray_outcome::point_violates,
         1},
        {"d below 0", "-1 -1", {1, 1}, {0, 1}, {1, 1}, {-1, 1}, ray_outcome::direction_negative, 2},
        {"d is 0", "-1 -1", {1, 1}, {0, 1}, {0, 1}, {0, 1}, ray_outcome::direction_zero, 0},
        {"d leaves row 1",
         "-1 -1",
         {1, 1},
         {0, 1},
         {1, 1},
         {0, 1},
         ray_outcome::direction_violates,
         1},
        {"z grows along d", "1 1", {1, 1}, {0, 1}, {1, 1}, {1, 1}, ray_outcome::not_improving, 0},
    };
    for (const ray_case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = typed_only(std::string(c.costs) + "\n1 -1 < 1\n", false);
        const fraction x0[] = {{0, 1}, c.x1, c.x2};
        const fraction d[] = {{0, 1}, c.d1, c.d2};
        ray_check check = check_ray(s->typed, x0, d);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.index, c.index);
    }
}

// An overflow of the analysis stays its own: each figure built on an overflowed basis says so,
// and a check whose sums pass 64 bits says overflow rather than a verdict; the store's flag is
// never touched.
TEST(Analysis, OverflowIsReportedPerFigure) {
    solved r = solve_problem("-3 -5\n1 0 < 4\n0 2 < 12\n3 2 < 18\n", false);
    const tableau_store &s = *r.s;
    typed_basis &basis = *r.basis;
    basis.overflow = true;
    EXPECT_TRUE(compute_dual_values(s, basis).overflow);
    EXPECT_TRUE(compute_cost_ranges(s, basis, compute_dual_values(s, basis).y).c[1].overflow);
    EXPECT_TRUE(compute_rhs_ranges(s, basis).b[3].overflow);
    EXPECT_TRUE(find_second_optimum(s, basis, compute_dual_values(s, basis).y).overflow);
    EXPECT_EQ(find_degeneracy(basis).count, 0);
    EXPECT_TRUE(infeasibility_certificate(s, basis).overflow);
    EXPECT_TRUE(unbounded_direction(s, basis, 4).overflow);
    EXPECT_FALSE(s.overflow);

    const fraction big{INT64_MAX - 1, 1};
    const fraction y[] = {{0, 1}, {0, 1}, {0, 1}, frac_negate(big)};
    const fraction x[] = {{0, 1}, {2, 1}, {6, 1}};
    EXPECT_EQ(check_dual(s.typed, y, x).outcome, dual_outcome::overflow); // 3 * big in A^T y
    const fraction y_farkas[] = {{0, 1}, {0, 1}, {0, 1}, frac_negate(big)};
    EXPECT_EQ(check_farkas(s.typed, y_farkas).outcome, farkas_outcome::overflow);
    const fraction d[] = {{0, 1}, {0, 1}, big};
    EXPECT_EQ(check_ray(s.typed, x, d).outcome, ray_outcome::overflow); // 2 * big in row 2
    EXPECT_FALSE(s.overflow);
}
