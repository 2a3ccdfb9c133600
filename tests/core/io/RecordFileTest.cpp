// Record files: the writer's layout, the reader's field rules and error numbers, and the
// whole-file read and atomic write.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "io/RecordFile.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream o;
    o << f.rdbuf();
    return o.str();
}

TEST(RecordWriter, Layout) {
    RecordWriter w;
    w.Text("a, b").Int(201).Int(-1).Real(0.5).Real(-2.5e-7).Bool(true).Bool(false);
    w.EndRecord();
    w.Real(5184.2221).EndRecord();
    w.EndRecord();
    w.Text("").EndRecord();
    EXPECT_EQ(w.str(), "\"a, b\",201,-1,.5,-2.5E-07,-1,0\r\n5184.2221\r\n\r\n\"\"\r\n");
}

TEST(RecordReader, FieldRules) {
    RecordReader r("  12 , \"a b\" ,\t-3.5  \r\n1.5D3,2d-2, .5 ,-.25E1\n7\r\n  \r\nbare text , 9\r\n");
    double x = 0;
    std::string t;
    const double want[] = {12, 0, -3.5, 1500, 0.02, 0.5, -2.5, 7};
    for (int i = 0; i < 8; ++i) {
        if (i == 1) {
            ASSERT_EQ(r.ReadText(t), 0);
            EXPECT_EQ(t, "a b");
            continue;
        }
        ASSERT_EQ(r.ReadReal(x), 0) << "field " << i;
        EXPECT_EQ(x, want[i]) << "field " << i;
    }
    ASSERT_EQ(r.ReadText(t), 0);  // the blank line is skipped
    EXPECT_EQ(t, "bare text");
    int n = 0;
    ASSERT_EQ(r.ReadInt16(n), 0);
    EXPECT_EQ(n, 9);
    EXPECT_TRUE(r.AtEnd());
}

TEST(RecordReader, ErrorNumbers) {
    enum Op { kReal, kInt, kBool, kText };
    const struct {
        const char* content;
        Op op;
        int want;
    } cases[] = {
        {"\"321\"", kReal, 321},   {"abc", kReal, 321},     {"12abc", kReal, 321},
        {",5", kReal, 321},        {"\"7\"", kInt, 321},    {"\"0\"", kBool, 321},
        {"", kReal, 62},           {"", kText, 62},         {" \r\n\r\n", kInt, 62},
        {"40000", kInt, 6},        {"-32769", kInt, 6},     {"32767.5", kInt, 6},
        {"40000", kBool, 6},       {"1e400", kReal, 6},     {"-1D999", kReal, 6},
        {"32767.4", kInt, 0},      {"-32768.5", kInt, 0},   {"\"open", kText, 0},
    };
    for (const auto& c : cases) {
        RecordReader r(c.content);
        double x = 0;
        int n = 0;
        bool b = false;
        std::string t;
        int e = -1;
        switch (c.op) {
            case kReal: e = r.ReadReal(x); break;
            case kInt: e = r.ReadInt16(n); break;
            case kBool: e = r.ReadBool(b); break;
            case kText: e = r.ReadText(t); break;
        }
        EXPECT_EQ(e, c.want) << "content '" << c.content << "' op " << c.op;
    }
}

TEST(RecordReader, LineOfTheLastFieldRead) {
    RecordReader r("1,2\r\n3\r\n\r\nx,4\r\n\"multi\r\nline\",5\r\n");
    double x = 0;
    std::string t;
    const struct {
        bool text;
        int err;
        int line;
    } steps[] = {{false, 0, 1}, {false, 0, 1}, {false, 0, 2}, {false, 321, 4},
                 {false, 0, 4}, {true, 0, 5},  {false, 0, 6}};
    int i = 0;
    for (const auto& s : steps) {
        const int e = s.text ? r.ReadText(t) : r.ReadReal(x);
        EXPECT_EQ(e, s.err) << "step " << i;
        EXPECT_EQ(r.line(), s.line) << "step " << i;
        ++i;
    }
    EXPECT_EQ(t, "multi\r\nline");
}

TEST(ReadWholeFile, ContentAndErrorNumbers) {
    test::RecordingPlatform p;
    const std::string bytes("a,\"b\"\r\n\0\xff\r\n", 10);
    {
        std::ofstream f(p.WorkDir() / "f.txt", std::ios::binary);
        f << bytes;
    }
    std::string content = "old";
    EXPECT_EQ(ReadWholeFile(p.WorkDir() / "f.txt", content), 0);
    EXPECT_EQ(content, bytes);
    EXPECT_EQ(ReadWholeFile(p.WorkDir() / "missing.txt", content), 53);
    EXPECT_EQ(ReadWholeFile(p.WorkDir() / "nodir" / "f.txt", content), 53);
    EXPECT_EQ(ReadWholeFile(p.WorkDir(), content), 75);
    EXPECT_EQ(ReadWholeFile("", content), 53);
}

TEST(WriteFileAtomically, WritesAndReplaces) {
    test::RecordingPlatform p;
    const fs::path target = p.WorkDir() / "out.dat";
    ASSERT_EQ(WriteFileAtomically(target, "first\r\n"), 0);
    EXPECT_EQ(readFile(target), "first\r\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(WriteFileAtomically(target, "second"), 0);
    EXPECT_EQ(readFile(target), "second");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(WriteFileAtomically(target, ""), 0);
    EXPECT_EQ(fs::file_size(target), 0u);
}

TEST(WriteFileAtomically, ErrorNumbers) {
    test::RecordingPlatform p;
    fs::create_directory(p.WorkDir() / "sub");
    EXPECT_EQ(WriteFileAtomically(p.WorkDir() / "sub", "x"), 75);
    EXPECT_EQ(WriteFileAtomically(p.WorkDir() / "nodir" / "f", "x"), 76);
    EXPECT_EQ(WriteFileAtomically(p.WorkDir() / "sub" / "", "x"), 75);
    EXPECT_TRUE(fs::is_directory(p.WorkDir() / "sub"));
    EXPECT_TRUE(fs::is_empty(p.WorkDir() / "sub"));
}

TEST(WriteFileAtomically, FailedWriteKeepsTheOldFile) {
    test::RecordingPlatform p;
    const fs::path target = p.WorkDir() / "model.mdl";
    const std::string old = "old content\r\n";
    ASSERT_EQ(WriteFileAtomically(target, old), 0);

    // A file size limit makes the write fail part-way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int e = WriteFileAtomically(target, std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(e, 61);
    EXPECT_EQ(readFile(target), old);
    int entries = 0;
    for (const auto& d : fs::directory_iterator(p.WorkDir())) {
        (void)d;
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "temporary file left behind";
}

}  // namespace
}  // namespace tessan
