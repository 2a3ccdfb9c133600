// The built tessan-batch run as a user runs it: exit status, standard output and standard
// error, and "bbb2.txt" in the working directory.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "batch/BatchOptions.h"
#include "batch/Samples.h"
#include "support/RecordingPlatform.h"

namespace fs = std::filesystem;
using namespace tessan::test;

namespace {

struct Result {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q.append(c == '\'' ? "'\\''" : std::string(1, c));
    return q.append("'");
}

// Runs the executable in dir with args; captures both streams through files.
Result RunExe(const fs::path& dir, const std::vector<std::string>& args) {
    std::string cmd = "cd ";
    cmd.append(Quote(dir.string())).append(" && ").append(Quote(TESSAN_BATCH_EXE));
    for (const auto& a : args) cmd.append(" ").append(Quote(a));
    cmd.append(" >out.txt 2>err.txt");
    const int raw = std::system(cmd.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(dir / "out.txt");
    r.err = Slurp(dir / "err.txt");
    return r;
}

class BatchExeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<RecordingPlatform>();
        s_samples = MakeSamples(s_dir->WorkDir(), 600);
    }
    static void TearDownTestSuite() { s_dir.reset(); }
    static fs::path Dir() { return s_dir->WorkDir(); }
    static const Samples& S() { return s_samples; }
    static std::unique_ptr<RecordingPlatform> s_dir;
    static Samples s_samples;
};
std::unique_ptr<RecordingPlatform> BatchExeTest::s_dir;
Samples BatchExeTest::s_samples;

TEST_F(BatchExeTest, HelpPrintsTheUsage) {
    const Result r = RunExe(Dir(), {"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, tessan::batch::UsageText());
    EXPECT_EQ(r.err, "");
}

TEST_F(BatchExeTest, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--std", "s.fits", "--model", "m.MDL"},
        {"--std", "s.fits", "--wobble"},
        {"--std"},
        {"--std", "s.fits", "--ccf", "4x"},
        {"--std", "s.fits", "--peaks", "4"},
    };
    for (const auto& args : cases) {
        std::string line;
        for (const auto& a : args) line += a + " ";
        const Result r = RunExe(Dir(), args);
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_EQ(r.err.rfind("tessan-batch: ", 0), 0u) << line << r.err;
        EXPECT_NE(r.err.find(tessan::batch::UsageText()), std::string::npos) << line;
    }
}

TEST_F(BatchExeTest, AStoppedStarLeavesTheOthersAndExitsWithOne) {
    const fs::path work = Dir() / "run";
    fs::create_directories(work);
    const Result r = RunExe(work, {"--std", S().std, "--span", "51", "--prog", S().sb1, "--prog",
                                   S().bad, "--prog", S().sb2});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "notes.fits: This is not a fits file!  Please try again.\n");
    std::istringstream lines(r.out);
    std::vector<std::string> firstFields;
    for (std::string line; std::getline(lines, line);) firstFields.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(firstFields, (std::vector<std::string>{"#file", "sb1.fits", "sb2.fits"}));
    // The last star's BFs are in the working directory: span x span lines ending in CR LF.
    const std::string all = Slurp(work / "bbb2.txt");
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 51 * 51);
    EXPECT_EQ(all.substr(0, 2), "1,");
}

TEST_F(BatchExeTest, SuccessExitsWithZero) {
    const Result r = RunExe(Dir(), {"--std", S().std, "--span", "51", "--prog", S().sb1});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

}  // namespace
