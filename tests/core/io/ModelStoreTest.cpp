// The model store: failed loads that change nothing, the limit of thirteen models, forgetting
// the list, and model selection.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "state/ErrText.h"
#include "steps/ModelSteps.h"
#include "support/RecordingPlatform.h"
#include "ModelTestData.h"

namespace tessan {
namespace {

namespace fs = std::filesystem;
using test::RecordingPlatform;

// A state holding one loaded model (slot 1, selected) and then a model of this run in the
// working items, so that a failed load has something to disturb.
std::unique_ptr<AnalysisState> stateWithOneModel(RecordingPlatform& p) {
    auto s = std::make_unique<AnalysisState>();
    s->ModelFullPath = (p.WorkDir() / "first.MDL").string();
    test::WriteText(s->ModelFullPath, test::JoinCrLf(test::HandModelLines()));
    EXPECT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded);
    test::FillWorkingModel(*s, 40, 7, 5);
    return s;
}

// Each file breaks off or holds a bad value somewhere; text nullopt: the named file is not written.
TEST(ModelLoadFailure, ShowsTheErrorTextAndChangesNothing) {
    const auto lines = test::HandModelLines();
    auto firstLines = [&](std::size_t k) {
        return test::JoinCrLf(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(k)));
    };
    auto replaced = [&](std::size_t i, const std::string& t) {
        auto l = lines;
        l[i] = t;
        return test::JoinCrLf(l);
    };
    const struct {
        const char* name;
        std::optional<std::string> text;
        int err;
        const char* file = "bad.MDL";
    } cases[] = {
        {"missing file", std::nullopt, err::kFileNotFound, "none.MDL"},
        {"empty name", std::nullopt, err::kFileNotFound, ""},
        {"a directory", std::nullopt, err::kPathFileAccess, "sub"},
        {"empty file", "", err::kPastEnd},
        {"names only", firstLines(2), err::kPastEnd},
        {"in the cards", firstLines(4), err::kPastEnd},
        {"half a ws, ss pair", firstLines(17) + "6000.5,", err::kPastEnd},
        {"in des", firstLines(36), err::kPastEnd},
        {"after Vt", firstLines(test::kHandSsrLabel), err::kPastEnd},
        {"in ssr", firstLines(test::kHandSsrLabel + 2), err::kPastEnd},
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
        if (c.text) test::WriteText(s->ModelFullPath, *c.text);
        const auto before = test::ModelItems(*s);
        p.messages.clear();
        EXPECT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Failed) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{ErrTextFor(c.err)}) << c.name;
        EXPECT_TRUE(test::ModelItems(*s) == before) << c.name << ": the state changed";
    }
}

TEST(ModelStore, ThirteenLoadsThenAFourteenthIsIgnoredSilently) {
    RecordingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    s->ModelFullPath = (p.WorkDir() / "m.MDL").string();
    auto lines = test::HandModelLines();
    auto load = [&](const std::string& name) {
        lines[0] = "\"" + name + "\"";
        test::WriteText(s->ModelFullPath, test::JoinCrLf(lines));
        return Load_model(*s, p);
    };
    for (int k = 1; k <= 13; ++k) {
        const ModelLoadOutcome out = load("model" + std::to_string(k) + ".fts");
        ASSERT_EQ(out.kind, ModelLoadOutcome::Loaded) << "load " << k;
        EXPECT_EQ(std::tuple(out.slot, s->nModels, s->CurModel), std::tuple(k, k, k)) << "load " << k;
        EXPECT_EQ(s->StdFileName, out.label) << "the loaded model is selected";
    }
    const auto full = test::ModelItems(*s);
    EXPECT_EQ(load("fourteen.fts").kind, ModelLoadOutcome::StoreFull);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_TRUE(test::ModelItems(*s) == full);

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
    auto s = stateWithOneModel(p);  // working items: 40 pixels, span 7
    const auto before = test::ModelItems(*s);
    for (int k : {0, 2, 13, 14, -1}) {   // no model, or an empty slot
        EXPECT_FALSE(Select_model(*s, k)) << "model " << k;
        EXPECT_TRUE(test::ModelItems(*s) == before) << "model " << k;
    }
    s->svdValid = false;
    ASSERT_TRUE(Select_model(*s, 1));
    EXPECT_EQ(std::tuple(s->StdFileName, s->nPixStd, s->nGrid, s->span, s->des(1, 1), s->Min_waveL),
              std::tuple("hand.fts", 5, 5, 3, 11, 6000.25));
    EXPECT_TRUE(s->svdValid && s->ssrAvailable);
    EXPECT_EQ(s->Max_waveL, 5400) << "the stored upper end is not copied";
}

TEST(ModelSelect, ResampledStandardThatCannotBeCompletedIsNotAvailable) {
    RecordingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    auto lines = test::HandModelLines();
    lines[18] = "6000.5, 1.5d2";  // ws(2) = ws(3), and the grid point w1(2) falls on them
    lines[27] = "6000.5";
    s->ModelFullPath = (p.WorkDir() / "m.MDL").string();
    test::WriteText(s->ModelFullPath, test::JoinCrLf(lines));
    ASSERT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded);
    EXPECT_TRUE(s->Models[1].ssrPresent);
    EXPECT_FALSE(s->ssrAvailable);
}

}  // namespace
}  // namespace tessan
