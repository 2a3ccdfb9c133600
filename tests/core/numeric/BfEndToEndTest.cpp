// The whole BF chain on synthetic spectra: resampling, design matrix, decomposition, the
// program star on the grid and the BFs, checked against velocities put in by construction.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "numeric/Bf.h"
#include "numeric/GaussFit.h"
#include "numeric/Smooth.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

using test::RecordingPlatform;

constexpr int kN = 700;        // pixels of both stars and points of the grid
constexpr int kSpan = 101;
constexpr double kDelV = 29;

// Inverted absorption lines as a function of the grid index: a whole-step shift is exact.
struct LineSpectrum {
    LineSpectrum() {
        std::mt19937 gen(11);
        std::uniform_real_distribution<double> u(0, 1);
        for (int k = 0; k < 140; ++k)
            lines.push_back({-60 + (kN + 120) * u(gen), 0.7 + 1.8 * u(gen), 0.05 + 0.55 * u(gen)});
    }
    double operator()(double x) const {
        double v = 0;
        for (const auto& [centre, sigma, depth] : lines)
            v += depth * std::exp(-0.5 * std::pow((x - centre) / sigma, 2));
        return v;
    }
    std::vector<std::array<double, 3>> lines;   // centre, sigma, depth
};

// A standard on the grid itself (resampling is the identity), decomposed; the program star is
// given point by point on the same grid.
class BfChain : public ::testing::Test {
protected:
    void SetUp() override {
        s.nPixStd = kN;
        const double r1 = 1 + kDelV / 299792.4;
        for (int k = 1; k <= kN; ++k) s.ws(k) = std::pow(r1, k - 1) * 5000, s.ss(k) = f(k);
        ASSERT_TRUE(Resample(s, p, "29", "5000", "9000"));
        for (int k = 1; k <= kN; ++k) ASSERT_EQ(s.ssr(k), s.ss(k)) << "identity resampling at " << k;
        ASSERT_TRUE(Design_matrix(s, p, "101").built);
        ASSERT_TRUE(RunSvdStep(s, p));
        ASSERT_TRUE(p.messages.empty());
    }

    template <class Program>
    void runProgram(Program program) {
        s.nPixPro = kN;
        for (int k = 1; k <= kN; ++k) s.wp(k) = s.ws(k), s.sp(k) = program(k);
        ASSERT_TRUE(RunBfStep(s, p));
        ASSERT_TRUE(p.messages.empty()) << p.messages.front();
    }

    AnalysisState s;
    RecordingPlatform p;
    LineSpectrum f;
};

// A program equal to the standard, or shifted by whole grid steps, gives a unit spike at its velocity.
TEST_F(BfChain, WholeStepShiftGivesUnitSpikeAtThatVelocity) {
    const int zero = kSpan / 2 + 1;
    EXPECT_EQ(BfVelocity(s, zero), 0);
    for (int shift : {0, 1, -7, -45}) {
        runProgram([this, shift](int k) { return f(k - shift); });
        EXPECT_EQ(BfVelocity(s, zero + shift), shift * kDelV) << "shift " << shift;
        for (int i = 1; i <= kSpan; ++i)
            ASSERT_NEAR(s.bb(i, kSpan), i == zero + shift ? 1.0 : 0.0, 1e-9) << "shift " << shift << " point " << i;
    }
}

// Two components shifted by whole grid steps and broadened by a Gaussian of a few grid steps:
// both the parabola through the 5 points around each maximum and the fit of two Gaussians
// give the velocities.
TEST_F(BfChain, TwoBroadenedComponentsGiveTheirVelocities) {
    struct Component {
        int shift;
        double sigma, weight;
    } comps[] = {{-24, 3.0, 0.6}, {19, 2.2, 0.35}};
    runProgram([&](int k) {
        double v = 0;
        for (const Component& c : comps) {
            double norm = 0, sum = 0;
            for (int t = -15; t <= 15; ++t) {
                const double g = std::exp(-0.5 * std::pow(t / c.sigma, 2));
                norm += g;
                sum += g * f(k - c.shift - t);
            }
            v += c.weight * sum / norm;
        }
        return v;
    });
    ASSERT_EQ(CopyBfOrder(s, kSpan), kSpan);
    const int zero = kSpan / 2 + 1;
    for (const Component& c : comps) {
        // The maximum in the half of the BF that holds this component.
        const int lo = c.shift < 0 ? 3 : zero + 1, hi = c.shift < 0 ? zero - 1 : kSpan - 2;
        int best = lo;
        for (int i = lo; i <= hi; ++i)
            if (s.bb_n(i) > s.bb_n(best)) best = i;
        Vec x(5), y(5);
        for (int k = 1; k <= 5; ++k) x(k) = s.vel_bb(best - 3 + k), y(k) = s.bb_n(best - 3 + k);
        const auto v = Peak_centroid(x, y, 5);
        ASSERT_TRUE(v.has_value()) << "shift " << c.shift;
        EXPECT_NEAR(*v, c.shift * kDelV, 0.05 * kDelV) << "shift " << c.shift;
    }

    for (int j = 1; j <= 9; ++j) s.FitList(j) = j;
    for (int k = 1; k <= 2; ++k) {   // a start some way off: heights, centres and widths
        const Component& c = comps[k - 1];
        s.PeakHeight[k] = 0.8 * c.weight / (c.sigma * std::sqrt(2 * M_PI));
        s.PeakXo[k] = c.shift * kDelV + 20;
        s.PeakWidth[k] = 100;
    }
    s.bbCombo1Flag = s.bbCombo2Flag = false;
    GaussBoxes b{{"0", "0", "0"}, {"1", "1", "1"}, {"0", "0", "0"}, "-1400", "1400"};
    ASSERT_TRUE(SolveGaussFit(s, p, b).has_value()) << p.messages.at(0);
    EXPECT_NEAR(s.FitPar(2), comps[0].shift * kDelV, 0.05 * kDelV) << "Gaussian fit, first component";
    EXPECT_NEAR(s.FitPar(5), comps[1].shift * kDelV, 0.05 * kDelV) << "Gaussian fit, second component";
}

}  // namespace
}  // namespace tessan
