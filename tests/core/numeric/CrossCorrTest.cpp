// The cross-correlation: lag count, peak position, refusals and the step's messages.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "numeric/CrossCorr.h"
#include "steps/ProgramSteps.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

using test::RecordingPlatform;

// A grid of n points of 29 km/s, middle point at 4400 A, with a standard of three absorption
// lines over a low continuum; the program star is the standard shifted by `shift` grid steps.
void gridWithLines(AnalysisState& s, int n, int shift = 0) {
    s.nGrid = n;
    s.r1 = 1 + 29 / 299792.4;
    s.dLambda_dp_Std = 0.5;
    auto line = [n](double k) {
        double v = 0.01;
        for (double c : {0.3, 0.5, 0.8}) v += 0.6 * std::exp(-0.5 * std::pow((k - c * n) / 2.5, 2));
        return v;
    };
    for (int k = 1; k <= n; ++k)
        s.w1(k) = 4400 * std::pow(s.r1, k - n / 2), s.ssr(k) = line(k), s.spr(k) = line(k - shift);
}

int peakLag(const AnalysisState& s) {
    int best = -s.ccN;
    for (int i = -s.ccN; i <= s.ccN; ++i)
        if (s.cc(i) > s.cc(best)) best = i;
    return best;
}

// The lag count from the half width of scan (halves to even), or a refusal that changes
// nothing. r1 comes from the model file; one of 0 or below would give every lag a velocity of
// -inf or NaN. ccN -1: refused.
TEST(CrossCorr, LagCountFromHalfWidthOrRefusedAndNothingChanged) {
    const struct { const char* name; double halfWidth, wMid, dLambda, r1; int nGrid, ccN; } cases[] = {
        {"13.2 lags", 450, 4400, 0.5, 1.0001, 200, 13},       {"none", 0, 4400, 0.5, 1.0001, 200, 0},
        {"12.5 lags", 1250, 3000, 1, 1.0001, 200, 12},        {"-0.1 lags", -10, 3000, 1, 1.0001, 200, 0},
        {"the most that fits", 2000 * 0.5 * 300000 / 4400.0, 4400, 0.5, 1.0001, 200, 2000},
        {"more than 2000 lags", 69000, 4400, 0.5, 1.0001, 200, -1}, {"negative", -450, 4400, 0.5, 1.0001, 200, -1},
        {"zero wavelength step", 450, 4400, 0, 1.0001, 200, -1},   {"no grid", 450, 4400, 0.5, 1.0001, 0, -1},
        {"grid ratio 0", 450, 4400, 0.5, 0, 200, -1},
        {"grid ratio below 0", 450, 4400, 0.5, -1.00001, 200, -1},
    };
    for (const auto& c : cases) {
        AnalysisState s;
        RecordingPlatform p;
        gridWithLines(s, 200);
        s.w1(100) = c.wMid, s.nGrid = c.nGrid, s.ScanHalfWidth = c.halfWidth, s.dLambda_dp_Std = c.dLambda, s.r1 = c.r1;
        s.ccN = 3, s.cc(0) = 7, s.vel_cc(1) = 8, s.ccXmin = -1, s.ccXmax = 9;
        EXPECT_EQ(Cross_corr(s, p), c.ccN >= 0) << c.name;
        EXPECT_EQ(p.messages.size(), c.ccN >= 0 ? 0u : 1u) << c.name;
        if (c.ccN >= 0) {
            EXPECT_EQ(s.ccN, c.ccN) << c.name;
            EXPECT_TRUE(s.ccXmin == s.vel_cc(-c.ccN) && s.ccXmax == s.vel_cc(c.ccN)) << c.name;
        } else {
            EXPECT_TRUE(s.ccN == 3 && s.cc(0) == 7 && s.vel_cc(1) == 8 && s.ccXmin == -1 && s.ccXmax == 9) << c.name;
        }
    }
}

// Step 6 resamples the program star onto the grid in hand, which may have been built after the
// star was read; a refused half width is not kept.
TEST(CcfStep, MessagesHalfWidthAndTheProgramStarOnTheGridInHand) {
    AnalysisState s;
    RecordingPlatform p;
    gridWithLines(s, 200, 4);
    s.nPixPro = 200;
    for (int k = 1; k <= 200; ++k) s.wp(k) = s.w1(k), s.sp(k) = s.spr(k), s.spr(k) = 99;
    s.ssrAvailable = false;
    EXPECT_FALSE(RunCcfStep(s, p, "450"));
    EXPECT_EQ(p.messages, std::vector<std::string>{"The resampled standard spectrum is not available.  Either "
                                                   "compute and save a new model with vers. 2.4 or later, or "
                                                   "follow steps 1-3."});
    s.ssrAvailable = true;
    s.ScanHalfWidth = 300;
    EXPECT_FALSE(RunCcfStep(s, p, "-450"));
    EXPECT_EQ(s.ScanHalfWidth, 300);
    EXPECT_EQ(p.messages.size(), 2u);
    ASSERT_TRUE(RunCcfStep(s, p, " 450 km/s"));
    EXPECT_EQ(std::tuple(s.ScanHalfWidth, s.ccN, peakLag(s), p.messages.size()), std::tuple(450, 13, 4, 2u));
    EXPECT_NEAR(s.vel_cc(4), 4 * 29.0, 0.3);
    double cc1 = 0;   // a plain dot product over the standard points 14..187 at every lag
    for (int j = 14; j <= 187; ++j) cc1 += s.ssr(j) * s.sp(j + 1);
    EXPECT_NEAR(s.cc(1), cc1, 1e-12);
    for (int k = 1; k <= 200; ++k) ASSERT_EQ(s.spr(k), s.sp(k)) << "grid point " << k;
}

}  // namespace
}  // namespace tessan
