// Uncertainties of BF peak velocities and the order of generalised cross-validation against the
// long way: residuals through the design matrix, and the star perturbed point by point.
#include "numeric/BfUncertainty.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "numeric/Bf.h"
#include "numeric/Design.h"
#include "numeric/Smooth.h"
#include "numeric/Svd.h"
#include "support/RecordingPlatform.h"
#include "support/SyntheticStandard.h"

namespace tessan {
namespace {

// Steps 3 and 4 on the synthetic standard (2 km/s steps; singular value zeroAt set to 0 and the
// design matrix taken as U W V^T then), and a star that is the standard shifted by `shift`
// points (a BF peak at shift * delV) plus white noise.
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
        if (zeroAt) s->ww(zeroAt) = 0;
        for (int i = 1; zeroAt && i <= rows; ++i)
            for (int j = 1; j <= span; ++j) {
                s->des(i, j) = 0;
                for (int k = 1; k <= span; ++k) s->des(i, j) += s->U(i, k) * s->ww(k) * s->Vt(j, k);
            }
    }
    BfResiduals Star(int shift, double noise, unsigned seed = 5) {
        std::mt19937 gen(seed);
        std::normal_distribution<double> e(0.0, noise);
        for (int x = 1; x <= s->nGrid; ++x) s->spr(x) = s->ssr(std::clamp(x - shift, 1, s->nGrid)) + e(gen);
        EXPECT_TRUE(solveAllOrders(*s, p));
        return ResidualsOfOrders(s->U, s->ww, s->spr, s->span, rows);
    }
};

// rss and G of every order against s - D b_n through the design matrix; with m = span the full
// order has no freedom left; a zero singular value adds no parameter (G repeats; the smaller wins).
TEST(BfResiduals, AgreeWithTheFitThroughTheDesignMatrix) {
    const struct { int nGrid, span, zeroAt; } cases[] = {{60, 9, 0}, {17, 9, 0}, {40, 7, 3}};
    for (const auto& c : cases) {
        Model m(c.nGrid, c.span, c.zeroAt);
        const BfResiduals r = m.Star(1, 0.01);
        double bestG = INFINITY;
        int bestN = 1, zeros = 0;
        for (int n = 1; n <= c.span; ++n) {
            double rss = 0;
            for (int i = 1; i <= m.rows; ++i) {
                double e = m.s->spr(i + c.span / 2);
                for (int j = 1; j <= c.span; ++j) e -= m.s->des(i, j) * m.s->bb(j, n);
                rss += e * e;
            }
            zeros += n == c.zeroAt;
            const double dof = m.rows - n + zeros, g = dof > 0 ? rss / dof / dof : NAN;
            if (g < bestG * (1 - 1e-12)) bestG = g, bestN = n;
            EXPECT_NEAR(r.rss[std::size_t(n)], rss, 1e-10 * rss + 1e-24) << c.nGrid << " n " << n;
            EXPECT_TRUE(dof > 0 ? std::fabs(Gcv(r, n) - g) <= 1e-10 * g && !std::isnan(NoiseVariance(r, n))
                                : std::isnan(Gcv(r, n)) && std::isnan(NoiseVariance(r, n))) << c.nGrid << " n " << n;
        }
        EXPECT_EQ(GcvOrder(r), bestN) << c.nGrid;
    }
}

// Every point of the star moved either way: the BF points 20..24 of order n give the covariance
// (as the variance of each sum of two), and the vertex measured on the BF, smoothed or not (at
// 16 with width 3 the smoothing sets point 14 to 0), its standard deviation per unit noise.
TEST(VertexUncertainty, CovarianceAndVertexVarianceAreThePropagationOfEachPoint) {
    const struct { const char* smooth; int centre; } cases[] = {{"", 24}, {"1.5", 24}, {"3", 16}};
    Model m(180, 41);
    m.Star(3, 0.002);
    AnalysisState& s = *m.s;
    const int n = 30, first = 20;
    double sd[3], var[3] = {}, pairs[5][5] = {}, h = 1e-6;
    auto vertex = [&](int c) {
        CopyBfOrder(s, n);
        if (*cases[c].smooth) SmoothCommand(s, cases[c].smooth);
        const SmoothingKernel k{s.Kernel, s.KernelHalf};
        Vec px(5), py(5);
        sd[c] = VertexUncertainty(s.Vt, s.ww, n, s.span, s.vel_bb, c ? s.bb_sm : s.bb_n, cases[c].centre,
                                  c ? &k : nullptr, 1.0).value();
        return CentroidAround(Series(s.vel_bb, s.span), Series(c ? s.bb_sm : s.bb_n, s.span), cases[c].centre, px, py)
            .value();
    };
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
    ASSERT_TRUE(solveAllOrders(s, m.p));
    for (int c = 0; c < 3; ++c) vertex(c);   // sd of the star itself
    EXPECT_TRUE(s.bb_sm(14) == 0 && s.KernelHalf == 14);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(sd[c], std::sqrt(var[c]), 1e-5 * sd[c]) << "case " << c;
    for (int a = 0; a < 5; ++a)
        for (int e = a; e < 5; ++e) {
            std::vector<double> sum(5, 0.0);
            sum[std::size_t(a)] += 1, sum[std::size_t(e)] += 1;
            EXPECT_NEAR(FunctionalVariance(s.Vt, s.ww, n, first, sum), pairs[a][e], 1e-6 * pairs[a][e]) << a << e;
        }
}

// Shifted by whole points: the order chosen finds the shift exactly without noise, and falls as
// noise grows.
TEST(GcvOrder, RecoversAWholeStepShiftAndFallsWithNoise) {
    Model m(400, 41);
    AnalysisState& s = *m.s;
    Vec px(5), py(5);
    for (int shift : {-7, 0, 5}) {
        const int n = CopyBfOrder(s, GcvOrder(m.Star(shift, 0.0)));
        const auto top = PeakAround(Series(s.bb_n, s.span), s.span2 + 1 + shift);
        EXPECT_EQ(top.value_or(0), s.span2 + 1 + shift) << "shift " << shift << " order " << n;
        const auto v = CentroidAround(Series(s.vel_bb, s.span), Series(s.bb_n, s.span), top.value_or(1), px, py);
        EXPECT_NEAR(v.value_or(NAN), shift * s.delV, 1e-9) << "shift " << shift << " order " << n;
    }
    int last = s.span + 1;
    for (double noise : {1e-3, 3e-3, 1e-2, 1e-1}) {
        const int n = GcvOrder(m.Star(2, noise));
        EXPECT_LT(n, last) << "noise " << noise;
        last = n;
    }
}

}  // namespace
}  // namespace tessan
