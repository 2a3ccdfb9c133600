// A replacing write keeps the old file's permissions.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/RecordFile.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

namespace fs = std::filesystem;

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
