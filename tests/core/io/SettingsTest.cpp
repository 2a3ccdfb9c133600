// The settings file: exact layout, round trip and the fall-back rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "io/Settings.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"

namespace tessan {
namespace {

using test::JoinCrLf;
using test::ReadText;

const std::vector<std::string> kExample = {
    "\"c:\"", "\"CRVAL1\"", "\"CD1_1\"", "500,500", "500,500,1500,10000", "500,500,1500,10000",
    "500,500,4000,10000", "500,500,4000,10000", "500,500,10000,4000", "500,500", "500,500",
    "500,500", "500,500,14385,5655", "500,500,8000,8000", "500,500,8000,8000",
    "500,500,8000,8000", "500,500", "500,500", "500,500", "500,500",
    "8625,1335,13755,5250", "8625,1335,13755,5250", "0,0", "0",
};

// The settings file the state would write.
std::string savedText(const AnalysisState& s) {
    test::RecordingPlatform p;
    EXPECT_EQ(SaveSettings(s, p.WorkDir()), 0);
    return ReadText(p.WorkDir() / "Tessan6.ini");
}

// A state whose settings entries all differ from the defaults.
void fillNonDefault(AnalysisState& s) {
    s.DataPath = "d:\\spectra, 'x' 2024\\night 3", s.Lambda0_Key = "W0", s.dLambda_Key = "CDELT1";
    s.geom.frmAbout = {-120, -45};
    s.geom.frmMain = {15, 30, 12000, 6000};
    s.geom.frmPlotData_bb = {-32768, 32767, 9000, 7000};
    s.geom.frmPlot_Spectr_Std = {100, 200, 300, 400};
    s.geom.frmHelp = {40000, -40000, 10000, 4000};   // saturated to 16 bits when written
    s.GaussFitMode = true, s.bbCombo1Flag = false, s.bbCombo2Flag = true;
}

TEST(Settings, RoundTripKeepsEveryEntryAndUnstorableValuesReadBack) {
    test::RecordingPlatform p;
    AnalysisState a, b;
    fillNonDefault(a);
    ASSERT_EQ(SaveSettings(a, p.WorkDir()), 0);
    const std::string file = ReadText(p.WorkDir() / "Tessan6.ini");
    EXPECT_NE(file.find("\r\n-120,-45\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\r\n32767,-32768,10000,4000\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\r\n-1,0\r\n-1\r\n"), std::string::npos) << file;
    LoadSettings(b, p.WorkDir());
    EXPECT_EQ(b.DataPath, a.DataPath);
    EXPECT_EQ(savedText(b), savedText(a));

    // A text the record writer would alter (a double quote, CR or LF in it) is written as its
    // default, so that the next start never uses a path or keyword the user did not give.
    a.DataPath = "/data/a\nb", a.Lambda0_Key = "W\"0", a.dLambda_Key = "CD\r1";
    ASSERT_EQ(SaveSettings(a, p.WorkDir()), 0);
    LoadSettings(b, p.WorkDir());
    EXPECT_EQ(std::tuple(b.DataPath, b.Lambda0_Key, b.dLambda_Key, b.bbCombo2Flag),
              std::tuple("c:", "CRVAL1", "CD1_1", true));
}

// Records 1 to 22 fall back to the defaults as a whole; the flags keep what was read. Without a
// file, the defaults write the example file byte for byte.
TEST(Settings, FailuresFallBackToDefaults) {
    auto example = [](std::vector<std::pair<std::size_t, std::string>> edits, std::size_t keep = 24) {
        std::vector<std::string> l = kExample;
        l[0] = "\"e:\\data\"", l[12] = "1,2,3,4", l[22] = "-1,-1", l[23] = "-1";
        for (auto& [i, t] : edits) l[i] = t;
        l.resize(keep);
        return std::optional<std::string>(JoinCrLf(l));
    };
    const struct { const char* label; std::optional<std::string> file; bool gauss, combo1, combo2; } cases[] = {
        {"no file", std::nullopt, false, false, false},
        {"last line missing", example({}, 23), true, true, false},
        {"40000 in record 5", example({{4, "500,40000,1500,10000"}}), false, false, false},
        {"40000 in record 24", example({{23, "40000"}}), true, true, false},
        {"text where a number belongs", example({{3, "\"left\",500"}}), false, false, false},
        {"record 23 cut after its first item", example({{22, "-1"}}, 23), true, false, false},
        {"empty file", "", false, false, false},
    };
    for (const auto& c : cases) {
        test::RecordingPlatform p;
        if (c.file) test::WriteText(p.WorkDir() / "Tessan6.ini", *c.file);
        AnalysisState s;
        fillNonDefault(s);
        s.bbCombo1Flag = true;
        LoadSettings(s, p.WorkDir());
        const std::string text = savedText(s);
        EXPECT_TRUE(c.file || text == JoinCrLf(kExample)) << text;
        const auto lines = test::SplitCrLf(text);
        ASSERT_EQ(lines.size(), 24u) << c.label;
        EXPECT_TRUE(std::equal(kExample.begin(), kExample.begin() + 22, lines.begin())) << c.label;
        EXPECT_EQ(std::tuple(s.GaussFitMode, s.bbCombo1Flag, s.bbCombo2Flag), std::tuple(c.gauss, c.combo1, c.combo2))
            << c.label;
    }
}

}  // namespace
}  // namespace tessan
