// The analysis state as created at start, and the system's error texts.
#include <gtest/gtest.h>

#include <string>

#include "state/AnalysisState.h"
#include "state/ErrText.h"

namespace tessan {
namespace {

TEST(AnalysisState, CreatedAtTheSystemsBounds) {
    const AnalysisState s;
    EXPECT_EQ(s.c_kms, 299792.458);
    EXPECT_EQ(s.StdHdr.size(), lim::kMaxCards);
    EXPECT_EQ(s.LastKey.size(), lim::kMaxCards);
    for (const Vec* v : {&s.Pixval, &s.ws, &s.ss, &s.Pixval_Pro, &s.wp, &s.sp, &s.w1, &s.ssr, &s.spr})
        EXPECT_EQ(v->size(), lim::kMaxPix);
    EXPECT_EQ(s.des.rows(), lim::kMaxPix);
    EXPECT_EQ(s.U.cols(), lim::kMaxSpan);
    EXPECT_EQ(s.Vt.rows(), lim::kMaxSpan);
    EXPECT_EQ(s.bb.cols(), lim::kMaxSpan);
    EXPECT_EQ(s.cc.bound(), lim::kMaxLag);
    EXPECT_EQ(s.ErrText.size(), lim::kMaxErr);
    EXPECT_EQ(s.NAXIS1, 0);
    EXPECT_FALSE(s.ssrAvailable);
    EXPECT_FALSE(s.svdValid);
    EXPECT_EQ(s.nModels, 0);
}

TEST(ErrText, EntriesAsTheUserSeesThem) {
    struct Case {
        int n;
        std::string text;
    };
    const Case cases[] = {
        {53, "Error 53: File not found."},
        {62, "Error 62: Input past end of file."},
        {72, "Error 72: Disk media error"},
        {75, "Error 75: Path/file access error."},
        {0, ""},
        {1, ""},
        {1000, ""},
        {-1, ""},
        {1001, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrTextFor(c.n), c.text) << "error " << c.n;

    AnalysisState s;
    FillErrText(s);
    EXPECT_EQ(s.ErrText(53), "Error 53: File not found.");
    EXPECT_EQ(s.ErrText(1000), "");
}

}  // namespace
}  // namespace tessan
