// The whole BF chain on a synthetic spectrum: resampling, design matrix, decomposition, the
// program star on the grid and the BFs, checked against shifts put in by construction.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "numeric/Bf.h"
#include "numeric/Design.h"
#include "numeric/Resample.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

// A standard on the grid itself (resampling is the identity): inverted absorption lines as a
// function of the grid index, so that a whole-step shift is exact. A program equal to the
// standard, or shifted by whole grid steps, gives a unit spike at its velocity in the BF of
// the highest order.
TEST(BfChain, WholeStepShiftGivesUnitSpikeAtThatVelocity) {
    constexpr int kN = 700, kSpan = 101, kZero = kSpan / 2 + 1;
    constexpr double kDelV = 29;
    double lines[140][3];   // centre, sigma, depth
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> u(0, 1);
    for (auto& l : lines) l[0] = -60 + (kN + 120) * u(gen), l[1] = 0.7 + 1.8 * u(gen), l[2] = 0.05 + 0.55 * u(gen);
    auto f = [&](double x) {
        double v = 0;
        for (const auto& l : lines) v += l[2] * std::exp(-0.5 * std::pow((x - l[0]) / l[1], 2));
        return v;
    };
    AnalysisState s;
    test::RecordingPlatform p;
    s.nPixStd = s.nPixPro = kN;
    const double r1 = 1 + kDelV / 299792.4;
    for (int k = 1; k <= kN; ++k) s.ws(k) = s.wp(k) = std::pow(r1, k - 1) * 5000, s.ss(k) = f(k);
    ASSERT_TRUE(Resample(s, p, "29", "5000", "9000"));
    for (int k = 1; k <= kN; ++k) ASSERT_EQ(s.ssr(k), s.ss(k)) << "identity resampling at " << k;
    ASSERT_TRUE(Design_matrix(s, p, "101").built);
    ASSERT_TRUE(RunSvdStep(s, p));
    EXPECT_EQ(BfVelocity(s, kZero), 0);
    for (int shift : {0, 1, -7, -45}) {
        for (int k = 1; k <= kN; ++k) s.sp(k) = f(k - shift);
        ASSERT_TRUE(RunBfStep(s, p));
        EXPECT_EQ(BfVelocity(s, kZero + shift), shift * kDelV) << "shift " << shift;
        for (int i = 1; i <= kSpan; ++i)
            ASSERT_NEAR(s.bb(i, kSpan), i == kZero + shift ? 1.0 : 0.0, 1e-9) << "shift " << shift << " point " << i;
    }
    EXPECT_TRUE(p.messages.empty());
}

}  // namespace
}  // namespace tessan
