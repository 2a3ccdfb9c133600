// The command line as read, and the result lines as printed.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchOutput.h"

using namespace tessan::batch;

TEST(StrictNumber, AcceptsOnlyWholeNumbers) {
    const struct { const char* text; std::optional<double> value; } cases[] = {
        {"201", 201}, {"-3.5", -3.5}, {"1e2", 100}, {"1D2", 100}, {".5", 0.5}, {"+7", 7}, {" 12", 12},
        {"", std::nullopt}, {"abc", std::nullopt}, {"12x", std::nullopt}, {"12 ", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt}, {"1e999", std::nullopt}, {"-", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(StrictNumber(c.text), c.value) << "text '" << c.text << "'";
}

TEST(ParseArgs, NumbersKeptAsTyped) {
    const ParseResult r = ParseArgs({"--std", "a/std.fits", "--max-wave=4990", "--delv", "29.0", "--prog", "p1.fits",
                                     "--order", "-4", "--peaks", "3", "--prog", "p2.fits", "--span", "151",
                                     "--span", "101", "--jobs", "0", "--prog-list", "l.txt",
                                     "--gauss=3"});
    ASSERT_EQ(r.kind, ParseResult::Run) << r.error;
    EXPECT_EQ(*r.options.maxWave, "4990");
    EXPECT_EQ(*r.options.delV, "29.0");   // the step reads it as its box would
    EXPECT_EQ(r.options.span, "101");     // the last one given
    EXPECT_EQ(r.options.progFiles, (std::vector<std::string>{"p1.fits", "p2.fits"}));
    EXPECT_TRUE(r.options.order == -4 && r.options.peaks == 3 && r.options.jobs == 0 && r.options.progList == "l.txt" &&
                r.options.gauss == 3 &&
                !r.options.autoOrder && !r.options.errors);
    const Options o = ParseArgs({"--std", "s.fits", "--order", "7", "--errors", "--order=auto"}).options;
    EXPECT_TRUE(o.autoOrder && o.errors && o.order == 7);
    EXPECT_FALSE(ParseArgs({"--std", "s.fits", "--order", "auto", "--order", "9"}).options.autoOrder);
    EXPECT_EQ(ParseArgs({"--std", "s.fits", "--help"}).kind, ParseResult::Help);
    EXPECT_EQ(ParseArgs({"--bogus=1", "--version"}).kind, ParseResult::UsageError);   // the first word decides
    EXPECT_EQ(ParseArgs({"--std", "s.fits", "--version"}).kind, ParseResult::Version);
}

// Usage errors, the first in the order given. With --bf-dir, two different stars whose
// results files would have the same name are refused; the same star twice is not.
TEST(ParseArgs, UsageErrors) {
    const struct { std::vector<std::string> args; const char* says; } cases[] = {
        {{}, "give --std or --model"},
        {{"--bogus", "--help"}, "unknown option --bogus"},
        {{"--std", "s.fits", "--model", "m.MDL"}, "--std and --model exclude each other"},
        {{"--std", "s.fits", "extra.fits"}, "unexpected argument extra.fits"},
        {{"--std"}, "missing value for --std"},
        {{"--std", "--prog", "p.fits"}, "missing value for --std"},
        {{"--std", "s.fits", "--ccf", ""}, "missing value for --ccf"},
        {{"--std", "s.fits", "--min-wave", "4e"}, "not a number for --min-wave: 4e"},
        {{"--std", "s.fits", "--peaks", "0"}, "--peaks must be 1, 2 or 3: 0"},
        {{"--std", "s.fits", "--order", "Auto"}, "not a number for --order: Auto"},
        {{"--std", "s.fits", "--errors=yes"}, "--errors takes no value"},
        {{"--std", "s.fits", "--peaks", "1.5"}, "--peaks must be 1, 2 or 3: 1.5"},
        {{"--std", "s.fits", "--jobs", "-1"}, "--jobs must be 0 or a positive whole number: -1"},
        {{"--std", "s.fits", "--jobs", "2.5"}, "--jobs must be 0 or a positive whole number: 2.5"},
        {{"--std", "s.fits", "--gauss", "1"}, "--gauss must be 2 or 3: 1"},
        {{"--std", "s.fts", "--bf-dir", "bf", "--prog", "n1/hd1.fts", "--prog", "n2/hd1.fts"},
         "--prog n1/hd1.fts and --prog n2/hd1.fts would both write hd1.dat in --bf-dir"},
        {{"--std", "s.fts", "--prog", "hd1.fts", "--prog", "hd1.fits", "--bf-dir=bf"},
         "--prog hd1.fts and --prog hd1.fits would both write hd1.dat in --bf-dir"},
        {{"--std", "s.fts", "--bf-dir", "bf", "--prog", "n1/hd1.fts", "--prog", "n1/./hd1.fts"}, nullptr},
        {{"--std", "s.fts", "--bf-dir", "bf", "--prog", "n1/hd1.fts", "--prog", "n1/hd2.fts"}, nullptr},
        {{"--std", "s.fts", "--prog", "n1/hd1.fts", "--prog", "n2/hd1.fts"}, nullptr},   // nothing written per star
    };
    for (const auto& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        const ParseResult r = ParseArgs(c.args);
        EXPECT_EQ(r.kind, c.says ? ParseResult::UsageError : ParseResult::Run) << line;
        EXPECT_EQ(r.error, c.says ? c.says : "") << line;
    }
    EXPECT_EQ(BfResultsName("night1/hd1.fits"), "hd1.dat");
    EXPECT_EQ(BfResultsName("hd1"), "hd1.dat");
}

// Tabs and line breaks in a file name or object become blanks, so each star keeps one line.
TEST(ResultLine, FieldsAndHeader) {
    EXPECT_EQ(NumberField(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(NumberField(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(HeaderLine(1, false), "#file\tobject\torder\tvel1\theight1\n");
    EXPECT_EQ(HeaderLine(3, true), "#file\tobject\torder\tvel1\theight1\tvel2\theight2\tvel3\theight3\tccf_vel\n");
    StarResult r;
    r.file = "prog 1.fits";
    r.object = "HD\t1234 ";
    r.order = 35;
    r.peaks = {{100, -12.5, 0.75}, {120, std::nullopt, 0.125}};   // the second without vertex
    r.ccfVelocity = 3.25;
    EXPECT_EQ(ResultLine(r, 3, true), "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\tnan\t0.125\tnan\tnan\t3.25\n");
    EXPECT_EQ(ResultLine(r, 1, false), "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\n");
    EXPECT_EQ(HeaderLine(2, true, true), "#file\tobject\torder\tvel1\theight1\tvel2\theight2\tccf_vel\terr1\terr2\tccf_err\n");
    r.errors = {0.5, std::nullopt};   // one error per peak found, none for the third
    EXPECT_EQ(ResultLine(r, 3, true, true), "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\tnan\t0.125\tnan\tnan\t3.25"
                                            "\t0.5\tnan\tnan\tnan\n");
    EXPECT_EQ(ResultLine(r, 1, false, true), "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\t0.5\n");
    r.ccfVelocity.reset();
    r.file = "new\nline\r.fts";
    r.object = "HD\r\n2";
    EXPECT_EQ(ResultLine(r, 1, true), "new line .fts\tHD  2\t35\t-12.5\t0.75\tnan\n");
    // The Gaussians last, with or without the uncertainties of their centres; "nan" when none.
    auto head = [](std::string line) { return line.substr(0, line.size() - 1); };
    EXPECT_EQ(HeaderLine(1, true, true, 1),
              head(HeaderLine(1, true, true)) + "\tg_vel1\tg_width1\tg_height1\tg_area1\tg_frac1\tg_vel_err1\n");
    r.gauss = {{-5, 2, 0.5, 1.75, 0.25, 0.125}, {6, 3, 1, 5.25, 0.75, std::nan("")}};
    EXPECT_EQ(ResultLine(r, 1, true, true, 2),
              head(ResultLine(r, 1, true, true)) + "\t-5\t2\t0.5\t1.75\t0.25\t0.125\t6\t3\t1\t5.25\t0.75\tnan\n");
    EXPECT_EQ(ResultLine(r, 1, false, false, 1), head(ResultLine(r, 1, false)) + "\t-5\t2\t0.5\t1.75\t0.25\n");
    r.gauss.clear();
    EXPECT_EQ(ResultLine(r, 1, false, true, 1), head(ResultLine(r, 1, false, true)) + "\tnan\tnan\tnan\tnan\tnan\tnan\n");
}
