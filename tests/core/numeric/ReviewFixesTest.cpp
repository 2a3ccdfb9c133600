// The cross-correlation step pairs the standard with the program star on one grid, even when
// the grid was rebuilt after the program star was read.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "numeric/CrossCorr.h"
#include "numeric/Design.h"
#include "numeric/Resample.h"
#include "state/AnalysisState.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

TEST(CcfStep, ProgramStarFollowsAGridBuiltAfterItWasRead) {
    auto s = std::make_unique<AnalysisState>();
    test::RecordingPlatform p;
    const int n = 100;
    // The program star on 5001..5100 A; the grid lies half a step above each of its pixels.
    s->nPixPro = n;
    for (int i = 1; i <= n; ++i) {
        s->wp(i) = 5000 + i;
        s->sp(i) = 0.5 + 0.4 * std::sin(0.3 * i);
    }
    s->nGrid = n;
    s->r1 = 1.0001;
    s->dLambda_dp_Std = 1;
    for (int k = 1; k <= n; ++k) {
        s->w1(k) = 5000.5 + k;
        s->ssr(k) = 0.3 + 0.2 * std::cos(0.7 * k);
        s->spr(k) = 99;   // left from an earlier grid
    }
    s->ssrAvailable = true;

    ASSERT_TRUE(RunCcfStep(*s, p, "0"));
    EXPECT_TRUE(p.messages.empty());
    ASSERT_EQ(s->ccN, 0);
    double expected = 0;
    for (int k = 1; k <= n; ++k) {
        // Halfway between two pixels; the last grid point lies beyond the spectrum's end.
        const double spr = k < n ? s->sp(k) + 0.5 * (s->sp(k + 1) - s->sp(k)) : s->sp(n);
        EXPECT_NEAR(s->spr(k), spr, 1e-12) << "grid point " << k;
        expected += s->ssr(k) * spr;
    }
    EXPECT_NEAR(s->cc(0), expected, 1e-9);
}

// Step 4 may be pressed again after a new resampling without step 3 in between; the design
// matrix in hand then belongs to the previous grid and must not become a usable decomposition.
TEST(SvdStep, RefusesADesignMatrixOfAnEarlierGrid) {
    auto s = std::make_unique<AnalysisState>();
    test::RecordingPlatform p;
    s->nPixStd = 300;
    for (int i = 1; i <= 300; ++i) {
        s->ws(i) = 5000 + 0.5 * (i - 1);
        s->ss(i) = 0.5 + 0.4 * std::sin(0.37 * i) * std::cos(0.05 * i);
    }
    ASSERT_TRUE(Resample(*s, p, "29", "5010", "5140"));
    ASSERT_TRUE(Design_matrix(*s, p, "41").built);
    ASSERT_TRUE(RunSvdStep(*s, p));
    ASSERT_TRUE(p.messages.empty());

    ASSERT_TRUE(Resample(*s, p, "20", "5020", "5140"));
    EXPECT_FALSE(RunSvdStep(*s, p));
    EXPECT_EQ(p.messages, std::vector<std::string>{"There is no design matrix to decompose: build it first (step 3)."});
    EXPECT_FALSE(s->svdValid);

    p.messages.clear();
    ASSERT_TRUE(Design_matrix(*s, p, "41").built);
    EXPECT_TRUE(RunSvdStep(*s, p));
    EXPECT_TRUE(p.messages.empty());
}

}  // namespace
}  // namespace tessan
