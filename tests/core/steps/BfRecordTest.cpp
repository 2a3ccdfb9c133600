// The BF results file keeps what the BFs were computed with: choosing another model or reading
// another program star never labels or scales them with newer values. Double quotes in names
// and objects are written as apostrophes, so that every record keeps its fields.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SyntheticStar.h"
#include "io/BfResults.h"
#include "io/FitsWriter.h"
#include "numeric/Bf.h"
#include "numeric/Smooth.h"
#include "state/ErrText.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"
#include "text/NumText.h"

namespace tessan::test {
namespace {

TEST(BfRecord, ResultsKeepTheModelAndStarsTheyWereComputedWith) {
    RecordingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    s->DataPath = p.WorkDir().string(), s->Lambda0_Key = "CRVAL1", s->dLambda_Key = "CD1_1";
    for (const auto& [name, object, kms] : {std::tuple{"std.fits", "HD 5 \"A\", std", 0.0},
                                           {"pro,\"b\".fits", "HD 5 \"B\", x", 40.0}, {"c.fits", "HD 7 C", -30.0}}) {
        fits::SpectrumFile f;
        f.object = object;
        f.values = samples::SyntheticSpectrum(600, f.crval1, f.cd1_1, kms, 20);
        ASSERT_EQ(fits::WriteFitsFile(p.WorkDir() / name, fits::MakeSpectrumFits(f)), 0);
    }
    auto read = [&](Star star, const std::string& name) {
        const StarView v(*s, star);
        v.FileName() = name, v.FullPath() = (p.WorkDir() / name).string();
        return (star == Star::Std ? ReadStdFits(*s, p) : ReadProFits(*s, p)) == FitsOutcome::Done;
    };
    auto model = [&](const char* delV, const char* span, const char* file) {
        s->ModelFullPath = (p.WorkDir() / file).string();
        return Resample(*s, p, delV, "5010", "5290") && Design_matrix(*s, p, span).built && RunSvdStep(*s, p) &&
               Save_model(*s, p) == 0;
    };
    auto load = [&](const char* file) {
        s->ModelFullPath = (p.WorkDir() / file).string();
        return Load_model(*s, p).kind == ModelLoadOutcome::Loaded;
    };
    auto choose = [&](int k) { return Select_model(*s, s->CurModel = k); };
    auto saveBb = [&](const char* file) {
        s->BBFullPath = (p.WorkDir() / file).string();
        EXPECT_EQ(Save_bb(*s, p), 0) << file;
        return ReadText(s->BBFullPath);
    };
    auto shownRows = [&] {
        std::vector<std::string> rows;
        for (int k = 1; k <= s->bbShown.span; ++k)
            rows.push_back(RecordText(s->vel_bb(k)) + "," + RecordText(s->bb_n(k)));
        return rows;
    };

    ASSERT_TRUE(read(Star::Std, "std.fits") && model("28", "41", "a.MDL") && model("20", "31", "b.MDL") &&
                load("a.MDL") && load("b.MDL")) << p.messages.at(0);
    const double delVA = s->Models[1].delV, delVB = s->Models[2].delV;
    ASSERT_NE(delVA, delVB);
    // The model file with quotes in the object loads back with the values it was saved with.
    EXPECT_EQ(s->Models[1].StdObject, "HD 5 'A', std");
    ASSERT_TRUE(choose(1));
    s->ModelFullPath = (p.WorkDir() / "again.MDL").string();
    ASSERT_EQ(Save_model(*s, p), 0);
    EXPECT_EQ(ReadText(p.WorkDir() / "again.MDL"), ReadText(p.WorkDir() / "a.MDL"));

    ASSERT_TRUE(read(Star::Pro, "pro,\"b\".fits") && RunBfStep(*s, p));
    ASSERT_EQ(CopyBfOrder(*s, 20), 20);
    (void)SmoothCommand(*s, "3");   // the smoothed curve is never written
    const auto firstRows = shownRows();
    const std::string first = saveBb("first.dat");
    ASSERT_TRUE(choose(2));   // another span and delV: the BFs in hand keep theirs
    EXPECT_EQ(saveBb("second.dat"), first);

    // Model 2 now; the shown order is taken from these BFs.
    ASSERT_TRUE(read(Star::Pro, "c.fits") && RunBfStep(*s, p));
    const std::string third = saveBb("third.dat");
    ASSERT_EQ(CopyBfOrder(*s, 20), 20);
    EXPECT_EQ(saveBb("fourth.dat"), third);
    EXPECT_TRUE(p.messages.empty()) << p.messages.front();

    const struct { std::string text, pro, obj; int span; double delV; std::vector<std::string> rows; } cases[] = {
        {first, "pro,'b'.fits", "HD 5 'B', x", 41, delVA, firstRows},
        {third, "c.fits", "HD 7 C  ", 31, delVB, shownRows()}};
    for (const auto& c : cases) {
        auto lines = SplitCrLf(c.text);
        ASSERT_EQ(lines.size(), 6u + static_cast<std::size_t>(c.span)) << c.pro;
        EXPECT_EQ(std::vector(lines.begin() + 6, lines.end()), c.rows) << c.pro;
        EXPECT_TRUE(lines[6].starts_with(RecordText(-(c.span / 2) * c.delV) + ",")) << c.pro;
        lines.resize(6);
        EXPECT_EQ(lines, (std::vector<std::string>{
                             "\"Std. File:\",\"std.fits\"", "\"Std. Object:\",\"HD 5 'A', std\"",
                             "\"Prog. File:\",\"" + c.pro + "\"", "\"Prog. Object:\",\"" + c.obj + "\"",
                             "\"Span:\"," + std::to_string(c.span),
                             "\"Scale, delV:\"," + RecordText(c.delV) + ",\"km/s\""}))
            << c.pro;
    }

    s->BBFullPath = (p.WorkDir() / "none" / "bf.dat").string();
    EXPECT_EQ(Save_bb(*s, p), err::kPathNotFound);
    EXPECT_EQ(p.messages, std::vector<std::string>{ErrTextFor(err::kPathNotFound)});
}

}  // namespace
}  // namespace tessan::test
