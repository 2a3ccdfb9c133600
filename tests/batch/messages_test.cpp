// Messages of the procedures and of the driver: which stop a star, which stop the run, and
// the exit status each leaves.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "batch/BatchHarness.h"
#include "batch/Samples.h"
#include "io/Settings.h"
#include "state/AnalysisState.h"
#include "support/FitsWriter.h"
#include "support/RecordingPlatform.h"

namespace fs = std::filesystem;
using namespace tessan::test;

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class BatchMessagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<RecordingPlatform>();
        s_samples = MakeSamples(s_dir->WorkDir(), 600);
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    BatchRun Run(std::vector<std::string> args) {
        const fs::path work = s_dir->WorkDir() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(work);
        return RunInProcess(args, work);
    }
    static const Samples& S() { return s_samples; }
    static std::unique_ptr<RecordingPlatform> s_dir;
    static Samples s_samples;
};
std::unique_ptr<RecordingPlatform> BatchMessagesTest::s_dir;
Samples BatchMessagesTest::s_samples;

TEST_F(BatchMessagesTest, ANonFitsProgramFileStopsOnlyThatStar) {
    const BatchRun r = Run({"--std", S().std, "--span", "51", "--prog", S().bad, "--prog", S().sb1});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "notes.fits: This is not a fits file!  Please try again.\n");
    ASSERT_EQ(r.rows.size(), 1u) << r.out;
    EXPECT_EQ(r.rows[0][0], "sb1.fits");
}

TEST_F(BatchMessagesTest, ProblemsWithTheStandardStopTheRun) {
    struct Case { std::vector<std::string> args; std::string err; };
    const std::vector<Case> cases = {
        {{"--std", S().std, "--span", "50", "--prog", S().sb1}, "std.fits: The value must be an odd integer\n"},
        {{"--std", S().bad, "--prog", S().sb1}, "notes.fits: This is not a fits file!  Please try again.\n"},
        {{"--std", S().std, "--lambda0-key", "NOSUCH", "--prog", S().sb1},
         "std.fits: You need to set the keyword for Lambda 0.\n"},
    };
    for (const Case& c : cases) {
        const BatchRun r = Run(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "") << c.err;   // nothing half-written
    }
}

TEST_F(BatchMessagesTest, AMissingModelFileStopsTheRun) {
    const BatchRun r = Run({"--model", (s_dir->WorkDir() / "none.MDL").string(), "--prog", S().sb1});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "none.MDL: Error 53: File not found.\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(BatchMessagesTest, AnOrderBeyondTheSpanIsClampedWithANotice) {
    const BatchRun r = Run({"--std", S().std, "--span", "51", "--order", "900", "--prog", S().sb1,
                            "--prog", S().sb2});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "tessan-batch: order 900 is outside 1..51; using 51\n");   // once
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0][2], "51");
    const BatchRun low = Run({"--std", S().std, "--span", "51", "--order", "-2", "--prog", S().sb1});
    EXPECT_EQ(low.err, "tessan-batch: order -2 is outside 1..51; using 1\n");
    ASSERT_EQ(low.rows.size(), 1u);
    EXPECT_EQ(low.rows[0][2], "1");
}

TEST_F(BatchMessagesTest, SmoothingWidthZeroMeansThree) {
    const BatchRun zero = Run({"--std", S().std, "--span", "51", "--smooth", "0", "--prog", S().sb1});
    const BatchRun three = Run({"--std", S().std, "--span", "51", "--smooth", "3", "--prog", S().sb1});
    const BatchRun none = Run({"--std", S().std, "--span", "51", "--prog", S().sb1});
    EXPECT_EQ(zero.status, 0) << zero.err;
    EXPECT_EQ(zero.out, three.out);
    EXPECT_NE(zero.out, none.out);
}

TEST_F(BatchMessagesTest, AFailingCrossCorrelationStopsThatStar) {
    // A half width of far more than 2000 lags is refused by step 6.
    const BatchRun r = Run({"--std", S().std, "--span", "51", "--ccf", "1e7", "--prog", S().sb1});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "sb1.fits: ")) << r.err;
    EXPECT_TRUE(r.rows.empty()) << r.out;
}

TEST_F(BatchMessagesTest, AModelRunNamesTheOptionsItIgnores) {
    const std::string model = (s_dir->WorkDir() / "ignored.MDL").string();
    ASSERT_EQ(Run({"--std", S().std, "--span", "51", "--save-model", model}).status, 0);
    const BatchRun r = Run({"--model", model, "--span", "11", "--prog", S().sb1});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "tessan-batch: --span has no effect with --model\n");
    EXPECT_EQ(r.rows.size(), 1u);
}

TEST_F(BatchMessagesTest, ABfDirectoryThatCannotBeMadeStopsTheRun) {
    const fs::path blocker = s_dir->WorkDir() / "plainfile";
    std::ofstream(blocker) << "x";
    const BatchRun r = Run({"--std", S().std, "--span", "51", "--bf-dir", blocker.string(), "--prog", S().sb1});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "tessan-batch: cannot create the directory " + blocker.string())) << r.err;
    EXPECT_TRUE(r.rows.empty());
}

TEST_F(BatchMessagesTest, WavelengthKeywordsFromTheSettingsFileOrTheCommandLine) {
    // A standard and a program star whose wavelengths are under keywords of their own.
    SpectrumFile f;
    f.lambda0Key = "W0";
    f.dLambdaKey = "DW";
    f.values = SyntheticSpectrum(600, f.crval1, f.cd1_1, 0.0);
    const std::string odd = (s_dir->WorkDir() / "oddkeys.fits").string();
    WriteFile(odd, MakeSpectrumFits(f));
    f.values = SyntheticSpectrum(600, f.crval1, f.cd1_1, 50.0, 20.0);
    const std::string oddProg = (s_dir->WorkDir() / "oddprog.fits").string();
    WriteFile(oddProg, MakeSpectrumFits(f));
    const std::vector<std::string> args = {"--std", odd, "--span", "51", "--prog", oddProg};

    const BatchRun plain = Run(args);
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err, "oddkeys.fits: You need to set the keyword for Lambda 0.\n");

    std::vector<std::string> keyed = args;
    keyed.insert(keyed.end(), {"--lambda0-key", "W0", "--dlambda-key", "DW"});
    const BatchRun given = Run(keyed);
    EXPECT_EQ(given.status, 0);
    EXPECT_EQ(given.err, "");
    EXPECT_EQ(given.rows.size(), 1u);

    // The same keywords kept in "Tessan6.ini" of the working directory.
    const fs::path work = s_dir->WorkDir() / "withSettings";
    fs::create_directories(work);
    auto s = std::make_unique<tessan::AnalysisState>();
    s->Lambda0_Key = "W0";
    s->dLambda_Key = "DW";
    ASSERT_EQ(tessan::SaveSettings(*s, work), 0);
    const BatchRun settled = RunInProcess(args, work);
    EXPECT_EQ(settled.status, 0);
    EXPECT_EQ(settled.err, "");
    ASSERT_EQ(settled.rows.size(), 1u);
    EXPECT_EQ(settled.rows[0], given.rows[0]);
}

}  // namespace
