// The batch driver in cases that once went wrong: result lines broken by the texts they
// carry, results files of two stars written over each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchOutput.h"

using namespace tessan::batch;

TEST(ResultLineFields, LineBreaksInObjectOrFileNameStayOnTheStarsLine) {
    struct Case {
        const char* file;
        const char* object;
        const char* want;
    } cases[] = {
        {"a.fts", "HD 1\nB", "a.fts\tHD 1 B\t35\tnan\tnan\n"},
        {"a.fts", "HD\r\n2", "a.fts\tHD  2\t35\tnan\tnan\n"},
        {"a\tb.fts", "X\tY", "a b.fts\tX Y\t35\tnan\tnan\n"},
        {"new\nline.fts", "Z", "new line.fts\tZ\t35\tnan\tnan\n"},
    };
    for (const Case& c : cases) {
        StarResult r;
        r.file = c.file;
        r.object = c.object;
        r.order = 35;
        const std::string line = ResultLine(r, 1, false);
        EXPECT_EQ(line, c.want) << "object " << c.object;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << "object " << c.object;
        EXPECT_EQ(line.find('\r'), std::string::npos) << "object " << c.object;
    }
}

TEST(BfDirNames, TwoStarsWritingOneResultsFileAreRefused) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
    } cases[] = {
        // Two nights, one file name: the second results file would replace the first.
        {{"--std", "s.fts", "--bf-dir", "bf", "--prog", "n1/hd1.fts", "--prog", "n2/hd1.fts"}, false},
        {{"--std", "s.fts", "--prog", "hd1.fts", "--prog", "hd1.fits", "--bf-dir=bf"}, false},
        // The same star twice writes the same file with the same content.
        {{"--std", "s.fts", "--bf-dir", "bf", "--prog", "n1/hd1.fts", "--prog", "n1/./hd1.fts"}, true},
        {{"--std", "s.fts", "--bf-dir", "bf", "--prog", "n1/hd1.fts", "--prog", "n1/hd2.fts"}, true},
        // Without --bf-dir nothing is written per star.
        {{"--std", "s.fts", "--prog", "n1/hd1.fts", "--prog", "n2/hd1.fts"}, true},
    };
    for (const Case& c : cases) {
        const ParseResult r = ParseArgs(c.args);
        EXPECT_EQ(r.kind, c.ok ? ParseResult::Run : ParseResult::UsageError) << c.args[5] << " " << c.args[7];
        if (!c.ok) {
            EXPECT_NE(r.error.find("hd1.dat"), std::string::npos) << r.error;
        }
    }
    EXPECT_EQ(BfResultsName("night1/hd1.fits"), "hd1.dat");
    EXPECT_EQ(BfResultsName("hd1"), "hd1.dat");
}
