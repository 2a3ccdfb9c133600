// The driver run in process: the velocities it prints, the workbench's numbers and files for
// the same star, a model round trip, and the messages that stop a star or the run; then the
// built tessan-batch run as a user runs it: exit status, standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "batch/BatchHarness.h"
#include "batch/BatchOutput.h"
#include "batch/Peaks.h"
#include "io/BfResults.h"
#include "io/Settings.h"
#include "numeric/Bf.h"
#include "numeric/BfUncertainty.h"
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
    ASSERT_TRUE(r.rows.size() == 2 && r.rows[0].size() == 8) << r.out;
    const double step = S().delV;
    const auto &sb1 = r.rows[0], &sb2 = r.rows[1];
    EXPECT_EQ(sb1[0] + "|" + sb1[1] + "|" + sb1[2] + "|" + sb2[1], "sb1.fits|SB1 STAR|" + kOrder + "|SB2 STAR");
    EXPECT_NEAR(std::stod(sb1[3]), S().sb1Steps * step, 0.05 * step) << r.out;
    EXPECT_NEAR(std::stod(sb1[7]), S().sb1Steps * step, 0.2 * step) << "CCF " << r.out;
    EXPECT_NEAR(std::stod(sb2[3]), S().sb2StepsA * step, 0.05 * step) << r.out;
    EXPECT_NEAR(std::stod(sb2[5]), S().sb2StepsB * step, 0.05 * step) << r.out;
    EXPECT_GT(std::stod(sb2[4]), std::stod(sb2[6]));   // the stronger component first

    const BatchRun b = RunInProcess(second, WorkDir("model-b"));
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(b.err, "tessan-batch: --span has no effect with --model\n");
    ASSERT_EQ(b.rows.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        for (std::size_t f = 3; f < r.rows[i].size(); ++f)
            EXPECT_NEAR(std::stod(r.rows[i][f]), std::stod(b.rows[i][f]), 1e-9 * std::fabs(std::stod(r.rows[i][f])))
                << r.rows[i][0] << " field " << f;
}

// The workbench's procedures for one star, with the texts its boxes would hold, and a click at
// the highest point of the BF where the window takes clicks: the same velocity, height, CCF
// velocity, "bbb2.txt" and BF results file as the driver's; with --errors, the uncertainty of
// that order (of the order of least G with --order auto) and none for the CCF.
TEST_F(BatchRunTest, GivesTheWorkbenchsNumbersAndFiles) {
    for (const std::string smooth : {"", "2"}) {
        SCOPED_TRACE("smooth '" + smooth + "'");
        const fs::path work = WorkDir("same" + smooth);
        std::vector<std::string> args = {"--std", S().std, "--span", kSpan, "--order", smooth.empty() ? kOrder : "auto",
                                         "--ccf", "300", "--prog", S().sb1, "--bf-dir", (work / "bf").string(), "--errors"};
        if (!smooth.empty()) args.insert(args.end(), {"--smooth", smooth});
        const BatchRun r = RunInProcess(args, work);
        ASSERT_TRUE(r.status == 0 && r.rows.size() == 1 && r.err.empty()) << r.err;

        RecordingPlatform p;
        auto s = std::make_unique<AnalysisState>();
        FillErrText(*s);
        s->Lambda0_Key = "CRVAL1", s->dLambda_Key = "CD1_1", s->DataPath = S().dir.string();
        s->StdFileName = "std.fits", s->StdFullPath = S().std;
        ASSERT_EQ(ReadStdFits(*s, p), FitsOutcome::Done);
        const GridProposal g = ProposeGrid(*s);
        ASSERT_TRUE(Resample(*s, p, g.delV, g.minWave, g.maxWave) && Design_matrix(*s, p, kSpan).built &&
                    RunSvdStep(*s, p));
        s->ProFileName = "sb1.fits", s->ProFullPath = S().sb1;
        ASSERT_EQ(ReadProFits(*s, p), FitsOutcome::Done);
        ASSERT_TRUE(RunCcfStep(*s, p, "300") && RunBfStep(*s, p));
        const BfResiduals fit = ResidualsOfOrders(s->U, s->ww, s->spr, s->span, s->nGrid - s->span + 1);
        const int order = smooth.empty() ? std::stoi(kOrder) : GcvOrder(fit);
        CopyBfOrder(*s, order);
        if (!smooth.empty()) SmoothCommand(*s, smooth);
        EXPECT_TRUE(p.messages.empty());
        const Vec& bf = s->Smoothed ? s->bb_sm : s->bb_n;
        int clicked = 10;
        for (int i = 10; i <= s->span - 10; ++i)
            if (bf(i) > bf(clicked)) clicked = i;
        const auto velocity = PeakSearch(*s, clicked);
        ASSERT_TRUE(velocity);
        const SmoothingKernel k{s->Kernel, s->KernelHalf};
        const auto err = VertexUncertainty(s->Vt, s->ww, order, s->span, s->vel_bb, bf, clicked,
                                           s->Smoothed ? &k : nullptr, NoiseVariance(fit, order));
        EXPECT_EQ(r.rows[0][2] + " " + r.rows[0][3] + " " + r.rows[0][4] + " " + r.rows[0][5] + " " + r.rows[0][6] +
                      " " + r.rows[0][7],
                  std::to_string(order) + " " + batch::NumberField(*velocity) + " " + batch::NumberField(bf(clicked)) +
                      " " + batch::NumberField(MeasureCcfPeak(s->vel_cc, s->cc, s->ccN)) + " " +
                      batch::NumberField(err.value()) + " nan");
        EXPECT_EQ(ReadText(work / "bbb2.txt"), ReadText(p.WorkDir() / "bbb2.txt"));
        s->BBFullPath = (p.WorkDir() / "sb1.dat").string();
        ASSERT_EQ(Save_bb(*s, p), 0);
        EXPECT_EQ(ReadText(work / "bf" / "sb1.dat"), ReadText(p.WorkDir() / "sb1.dat"));
    }
}

// Each run: its status, standard error (whole when it ends a line, else its start) and the
// order printed on each result line.
TEST_F(BatchRunTest, MessagesNoticesAndKeywords) {
    const fs::path blocker = WorkDir("stops") / "plainfile", keys = WorkDir("keys");
    std::ofstream(blocker) << "x";
    SpectrumFile f;   // a star measured against itself, its wavelengths under keywords of its own
    f.lambda0Key = "W0", f.dLambdaKey = "DW";
    f.values = SyntheticSpectrum(600, f.crval1, f.cd1_1, 0.0, 20.0);
    const std::string odd = (keys / "odd.fits").string();
    ASSERT_EQ(fits::WriteFitsFile(odd, MakeSpectrumFits(f)), 0);
    auto s = std::make_unique<AnalysisState>();   // the keywords kept in "Tessan6.ini" of keys
    s->Lambda0_Key = "W0", s->dLambda_Key = "DW";
    ASSERT_EQ(SaveSettings(*s, keys), 0);
    const struct {
        std::vector<std::string> args;   // after the first star, the standard and span 51, or the model
        int status;
        std::string err;
        std::vector<std::string> orders;
        fs::path work = {};
    } cases[] = {
        {{"--span", "50"}, 1, "std.fits: The value must be an odd integer\n", {}},
        {{"--ccf", "1e7"}, 1, "sb1.fits: ", {}},   // far more than 2000 lags
        {{"--bf-dir", blocker.string()}, 1, "tessan-batch: cannot create the directory " + blocker.string(), {}},
        {{"--model", (blocker.parent_path() / "none.MDL").string()}, 1, "none.MDL: Error 53: File not found.\n", {}},
        {{"--order", "900", "--prog", S().sb2}, 0, "tessan-batch: order 900 is outside 1..51; using 51\n", {"51", "51"}},
        // Room for one peak only: the star keeps its line ("nan" in the Gaussian columns).
        {{"--span", "21", "--order", "21", "--gauss", "2"}, 1, "sb1.fits: The Gauss fit needs 2 BF peaks; 1 found.\n",
         {"21"}},
        // The wavelength keywords from the settings file, or from the command line.
        {{"--std", odd, "--prog", odd}, 0, "", {"35"}, keys},
        {{"--std", odd, "--prog", odd, "--lambda0-key", "W0", "--dlambda-key", "DW"}, 0, "", {"35"}},
    };
    std::vector<std::string> keyOutputs;
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--prog", S().sb1};
        if (c.args[0] != "--model") args.insert(args.end(), {"--std", S().std, "--span", "51"});
        args.insert(args.end(), c.args.begin(), c.args.end());   // the last value given counts
        const bool oddStar = c.args[1] == odd;   // measured alone, against itself
        if (oddStar) args.erase(args.begin(), args.begin() + 2);
        const BatchRun r = RunInProcess(args, c.work.empty() ? WorkDir("stops") : c.work);
        EXPECT_EQ(r.status, c.status) << c.err;
        EXPECT_EQ(c.err.empty() || c.err.ends_with('\n') ? r.err : r.err.substr(0, c.err.size()), c.err);
        std::vector<std::string> orders;
        for (const auto& row : r.rows) orders.push_back(row.at(2));
        EXPECT_EQ(orders, c.orders) << c.err << r.out;
        if (oddStar) keyOutputs.push_back(r.out);
    }
    ASSERT_EQ(keyOutputs.size(), 2u);
    EXPECT_EQ(keyOutputs[0], keyOutputs[1]);
}

// One worker or several: the same status, standard output, standard error (a star failing
// between the others, the order note once, at the first star measured), BF results files and
// "bbb2.txt", with more stars than the workers keep ahead of the output. "bbb2.txt" holds the BFs
// of the last star measured, as a run on that star alone leaves them; the failing last star does
// not change it.
TEST_F(BatchRunTest, JobsGiveTheSameBytesAndTheLastMeasuredStarsBfs) {
    const std::vector<std::string> common = {"--std", S().std, "--span", "51", "--order", "60",
                                             "--ccf", "300", "--peaks", "2"};
    std::string first;
    for (const std::string jobs : {"1", "2", "3"}) {
        const fs::path work = WorkDir("jobs" + jobs);
        std::vector<std::string> args = common;
        args.insert(args.end(), {"--jobs", jobs, "--bf-dir", (work / "bf").string()});
        for (int round = 0; round < 4; ++round)
            for (const std::string& star : {S().bad, S().sb1, S().sb2, S().std, S().bad})
                args.insert(args.end(), {"--prog", star});
        const BatchRun r = RunInProcess(args, work);
        std::string all = std::to_string(r.status) + "|" + r.out + "|" + r.err + "|" + ReadText(work / "bbb2.txt");
        for (const char* name : {"sb1.dat", "sb2.dat", "std.dat"}) all += "|" + ReadText(work / "bf" / name);
        if (jobs == "1") {
            first = all;
            const std::string bad = "notes.fits: This is not a fits file!  Please try again.\n";
            std::string err = bad + "tessan-batch: order 60 is outside 1..51; using 51\n";
            for (int k = 0; k < 7; ++k) err += bad;
            EXPECT_EQ(r.err, err);
            EXPECT_TRUE(r.status == 1 && r.rows.size() == 12 && r.rows[11][0] == "std.fits") << r.out;
            const fs::path alone = WorkDir("alone");
            std::vector<std::string> last = common;
            last.insert(last.end(), {"--prog", S().std});
            ASSERT_EQ(RunInProcess(last, alone).status, 0);
            EXPECT_EQ(ReadText(work / "bbb2.txt"), ReadText(alone / "bbb2.txt"));
        } else {
            EXPECT_EQ(all, first) << "--jobs " << jobs;
        }
    }
}

// --prog-list: its stars after those of --prog, from a file or standard input, blank lines and
// a CR ending a line dropped; their results files checked as those of --prog are. A list that
// cannot be read stops the run before the model, with its error text.
TEST_F(BatchRunTest, ProgList) {
    const fs::path work = WorkDir("list");
    const std::string list = "\n" + S().sb2 + "\r\n \t\n" + S().sb1 + "\n";
    std::ofstream(work / "list.txt") << list;
    std::ofstream(work / "clash.txt") << S().sb1 << "\n" << (work / "sb1.fts").string() << "\n";
    const struct { std::vector<std::string> args; std::string stdinText; int status; std::string files, err; } cases[] = {
        {{"--prog-list", (work / "list.txt").string()}, "", 0, "std.fits sb2.fits sb1.fits ", ""},
        {{"--prog-list", "-"}, list, 0, "std.fits sb2.fits sb1.fits ", ""},
        {{"--prog-list", (work / "none.txt").string()}, "", 1, "", "none.txt: Error 53: File not found.\n"},
        {{"--prog-list", (work / "clash.txt").string(), "--bf-dir", "bf"}, "", 2, "",
         "--prog " + S().sb1 + " and --prog " + (work / "sb1.fts").string() + " would both write sb1.dat in --bf-dir"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--std", S().std, "--span", "51", "--prog", S().std};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const BatchRun r = RunInProcess(args, work, c.stdinText);
        std::string files;
        for (const auto& row : r.rows) files += row[0] + " ";
        EXPECT_EQ(std::to_string(r.status) + " " + files + r.err, std::to_string(c.status) + " " + c.files + c.err) << c.args[1];
    }
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q.append(c == '\'' ? "'\\''" : std::string(1, c));
    return q.append("'");
}

// Help and a usage error print the usage (exit 0 and 2); a star that stops leaves the others
// their lines and makes the exit status 1.
TEST_F(BatchRunTest, ExitStatusOutputAndErrors) {
    const std::string usage = tessan::batch::UsageText();
    const struct { std::vector<std::string> args; int status; std::string out, err, in = {}; } cases[] = {
        {{"--help"}, 0, usage, ""},
        {{"--std", "s.fits", "--peaks", "4"}, 2, "", "tessan-batch: --peaks must be 1, 2 or 3: 4\n" + usage},
        {{"--std", S().std, "--span", "51", "--prog", S().sb1, "--prog-list", "-", "--jobs", "2"}, 1,
         "#file sb1.fits sb2.fits ", "notes.fits: This is not a fits file!  Please try again.\n", S().bad + "\n" + S().sb2},
        {{"--std", S().std, "--prog-list", "none.txt"}, 1, "", "none.txt: Error 53: File not found.\n"},
    };
    for (const auto& c : cases) {
        const auto dir = WorkDir("exe" + std::to_string(c.status));
        std::ofstream(dir / "in.txt") << c.in;
        std::string cmd = "cd " + Quote(dir.string()) + " && " + Quote(TESSAN_BATCH_EXE);
        for (const auto& a : c.args) cmd.append(" ").append(Quote(a));
        const int raw = std::system(cmd.append(" <in.txt >out.txt 2>err.txt").c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.args[0];
        EXPECT_EQ(ReadText(dir / "err.txt"), c.err) << c.args[0];
        std::string out = ReadText(dir / "out.txt");
        if (c.status == 1 && !out.empty()) {   // the first field of each line, and "bbb2.txt" where the user is
            std::istringstream lines(out);
            out.clear();
            for (std::string line; std::getline(lines, line);) out += line.substr(0, line.find('\t')) + " ";
            EXPECT_TRUE(fs::exists(dir / "bbb2.txt"));
        }
        EXPECT_EQ(out, c.out) << c.args[0];
    }
}

}  // namespace
