// The model file, what is written byte for byte and what is read back, and the model store:
// failed loads that change nothing, the limit of thirteen models, forgetting and selection.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "io/ModelFile.h"
#include "state/ErrText.h"
#include "steps/ModelSteps.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"

namespace tessan::test {
namespace {

namespace fs = std::filesystem;

// A finished model of n pixels and the given span in the working items of s, with values of
// many magnitudes (1E-30..1E+30, both signs) and some whole numbers, so that both the
// positional and the exponent forms are written.
void FillWorkingModel(AnalysisState& s, int n, int span, std::uint64_t seed) {
    std::mt19937_64 gen(seed);
    auto v = [&gen] {
        const double u = std::uniform_real_distribution<double>(1, 10)(gen);
        const auto r = gen();
        if (r % 8 == 0) return static_cast<double>(r % 5000) - 2500;
        return (r & 16 ? -1 : 1) * u * std::pow(10.0, static_cast<int>((r >> 8) % 61) - 30);
    };
    s.StdFileName = "std_" + std::to_string(seed) + ".fts", s.StdObject = "HD " + std::to_string(1000 + seed);
    s.nRecords_StdHdr = 3, s.StdHdr(1) = "SIMPLE  =                    T / conforms, to FITS", s.StdHdr(3) = "END";
    s.StdHdr(2) = "OBJECT  = '" + s.StdObject + "'";
    s.NAXIS1 = s.nPixStd = s.nGrid = n;
    s.WaveL_B_Std = 5000 + v() * 1e-30, s.dLambda_dp_Std = 0.0123456789012345, s.WaveL_R_Std = 5500.123456789012;
    for (int i = 1; i <= n; ++i)
        s.Pixval(i) = v(), s.ws(i) = 5000 + 0.25 * i, s.ss(i) = v(), s.w1(i) = 5001 * std::pow(1.00001, i - 1);
    s.delV = 2.5, s.Min_waveL = 5001, s.Max_waveL = 5400, s.r1 = 1.00001, s.span = span;
    for (int j = 1; j <= span; ++j) {
        for (int i = 1; i <= n - span + 1; ++i) s.des(i, j) = v(), s.U(i, j) = v();
        for (int i = 1; i <= span; ++i) s.Vt(i, j) = v();
        s.ww(j) = v();
    }
    for (int i = 1; i <= n; ++i) s.ssr(i) = v();
    s.svdValid = s.ssrAvailable = true;
}

// The items a failed load or Select_model of no model must leave exactly as they were.
auto ModelItems(const AnalysisState& s) {
    std::vector<std::tuple<std::string, int, Mat>> slots;
    for (const auto& m : s.Models) slots.emplace_back(m.StdFileName, m.span, m.des);
    return std::tuple(s.nModels, s.CurModel, s.StdFileName, s.StdObject, s.nRecords_StdHdr, s.StdHdr, s.NAXIS1,
                      s.WaveL_B_Std, s.nPixStd, s.nGrid, s.delV, s.Min_waveL, s.r1, s.span, s.svdValid, s.ssrAvailable,
                      s.Pixval, s.ws, s.ss, s.w1, s.ssr, s.ww, s.des, s.U, s.Vt, slots);
}

// A model file written by hand: 2 cards, n = 5, span = 3, with number texts as other programs
// write them (".5", "-1.5D-03", " 2 ", blanks around fields).
std::vector<std::string> HandModelLines() {
    return {"\"hand.fts\"", "\"Star, with comma\"", "2,\"--- nRecords_StdHdr\"",
            "\"SIMPLE  =                    T\"", "\"OBJECT  = 'X'\"", " 5 ,\"--- NAXIS1\"", "6000,\"--- WaveL_B_Std\"",
            ".5,\"--- dLambda_dp_Std\"", "6002, \"--- WaveL_R_Std\"",
            "\"----- Start Pixval() -----\"", ".5", "-1.5D-03", " 2 ", "1E+2", "-.25",
            "\"----- Start ws(), ss() -----\"", "6000,.5", "6000.5, -.5", " 6001 , 1.5d2", "6001.5,0", "6002,2.5E-10",
            " 3 ,\"--- delV\"", "6000.25,\"--- Min_waveL\"", "0,\"--- Max_waveL\"", "1.00002,\"--- r1\"",
            "\"----- Start w1() -----\"", "6000.25", "6000.37", "6000.49", "6000.61", "6000.73",
            "\"----- Start des(,) -----\"", "3,\"--- span\"", "11", "12", "13", "21", "22", "23", "31", "32", "33",
            "\"----- Start U(,) -----\"", "-1.1", "-1.2", "-1.3", "-2.1", "-2.2", "-2.3", "-3.1", "-3.2", "-3.3",
            "\"----- Start ww() -----\"", "3", "2", "1",
            "\"----- Start Vt(,) -----\"", "1", "0", "0", "0", "-1", "0", "0", "0", ".5",
            "\"----- Start ssr() -----\"", ".1", ".2", ".3", "\"----- END -----\""};
}
constexpr std::size_t kHandSsrLabel = 66;   // index of the ssr section's label

// Every value comes back to the 15 digits written: saving the loaded model again gives the
// same file. The largest doubles are written cut toward zero in their last digit, so that they
// read back.
TEST(ModelRoundTrip, GivesBackEveryValueTo15Digits) {
    const int n = 2000, span = 201;
    const double big = std::numeric_limits<double>::max();
    for (const bool older : {false, true}) {
        SCOPED_TRACE(older ? "older format" : "current format");
        RecordingPlatform p;
        auto src = std::make_unique<AnalysisState>(), dst = std::make_unique<AnalysisState>();
        FillWorkingModel(*src, n, span, 7);
        src->ss(1) = big, src->ss(2) = -big, src->ww(1) = std::nextafter(big, 0.0);
        dst->ModelFullPath = src->ModelFullPath = (p.WorkDir() / "m.MDL").string();
        ASSERT_EQ(Save_model(*src, p), 0);
        std::string first = ReadText(src->ModelFullPath);
        if (older) {   // without the resampled-standard section
            const std::size_t a = first.find("\"----- Start ssr() -----\"\r\n");
            WriteText(src->ModelFullPath, first = first.substr(0, a) + first.substr(first.find("\"----- END", a)));
        }
        dst->ssrAvailable = true;
        const ModelLoadOutcome out = Load_model(*dst, p);
        ASSERT_TRUE(p.messages.empty()) << p.messages.front();
        ASSERT_EQ(out.kind, ModelLoadOutcome::Loaded);
        EXPECT_EQ(std::tuple(out.slot, out.label, dst->NAXIS1, dst->nGrid, dst->nPixStd, dst->span),
                  std::tuple(1, src->StdFileName, n, n, n, span));
        EXPECT_TRUE(dst->svdValid && dst->Models[1].ssrPresent == !older && dst->ssrAvailable == !older);
        const ModelSlot& m = dst->Models[1];
        EXPECT_TRUE(m.ss(1) == 1.79769313486231e308 && m.ss(2) == -1.79769313486231e308 &&
                    m.ww(1) == 1.79769313486231e308);
        dst->ModelFullPath = (p.WorkDir() / "again.MDL").string();
        ASSERT_EQ(Save_model(*dst, p), 0);
        // A model without its resampled standard is saved again in the older format.
        ASSERT_EQ(ReadText(dst->ModelFullPath), first);
    }
}

// The hand-written file loads with its values; saved again, every number is in the record form
// and double quotes in the texts become apostrophes; Max_waveL is written as 0.
TEST(ModelFileLayout, HandWrittenFileLoadsWithItsValuesAndIsWrittenBack) {
    for (bool older : {false, true}) {
        SCOPED_TRACE(older ? "older format" : "with ssr");
        RecordingPlatform p;
        auto lines = HandModelLines();
        ASSERT_EQ(lines[kHandSsrLabel], "\"----- Start ssr() -----\"");
        if (older) lines.erase(lines.begin() + kHandSsrLabel, lines.begin() + kHandSsrLabel + 4);
        auto s = std::make_unique<AnalysisState>();
        s->ModelFullPath = (p.WorkDir() / "hand.MDL").string();
        WriteText(s->ModelFullPath, JoinCrLf(lines));
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
        EXPECT_EQ(ReadText(s->ModelFullPath), JoinCrLf(lines));
        EXPECT_TRUE(p.messages.empty());
    }
}

// A refused save leaves the file it would replace; a failed write shows the writer's error
// number. Either way the directory keeps exactly what it held (no temporary file left).
TEST(ModelFileSave, FailuresKeepTheExistingFile) {
    const std::string noModel = "There is no model to save: compute or load a model first.";
    const struct { const char* name; void (*spoil)(AnalysisState&); std::string target, message; } cases[] = {
        {"no decomposition", [](AnalysisState& s) { s.svdValid = false; }, "old.MDL", noModel},
        {"span above the grid", [](AnalysisState& s) { s.span = 13; }, "old.MDL", noModel},
        {"target is a directory", nullptr, "sub", ErrTextFor(err::kPathFileAccess)},
        {"directory missing", nullptr, "nowhere/m.MDL", ErrTextFor(err::kPathNotFound)},
    };
    for (const auto& c : cases) {
        RecordingPlatform p;
        fs::create_directory(p.WorkDir() / "sub");
        WriteText(p.WorkDir() / "old.MDL", "old contents");
        auto s = std::make_unique<AnalysisState>();
        FillWorkingModel(*s, 12, 3, 1);
        if (c.spoil) c.spoil(*s);
        s->ModelFullPath = (p.WorkDir() / c.target).string();
        EXPECT_NE(Save_model(*s, p), 0) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(ReadText(p.WorkDir() / "old.MDL"), "old contents") << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(p.WorkDir()), fs::directory_iterator()), 2) << c.name;
        EXPECT_TRUE(fs::is_empty(p.WorkDir() / "sub")) << c.name;
    }
}

// A state holding the hand-written model (slot 1, selected) and then a model of this run in
// the working items, so that a failed load has something to disturb.
std::unique_ptr<AnalysisState> stateWithOneModel(RecordingPlatform& p) {
    auto s = std::make_unique<AnalysisState>();
    s->ModelFullPath = (p.WorkDir() / "first.MDL").string();
    WriteText(s->ModelFullPath, JoinCrLf(HandModelLines()));
    EXPECT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded);
    FillWorkingModel(*s, 40, 7, 5);
    return s;
}

// Each file breaks off or holds a bad value somewhere; text nullopt: the named file is not written.
TEST(ModelLoadFailure, ShowsTheErrorTextAndChangesNothing) {
    const auto lines = HandModelLines();
    auto firstLines = [&](std::size_t k) {
        return JoinCrLf(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(k)));
    };
    auto replaced = [&](std::size_t i, const std::string& t) {
        auto l = lines;
        l[i] = t;
        return JoinCrLf(l);
    };
    const struct { const char* name; std::optional<std::string> text; int err; const char* file = "bad.MDL"; }
        cases[] = {
        {"missing file", std::nullopt, err::kFileNotFound, "none.MDL"},
        {"empty name", std::nullopt, err::kFileNotFound, ""},
        {"a directory", std::nullopt, err::kPathFileAccess, "sub"},
        {"empty file", "", err::kPastEnd},                       {"in the cards", firstLines(4), err::kPastEnd},
        {"half a ws, ss pair", firstLines(17) + "6000.5,", err::kPastEnd}, {"in des", firstLines(36), err::kPastEnd},
        {"after Vt", firstLines(kHandSsrLabel), err::kPastEnd},
        {"in ssr", firstLines(kHandSsrLabel + 2), err::kPastEnd},
        {"without END", firstLines(lines.size() - 1), err::kPastEnd},
        {"letters for Pixval", replaced(11, "abc"), err::kInvalidFormat},
        {"quoted text for ss", replaced(17, "6000.5,\"x\""), err::kInvalidFormat},
        {"number with trailing letters", replaced(45, "-1.2x"), err::kInvalidFormat},
        {"empty number field", replaced(20, "6002,"), err::kInvalidFormat},
        {"201 cards", replaced(2, "201,\"--- nRecords_StdHdr\""), err::kSubscript},
        {"negative card count", replaced(2, "-1,\"--- nRecords_StdHdr\""), err::kInvalidFormat},
        {"card count beyond 16 bits", replaced(2, "40000,\"--- nRecords_StdHdr\""), err::kOverflow},
        {"3001 pixels", replaced(5, "3001,\"--- NAXIS1\""), err::kSubscript},
        {"no pixels", replaced(5, "0,\"--- NAXIS1\""), err::kInvalidFormat},
        {"pixel count that overflows", replaced(5, "1E999,\"--- NAXIS1\""), err::kOverflow},
        {"span 501", replaced(32, "501,\"--- span\""), err::kSubscript},
        {"span 0", replaced(32, "0,\"--- span\""), err::kInvalidFormat},
        {"fewer rows than columns", replaced(32, "4,\"--- span\""), err::kInvalidFormat},
    };
    for (const auto& c : cases) {
        RecordingPlatform p;
        auto s = stateWithOneModel(p);
        fs::create_directory(p.WorkDir() / "sub");
        s->ModelFullPath = *c.file ? (p.WorkDir() / c.file).string() : std::string();
        if (c.text) WriteText(s->ModelFullPath, *c.text);
        const auto before = ModelItems(*s);
        p.messages.clear();
        EXPECT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Failed) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{ErrTextFor(c.err)}) << c.name;
        EXPECT_TRUE(ModelItems(*s) == before) << c.name << ": the state changed";
    }
}

TEST(ModelStore, ThirteenLoadsThenAFourteenthIsIgnoredSilently) {
    RecordingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    s->ModelFullPath = (p.WorkDir() / "m.MDL").string();
    auto lines = HandModelLines();
    auto load = [&](const std::string& name) {
        lines[0] = "\"" + name + "\"";
        WriteText(s->ModelFullPath, JoinCrLf(lines));
        return Load_model(*s, p);
    };
    for (int k = 1; k <= 13; ++k) {
        const ModelLoadOutcome out = load("model" + std::to_string(k) + ".fts");
        ASSERT_EQ(out.kind, ModelLoadOutcome::Loaded) << "load " << k;
        EXPECT_EQ(std::tuple(out.slot, s->nModels, s->CurModel, s->StdFileName), std::tuple(k, k, k, out.label))
            << "load " << k;
    }
    const auto full = ModelItems(*s);
    EXPECT_EQ(load("fourteen.fts").kind, ModelLoadOutcome::StoreFull);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_TRUE(ModelItems(*s) == full);

    // Forgetting the list: every entry is hidden, CurModel and the slots stay.
    EXPECT_EQ(DumpModels(*s), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(std::tuple(s->nModels, s->CurModel, s->Models[13].StdFileName), std::tuple(0, 13, "model13.fts"));
    EXPECT_TRUE(DumpModels(*s).empty());

    // The next load fills slot 1 again; the other slots keep their old data.
    EXPECT_EQ(load("again.fts").slot, 1);
    EXPECT_EQ(std::tuple(s->nModels, s->CurModel, s->Models[1].StdFileName, s->Models[2].StdFileName),
              std::tuple(1, 1, "again.fts", "model2.fts"));
}

TEST(ModelSelect, RestoresTheModelOverAnotherWorkingModelOrChangesNothing) {
    RecordingPlatform p;
    auto s = stateWithOneModel(p);   // working items: 40 pixels, span 7
    const auto before = ModelItems(*s);
    for (int k : {0, 2, 13, 14, -1}) {   // no model, or an empty slot
        EXPECT_FALSE(Select_model(*s, k)) << "model " << k;
        EXPECT_TRUE(ModelItems(*s) == before) << "model " << k;
    }
    s->svdValid = false;
    ASSERT_TRUE(Select_model(*s, 1));
    EXPECT_EQ(std::tuple(s->StdFileName, s->nPixStd, s->nGrid, s->span, s->des(1, 1), s->Min_waveL),
              std::tuple("hand.fts", 5, 5, 3, 11, 6000.25));
    EXPECT_TRUE(s->svdValid && s->ssrAvailable);
    EXPECT_EQ(s->Max_waveL, 5400) << "the stored upper end is not copied";

    // A resampled standard that cannot be completed (ws(2) = ws(3), and the grid point w1(2)
    // falls on them) is not available.
    auto lines = HandModelLines();
    lines[18] = "6000.5, 1.5d2";
    lines[27] = "6000.5";
    WriteText(s->ModelFullPath, JoinCrLf(lines));
    ASSERT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded);
    EXPECT_TRUE(s->Models[2].ssrPresent && !s->ssrAvailable);
}

}  // namespace
}  // namespace tessan::test
