// The decomposition: U diag(w) V^T gives the matrix back with orthonormal factors, on realistic
// design matrices of the sizes that take every blocked path and on small degenerate matrices,
// bit for bit as the plain loops give it; the refusals; step 4 on the design matrix of step 3.
#include "numeric/Svd.h"
#include "numeric/SvdKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "steps/StandardSteps.h"
#include "support/RecordingPlatform.h"
#include "support/SyntheticStandard.h"
#include "SvdPlain.h"

namespace tessan {
namespace {

using Rows = std::vector<std::vector<double>>;

Mat FromRows(const Rows& r) {
    Mat a(static_cast<int>(r.size()), static_cast<int>(r[0].size()));
    for (int i = 1; i <= a.rows(); ++i)
        for (int j = 1; j <= a.cols(); ++j) a(i, j) = r[std::size_t(i - 1)][std::size_t(j - 1)];
    return a;
}

// The design matrix of an nPix-point standard, stored with the leading dimension of the state.
Mat RealisticDesign(int nPix, int span, int zeroColumn = 0) {
    Vec ssr(nPix);
    test::MakeInvertedSpectrum(ssr, nPix);
    Mat des(3000, span);
    for (int j = 1; j <= span; ++j)
        for (int i = 1; i <= nPix - span + 1; ++i) des(i, j) = j == zeroColumn ? 0 : ssr(i - j + span);
    return des;
}

// max |A - U diag(w) V^T| / max |A|.
double ReconstructionError(const Mat& a, const Mat& u, const Vec& w, const Mat& v, int m, int n) {
    double err = 0, scale = 0;
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= n; ++j) {
            double s = 0;
            for (int k = 1; k <= n; ++k) s += u(i, k) * w(k) * v(j, k);
            err = std::max(err, std::fabs(s - a(i, j)));
            scale = std::max(scale, std::fabs(a(i, j)));
        }
    return scale > 0 ? err / scale : err;
}

// max |Q^T Q - I| over the n columns of q (m rows).
double OrthonormalityError(const Mat& q, int m, int n) {
    double err = 0;
    for (int i = 1; i <= n; ++i)
        for (int j = i; j <= n; ++j) {
            double s = 0;
            for (int k = 1; k <= m; ++k) s += q(k, i) * q(k, j);
            err = std::max(err, std::fabs(s - (i == j ? 1.0 : 0.0)));
        }
    return err;
}

// With U and V orthonormal and w >= 0, a reconstruction to rounding makes w the singular values.
TEST(SvdDecomp, ReproducesTheMatrixWithOrthonormalFactors) {
    const struct { std::string name; Mat a; int m, n; std::vector<double> sortedDown; } cases[] = {
        {"realistic 1800 x 201", RealisticDesign(2000, 201), 1800, 201, {}},
        {"realistic 400 x 301 (rotations in several batches)", RealisticDesign(700, 301), 400, 301, {}},
        {"realistic 60 x 21 (partial row blocks)", RealisticDesign(80, 21), 60, 21, {}},
        // w(1) = 0 beside a non-zero rv1(2): the cancellation path.
        {"realistic 60 x 21 with a zero first column", RealisticDesign(80, 21, 1), 60, 21, {}},
        {"zero first element", FromRows({{0, 1, 2}, {1, 0, 3}, {0, 0, 1}, {2, 1, 0}}), 4, 3, {}},
        {"3 x 2 known", FromRows({{1, 1}, {0, 1}, {1, 0}}), 3, 2, {std::sqrt(3.0), 1.0}},
        {"square (m = n)", FromRows({{2, 0, 0}, {0, -3, 0}, {0, 0, 1}}), 3, 3, {3, 2, 1}},
        {"zero column", FromRows({{1, 0, 2}, {3, 0, 1}, {0, 0, 4}, {5, 0, 1}}), 4, 3, {}},
        {"rank deficient (col3 = col1 + col2)", FromRows({{1, 2, 3}, {4, 5, 9}, {7, 8, 15}, {1, 0, 1}}), 4, 3, {}},
        {"f = 0 in the column part", FromRows({{0, 1}, {1, 0}, {0, 0}}), 3, 2, {1, 1}},
        {"f = 0 in the row part", FromRows({{1, 0, 1}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}}), 4, 3, {}},
        {"all zero", FromRows({{0, 0}, {0, 0}, {0, 0}}), 3, 2, {0, 0}},
    };
    // Every set of inner loops this processor runs (the 4-wide one where it has AVX2).
#if defined(__x86_64__) || defined(__i386__)
    EXPECT_EQ(SvdKernelSets().size(), __builtin_cpu_supports("avx2") ? 2u : 1u);
#endif
    for (const auto& c : cases) {
        Mat u = c.a, v(c.n, c.n), pu = c.a, pv(c.n, c.n);
        Vec w(c.n), pw(c.n);
        // The arranged loops perform the plain loops' operations in the same order: the same bits.
        ASSERT_TRUE(test::PlainSvd(pu, c.m, c.n, pw, pv)) << c.name;
        for (const SvdKernels* k : SvdKernelSets()) {
            u = c.a;
            ASSERT_EQ(SvdDecompUsing(*k, u, c.m, c.n, w, v), SvdStatus::Ok) << c.name << ", " << k->name;
            EXPECT_TRUE(u == pu && w == pw && v == pv) << c.name << ", " << k->name << ": not the plain loops' bits";
        }
        std::vector<double> sorted(w.data() + 1, w.data() + 1 + c.n);
        std::sort(sorted.rbegin(), sorted.rend());
        for (double x : sorted) ASSERT_TRUE(std::isfinite(x) && x >= 0) << c.name << ": value " << x;
        const double tol = c.m > 10 ? 1e-12 : 1e-14;
        EXPECT_LE(ReconstructionError(c.a, u, w, v, c.m, c.n), tol) << c.name;
        EXPECT_LE(OrthonormalityError(v, c.n, c.n), tol) << c.name << ": V";
        for (std::size_t i = 0; i < c.sortedDown.size(); ++i) EXPECT_NEAR(sorted[i], c.sortedDown[i], 1e-14) << c.name;
        if (c.name.find("zero col") != std::string::npos || c.name.starts_with("rank")) {
            EXPECT_LE(sorted.back(), 1e-14 * sorted.front()) << c.name << ": smallest value";
        } else if (sorted.back() > 0) {
            EXPECT_LE(OrthonormalityError(u, c.m, c.n), tol) << c.name << ": U";
        }
    }
}

TEST(SvdDecomp, TooFewRowsChangesNothingAndNonNumbersNeverConverge) {
    const Mat a = FromRows({{1, 2, 3}, {4, 5, 6}});
    Mat u = a, v(3, 3);
    Vec w(3);
    v(2, 2) = 7, w(1) = 9;
    const Mat v0 = v;
    const Vec w0 = w;
    EXPECT_EQ(Svd_decomp(u, 2, 3, w, v), SvdStatus::TooFewRows);
    EXPECT_TRUE(u == a && w == w0 && v == v0);
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const Rows& rows : {Rows{{1, 2}, {nan, 1}, {0, 1}}, Rows{{1, 2}, {3, inf}, {0, 1}}}) {
        Mat b = FromRows(rows), vb(2, 2);
        Vec wb(2);
        EXPECT_EQ(Svd_decomp(b, 3, 2, wb, vb), SvdStatus::NoConvergence) << rows[1][0];
    }
}

// Step 4 on a realistic design matrix: the rows below those in use stay; a flat standard (every
// singular value 0) is accepted; failures show their message and leave no usable decomposition.
TEST(SvdStep, DecomposesTheDesignMatrixOrShowsWhyNot) {
    auto realistic = [] {
        auto s = std::make_unique<AnalysisState>();
        s->nGrid = 300;
        test::MakeInvertedSpectrum(s->ssr, 300);
        test::RecordingPlatform p;
        EXPECT_TRUE(Design_matrix(*s, p, "41").built);
        return s;
    };
    test::RecordingPlatform p;
    auto s = realistic();
    s->U(261, 1) = 5;
    ASSERT_TRUE(RunSvdStep(*s, p));
    EXPECT_TRUE(p.messages.empty() && s->svdValid && s->U(261, 1) == 5);
    EXPECT_LE(ReconstructionError(s->des, s->U, s->ww, s->Vt, 260, 41), 1e-12);
    auto flat = std::make_unique<AnalysisState>();
    flat->nGrid = 21;
    ASSERT_TRUE(Design_matrix(*flat, p, "5").built);
    EXPECT_TRUE(RunSvdStep(*flat, p) && p.messages.empty() && flat->svdValid);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(flat->ww(i), 0) << i;

    const struct { std::string name; int span, nGrid; bool nanInDes; std::string message; } cases[] = {
        {"NaN in the standard", 41, 300, true, "No consVergence in 30 iterations"},
        {"grid shrunk below the span", 41, 80, false, "You must augment A with extra zero rows."},
        {"no design matrix", 0, 300, false, "There is no design matrix to decompose: build it first (step 3)."},
    };
    for (const auto& c : cases) {
        auto t = realistic();
        t->span = c.span, t->nGrid = c.nGrid, t->svdValid = true;
        if (c.nanInDes) t->des(10, 3) = std::numeric_limits<double>::quiet_NaN();
        test::RecordingPlatform q;
        EXPECT_FALSE(RunSvdStep(*t, q)) << c.name;
        EXPECT_EQ(q.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_FALSE(t->svdValid) << c.name;
    }
}

}  // namespace
}  // namespace tessan
