// The driver run in process: the velocities it prints, the workbench's numbers and files for
// the same star, a model round trip, and the messages that stop a star or the run.
#include <gtest/gtest.h>

#include "batch/BatchHarness.h"
#include "batch/BatchOutput.h"
#include "batch/Peaks.h"
#include "io/BfResults.h"
#include "io/Settings.h"
#include "numeric/Bf.h"
#include "numeric/Smooth.h"
#include "state/AnalysisState.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"

namespace fs = std::filesystem;
using namespace tessan;
using namespace tessan::test;

namespace {

const std::string kSpan = "101", kOrder = "101";

using BatchRunTest = SampleSuite;

TEST_F(BatchRunTest, VelocitiesOfSingleAndDoubleStarsAgainAfterASavedModel) {
    const std::string model = (WorkDir("model") / "std.MDL").string();
    std::vector<std::string> first = {"--std", S().std, "--span", kSpan, "--save-model", model};
    std::vector<std::string> second = {"--model", model, "--span", "11"};   // a grid option has no effect
    for (auto* args : {&first, &second})
        args->insert(args->end(), {"--order", kOrder, "--peaks", "2", "--ccf", "300", "--prog", S().sb1, "--prog",
                                   S().sb2});
    const BatchRun r = RunInProcess(first, WorkDir("model-a"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), batch::HeaderLine(2, true));
    ASSERT_EQ(r.rows.size(), 2u) << r.out;
    const double step = S().delV;
    const auto& sb1 = r.rows[0];
    ASSERT_EQ(sb1.size(), 8u) << r.out;
    EXPECT_EQ(sb1[0] + "|" + sb1[1] + "|" + sb1[2], "sb1.fits|SB1 STAR|" + kOrder);
    EXPECT_NEAR(std::stod(sb1[3]), S().sb1Steps * step, 0.05 * step) << r.out;
    EXPECT_NEAR(std::stod(sb1[7]), S().sb1Steps * step, 0.2 * step) << "CCF " << r.out;
    const auto& sb2 = r.rows[1];
    EXPECT_EQ(sb2[1], "SB2 STAR");   // the object's tab became a blank
    EXPECT_NEAR(std::stod(sb2[3]), S().sb2StepsA * step, 0.05 * step) << r.out;
    EXPECT_NEAR(std::stod(sb2[5]), S().sb2StepsB * step, 0.05 * step) << r.out;
    EXPECT_GT(std::stod(sb2[4]), std::stod(sb2[6]));   // the stronger component first

    const BatchRun b = RunInProcess(second, WorkDir("model-b"));
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(b.err, "tessan-batch: --span has no effect with --model\n");
    ASSERT_EQ(b.rows.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        for (std::size_t f = 3; f < r.rows[i].size(); ++f) {
            const double x = std::stod(r.rows[i][f]), y = std::stod(b.rows[i][f]);
            EXPECT_NEAR(x, y, 1e-9 * std::fabs(x)) << r.rows[i][0] << " field " << f;
        }
}

// The workbench's procedures for one star, with the texts its boxes would hold, and a click at
// the highest point of the BF where the window takes clicks.
struct Workbench {
    RecordingPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    int clicked = 10;

    Workbench(const Samples& smp, const std::string& prog, const std::string& smooth) {
        FillErrText(*s);
        s->Lambda0_Key = "CRVAL1";
        s->dLambda_Key = "CD1_1";
        s->DataPath = smp.dir.string();
        s->StdFileName = "std.fits";
        s->StdFullPath = smp.std;
        EXPECT_EQ(ReadStdFits(*s, p), FitsOutcome::Done);
        const GridProposal g = ProposeGrid(*s);
        EXPECT_TRUE(Resample(*s, p, g.delV, g.minWave, g.maxWave));
        EXPECT_TRUE(Design_matrix(*s, p, kSpan).built);
        EXPECT_TRUE(RunSvdStep(*s, p));
        s->ProFileName = fs::path(prog).filename().string();
        s->ProFullPath = prog;
        EXPECT_EQ(ReadProFits(*s, p), FitsOutcome::Done);
        EXPECT_TRUE(RunCcfStep(*s, p, "300"));
        EXPECT_TRUE(RunBfStep(*s, p));
        CopyBfOrder(*s, std::stod(kOrder));
        if (!smooth.empty()) SmoothCommand(*s, smooth);
        EXPECT_TRUE(p.messages.empty());
        for (int i = 10; i <= s->span - 10; ++i)
            if (Bf()(i) > Bf()(clicked)) clicked = i;
    }
    const Vec& Bf() const { return s->Smoothed ? s->bb_sm : s->bb_n; }
};

TEST_F(BatchRunTest, GivesTheWorkbenchsNumbersAndFiles) {
    for (const std::string smooth : {"", "2"}) {
        SCOPED_TRACE("smooth '" + smooth + "'");
        const fs::path work = WorkDir("same" + smooth);
        std::vector<std::string> args = {"--std", S().std, "--span", kSpan, "--order", kOrder, "--ccf", "300",
                                         "--prog", S().sb1, "--bf-dir", (work / "bf").string()};
        if (!smooth.empty()) args.insert(args.end(), {"--smooth", smooth});
        const BatchRun r = RunInProcess(args, work);
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_EQ(r.rows.size(), 1u);

        Workbench wb(S(), S().sb1, smooth);
        const auto velocity = PeakSearch(*wb.s, wb.clicked);
        ASSERT_TRUE(velocity);
        EXPECT_EQ(r.rows[0][3], batch::NumberField(*velocity));
        EXPECT_EQ(r.rows[0][4], batch::NumberField(wb.Bf()(wb.clicked)));
        EXPECT_EQ(r.rows[0][5], batch::NumberField(MeasureCcfPeak(wb.s->vel_cc, wb.s->cc, wb.s->ccN)));

        EXPECT_EQ(Slurp(work / "bbb2.txt"), Slurp(wb.p.WorkDir() / "bbb2.txt"));
        wb.s->BBFileName = "sb1.dat";
        wb.s->BBFullPath = (wb.p.WorkDir() / "sb1.dat").string();
        ASSERT_EQ(Save_bb(*wb.s, wb.p), 0);
        EXPECT_EQ(Slurp(work / "bf" / "sb1.dat"), Slurp(wb.p.WorkDir() / "sb1.dat"));
    }
}

TEST_F(BatchRunTest, MessagesThatStopTheRunOrAStar) {
    const fs::path blocker = WorkDir("stops") / "plainfile";
    std::ofstream(blocker) << "x";
    struct Case { std::vector<std::string> args; std::string err; };
    const std::vector<Case> cases = {
        {{"--span", "50"}, "std.fits: The value must be an odd integer\n"},
        {{"--lambda0-key", "NOSUCH"}, "std.fits: You need to set the keyword for Lambda 0.\n"},
        {{"--ccf", "1e7"}, "sb1.fits: "},   // far more than 2000 lags
        {{"--bf-dir", blocker.string()}, "tessan-batch: cannot create the directory " + blocker.string()},
        {{"--model", (blocker.parent_path() / "none.MDL").string()}, "none.MDL: Error 53: File not found.\n"},
        {{"--std", S().bad}, "notes.fits: This is not a fits file!  Please try again.\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--prog", S().sb1};   // the standard and the span, unless a model
        if (c.args[0] != "--model") args.insert(args.end(), {"--std", S().std, "--span", "51"});
        args.insert(args.end(), c.args.begin(), c.args.end());   // the last value given counts
        const BatchRun r = RunInProcess(args, WorkDir("stops"));
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
        EXPECT_TRUE(r.rows.empty()) << c.err << r.out;
    }
}

TEST_F(BatchRunTest, OrderBeyondTheSpanIsClampedWithOneNotice) {
    for (auto [order, used] : {std::pair{"900", "51"}, {"-2", "1"}}) {
        const BatchRun r = RunInProcess({"--std", S().std, "--span", "51", "--order", order, "--prog", S().sb1,
                                         "--prog", S().sb2}, WorkDir("clamp"));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, std::string("tessan-batch: order ") + order + " is outside 1..51; using " + used + "\n");
        ASSERT_EQ(r.rows.size(), 2u);
        EXPECT_EQ(r.rows[1][2], used);
    }
}

TEST_F(BatchRunTest, SmoothingWidthZeroMeansThree) {
    auto run = [&](std::vector<std::string> more) {
        more.insert(more.end(), {"--std", S().std, "--span", "51", "--prog", S().sb1});
        return RunInProcess(more, WorkDir("smooth")).out;
    };
    EXPECT_EQ(run({"--smooth", "0"}), run({"--smooth", "3"}));
    EXPECT_NE(run({"--smooth", "0"}), run({}));
}

TEST_F(BatchRunTest, WavelengthKeywordsFromTheCommandLineOrTheSettingsFile) {
    SpectrumFile f;   // a star measured against itself, its wavelengths under keywords of its own
    f.lambda0Key = "W0";
    f.dLambdaKey = "DW";
    f.values = SyntheticSpectrum(600, f.crval1, f.cd1_1, 0.0, 20.0);
    const fs::path work = WorkDir("keys"), odd = work / "odd.fits";
    WriteFile(odd, MakeSpectrumFits(f));
    std::vector<std::string> args = {"--std", odd.string(), "--span", "51", "--prog", odd.string()};
    auto s = std::make_unique<AnalysisState>();   // the keywords kept in "Tessan6.ini"
    s->Lambda0_Key = "W0";
    s->dLambda_Key = "DW";
    ASSERT_EQ(SaveSettings(*s, work), 0);
    const BatchRun settled = RunInProcess(args, work);
    args.insert(args.end(), {"--lambda0-key", "W0", "--dlambda-key", "DW"});
    const BatchRun given = RunInProcess(args, WorkDir("keys-given"));
    EXPECT_EQ(given.err + settled.err, "");
    ASSERT_EQ(given.rows.size(), 1u);
    EXPECT_EQ(settled.rows, given.rows);
}

}  // namespace
