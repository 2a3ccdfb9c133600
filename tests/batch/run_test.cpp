// The driver run in process on spectra from the FITS test helper: the velocities it prints,
// the same numbers as the workbench's procedures called one by one, a model round trip, and
// the messages that stop a star or the run.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "batch/BatchHarness.h"
#include "batch/Samples.h"
#include "io/BfResults.h"
#include "io/FitsReader.h"
#include "numeric/Bf.h"
#include "numeric/CrossCorr.h"
#include "numeric/Design.h"
#include "numeric/Resample.h"
#include "numeric/Smooth.h"
#include "state/AnalysisState.h"
#include "support/RecordingPlatform.h"
#include "batch/BatchOutput.h"
#include "batch/Peaks.h"

namespace fs = std::filesystem;
using namespace tessan;
using namespace tessan::test;

namespace {

constexpr int kPixels = 1200;
const std::string kSpan = "101";
const std::string kOrder = "101";

std::string Slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

double Num(const std::string& text) { return std::stod(text); }

class BatchRunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<RecordingPlatform>();
        s_samples = MakeSamples(s_dir->WorkDir(), kPixels);
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    // A fresh working directory for one run (for "bbb2.txt" and "Tessan6.ini").
    fs::path WorkDir(const std::string& name) {
        const fs::path d = s_dir->WorkDir() / name;
        fs::create_directories(d);
        return d;
    }
    BatchRun Run(std::vector<std::string> args, const std::string& work) {
        return RunInProcess(args, WorkDir(work));
    }
    static const Samples& S() { return s_samples; }

    static std::unique_ptr<RecordingPlatform> s_dir;
    static Samples s_samples;
};
std::unique_ptr<RecordingPlatform> BatchRunTest::s_dir;
Samples BatchRunTest::s_samples;

TEST_F(BatchRunTest, PrintsTheVelocitiesOfSingleAndDoubleStars) {
    const BatchRun r = Run({"--std", S().std, "--span", kSpan, "--order", kOrder, "--peaks", "2",
                            "--ccf", "300", "--prog", S().sb1, "--prog", S().sb2}, "velocities");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), batch::HeaderLine(2, true));
    ASSERT_EQ(r.rows.size(), 2u) << r.out;

    const auto* sb1 = r.Row("sb1.fits");
    ASSERT_TRUE(sb1);
    ASSERT_EQ(sb1->size(), 8u);
    EXPECT_EQ((*sb1)[1], "SB1 STAR");
    EXPECT_EQ((*sb1)[2], kOrder);
    const double step = S().delV;
    EXPECT_NEAR(Num((*sb1)[3]), S().sb1Steps * step, 0.05 * step) << r.out;
    EXPECT_NEAR(Num((*sb1)[7]), S().sb1Steps * step, 0.2 * step) << "CCF " << r.out;

    const auto* sb2 = r.Row("sb2.fits");
    ASSERT_TRUE(sb2);
    EXPECT_EQ((*sb2)[1], "SB2 STAR");   // the tab of the object became a blank
    EXPECT_NEAR(Num((*sb2)[3]), S().sb2StepsA * step, 0.05 * step) << r.out;
    EXPECT_NEAR(Num((*sb2)[5]), S().sb2StepsB * step, 0.05 * step) << r.out;
    EXPECT_GT(Num((*sb2)[4]), Num((*sb2)[6]));   // the stronger component first
}

// The workbench's road for one star, step by step, with the texts its boxes would hold.
struct Workbench {
    RecordingPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();

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
    }
    // A click at the highest point of the BF in the clickable range.
    int Highest() const {
        const Vec& y = s->Smoothed ? s->bb_sm : s->bb_n;
        int best = 10;
        for (int i = 10; i <= s->span - 10; ++i)
            if (y(i) > y(best)) best = i;
        return best;
    }
};

TEST_F(BatchRunTest, GivesTheWorkbenchsNumbers) {
    for (const std::string smooth : {"", "2"}) {
        SCOPED_TRACE("smooth '" + smooth + "'");
        const fs::path work = WorkDir("same" + smooth);
        std::vector<std::string> args = {"--std", S().std, "--span", kSpan, "--order", kOrder,
                                         "--ccf", "300", "--prog", S().sb1,
                                         "--bf-dir", (work / "bf").string()};
        if (!smooth.empty()) args.insert(args.end(), {"--smooth", smooth});
        const BatchRun r = RunInProcess(args, work);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto* row = r.Row("sb1.fits");
        ASSERT_TRUE(row);

        Workbench wb(S(), S().sb1, smooth);
        const int k = wb.Highest();
        const auto clicked = PeakSearch(*wb.s, k);
        ASSERT_TRUE(clicked);
        EXPECT_EQ((*row)[3], batch::NumberField(*clicked));
        EXPECT_EQ((*row)[4], batch::NumberField((wb.s->Smoothed ? wb.s->bb_sm : wb.s->bb_n)(k)));
        EXPECT_EQ((*row)[5], batch::NumberField(batch::MeasureCcfPeak(wb.s->vel_cc, wb.s->cc, wb.s->ccN)));

        // "bbb2.txt" and the BF results file are byte for byte the workbench's.
        EXPECT_EQ(Slurp(work / "bbb2.txt"), Slurp(wb.p.WorkDir() / "bbb2.txt"));
        wb.s->BBFileName = "sb1.dat";
        wb.s->BBFullPath = (wb.p.WorkDir() / "sb1.dat").string();
        ASSERT_EQ(Save_bb(*wb.s, wb.p), 0);
        EXPECT_EQ(Slurp(work / "bf" / "sb1.dat"), Slurp(wb.p.WorkDir() / "sb1.dat"));
    }
}

TEST_F(BatchRunTest, SavedModelGivesTheSameVelocities) {
    const std::string model = (WorkDir("model") / "std.MDL").string();
    const std::vector<std::string> common = {"--order", kOrder, "--peaks", "2", "--ccf", "300",
                                             "--prog", S().sb1, "--prog", S().sb2};
    std::vector<std::string> first = {"--std", S().std, "--span", kSpan, "--save-model", model};
    first.insert(first.end(), common.begin(), common.end());
    std::vector<std::string> second = {"--model", model};
    second.insert(second.end(), common.begin(), common.end());

    const BatchRun a = Run(first, "model-a");
    const BatchRun b = Run(second, "model-b");
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    ASSERT_EQ(a.rows.size(), 2u);
    ASSERT_EQ(b.rows.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        for (std::size_t f = 3; f < a.rows[i].size(); ++f) {
            const double x = Num(a.rows[i][f]), y = Num(b.rows[i][f]);
            EXPECT_NEAR(x, y, 1e-9 * std::fabs(x)) << a.rows[i][0] << " field " << f;
        }
}

}  // namespace
