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
        std::string first = test::ReadFileText(src->ModelFullPath);
        if (older) test::WriteFileText(src->ModelFullPath, first = withoutSsr(first));

        dst->ssrAvailable = true;
        const ModelLoadOutcome out = Load_model(*dst, p);
        ASSERT_TRUE(p.messages.empty()) << p.messages.front();
        ASSERT_EQ(out.kind, ModelLoadOutcome::Loaded);
        EXPECT_EQ(out.slot, 1);
        EXPECT_EQ(out.label, src->StdFileName);
        EXPECT_TRUE(dst->NAXIS1 == n && dst->nGrid == n && dst->nPixStd == n && dst->span == span);
        EXPECT_TRUE(dst->svdValid);
        EXPECT_EQ(dst->Models[1].ssrPresent, !older);
        EXPECT_EQ(dst->ssrAvailable, !older);
        if (older) {
            EXPECT_FALSE(RunCcfStep(*dst, p, "450"));
            EXPECT_EQ(p.messages, std::vector<std::string>{
                                      "The resampled standard spectrum is not available.  Either compute and save "
                                      "a new model with vers. 2.4 or later, or follow steps 1-3."});
        }
        dst->ModelFullPath = (p.WorkDir() / "again.MDL").string();
        dst->svdValid = true;
        ASSERT_EQ(Save_model(*dst, p), 0);
        const std::string again = test::ReadFileText(dst->ModelFullPath);
        // A model without its resampled standard is saved again in the older format.
        ASSERT_EQ(again, first);
    }
}

TEST(ModelFileLayout, SmallModelIsWrittenRecordForRecord) {
    RecordingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    s->StdFileName = "a.fts";
    s->StdObject = "the \"bright\" one, first";   // double quotes become apostrophes
    s->nRecords_StdHdr = 2;
    s->StdHdr(1) = "COMMENT = \"q\", x";
    s->StdHdr(2) = "END";
    s->NAXIS1 = s->nGrid = s->nPixStd = 4;
    s->WaveL_B_Std = 4500.5, s->dLambda_dp_Std = 0.5, s->WaveL_R_Std = 4502;
    const double pix[] = {1, -0.25, 1.5e-7, 2001}, ss[] = {0.5, -1, 1e20, 0};
    for (int i = 1; i <= 4; ++i) {
        s->Pixval(i) = pix[i - 1];
        s->ws(i) = 4500 + 0.5 * i;
        s->ss(i) = ss[i - 1];
        s->w1(i) = 4500.5 + 0.25 * i;
        s->ssr(i) = 9;
    }
    s->delV = 2.5, s->Min_waveL = 4500.75, s->Max_waveL = 123, s->r1 = 1.0001;
    s->span = 2;
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 2; ++j) s->des(i, j) = i * 10 + j, s->U(i, j) = -(i + j / 10.0);
    s->ww(1) = 3, s->ww(2) = 0.125;
    s->Vt(1, 1) = 1, s->Vt(2, 2) = -1;
    s->ssr(1) = 0.75, s->ssr(2) = -0.75;
    s->svdValid = s->ssrAvailable = true;
    s->ModelFullPath = (p.WorkDir() / "small.MDL").string();
    ASSERT_EQ(Save_model(*s, p), 0);
    EXPECT_EQ(test::ReadFileText(s->ModelFullPath),
              test::JoinCrLf({
                  "\"a.fts\"", "\"the 'bright' one, first\"",
                  "2,\"--- nRecords_StdHdr\"", "\"COMMENT = 'q', x\"", "\"END\"",
                  "4,\"--- NAXIS1\"", "4500.5,\"--- WaveL_B_Std\"", ".5,\"--- dLambda_dp_Std\"",
                  "4502,\"--- WaveL_R_Std\"",
                  "\"----- Start Pixval() -----\"", "1", "-.25", "1.5E-07", "2001",
                  "\"----- Start ws(), ss() -----\"", "4500.5,.5", "4501,-1", "4501.5,1E+20", "4502,0",
                  "2.5,\"--- delV\"", "4500.75,\"--- Min_waveL\"", "0,\"--- Max_waveL\"", "1.0001,\"--- r1\"",
                  "\"----- Start w1() -----\"", "4500.75", "4501", "4501.25", "4501.5",
                  "\"----- Start des(,) -----\"", "2,\"--- span\"", "11", "12", "21", "22", "31", "32",
                  "\"----- Start U(,) -----\"", "-1.1", "-1.2", "-2.1", "-2.2", "-3.1", "-3.2",
                  "\"----- Start ww() -----\"", "3", ".125",
                  "\"----- Start Vt(,) -----\"", "1", "0", "0", "-1",
                  "\"----- Start ssr() -----\"", ".75", "-.75",
                  "\"----- END -----\"",
              }));
    EXPECT_TRUE(p.messages.empty());
}

TEST(ModelFileLayout, HandWrittenFileLoadsWithItsValues) {
    for (bool older : {false, true}) {
        SCOPED_TRACE(older ? "older format" : "with ssr");
        RecordingPlatform p;
        auto lines = test::HandModelLines();
        ASSERT_EQ(lines[test::kHandSsrLabel], "\"----- Start ssr() -----\"");
        if (older) lines.erase(lines.begin() + test::kHandSsrLabel, lines.begin() + test::kHandSsrLabel + 4);
        auto s = std::make_unique<AnalysisState>();
        s->ModelFullPath = (p.WorkDir() / "hand.MDL").string();
        test::WriteFileText(s->ModelFullPath, test::JoinCrLf(lines));
        s->ssr(4) = 77;
        ASSERT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded) << p.messages.at(0);
        EXPECT_EQ(s->StdObject, "Star, with comma");
        ASSERT_EQ(s->nRecords_StdHdr, 2);
        EXPECT_EQ(s->StdHdr(2), "OBJECT  = 'X'");
        EXPECT_EQ(s->NAXIS1, 5);
        const double pix[] = {0.5, -1.5e-3, 2, 100, -0.25}, ss[] = {0.5, -0.5, 150, 0, 2.5e-10};
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(s->Pixval(i), pix[i - 1]) << "Pixval " << i;
            EXPECT_EQ(s->ss(i), ss[i - 1]) << "ss " << i;
            EXPECT_EQ(s->ws(i), 6000 + 0.5 * (i - 1)) << "ws " << i;
        }
        EXPECT_EQ(s->delV, 3);
        EXPECT_EQ(s->Models[1].Max_waveL, 0);
        EXPECT_EQ(s->w1(4), 6000.61);
        ASSERT_EQ(s->span, 3);
        EXPECT_EQ(s->des(3, 2), 32);
        EXPECT_EQ(s->U(2, 3), -2.3);
        EXPECT_EQ(s->Vt(3, 3), 0.5);
        EXPECT_EQ(s->ssrAvailable, !older);
        // Beyond span the resampled standard is recomputed from the model's own ss on w1.
        EXPECT_EQ(s->ssr(3), older ? 0 : 0.3);
        if (older) {
            EXPECT_EQ(s->ssr(4), 77);
        } else {
            EXPECT_NEAR(s->ssr(4), -0.5 + (6000.61 - 6000.5) / 0.5 * 150.5, 1e-9);
        }
    }
}

// A refused or failed save reports once and leaves the existing file and the directory as they were.
TEST(ModelFileSave, FailuresKeepTheExistingFile) {
    const std::string noModel = "There is no model to save: compute or load a model first.";
    const struct {
        const char* name;
        void (*spoil)(AnalysisState&);
        fs::path (*target)(const fs::path& dir);
        std::string message;
    } cases[] = {
        {"no decomposition", [](AnalysisState& s) { s.svdValid = false; },
         [](const fs::path& d) { return d / "old.MDL"; }, noModel},
        {"span above the grid", [](AnalysisState& s) { s.span = 13; },
         [](const fs::path& d) { return d / "old.MDL"; }, noModel},
        {"target is a directory", nullptr, [](const fs::path& d) { return d / "sub"; },
         ErrTextFor(err::kPathFileAccess)},
        {"empty name after the directory", nullptr, [](const fs::path& d) { return fs::path(d.string() + "/"); },
         ErrTextFor(err::kPathFileAccess)},
        {"directory missing", nullptr, [](const fs::path& d) { return d / "nowhere" / "m.MDL"; },
         ErrTextFor(err::kPathNotFound)},
    };
    for (const auto& c : cases) {
        RecordingPlatform p;
        fs::create_directory(p.WorkDir() / "sub");
        test::WriteFileText(p.WorkDir() / "old.MDL", "old contents");
        auto s = std::make_unique<AnalysisState>();
        test::FillWorkingModel(*s, 12, 3, 1);
        if (c.spoil) c.spoil(*s);
        s->ModelFullPath = c.target(p.WorkDir()).string();
        EXPECT_NE(Save_model(*s, p), 0) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(test::ReadFileText(p.WorkDir() / "old.MDL"), "old contents") << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(p.WorkDir()), fs::directory_iterator()), 2) << c.name;
        EXPECT_TRUE(fs::is_empty(p.WorkDir() / "sub")) << c.name;
    }
}

}  // namespace
}  // namespace tessan
