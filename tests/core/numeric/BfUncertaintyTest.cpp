// Uncertainties of BF peak velocities and the order of generalised cross-validation, checked
// against the long way: residuals through the design matrix, the BF's covariance and the
// vertex's variance by perturbing each spectrum point, and the order that finds a whole-step shift.
#include "numeric/BfUncertainty.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "numeric/Bf.h"
#include "numeric/Design.h"
#include "numeric/Smooth.h"
#include "numeric/Svd.h"
#include "support/RecordingPlatform.h"
#include "support/SyntheticStandard.h"

namespace tessan {
namespace {

// Steps 2 to 4 on the synthetic standard of nGrid points (2 km/s steps), and a program star that
// is the standard shifted by `shift` points (spr(x) = ssr(x - shift): a BF peak at shift * delV)
// plus white noise of the given deviation.
struct Model {
    test::RecordingPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    int rows;
    Model(int nGrid, int span, int zeroAt = 0) : rows(nGrid - span + 1) {
        s->nGrid = nGrid, s->span = span, s->span2 = span / 2, s->delV = 2.0, s->svdValid = true;
        test::MakeInvertedSpectrum(s->ssr, nGrid);
        BuildDesign(s->ssr, span, rows, s->des);
        CopyBlock(s->des, s->U, rows, span);
        EXPECT_EQ(Svd_decomp(s->U, rows, span, s->ww, s->Vt), SvdStatus::Ok);
        if (zeroAt) s->ww(zeroAt) = 0;   // then the design matrix is taken as U W V^T
        for (int i = 1; zeroAt && i <= rows; ++i)
            for (int j = 1; j <= span; ++j) {
                s->des(i, j) = 0;
                for (int k = 1; k <= span; ++k) s->des(i, j) += s->U(i, k) * s->ww(k) * s->Vt(j, k);
            }
    }
    void Star(int shift, double noise, unsigned seed = 5) {
        std::mt19937 gen(seed);
        std::normal_distribution<double> e(0.0, noise);
        for (int x = 1; x <= s->nGrid; ++x) s->spr(x) = s->ssr(std::clamp(x - shift, 1, s->nGrid)) + e(gen);
        ASSERT_TRUE(solveAllOrders(*s, p));
    }
    BfResiduals Residuals() const { return ResidualsOfOrders(s->U, s->ww, s->spr, s->span, rows); }
};

// rss and G of every order against s - D b_n formed through the design matrix; m = span leaves
// the full order no freedom; a zero singular value adds no component (G repeats, the smaller
// order wins).
TEST(BfResiduals, AgreeWithTheFitThroughTheDesignMatrix) {
    const struct { int nGrid, span, zeroAt; } cases[] = {{60, 9, 0}, {17, 9, 0}, {40, 7, 3}};
    for (const auto& c : cases) {
        Model m(c.nGrid, c.span, c.zeroAt);
        m.Star(1, 0.01);
        const BfResiduals r = m.Residuals();
        double bestG = INFINITY;
        int bestN = 1;
        for (int n = 1; n <= c.span; ++n) {
            double rss = 0;
            for (int i = 1; i <= m.rows; ++i) {
                double e = m.s->spr(i + c.span / 2);
                for (int j = 1; j <= c.span; ++j) e -= m.s->des(i, j) * m.s->bb(j, n);
                rss += e * e;
            }
            const int dof = m.rows - n + (c.zeroAt && n >= c.zeroAt ? 1 : 0);
            const double g = dof > 0 ? rss / dof / dof : NAN;
            if (g < bestG * (1 - 1e-12)) bestG = g, bestN = n;
            const std::string name = "grid " + std::to_string(c.nGrid) + " n " + std::to_string(n);
            EXPECT_NEAR(r.rss[std::size_t(n)], rss, 1e-10 * rss + 1e-24) << name;
            EXPECT_EQ(std::isnan(Gcv(r, n)) + std::isnan(NoiseVariance(r, n)), dof > 0 ? 0 : 2) << name;
            if (dof > 0) {
                EXPECT_NEAR(Gcv(r, n), g, 1e-10 * g) << name;
            }
        }
        EXPECT_EQ(GcvOrder(r), bestN) << "grid " << c.nGrid;
    }
}

// Each point of the star moved either way (central differences): the BF points 20..24 of order n
// give the covariance block (checked as the variance of every sum of two of them), and the
// vertex measured with and without smoothing its standard deviation, also where the smoothing
// sets one of the five points to 0.
TEST(VertexUncertainty, CovarianceAndVertexVarianceAreThePropagationOfEachPoint) {
    const struct { const char* smooth; int centre; } cases[] = {{nullptr, 24}, {"1.5", 24}, {"3", 16}};
    Model m(180, 41);
    m.Star(3, 0.002);
    AnalysisState& s = *m.s;
    const int n = 30, first = 20;
    auto vertex = [&](int c) {
        CopyBfOrder(s, n);
        if (cases[c].smooth) SmoothCommand(s, cases[c].smooth);
        Vec px(5), py(5);
        const Vec& bf = cases[c].smooth ? s.bb_sm : s.bb_n;
        return CentroidAround(Series(s.vel_bb, s.span), Series(bf, s.span), cases[c].centre, px, py).value();
    };
    double sd[3], var[3] = {}, pairs[5][5] = {};
    for (int c = 0; c < 3; ++c) {
        vertex(c);
        const SmoothingKernel k{s.Kernel, s.KernelHalf};
        sd[c] = VertexUncertainty(s.Vt, s.ww, n, s.span, s.vel_bb, c ? s.bb_sm : s.bb_n, cases[c].centre,
                                  c ? &k : nullptr, 1.0).value();
    }
    EXPECT_TRUE(s.bb_sm(14) == 0 && s.KernelHalf == 14);
    const double h = 1e-6;
    for (int x = 1; x <= s.nGrid; ++x) {
        double v[3][2], b[5][2];
        for (int side = 0; side < 2; ++side) {
            s.spr(x) += side ? -2 * h : h;
            ASSERT_TRUE(solveAllOrders(s, m.p));
            for (int a = 0; a < 5; ++a) b[a][side] = s.bb(first + a, n);
            for (int c = 0; c < 3; ++c) v[c][side] = vertex(c);
        }
        s.spr(x) += h;
        for (int c = 0; c < 3; ++c) var[c] += std::pow((v[c][0] - v[c][1]) / (2 * h), 2);
        for (int a = 0; a < 5; ++a)
            for (int e = a; e < 5; ++e) pairs[a][e] += std::pow((b[a][0] - b[a][1] + b[e][0] - b[e][1]) / (2 * h), 2);
    }
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(sd[c], std::sqrt(var[c]), 1e-5 * sd[c]) << "case " << c;
    for (int a = 0; a < 5; ++a)
        for (int e = a; e < 5; ++e) {
            std::vector<double> unit(5, 0.0);
            unit[std::size_t(a)] += 1, unit[std::size_t(e)] += 1;
            EXPECT_NEAR(FunctionalVariance(s.Vt, s.ww, n, first, unit), pairs[a][e], 1e-6 * pairs[a][e]) << a << e;
        }
}

// A star that is the standard shifted by whole points: the order chosen finds the shift exactly
// without noise, and falls as noise grows.
TEST(GcvOrder, RecoversAWholeStepShiftAndFallsWithNoise) {
    Model m(400, 41);
    const AnalysisState& s = *m.s;
    for (int shift : {-7, 0, 5}) {
        m.Star(shift, 0.0);
        const int n = GcvOrder(m.Residuals());
        int top = 10;
        for (int i = 10; i <= s.span - 10; ++i)
            if (s.bb(i, n) > s.bb(top, n)) top = i;
        EXPECT_EQ(top, s.span2 + 1 + shift) << "shift " << shift << " order " << n;
        CopyBfOrder(*m.s, n);
        Vec px(5), py(5);
        const auto v = CentroidAround(Series(s.vel_bb, s.span), Series(s.bb_n, s.span), top, px, py);
        EXPECT_NEAR(v.value_or(NAN), shift * s.delV, 1e-9) << "shift " << shift << " order " << n;
    }
    int last = s.span + 1;
    for (double noise : {1e-3, 3e-3, 1e-2, 1e-1}) {
        m.Star(2, noise);
        const int n = GcvOrder(m.Residuals());
        EXPECT_LT(n, last) << "noise " << noise;
        last = n;
    }
}

}  // namespace
}  // namespace tessan
