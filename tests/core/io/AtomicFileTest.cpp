// What a save leaves on the disk: the new text or, on any failure, the file that was there,
// with its permissions; a link written through; at most one temporary name per target.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "io/AtomicFile.h"
#include "state/ErrText.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"

namespace tessan::test {
namespace {

namespace fs = std::filesystem;

TEST(WriteFileAtomically, WhatASaveLeaves) {
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read;
    const auto mode640 = readOnly | fs::perms::owner_write;
    const struct {
        const char* name;
        void (*setup)(const fs::path& d);
        const char* holder;     // the file that holds the text afterwards ("t.dat" is saved to)
        const char* text;       // what it holds
        int err;
        std::set<std::string> names;   // the whole directory afterwards
        fs::perms perms = fs::perms::unknown;   // of the holder, when checked
        bool fileLimit = false;   // the write stops after two bytes, as on a full disk
    } cases[] = {
        {"replaced file",
         [](const fs::path& d) { WriteText(d / "t.dat", "old"), fs::permissions(d / "t.dat", mode640); },
         "t.dat", "new", 0, {"t.dat"}, mode640},
        {"read-only file",
         [](const fs::path& d) { WriteText(d / "t.dat", "old"), fs::permissions(d / "t.dat", readOnly); },
         "t.dat", "old", err::kPermission, {"t.dat"}, readOnly},
        {"disk full part-way", [](const fs::path& d) { WriteText(d / "t.dat", "old"); }, "t.dat", "old",
         err::kDiskFull, {"t.dat"}, fs::perms::unknown, true},
        {"link to a file",
         [](const fs::path& d) { WriteText(d / "real.dat", "old"), fs::create_symlink("real.dat", d / "t.dat"); },
         "real.dat", "new", 0, {"real.dat", "t.dat"}},
        {"link to a file not yet there",
         [](const fs::path& d) { fs::create_directory(d / "sub"), fs::create_symlink("sub/real.dat", d / "t.dat"); },
         "sub/real.dat", "new", 0, {"sub", "t.dat"}},
        {"loop of links",
         [](const fs::path& d) { fs::create_symlink("u.dat", d / "t.dat"), fs::create_symlink("t.dat", d / "u.dat"); },
         "t.dat", "", err::kPathFileAccess, {"t.dat", "u.dat"}},
        {"stale temporary file of a killed save",
         [](const fs::path& d) { WriteText(d / ".t.dat.tmp", "half"), WriteText(d / "t.dat", "old"); },
         "t.dat", "new", 0, {"t.dat"}},
    };
    for (const auto& c : cases) {
        RecordingPlatform p;
        const fs::path d = p.WorkDir();
        c.setup(d);
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = c.fileLimit ? 2 : old.rlim_cur;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const int e = WriteFileAtomically(d / "t.dat", "new");
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(e, c.err) << c.name;
        EXPECT_EQ(ReadText(d / c.holder), c.text) << c.name;
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(d)) names.insert(entry.path().filename().string());
        EXPECT_EQ(names, c.names) << c.name;
        if (c.perms != fs::perms::unknown) {
            EXPECT_EQ(fs::status(d / c.holder).permissions() & fs::perms::all, c.perms) << c.name;
        }
    }
}

}  // namespace
}  // namespace tessan::test
