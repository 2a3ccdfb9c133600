// The model file: what is written, byte for byte, and what is read back.
#include <gtest/gtest.h>

#include <memory>

#include "ModelTestData.h"
#include "io/ModelFile.h"
#include "state/ErrText.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

namespace fs = std::filesystem;
using test::RecordingPlatform;

// Removes the resampled-standard section, giving a file of the older format.
std::string withoutSsr(const std::string& text) {
    const std::size_t a = text.find("\"----- Start ssr() -----\"\r\n");
    return text.substr(0, a) + text.substr(text.find("\"----- END -----\"", a));
}

// Every value comes back to the 15 digits written: saving the loaded model again gives the same file.
TEST(ModelRoundTrip, GivesBackEveryValueTo15Digits) {
    const int n = 2000, span = 201;
    for (const bool older : {false, true}) {
        SCOPED_TRACE(older ? "older format" : "current format");
        RecordingPlatform p;
        auto src = std::make_unique<AnalysisState>(), dst = std::make_unique<AnalysisState>();
        test::FillWorkingModel(*src, n, span, 7);
        dst->ModelFullPath = src->ModelFullPath = (p.WorkDir() / "m.MDL").string();
        ASSERT_EQ(Save_model(*src, p), 0);
        std::string first = test::ReadText(src->ModelFullPath);
        if (older) test::WriteText(src->ModelFullPath, first = withoutSsr(first));

        dst->ssrAvailable = true;
        const ModelLoadOutcome out = Load_model(*dst, p);
        ASSERT_TRUE(p.messages.empty()) << p.messages.front();
        ASSERT_EQ(out.kind, ModelLoadOutcome::Loaded);
        EXPECT_EQ(std::tuple(out.slot, out.label, dst->NAXIS1, dst->nGrid, dst->nPixStd, dst->span),
                  std::tuple(1, src->StdFileName, n, n, n, span));
        EXPECT_TRUE(dst->svdValid && dst->Models[1].ssrPresent == !older && dst->ssrAvailable == !older);
        dst->ModelFullPath = (p.WorkDir() / "again.MDL").string();
        dst->svdValid = true;
        ASSERT_EQ(Save_model(*dst, p), 0);
        const std::string again = test::ReadText(dst->ModelFullPath);
        // A model without its resampled standard is saved again in the older format.
        ASSERT_EQ(again, first);
    }
}

// A file in the layout as other programs write it (".5", "-1.5D-03", " 2 ", blanks around
// fields) loads with its values; saved again, every number is in the record form and double
// quotes in the texts become apostrophes; Max_waveL is written as 0.
TEST(ModelFileLayout, HandWrittenFileLoadsWithItsValuesAndIsWrittenBack) {
    for (bool older : {false, true}) {
        SCOPED_TRACE(older ? "older format" : "with ssr");
        RecordingPlatform p;
        auto lines = test::HandModelLines();
        ASSERT_EQ(lines[test::kHandSsrLabel], "\"----- Start ssr() -----\"");
        if (older) lines.erase(lines.begin() + test::kHandSsrLabel, lines.begin() + test::kHandSsrLabel + 4);
        auto s = std::make_unique<AnalysisState>();
        s->ModelFullPath = (p.WorkDir() / "hand.MDL").string();
        test::WriteText(s->ModelFullPath, test::JoinCrLf(lines));
        s->ssr(4) = 77;
        ASSERT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded) << p.messages.at(0);
        EXPECT_EQ(std::tuple(s->StdObject, s->nRecords_StdHdr, s->StdHdr(2), s->NAXIS1),
                  std::tuple("Star, with comma", 2, "OBJECT  = 'X'", 5));
        const double pix[] = {0.5, -1.5e-3, 2, 100, -0.25}, ss[] = {0.5, -0.5, 150, 0, 2.5e-10};
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(std::tuple(s->Pixval(i), s->ss(i), s->ws(i)), std::tuple(pix[i - 1], ss[i - 1], 6000 + 0.5 * (i - 1)))
                << "point " << i;
        EXPECT_EQ(std::tuple(s->delV, s->Models[1].Max_waveL, s->w1(4), s->span, s->des(3, 2), s->U(2, 3), s->Vt(3, 3)),
                  std::tuple(3, 0, 6000.61, 3, 32, -2.3, 0.5));
        EXPECT_EQ(s->ssrAvailable, !older);
        // Beyond span the resampled standard is recomputed from the model's own ss on w1.
        EXPECT_EQ(s->ssr(3), older ? 0 : 0.3);
        EXPECT_NEAR(s->ssr(4), older ? 77 : -0.5 + (6000.61 - 6000.5) / 0.5 * 150.5, 1e-9);
        if (older) continue;

        s->StdObject = "the \"bright\" one, first";
        s->StdHdr(1) = "COMMENT = \"q\", x";
        s->Max_waveL = 123;
        ASSERT_EQ(Save_model(*s, p), 0);
        for (const auto& [i, text] : std::initializer_list<std::pair<int, const char*>>{
                 {1, "\"the 'bright' one, first\""}, {3, "\"COMMENT = 'q', x\""}, {5, "5,\"--- NAXIS1\""},
                 {8, "6002,\"--- WaveL_R_Std\""}, {11, "-.0015"}, {12, "2"}, {13, "100"}, {17, "6000.5,-.5"},
                 {18, "6001,150"}, {21, "3,\"--- delV\""}})
            lines[static_cast<std::size_t>(i)] = text;
        EXPECT_EQ(test::ReadText(s->ModelFullPath), test::JoinCrLf(lines));
        EXPECT_TRUE(p.messages.empty());
    }
}

// A refused save leaves the file it would replace; a failed write shows the writer's error number.
// Either way the directory keeps exactly what it held (no temporary file left).
TEST(ModelFileSave, FailuresKeepTheExistingFile) {
    const std::string noModel = "There is no model to save: compute or load a model first.";
    const struct { const char* name; void (*spoil)(AnalysisState&); std::string target, message; } cases[] = {
        {"no decomposition", [](AnalysisState& s) { s.svdValid = false; }, "old.MDL", noModel},
        {"span above the grid", [](AnalysisState& s) { s.span = 13; }, "old.MDL", noModel},
        {"target is a directory", nullptr, "sub", ErrTextFor(err::kPathFileAccess)},
        {"empty name after the directory", nullptr, "sub/", ErrTextFor(err::kPathFileAccess)},
        {"directory missing", nullptr, "nowhere/m.MDL", ErrTextFor(err::kPathNotFound)},
    };
    for (const auto& c : cases) {
        RecordingPlatform p;
        fs::create_directory(p.WorkDir() / "sub");
        test::WriteText(p.WorkDir() / "old.MDL", "old contents");
        auto s = std::make_unique<AnalysisState>();
        test::FillWorkingModel(*s, 12, 3, 1);
        if (c.spoil) c.spoil(*s);
        s->ModelFullPath = (p.WorkDir() / c.target).string();
        EXPECT_NE(Save_model(*s, p), 0) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_TRUE(c.target != "old.MDL" || test::ReadText(p.WorkDir() / "old.MDL") == "old contents") << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(p.WorkDir()), fs::directory_iterator()), 2) << c.name;
        EXPECT_TRUE(fs::is_empty(p.WorkDir() / "sub")) << c.name;
    }
}

}  // namespace
}  // namespace tessan
