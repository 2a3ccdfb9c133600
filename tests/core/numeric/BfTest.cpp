#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "io/RecordFile.h"
#include "numeric/Bf.h"
#include "state/ErrText.h"
#include "support/RecordingPlatform.h"
#include "text/NumText.h"

namespace tessan {
namespace {

using test::RecordingPlatform;

// A made-up decomposition and program segment: Find_bb only combines U, ww, Vt and spr, so
// they need not come from a real design matrix.
void fakeDecomposition(AnalysisState& s, int nGrid, int span, unsigned seed = 7) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(-1, 1);
    s.nGrid = nGrid;
    s.span = span;
    for (int j = 1; j <= span; ++j) {
        for (int i = 1; i <= nGrid - span + 1; ++i) s.U(i, j) = d(gen);
        for (int i = 1; i <= span; ++i) s.Vt(i, j) = d(gen);
        s.ww(j) = 0.5 + d(gen) * d(gen) + 1;
    }
    for (int i = 1; i <= nGrid; ++i) s.spr(i) = d(gen);
    s.svdValid = true;
}

// bb computed the long way: explicit transpose, explicit diagonal Winv (0 for a zero value),
// Mat_vec, Mat_mul, and every order summed from 0.
Mat referenceBb(const AnalysisState& s) {
    const int span = s.span, nrows = s.nGrid - span + 1, span2 = span / 2;
    Mat UT(span, nrows), Winv(span, span), VW(span, span), bb(span, span);
    Vec bvec(nrows), UTb(span);
    for (int i = 1; i <= nrows; ++i) {
        for (int j = 1; j <= span; ++j) UT(j, i) = s.U(i, j);
        bvec(i) = s.spr(i + span2);
    }
    for (int i = 1; i <= span; ++i) Winv(i, i) = std::isfinite(1 / s.ww(i)) ? 1 / s.ww(i) : 0;
    Mat_vec(span, nrows, UT, bvec, UTb);
    Mat_mul(span, span, span, s.Vt, Winv, VW);
    for (int n = 1; n <= span; ++n) {
        for (int i = 1; i <= span; ++i) {
            double sum = 0;
            for (int k = 1; k <= n; ++k) sum += VW(i, k) * UTb(k);
            bb(i, n) = sum;
        }
    }
    return bb;
}

TEST(FindBb, EveryOrderEqualsTheSumFromZero) {
    struct Case {
        int nGrid, span;
        int zeroAt;       // index of a zero singular value, 0 for none
        double zero = 0;  // its value: 0, or so small that its inverse overflows
    } cases[] = {{12, 5, 0}, {40, 9, 0}, {40, 9, 4}, {17, 9, 1}, {30, 7, 7}, {30, 7, 3, 4e-320}};
    for (const Case& c : cases) {
        AnalysisState s;
        RecordingPlatform p;
        fakeDecomposition(s, c.nGrid, c.span, static_cast<unsigned>(c.nGrid + c.span));
        if (c.zeroAt) s.ww(c.zeroAt) = c.zero;
        ASSERT_TRUE(Find_bb(s, p)) << "span " << c.span << " zero " << c.zeroAt;
        EXPECT_EQ(s.span2, c.span / 2);
        EXPECT_EQ(p.messages.size(), c.zeroAt ? 1u : 0u) << "span " << c.span << " zero " << c.zeroAt;
        const Mat ref = referenceBb(s);
        for (int n = 1; n <= c.span; ++n) {
            for (int i = 1; i <= c.span; ++i) {
                ASSERT_TRUE(std::isfinite(s.bb(i, n)));
                // Equal to the last bit, apart from the sign of a zero.
                ASSERT_EQ(s.bb(i, n), ref(i, n)) << "span " << c.span << " zero " << c.zeroAt
                                                  << " i " << i << " n " << n;
            }
        }
        // A zero singular value adds nothing: its order repeats the one before.
        if (c.zeroAt > 1) {
            for (int i = 1; i <= c.span; ++i) EXPECT_EQ(s.bb(i, c.zeroAt), s.bb(i, c.zeroAt - 1));
        }
    }
}

TEST(FindBb, RefusedWithoutADecomposition) {
    struct Case {
        const char* name;
        bool svdValid;
        int span, nGrid;
    } cases[] = {
        {"decomposition not finished", false, 5, 12},
        {"negative span", true, -3, 12},
        {"grid with fewer rows than columns", true, 5, 8},
    };
    for (const Case& c : cases) {
        AnalysisState s;
        RecordingPlatform p;
        fakeDecomposition(s, 12, 5);
        s.svdValid = c.svdValid, s.span = c.span, s.nGrid = c.nGrid;
        s.bb(1, 1) = 42;
        EXPECT_FALSE(Find_bb(s, p)) << c.name;
        EXPECT_EQ(p.messages.size(), 1u) << c.name;
        EXPECT_EQ(s.bb(1, 1), 42) << c.name;
        EXPECT_FALSE(std::filesystem::exists(p.WorkDir() / "bbb2.txt")) << c.name;
    }
}

TEST(AllBfsFile, RecordsOfEveryOrder) {
    {
        // One point: bb(1, 1) = 1 x (1 / 2) x 0.5.
        AnalysisState s;
        RecordingPlatform p;
        fakeDecomposition(s, 1, 1);
        s.U(1, 1) = 1, s.ww(1) = 2, s.Vt(1, 1) = 1, s.spr(1) = 0.5;
        ASSERT_TRUE(Find_bb(s, p));
        std::string text;
        ASSERT_EQ(ReadWholeFile(p.WorkDir() / "bbb2.txt", text), 0);
        EXPECT_EQ(text, "1,.25\r\n");
    }
    AnalysisState s;
    RecordingPlatform p;
    fakeDecomposition(s, 450, 201);
    ASSERT_TRUE(Find_bb(s, p));
    std::string text;
    ASSERT_EQ(ReadWholeFile(p.WorkDir() / "bbb2.txt", text), 0);
    std::size_t lines = 0, pos = 0, bare = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\n') ++lines, bare += (k == 0 || text[k - 1] != '\r');
    }
    EXPECT_EQ(lines, 201u * 201u);
    EXPECT_EQ(bare, 0u);
    // Order 1, points 1 and 2; then the first point of order 2 on line 202.
    for (auto [i, n] : {std::pair{1, 1}, {2, 1}}) {
        const std::string line = std::to_string(i) + "," + RecordText(s.bb(i, n)) + "\r\n";
        EXPECT_EQ(text.compare(pos, line.size(), line), 0) << "line of point " << i;
        pos += line.size();
    }
    for (int k = 3; k <= 201; ++k) pos = text.find('\n', pos) + 1;
    EXPECT_EQ(text.substr(pos, text.find('\r', pos) - pos), "1," + RecordText(s.bb(1, 2)));
}

TEST(AllBfsFile, WriteFailureReportedAndBfsKept) {
    AnalysisState s;
    RecordingPlatform p;
    fakeDecomposition(s, 12, 5);
    std::filesystem::create_directory(p.WorkDir() / "bbb2.txt");
    ASSERT_TRUE(Find_bb(s, p));
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.messages[0].find(ErrTextFor(err::kPathFileAccess)), std::string::npos) << p.messages[0];
    const Mat ref = referenceBb(s);
    EXPECT_EQ(s.bb(3, 5), ref(3, 5));
    EXPECT_TRUE(std::filesystem::is_directory(p.WorkDir() / "bbb2.txt"));
}

TEST(BfStep, ProgramResampledOntoTheGridCount) {
    AnalysisState s;
    RecordingPlatform p;
    fakeDecomposition(s, 12, 5);
    // The program star has more pixels than the grid; only the grid's 12 points are filled.
    s.nPixPro = 30;
    for (int i = 1; i <= 30; ++i) s.wp(i) = 100 + i, s.sp(i) = 0.01 * i;
    for (int k = 1; k <= 13; ++k) s.w1(k) = 104.5 + k, s.spr(k) = -1;
    ASSERT_TRUE(RunBfStep(s, p));
    EXPECT_NEAR(s.spr(1), 0.055, 1e-15);
    EXPECT_NEAR(s.spr(12), 0.165, 1e-15);
    EXPECT_EQ(s.spr(13), -1);
    EXPECT_EQ(s.bb(2, 4), referenceBb(s)(2, 4));
    s.svdValid = false;
    EXPECT_FALSE(RunBfStep(s, p));
    EXPECT_EQ(p.messages.size(), 1u);
}

TEST(BfOrder, CopiedOrderIsRoundedAndClamped) {
    AnalysisState s;
    RecordingPlatform p;
    fakeDecomposition(s, 12, 5);
    s.delV = 2.5;
    ASSERT_TRUE(Find_bb(s, p));
    struct Case {
        double typed;
        int order;
    } cases[] = {{3.4, 3}, {2.5, 2}, {3.5, 4}, {-7, 1}, {99, 5}, {NAN, 1}};
    for (const Case& c : cases) {
        s.Smoothed = true;
        EXPECT_EQ(CopyBfOrder(s, c.typed), c.order) << "typed " << c.typed;
        EXPECT_EQ(s.bbOrder, c.order) << "typed " << c.typed;
        EXPECT_FALSE(s.Smoothed);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(s.vel_bb(i), (i - 3) * 2.5) << "typed " << c.typed << " i " << i;
            EXPECT_EQ(s.bb_n(i), s.bb(i, c.order)) << "typed " << c.typed << " i " << i;
        }
    }
    EXPECT_EQ(BfVelocity(s, 1), -5);
}

}  // namespace
}  // namespace tessan
