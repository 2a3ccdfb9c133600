// Step 3: the staggered copies of the standard, the refusals before anything is built, and
// never a design matrix or decomposition from the resampled standard of another model or grid.
#include "steps/StandardSteps.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "steps/ModelSteps.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

// A state with a resampled standard of nGrid points whose values tell their index:
// ssr(i) = i, so des(i, j) names the point it holds.
std::unique_ptr<AnalysisState> GridState(int nGrid) {
    auto s = std::make_unique<AnalysisState>();
    s->nGrid = s->NAXIS1 = nGrid;
    for (int i = 1; i <= lim::kMaxPix; ++i) s->ssr(i) = i;
    return s;
}

TEST(DesignMatrix, BuildsStaggeredCopiesOfTheStandard) {
    const struct {
        std::string text1;
        int nGrid, span, span2, rows;
        std::vector<std::array<int, 3>> probes;   // i, j, index of ssr expected in des(i, j)
    } cases[] = {
        {"201", 2000, 201, 100, 1800, {{1, 1, 201}, {1, 201, 1}, {1800, 101, 1900}, {1800, 201, 1800}}},
        {"1", 2000, 1, 0, 2000, {{1, 1, 1}, {2000, 1, 2000}}},
        {"200.6", 2000, 201, 100, 1800, {{1, 1, 201}}},
        {"499", 1000, 499, 249, 502, {{502, 1, 1000}, {1, 499, 1}}},
        {"199", 400, 199, 99, 202, {{202, 199, 202}}},   // the largest span on 400 points
    };
    for (const auto& c : cases) {
        auto s = GridState(c.nGrid);
        test::RecordingPlatform p;
        s->svdValid = true;
        const DesignOutcome out = Design_matrix(*s, p, c.text1);
        ASSERT_TRUE(out.built && !out.text1 && p.messages.empty()) << c.text1;
        EXPECT_TRUE(s->span == c.span && s->span2 == c.span2 && s->ssrAvailable) << c.text1;
        EXPECT_FALSE(s->svdValid) << c.text1 << ": the old decomposition no longer matches";
        for (const auto& [i, j, k] : c.probes) EXPECT_EQ(s->des(i, j), k) << c.text1 << " des(" << i << "," << j << ")";
        EXPECT_EQ(s->des(c.rows + 1, 1), 0) << c.text1 << ": rows past the last are left alone";
    }
}

// Every refusal leaves span, span2, des, ssrAvailable and svdValid as they were.
TEST(DesignMatrix, RefusesBeforeBuilding) {
    const std::string odd = "The value must be an odd integer", range = "The BF span must be an odd integer from 1 to 500.";
    const struct { std::string text1; int nGrid; std::string message; std::optional<std::string> newText1; } cases[] = {
        {"200", 2000, odd, " 201"}, {"0", 2000, odd, " 1"}, {"", 2000, odd, " 1"}, {"-4", 2000, odd, "-3"},
        {"-3", 2000, range, std::nullopt}, {"501", 2000, range, std::nullopt}, {"40001", 2000, range, std::nullopt},
        {"1E999", 2000, range, std::nullopt},
        {"201", 400, "The BF span 201 leaves fewer rows than columns on a grid of 400 points; it can be at most 199.",
         std::nullopt},
        {"201", 0, "There is no resampled standard yet: resample it (step 2) before building the design matrix.",
         std::nullopt},
    };
    for (const auto& c : cases) {
        auto s = GridState(c.nGrid);
        s->span = 151, s->span2 = 75, s->ssrAvailable = false, s->svdValid = true, s->des(1, 1) = -7;
        test::RecordingPlatform p;
        const DesignOutcome out = Design_matrix(*s, p, c.text1);
        const std::string name = "\"" + c.text1 + "\" on " + std::to_string(c.nGrid) + " points";
        EXPECT_FALSE(out.built) << name;
        EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << name;
        EXPECT_EQ(out.text1, c.newText1) << name;
        EXPECT_TRUE(s->span == 151 && s->span2 == 75 && !s->ssrAvailable && s->svdValid && s->des(1, 1) == -7)
            << name << ": the state changed";
    }
}

// A model without a resampled standard leaves ssr as an earlier standard on an earlier grid
// left it: no design matrix from that. After a new resampling, step 4 refuses the design
// matrix of the previous grid until step 3 has run.
TEST(DesignMatrix, NotFromTheResampledStandardOfAnotherModelOrGrid) {
    for (bool withSsr : {false, true}) {
        SCOPED_TRACE(withSsr ? "model with ssr" : "model without ssr");
        auto s = GridState(3000);   // ssr(i) = i from an earlier standard
        test::RecordingPlatform p;
        ModelSlot& m = s->Models[1];   // 30 points, span 5
        m.NAXIS1 = 30, m.nRecords_StdHdr = 0, m.r1 = 1.00005, m.span = 5, m.ssrPresent = withSsr;
        for (Vec* v : {&m.Pixval, &m.ws, &m.ss, &m.w1}) v->resize(30);
        for (int i = 1; i <= 30; ++i) m.ws(i) = 5000 + i, m.ss(i) = 0.1 * (i % 7), m.w1(i) = 5000.25 + i;
        m.des.resize(26, 5), m.U.resize(26, 5), m.ww.resize(5), m.Vt.resize(5, 5), m.ssr.resize(5);
        for (int i = 1; i <= 5; ++i) m.ssr(i) = 0.1 * (i % 7) + 0.025 * ((i + 1) % 7 - i % 7);
        s->nModels = s->CurModel = 1;
        ASSERT_TRUE(Select_model(*s, 1));
        const double before = s->des(1, 5);
        EXPECT_EQ(Design_matrix(*s, p, "5").built, withSsr);
        if (!withSsr) {
            EXPECT_TRUE(s->des(1, 5) == before && !s->ssrAvailable);
            ASSERT_TRUE(Resample(*s, p, "14.9", "5001.25", "5100"));
            EXPECT_FALSE(RunSvdStep(*s, p));
            ASSERT_TRUE(Design_matrix(*s, p, "5").built);
            EXPECT_EQ(p.messages, (std::vector<std::string>{
                                      "The resampled standard belongs to another standard or grid: resample the "
                                      "standard (step 2) before building the design matrix.",
                                      "There is no design matrix to decompose: build it first (step 3)."}));
        }
        EXPECT_TRUE(s->des(1, 5) == s->ssr(1) && s->ssr(1) != 1 && s->ssrAvailable);
        EXPECT_TRUE(RunSvdStep(*s, p) && p.messages.size() == (withSsr ? 0u : 2u));
    }
}

}  // namespace
}  // namespace tessan
