// The BF results file: header lines, one row per BF point, failures reported.
#include <gtest/gtest.h>

#include <memory>

#include "io/BfResults.h"
#include "state/ErrText.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"

namespace tessan {
namespace {

using test::RecordingPlatform;
using test::ReadText;
using test::SplitCrLf;

// The state as the BF window leaves it after showing an order of a span-201 model.
std::unique_ptr<AnalysisState> shownBf(RecordingPlatform& p) {
    auto s = std::make_unique<AnalysisState>();
    s->bbIdentity = {201, 100, 2.5, "std.fts", "HD 1, A0V", "pro.fts", "V 123", 1};
    s->bbShown = s->bbIdentity;
    s->bbOrder = 1;
    for (int k = 1; k <= 201; ++k) {
        s->vel_bb(k) = (k - 100 - 1) * 2.5;
        s->bb_n(k) = k == 101 ? 0.25 : 1e-7 * k;
        s->bb_sm(k) = 99;  // the smoothed curve is never written
    }
    s->BBFullPath = (p.WorkDir() / "bf.dat").string();
    return s;
}

TEST(BfResults, HeaderAndOneRowPerPointEvenWithEmptyNames) {
    RecordingPlatform p;
    auto s = shownBf(p);
    ASSERT_EQ(Save_bb(*s, p), 0);
    EXPECT_TRUE(p.messages.empty());
    auto lines = SplitCrLf(ReadText(s->BBFullPath));
    ASSERT_EQ(lines.size(), 207u);
    lines.erase(lines.begin() + 7, lines.begin() + 106);   // keep points 1, 101, 201 (-100, 0, +100 x delV)
    lines.erase(lines.begin() + 8, lines.end() - 1);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "\"Std. File:\",\"std.fts\"", "\"Std. Object:\",\"HD 1, A0V\"", "\"Prog. File:\",\"pro.fts\"",
                         "\"Prog. Object:\",\"V 123\"", "\"Span:\",201", "\"Scale, delV:\",2.5,\"km/s\"",
                         "-250,1E-07", "0,.25", "250,2.01E-05"}));

    s->bbIdentity.StdFileName.clear();
    s->bbIdentity.ProObject.clear();
    s->bbShown = s->bbIdentity;
    ASSERT_EQ(Save_bb(*s, p), 0);
    const auto again = SplitCrLf(ReadText(s->BBFullPath));
    ASSERT_EQ(again.size(), 207u);
    EXPECT_EQ(again[0], "\"Std. File:\",\"\"");
    EXPECT_EQ(again[3], "\"Prog. Object:\",\"\"");
}

// The writer's error (its numbers are checked with the model file) is shown and returned.
TEST(BfResults, WriteFailureIsReported) {
    RecordingPlatform p;
    auto s = shownBf(p);
    s->BBFullPath = (p.WorkDir() / "none" / "bf.dat").string();
    EXPECT_EQ(Save_bb(*s, p), err::kPathNotFound);
    EXPECT_EQ(p.messages, std::vector<std::string>{ErrTextFor(err::kPathNotFound)});
}

}  // namespace
}  // namespace tessan
