// The built tessan-batch run as a user runs it: exit status, standard output and standard
// error, and "bbb2.txt" in the working directory.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "batch/BatchHarness.h"

using namespace tessan::test;

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q.append(c == '\'' ? "'\\''" : std::string(1, c));
    return q.append("'");
}

using BatchExeTest = SampleSuite;

// Help and a usage error print the usage (exit 0 and 2); a star that stops leaves the others
// their lines and makes the exit status 1.
TEST_F(BatchExeTest, ExitStatusOutputAndErrors) {
    const std::string usage = tessan::batch::UsageText();
    const struct { std::vector<std::string> args; int status; std::string out, err; } cases[] = {
        {{"--help"}, 0, usage, ""},
        {{"--std", "s.fits", "--peaks", "4"}, 2, "", "tessan-batch: --peaks must be 1, 2 or 3: 4\n" + usage},
        {{"--std", S().std, "--span", "51", "--prog", S().sb1, "--prog", S().bad, "--prog", S().sb2}, 1,
         "#file sb1.fits sb2.fits ", "notes.fits: This is not a fits file!  Please try again.\n"},
    };
    for (const auto& c : cases) {
        const auto dir = WorkDir("exe" + std::to_string(c.status));
        std::string cmd = "cd " + Quote(dir.string()) + " && " + Quote(TESSAN_BATCH_EXE);
        for (const auto& a : c.args) cmd.append(" ").append(Quote(a));
        const int raw = std::system(cmd.append(" >out.txt 2>err.txt").c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.args[0];
        EXPECT_EQ(ReadText(dir / "err.txt"), c.err) << c.args[0];
        std::string out = ReadText(dir / "out.txt");
        if (c.status == 1) {   // the first field of each line
            std::istringstream lines(out);
            out.clear();
            for (std::string line; std::getline(lines, line);) out += line.substr(0, line.find('\t')) + " ";
            const std::string bfs = ReadText(dir / "bbb2.txt");   // the last star's, span x span lines
            EXPECT_EQ(std::count(bfs.begin(), bfs.end(), '\n'), 51 * 51);
        }
        EXPECT_EQ(out, c.out) << c.args[0];
    }
}

}  // namespace
