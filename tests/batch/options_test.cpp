#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/BatchOptions.h"

using namespace tessan::batch;

namespace {
ParseResult Parse(std::vector<std::string> args) { return ParseArgs(args); }
}  // namespace

TEST(StrictNumber, AcceptsOnlyWholeNumbers) {
    struct Case { const char* text; bool ok; double value; };
    const Case cases[] = {
        {"201", true, 201}, {"-3.5", true, -3.5}, {"1e2", true, 100}, {"1D2", true, 100},
        {".5", true, 0.5}, {"+7", true, 7}, {" 12", true, 12},
        {"", false, 0}, {"abc", false, 0}, {"12x", false, 0}, {"12 ", false, 0},
        {"nan", false, 0}, {"inf", false, 0}, {"1e999", false, 0}, {"-", false, 0},
    };
    for (const Case& c : cases) {
        const auto n = StrictNumber(c.text);
        EXPECT_EQ(n.has_value(), c.ok) << "text '" << c.text << "'";
        if (n && c.ok) {
            EXPECT_EQ(*n, c.value) << "text '" << c.text << "'";
        }
    }
}

TEST(ParseArgs, DefaultsWhenOnlyTheStandardIsGiven) {
    const ParseResult r = Parse({"--std", "std.fits"});
    ASSERT_EQ(r.kind, ParseResult::Run) << r.error;
    const Options& o = r.options;
    EXPECT_EQ(o.stdFile, "std.fits");
    EXPECT_EQ(o.span, "201");
    EXPECT_EQ(o.order, 35);
    EXPECT_EQ(o.peaks, 1);
    EXPECT_FALSE(o.minWave || o.maxWave || o.delV || o.smooth || o.ccf || o.lambda0Key || o.dLambdaKey);
    EXPECT_TRUE(o.progFiles.empty());
}

TEST(ParseArgs, KeepsNumbersAsTypedAndProgramStarsInOrder) {
    const ParseResult r = Parse({"--std", "a/std.fits", "--max-wave=4990", "--delv", "29.0",
                                 "--prog", "p1.fits", "--order", "-4", "--smooth", "0", "--peaks",
                                 "3", "--prog", "p2.fits", "--span", "151", "--span", "101"});
    ASSERT_EQ(r.kind, ParseResult::Run) << r.error;
    const Options& o = r.options;
    EXPECT_EQ(*o.maxWave, "4990");
    EXPECT_EQ(*o.delV, "29.0");   // the step reads it as its box would
    EXPECT_EQ(o.span, "101");     // the last one given
    EXPECT_EQ(o.progFiles, (std::vector<std::string>{"p1.fits", "p2.fits"}));
    EXPECT_EQ(o.order, -4);
    EXPECT_EQ(*o.smooth, "0");
    EXPECT_EQ(o.peaks, 3);
    EXPECT_TRUE(o.ignored.empty());
}

TEST(ParseArgs, ModelRunNamesTheGridOptionsItIgnores) {
    const ParseResult r = Parse({"--model", "m.MDL", "--span", "101", "--delv", "5", "--prog", "p.fits"});
    ASSERT_EQ(r.kind, ParseResult::Run) << r.error;
    EXPECT_EQ(r.options.modelFile, "m.MDL");
    EXPECT_EQ(r.options.ignored, (std::vector<std::string>{"--span", "--delv"}));
}

TEST(ParseArgs, HelpWinsWhereverItStands) {
    EXPECT_EQ(Parse({"--help"}).kind, ParseResult::Help);
    EXPECT_EQ(Parse({"--std", "s.fits", "--help"}).kind, ParseResult::Help);
    EXPECT_EQ(Parse({"--bogus", "--help"}).kind, ParseResult::UsageError);  // reported in order
}

TEST(ParseArgs, UsageErrors) {
    struct Case { std::vector<std::string> args; const char* says; };
    const std::vector<Case> cases = {
        {{}, "give --std or --model"},
        {{"--prog", "p.fits"}, "give --std or --model"},
        {{"--std", "s.fits", "--model", "m.MDL"}, "exclude each other"},
        {{"--std", "s.fits", "--frobnicate"}, "unknown option --frobnicate"},
        {{"--std", "s.fits", "extra.fits"}, "unexpected argument extra.fits"},
        {{"--std"}, "missing value for --std"},
        {{"--std", "--prog", "p.fits"}, "missing value for --std"},
        {{"--std="}, "missing value for --std"},
        {{"--std", "s.fits", "--span", "abc"}, "not a number for --span: abc"},
        {{"--std", "s.fits", "--delv", "5km"}, "not a number for --delv: 5km"},
        {{"--std", "s.fits", "--order", "x"}, "not a number for --order"},
        {{"--std", "s.fits", "--ccf", ""}, "missing value for --ccf"},
        {{"--std", "s.fits", "--smooth", "wide"}, "not a number for --smooth"},
        {{"--std", "s.fits", "--min-wave", "4e"}, "not a number for --min-wave"},
        {{"--std", "s.fits", "--peaks", "0"}, "--peaks must be 1, 2 or 3"},
        {{"--std", "s.fits", "--peaks", "4"}, "--peaks must be 1, 2 or 3"},
        {{"--std", "s.fits", "--peaks", "1.5"}, "--peaks must be 1, 2 or 3"},
        {{"--std", "s.fits", "--peaks", "two"}, "not a number for --peaks"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        const ParseResult r = Parse(c.args);
        EXPECT_EQ(r.kind, ParseResult::UsageError) << "args: " << line;
        EXPECT_NE(r.error.find(c.says), std::string::npos) << "args: " << line << " error: " << r.error;
    }
}
