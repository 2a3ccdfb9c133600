// What a save leaves on the disk: a file the user made read-only untouched, a link written
// through, at most one temporary name per target; and the largest doubles read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <set>
#include <string>

#include "ModelTestData.h"
#include "io/AtomicFile.h"
#include "io/ModelFile.h"
#include "state/ErrText.h"
#include "steps/ModelSteps.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"

namespace tessan::test {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::string text;
    return ReadWholeFile(path, text) == 0 ? text : "(unreadable)";
}

std::set<std::string> entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

TEST(AtomicFile, WhatASaveLeaves) {
    struct Case {
        const char* name;
        void (*setup)(const fs::path& d);
        const char* target;     // the name saved to
        const char* holder;     // the file that holds the text afterwards
        const char* text;       // what it holds
        int err;
        std::set<std::string> names;   // the whole directory afterwards
    };
    const Case cases[] = {
        {"read-only file",
         [](const fs::path& d) {
             WriteText(d / "t.dat", "old");
             fs::permissions(d / "t.dat", fs::perms::owner_read | fs::perms::group_read);
         },
         "t.dat", "t.dat", "old", err::kPermission, {"t.dat"}},
        {"link to a file",
         [](const fs::path& d) {
             WriteText(d / "real.dat", "old");
             fs::create_symlink("real.dat", d / "t.dat");
         },
         "t.dat", "real.dat", "new", 0, {"real.dat", "t.dat"}},
        {"link to a file not yet there",
         [](const fs::path& d) {
             fs::create_directory(d / "sub");
             fs::create_symlink("sub/real.dat", d / "t.dat");
         },
         "t.dat", "sub/real.dat", "new", 0, {"sub", "t.dat"}},
        {"loop of links",
         [](const fs::path& d) {
             fs::create_symlink("u.dat", d / "t.dat");
             fs::create_symlink("t.dat", d / "u.dat");
         },
         "t.dat", "t.dat", "(unreadable)", err::kPathFileAccess, {"t.dat", "u.dat"}},
        {"stale temporary file of a killed save",
         [](const fs::path& d) {
             WriteText(d / ".t.dat.tmp", "half");
             WriteText(d / "t.dat", "old");
         },
         "t.dat", "t.dat", "new", 0, {"t.dat"}},
    };
    for (const Case& c : cases) {
        RecordingPlatform p;
        const fs::path d = p.WorkDir();
        c.setup(d);
        EXPECT_EQ(WriteFileAtomically(d / c.target, "new"), c.err) << c.name;
        EXPECT_EQ(contents(d / c.holder), c.text) << c.name;
        EXPECT_EQ(entries(d), c.names) << c.name;
    }
}

// A model holding the largest doubles saves and loads back (they are written cut toward zero
// in their last digit rather than rounded up beyond the range of a double).
TEST(AtomicFile, LargestDoublesReadBack) {
    RecordingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    FillWorkingModel(*s, 12, 3, 5);
    const double big = std::numeric_limits<double>::max();
    s->ss(1) = big, s->ss(2) = -big, s->ww(1) = std::nextafter(big, 0.0);
    s->ModelFullPath = (p.WorkDir() / "big.MDL").string();
    ASSERT_EQ(Save_model(*s, p), 0);
    ASSERT_EQ(Load_model(*s, p).kind, ModelLoadOutcome::Loaded) << p.messages.at(0);
    const ModelSlot& m = s->Models[1];
    EXPECT_TRUE(m.ss(1) == 1.79769313486231e308 && m.ss(2) == -1.79769313486231e308 &&
                m.ww(1) == 1.79769313486231e308);
}

}  // namespace
}  // namespace tessan::test
