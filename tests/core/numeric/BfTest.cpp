// The BFs of every order from a decomposition, the file of all BFs and the copied order.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "numeric/Bf.h"
#include "state/ErrText.h"
#include "steps/ProgramSteps.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"
#include "text/NumText.h"

namespace tessan {
namespace {

using test::RecordingPlatform;

// A made-up decomposition and program segment: Find_bb only combines U, ww, Vt and spr.
void fakeDecomposition(AnalysisState& s, int nGrid, int span, unsigned seed = 7) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(-1, 1);
    s.nGrid = nGrid, s.span = span, s.svdValid = true;
    for (int j = 1; j <= span; ++j) {
        for (int i = 1; i <= nGrid - span + 1; ++i) s.U(i, j) = d(gen);
        for (int i = 1; i <= span; ++i) s.Vt(i, j) = d(gen);
        s.ww(j) = 1.5 + d(gen) * d(gen);
    }
    for (int i = 1; i <= nGrid; ++i) s.spr(i) = d(gen);
}

// bb the long way: every order summed from 0 as V diag(1/w) U^T b, 0 for a zero value. The
// same operations in the same order as the step's shorter way, so the same values bit for bit.
Mat referenceBb(const AnalysisState& s) {
    const int span = s.span, nrows = s.nGrid - span + 1;
    Vec utb(span);
    for (int k = 1; k <= span; ++k)
        for (int i = 1; i <= nrows; ++i) utb(k) += s.U(i, k) * s.spr(i + span / 2);
    Mat bb(span, span);
    for (int n = 1; n <= span; ++n)
        for (int i = 1; i <= span; ++i)
            for (int k = 1; k <= n; ++k) bb(i, n) += s.Vt(i, k) * (std::isfinite(1 / s.ww(k)) ? 1 / s.ww(k) : 0) * utb(k);
    return bb;
}

// Every order also goes to "bbb2.txt": for every order (outer) and point (inner) one record
// "i,bb(i,n)".
TEST(FindBb, EveryOrderEqualsTheSumFromZeroAndIsWritten) {
    const struct {
        int nGrid, span;
        int zeroAt;       // index of a zero singular value, 0 for none
        double zero = 0;  // its value: 0, or so small that its inverse overflows
    } cases[] = {{12, 5, 0}, {40, 9, 4}, {17, 9, 1}, {30, 7, 7}, {30, 7, 3, 4e-320}, {60, 17, 0}, {80, 24, 9}};
    for (const auto& c : cases) {
        AnalysisState s;
        RecordingPlatform p;
        fakeDecomposition(s, c.nGrid, c.span, static_cast<unsigned>(c.nGrid + c.span));
        if (c.zeroAt) s.ww(c.zeroAt) = c.zero;
        const std::string name = "span " + std::to_string(c.span) + " zero at " + std::to_string(c.zeroAt);
        ASSERT_TRUE(Find_bb(s, p)) << name;
        EXPECT_EQ(s.span2, c.span / 2);
        EXPECT_EQ(p.messages.size(), c.zeroAt ? 1u : 0u) << name;
        const Mat ref = referenceBb(s);
        for (int n = 1; n <= c.span; ++n)
            for (int i = 1; i <= c.span; ++i)
                ASSERT_EQ(s.bb(i, n), ref(i, n)) << name << " i " << i << " n " << n;
        for (int i = 1; c.zeroAt > 1 && i <= c.span; ++i)   // a zero value adds nothing: its order repeats the one before
            EXPECT_EQ(s.bb(i, c.zeroAt), s.bb(i, c.zeroAt - 1)) << name;
        std::vector<std::string> records;
        for (int n = 1; n <= c.span; ++n)
            for (int i = 1; i <= c.span; ++i) records.push_back(std::to_string(i) + "," + RecordText(s.bb(i, n)));
        EXPECT_EQ(test::ReadText(p.WorkDir() / "bbb2.txt"), test::JoinCrLf(records)) << name;
    }
}

TEST(FindBb, RefusedWithoutADecomposition) {
    const struct { const char* name; bool svdValid; int span, nGrid; } cases[] = {
        {"decomposition not finished", false, 5, 12}, {"negative span", true, -3, 12},
        {"grid with fewer rows than columns", true, 5, 8}};
    for (const auto& c : cases) {
        AnalysisState s;
        RecordingPlatform p;
        fakeDecomposition(s, 12, 5);
        s.svdValid = c.svdValid, s.span = c.span, s.nGrid = c.nGrid;
        s.bb(1, 1) = 42;
        EXPECT_FALSE(Find_bb(s, p)) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{"There is no decomposition of the standard to compute the "
                                                       "broadening functions from.  Run steps 1-4 or load a model."})
            << c.name;
        EXPECT_EQ(s.bb(1, 1), 42) << c.name;
        EXPECT_FALSE(std::filesystem::exists(p.WorkDir() / "bbb2.txt")) << c.name;
    }
}

// Step 7 resamples the program star onto the grid's count; a failure to write "bbb2.txt" is
// reported and the BFs are kept. The copied order is rounded and clamped to the span.
TEST(BfStep, ProgramOnTheGridCountBfsKeptAndTheCopiedOrder) {
    AnalysisState s;
    RecordingPlatform p;
    fakeDecomposition(s, 12, 5);
    s.delV = 2.5;
    s.nPixPro = 30;   // more pixels than the grid: only the grid's 12 points are filled
    for (int i = 1; i <= 30; ++i) s.wp(i) = 100 + i, s.sp(i) = 0.01 * i;
    for (int k = 1; k <= 13; ++k) s.w1(k) = 104.5 + k, s.spr(k) = -1;
    std::filesystem::create_directory(p.WorkDir() / "bbb2.txt");
    ASSERT_TRUE(RunBfStep(s, p));
    EXPECT_NEAR(s.spr(1), 0.055, 1e-15);
    EXPECT_NEAR(s.spr(12), 0.165, 1e-15);
    EXPECT_EQ(s.spr(13), -1);
    EXPECT_EQ(p.messages, std::vector<std::string>{"The broadening functions were computed, but \"bbb2.txt\" could "
                                                   "not be written.  " + ErrTextFor(err::kPathFileAccess)});
    const Mat ref = referenceBb(s);
    EXPECT_NEAR(s.bb(3, 5), ref(3, 5), 1e-12);
    for (const auto& [typed, order] : {std::pair{3.4, 3}, {2.5, 2}, {3.5, 4}, {-7.0, 1}, {99.0, 5}, {NAN, 1}}) {
        s.Smoothed = true;
        EXPECT_EQ(CopyBfOrder(s, typed), order) << "typed " << typed;
        EXPECT_TRUE(s.bbOrder == order && !s.Smoothed) << "typed " << typed;
        for (int i = 1; i <= 5; ++i)
            EXPECT_TRUE(s.vel_bb(i) == (i - 3) * 2.5 && s.bb_n(i) == s.bb(i, order)) << "typed " << typed << " i " << i;
    }
}

}  // namespace
}  // namespace tessan
