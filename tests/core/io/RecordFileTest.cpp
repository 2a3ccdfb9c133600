// Record files: the line a reader reports, and what a replacing write keeps of the old file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/RecordFile.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

namespace fs = std::filesystem;

TEST(RecordReader, LineOfTheLastFieldRead) {
    RecordReader r("1,2\r\n3\r\n\r\nx,4\r\n\"multi\r\nline\",5\r\n");
    double x = 0;
    std::string t;
    const struct {
        bool text;
        int err, line;
    } steps[] = {{false, 0, 1}, {false, 0, 1}, {false, 0, 2}, {false, 321, 4},
                 {false, 0, 4}, {true, 0, 5},  {false, 0, 6}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(steps[i].text ? r.ReadText(t) : r.ReadReal(x), steps[i].err) << "step " << i;
        EXPECT_EQ(r.line(), steps[i].line) << "step " << i;
    }
    EXPECT_EQ(t, "multi\r\nline");
}

TEST(WriteFileAtomically, ReplacingKeepsThePermissions) {
    test::RecordingPlatform p;
    const fs::path target = p.WorkDir() / "out.dat";
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    ASSERT_EQ(WriteFileAtomically(target, "first\r\n"), 0);
    fs::permissions(target, perms);
    ASSERT_EQ(WriteFileAtomically(target, "second"), 0);
    EXPECT_EQ(fs::file_size(target), 6u);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, perms);
}

}  // namespace
}  // namespace tessan
