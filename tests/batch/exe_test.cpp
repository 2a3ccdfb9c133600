// The built tessan-batch run as a user runs it: exit status, standard output and standard
// error, and "bbb2.txt" in the working directory.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "batch/BatchHarness.h"

namespace fs = std::filesystem;
using namespace tessan::test;

namespace {

struct Result { int status; std::string out, err; };

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q.append(c == '\'' ? "'\\''" : std::string(1, c));
    return q.append("'");
}

Result RunExe(const fs::path& dir, const std::vector<std::string>& args) {
    std::string cmd = "cd " + Quote(dir.string()) + " && " + Quote(TESSAN_BATCH_EXE);
    for (const auto& a : args) cmd.append(" ").append(Quote(a));
    const int raw = std::system(cmd.append(" >out.txt 2>err.txt").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir / "out.txt"), Slurp(dir / "err.txt")};
}

using BatchExeTest = SampleSuite;

TEST_F(BatchExeTest, HelpPrintsTheUsage) {
    const Result r = RunExe(WorkDir("help"), {"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, tessan::batch::UsageText());
    EXPECT_EQ(r.err, "");
}

TEST_F(BatchExeTest, UsageErrorsExitWithTwoAndTheUsage) {
    struct Case { std::vector<std::string> args; const char* says; };
    const std::vector<Case> cases = {
        {{}, "give --std or --model"},
        {{"--std", "s.fits", "--model", "m.MDL"}, "exclude each other"},
        {{"--std", "s.fits", "--frobnicate"}, "unknown option --frobnicate"},
        {{"--std", "s.fits", "extra.fits"}, "unexpected argument extra.fits"},
        {{"--std"}, "missing value for --std"},
        {{"--std", "--prog", "p.fits"}, "missing value for --std"},
        {{"--std", "s.fits", "--ccf", ""}, "missing value for --ccf"},
        {{"--std", "s.fits", "--span", "abc"}, "not a number for --span: abc"},
        {{"--std", "s.fits", "--min-wave", "4e"}, "not a number for --min-wave"},
        {{"--std", "s.fits", "--peaks", "0"}, "--peaks must be 1, 2 or 3"},
        {{"--std", "s.fits", "--peaks", "4"}, "--peaks must be 1, 2 or 3"},
        {{"--std", "s.fits", "--peaks", "1.5"}, "--peaks must be 1, 2 or 3"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        const Result r = RunExe(WorkDir("usage"), c.args);
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_EQ(r.err.rfind("tessan-batch: ", 0), 0u) << line << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << line << r.err;
        EXPECT_NE(r.err.find(tessan::batch::UsageText()), std::string::npos) << line;
    }
}

TEST_F(BatchExeTest, AStoppedStarLeavesTheOthersAndExitsWithOne) {
    const fs::path work = WorkDir("run");
    const Result ok = RunExe(work, {"--std", S().std, "--span", "51", "--prog", S().sb1});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(ok.err, "");

    const Result r = RunExe(work, {"--std", S().std, "--span", "51", "--prog", S().sb1, "--prog", S().bad,
                                   "--prog", S().sb2});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "notes.fits: This is not a fits file!  Please try again.\n");
    std::istringstream lines(r.out);
    std::vector<std::string> firstFields;
    for (std::string line; std::getline(lines, line);) firstFields.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(firstFields, (std::vector<std::string>{"#file", "sb1.fits", "sb2.fits"}));
    const std::string bfs = Slurp(work / "bbb2.txt");   // the last star's, span x span lines
    EXPECT_EQ(std::count(bfs.begin(), bfs.end(), '\n'), 51 * 51);
}

}  // namespace
