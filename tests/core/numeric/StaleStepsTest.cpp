// Steps that follow a new grid or model: the program star follows a grid built after it was
// read, and a design matrix or resampled standard of an earlier grid or model is never used.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "numeric/CrossCorr.h"
#include "state/AnalysisState.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

TEST(CcfStep, ProgramStarFollowsAGridBuiltAfterItWasRead) {
    auto s = std::make_unique<AnalysisState>();
    test::RecordingPlatform p;
    const int n = 100;
    // The program star on 5001..5100 A; the grid lies half a step above each of its pixels.
    s->nPixPro = s->nGrid = n;
    s->r1 = 1.0001, s->dLambda_dp_Std = 1, s->ssrAvailable = true;
    for (int k = 1; k <= n; ++k) {
        s->wp(k) = 5000 + k, s->sp(k) = 0.5 + 0.4 * std::sin(0.3 * k);
        s->w1(k) = 5000.5 + k, s->ssr(k) = 0.3 + 0.2 * std::cos(0.7 * k);
        s->spr(k) = 99;   // left from an earlier grid
    }
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
    for (int i = 1; i <= 300; ++i) s->ws(i) = 5000 + 0.5 * (i - 1), s->ss(i) = 0.5 + 0.4 * std::sin(0.37 * i) * std::cos(0.05 * i);
    ASSERT_TRUE(Resample(*s, p, "29", "5010", "5140"));
    ASSERT_TRUE(Design_matrix(*s, p, "41").built);
    ASSERT_TRUE(RunSvdStep(*s, p));
    ASSERT_TRUE(p.messages.empty());

    ASSERT_TRUE(Resample(*s, p, "20", "5020", "5140"));
    EXPECT_FALSE(RunSvdStep(*s, p));
    EXPECT_EQ(p.messages, std::vector<std::string>{"There is no design matrix to decompose: build it first (step 3)."});
    EXPECT_FALSE(s->svdValid);
    ASSERT_TRUE(Design_matrix(*s, p, "41").built);
    EXPECT_TRUE(RunSvdStep(*s, p));
    EXPECT_EQ(p.messages.size(), 1u);
}

// A model without a resampled standard leaves ssr as an earlier standard on an earlier grid
// left it; the design matrix must not be built from that.
TEST(DesignMatrix, NotFromTheResampledStandardOfAnotherModelOrStar) {
    for (bool withSsr : {false, true}) {
        SCOPED_TRACE(withSsr ? "model with ssr" : "model without ssr");
        auto s = std::make_unique<AnalysisState>();
        test::RecordingPlatform p;
        for (int i = 1; i <= 3000; ++i) s->ssr(i) = 7;   // from an earlier standard
        ModelSlot& m = s->Models[1];   // 30 points, span 5
        m.NAXIS1 = 30, m.nRecords_StdHdr = 0, m.r1 = 1.00005, m.span = 5, m.ssrPresent = withSsr;
        for (Vec* v : {&m.Pixval, &m.ws, &m.ss, &m.w1}) v->resize(30);
        for (int i = 1; i <= 30; ++i) m.ws(i) = 5000 + i, m.ss(i) = 0.1 * (i % 7), m.w1(i) = 5000.25 + i;
        m.des.resize(26, 5), m.U.resize(26, 5), m.ww.resize(5), m.Vt.resize(5, 5), m.ssr.resize(5);
        for (int i = 1; i <= 5; ++i) m.ssr(i) = 0.1 * (i % 7) + 0.025 * ((i + 1) % 7 - i % 7);
        s->nModels = s->CurModel = 1;
        ASSERT_TRUE(Select_model(*s, 1));
        const double before = s->des(1, 5);
        const DesignOutcome d = Design_matrix(*s, p, "5");
        EXPECT_EQ(d.built, withSsr);
        EXPECT_EQ(p.messages.size(), withSsr ? 0u : 1u);
        if (!withSsr) {
            EXPECT_EQ(s->des(1, 5), before);
            EXPECT_FALSE(s->ssrAvailable);
            // Resampling the model's standard gives a resampled standard to build from.
            ASSERT_TRUE(Resample(*s, p, "14.9", "5001.25", "5100"));
            ASSERT_TRUE(Design_matrix(*s, p, "5").built);
        }
        EXPECT_NE(s->des(1, 5), 7.0);
        EXPECT_EQ(s->des(1, 5), s->ssr(1));
        EXPECT_TRUE(s->ssrAvailable);
    }
}

}  // namespace
}  // namespace tessan
