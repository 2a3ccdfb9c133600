#include "steps/StandardSteps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/RecordingPlatform.h"
#include "support/SyntheticStandard.h"

namespace tessan {
namespace {

// A state with a resampled standard of nGrid points whose values tell their index:
// ssr(i) = i, so des(i, j) names the point it holds.
std::unique_ptr<AnalysisState> GridState(int nGrid) {
    auto s = std::make_unique<AnalysisState>();
    s->nGrid = nGrid;
    s->NAXIS1 = nGrid;
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
    };
    for (const auto& c : cases) {
        auto s = GridState(c.nGrid);
        test::RecordingPlatform p;
        s->svdValid = true;
        const DesignOutcome out = Design_matrix(*s, p, c.text1);
        ASSERT_TRUE(out.built) << c.text1;
        EXPECT_FALSE(out.text1.has_value()) << c.text1;
        EXPECT_TRUE(p.messages.empty()) << c.text1;
        EXPECT_TRUE(s->span == c.span && s->span2 == c.span2 && s->ssrAvailable) << c.text1;
        EXPECT_FALSE(s->svdValid) << c.text1 << ": the old decomposition no longer matches";
        for (const auto& [i, j, k] : c.probes) EXPECT_EQ(s->des(i, j), k) << c.text1 << " des(" << i << "," << j << ")";
        EXPECT_EQ(s->des(c.rows + 1, 1), 0) << c.text1 << ": rows past the last are left alone";
    }
}

// Every refusal leaves span, span2, des, ssrAvailable and svdValid as they were.
TEST(DesignMatrix, RefusesBeforeBuilding) {
    struct Case {
        std::string text1;
        int nGrid;
        std::string message;            // empty: any message of our own (checked non-empty)
        std::optional<std::string> newText1;
    };
    const std::vector<Case> cases = {
        {"200", 2000, "The value must be an odd integer", " 201"},
        {"0", 2000, "The value must be an odd integer", " 1"},
        {"", 2000, "The value must be an odd integer", " 1"},
        {"-4", 2000, "The value must be an odd integer", "-3"},
        {"-3", 2000, "", std::nullopt},
        {"501", 2000, "", std::nullopt},
        {"40001", 2000, "", std::nullopt},
        {"1E999", 2000, "", std::nullopt},
        {"201", 400, "", std::nullopt},     // 200 rows < 201 columns
        {"201", 0, "", std::nullopt},       // no grid yet
    };
    for (const Case& c : cases) {
        auto s = GridState(c.nGrid);
        s->span = 151, s->span2 = 75, s->ssrAvailable = false, s->svdValid = true, s->des(1, 1) = -7;
        test::RecordingPlatform p;
        const DesignOutcome out = Design_matrix(*s, p, c.text1);
        const std::string name = "\"" + c.text1 + "\" on " + std::to_string(c.nGrid) + " points";
        EXPECT_FALSE(out.built) << name;
        ASSERT_EQ(p.messages.size(), 1u) << name;
        EXPECT_FALSE(p.messages[0].empty()) << name;
        EXPECT_EQ(p.messages[0], c.message.empty() ? p.messages[0] : c.message) << name;
        EXPECT_EQ(out.text1, c.newText1) << name;
        EXPECT_TRUE(s->span == 151 && s->span2 == 75 && !s->ssrAvailable && s->svdValid && s->des(1, 1) == -7)
            << name << ": the state changed";
    }
}

TEST(DesignMatrix, TooFewRowsNamesTheLargestSpan) {
    auto s = GridState(400);
    test::RecordingPlatform p;
    (void)Design_matrix(*s, p, "201");
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.messages[0].find("199"), std::string::npos) << p.messages[0];
    // ... and that span is accepted: 400 - 199 + 1 = 202 rows.
    EXPECT_TRUE(Design_matrix(*s, p, "199").built);
}

std::unique_ptr<AnalysisState> RealisticState(int nGrid, const std::string& span) {
    auto s = std::make_unique<AnalysisState>();
    s->nGrid = nGrid;
    test::MakeInvertedSpectrum(s->ssr, nGrid);
    test::RecordingPlatform p;
    EXPECT_TRUE(Design_matrix(*s, p, span).built);
    return s;
}

TEST(SvdStep, DecomposesTheDesignMatrixAndMarksItUsable) {
    auto s = RealisticState(300, "41");
    test::RecordingPlatform p;
    s->U(261, 1) = 5;   // below the rows in use: must stay
    ASSERT_TRUE(RunSvdStep(*s, p));
    EXPECT_TRUE(p.messages.empty() && s->svdValid && s->U(261, 1) == 5);
    double err = 0, scale = 0;
    for (int i = 1; i <= 260; ++i)
        for (int j = 1; j <= 41; ++j) {
            double x = 0;
            for (int k = 1; k <= 41; ++k) x += s->U(i, k) * s->ww(k) * s->Vt(j, k);
            err = std::max(err, std::fabs(x - s->des(i, j)));
            scale = std::max(scale, std::fabs(s->des(i, j)));
        }
    EXPECT_LE(err, 1e-12 * scale);
}

TEST(SvdStep, ZeroSingularValueIsAccepted) {
    auto s = GridState(21);
    for (int i = 1; i <= 21; ++i) s->ssr(i) = 0;   // a flat standard: des is all zero
    test::RecordingPlatform p;
    ASSERT_TRUE(Design_matrix(*s, p, "5").built);
    EXPECT_TRUE(RunSvdStep(*s, p));
    EXPECT_TRUE(p.messages.empty() && s->svdValid);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(s->ww(i), 0) << i;
}

TEST(SvdStep, FailuresShowTheirMessageAndLeaveNoUsableDecomposition) {
    const struct {
        std::string name;
        int span;
        bool poison;   // a NaN in the design matrix
        std::string message;
    } cases[] = {
        {"NaN in the standard", 41, true, "No consVergence in 30 iterations"},
        {"grid shrunk below the span", 201, false, "You must augment A with extra zero rows."},
        {"no design matrix", 0, false, ""},
    };
    for (const auto& c : cases) {
        auto s = RealisticState(300, "41");
        s->span = c.span;
        if (c.poison) s->des(10, 3) = std::numeric_limits<double>::quiet_NaN();
        s->svdValid = true;
        test::RecordingPlatform p;
        EXPECT_FALSE(RunSvdStep(*s, p)) << c.name;
        ASSERT_EQ(p.messages.size(), 1u) << c.name;
        EXPECT_EQ(p.messages[0], c.message.empty() ? p.messages[0] : c.message) << c.name;
        EXPECT_FALSE(s->svdValid) << c.name;
    }
}

}  // namespace
}  // namespace tessan
