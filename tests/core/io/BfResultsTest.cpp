// The BF results file: header lines, one row per BF point, failures reported.
#include <gtest/gtest.h>

#include <memory>

#include "io/BfResults.h"
#include "state/ErrText.h"
#include "support/RecordingPlatform.h"
#include "ModelTestData.h"

namespace tessan {
namespace {

namespace fs = std::filesystem;
using test::RecordingPlatform;

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t a = 0;
    for (std::size_t b; (b = text.find("\r\n", a)) != std::string::npos; a = b + 2)
        lines.push_back(text.substr(a, b - a));
    EXPECT_EQ(a, text.size()) << "text after the last line end";
    return lines;
}

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
    const auto lines = crlfLines(test::ReadFileText(s->BBFullPath));
    ASSERT_EQ(lines.size(), 207u);
    const char* header[] = {
        "\"Std. File:\",\"std.fts\"",     "\"Std. Object:\",\"HD 1, A0V\"",
        "\"Prog. File:\",\"pro.fts\"",    "\"Prog. Object:\",\"V 123\"",
        "\"Span:\",201",                  "\"Scale, delV:\",2.5,\"km/s\"",
    };
    for (int i = 0; i < 6; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i)], header[i]) << "line " << i + 1;
    EXPECT_EQ(lines[6], "-250,1E-07");      // line 7: -100 x delV
    EXPECT_EQ(lines[106], "0,.25");         // line 107: zero velocity
    EXPECT_EQ(lines[206], "250,2.01E-05");  // the last point

    s->bbIdentity.StdFileName.clear();
    s->bbIdentity.ProObject.clear();
    s->bbShown = s->bbIdentity;
    ASSERT_EQ(Save_bb(*s, p), 0);
    const auto again = crlfLines(test::ReadFileText(s->BBFullPath));
    ASSERT_EQ(again.size(), 207u);
    EXPECT_EQ(again[0], "\"Std. File:\",\"\"");
    EXPECT_EQ(again[3], "\"Prog. Object:\",\"\"");
}

TEST(BfResults, WriteFailuresAreReportedAndKeepOtherFiles) {
    struct Case {
        const char* name;
        fs::path (*target)(const fs::path& dir);
        int err;
    };
    const Case cases[] = {
        {"target is a directory", [](const fs::path& d) { return d / "sub"; }, err::kPathFileAccess},
        {"empty name", [](const fs::path& d) { return fs::path(d.string() + "/"); }, err::kPathFileAccess},
        {"directory missing", [](const fs::path& d) { return d / "none" / "bf.dat"; }, err::kPathNotFound},
    };
    for (const auto& c : cases) {
        RecordingPlatform p;
        fs::create_directory(p.WorkDir() / "sub");
        test::WriteFileText(p.WorkDir() / "old.dat", "old");
        auto s = shownBf(p);
        s->BBFullPath = c.target(p.WorkDir()).string();
        EXPECT_EQ(Save_bb(*s, p), c.err) << c.name;
        ASSERT_EQ(p.messages.size(), 1u) << c.name;
        EXPECT_EQ(p.messages[0], ErrTextFor(c.err)) << c.name;
        EXPECT_EQ(test::ReadFileText(p.WorkDir() / "old.dat"), "old") << c.name;
    }
}

}  // namespace
}  // namespace tessan
