// Result lines of the batch driver in the cases that once broke the table.
#include <gtest/gtest.h>

#include <algorithm>

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
