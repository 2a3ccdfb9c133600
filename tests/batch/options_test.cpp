// The command line as read, and the result lines as printed.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchOutput.h"

using namespace tessan::batch;

TEST(StrictNumber, AcceptsOnlyWholeNumbers) {
    struct Case { const char* text; bool ok; double value; };
    const Case cases[] = {
        {"201", true, 201}, {"-3.5", true, -3.5}, {"1e2", true, 100}, {"1D2", true, 100}, {".5", true, 0.5},
        {"+7", true, 7}, {" 12", true, 12}, {"", false, 0}, {"abc", false, 0}, {"12x", false, 0},
        {"12 ", false, 0}, {"nan", false, 0}, {"inf", false, 0}, {"1e999", false, 0}, {"-", false, 0},
    };
    for (const Case& c : cases) {
        const auto n = StrictNumber(c.text);
        EXPECT_EQ(n.has_value(), c.ok) << "text '" << c.text << "'";
        if (n && c.ok) { EXPECT_EQ(*n, c.value) << "text '" << c.text << "'"; }
    }
}

TEST(ParseArgs, DefaultsAndNumbersKeptAsTyped) {
    const ParseResult d = ParseArgs({"--std", "std.fits"});
    ASSERT_EQ(d.kind, ParseResult::Run) << d.error;
    EXPECT_EQ(d.options.span, "201");
    EXPECT_EQ(d.options.order, 35);
    EXPECT_EQ(d.options.peaks, 1);
    EXPECT_FALSE(d.options.delV || d.options.smooth || d.options.ccf);

    const ParseResult r = ParseArgs({"--std", "a/std.fits", "--max-wave=4990", "--delv", "29.0", "--prog", "p1.fits",
                                     "--order", "-4", "--peaks", "3", "--prog", "p2.fits", "--span", "151",
                                     "--span", "101"});
    ASSERT_EQ(r.kind, ParseResult::Run) << r.error;
    EXPECT_EQ(*r.options.maxWave, "4990");
    EXPECT_EQ(*r.options.delV, "29.0");   // the step reads it as its box would
    EXPECT_EQ(r.options.span, "101");     // the last one given
    EXPECT_EQ(r.options.progFiles, (std::vector<std::string>{"p1.fits", "p2.fits"}));
    EXPECT_EQ(r.options.order, -4);
    EXPECT_EQ(r.options.peaks, 3);

    EXPECT_EQ(ParseArgs({"--std", "s.fits", "--help"}).kind, ParseResult::Help);
    EXPECT_EQ(ParseArgs({"--bogus", "--help"}).kind, ParseResult::UsageError);   // reported in order
}

TEST(ResultLine, FieldsAndHeader) {
    EXPECT_EQ(NumberField(-12.35), "-12.35");
    EXPECT_EQ(NumberField(201), "201");
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
    r.ccfVelocity.reset();
    EXPECT_EQ(ResultLine(r, 1, true), "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\tnan\n");
}
