#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "batch/BatchOutput.h"

using namespace tessan::batch;

TEST(NumberField, PlainTextOrNan) {
    EXPECT_EQ(NumberField(0.25), "0.25");
    EXPECT_EQ(NumberField(-12.35), "-12.35");
    EXPECT_EQ(NumberField(201), "201");
    EXPECT_EQ(NumberField(std::nullopt), "nan");
    EXPECT_EQ(NumberField(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(NumberField(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(HeaderLine, ColumnsFollowPeaksAndCcf) {
    EXPECT_EQ(HeaderLine(1, false), "#file\tobject\torder\tvel1\theight1\n");
    EXPECT_EQ(HeaderLine(3, true),
              "#file\tobject\torder\tvel1\theight1\tvel2\theight2\tvel3\theight3\tccf_vel\n");
}

TEST(ResultLine, OneFieldPerColumn) {
    StarResult r;
    r.file = "prog 1.fits";
    r.object = "HD\t1234 ";
    r.order = 35;
    r.peaks = {{100, -12.5, 0.75}, {120, std::nullopt, 0.125}};
    r.ccfVelocity = 3.25;
    // Two found, the second without vertex; the third missing.
    EXPECT_EQ(ResultLine(r, 3, true),
              "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\tnan\t0.125\tnan\tnan\t3.25\n");
    // Only the peaks asked for, and no CCF column unless asked.
    EXPECT_EQ(ResultLine(r, 1, false), "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\n");
    r.ccfVelocity.reset();
    EXPECT_EQ(ResultLine(r, 1, true), "prog 1.fits\tHD 1234 \t35\t-12.5\t0.75\tnan\n");
}

TEST(ResultLine, ColumnCountMatchesHeader) {
    for (int k = 1; k <= 3; ++k)
        for (bool ccf : {false, true}) {
            const std::string h = HeaderLine(k, ccf), l = ResultLine(StarResult{}, k, ccf);
            EXPECT_EQ(std::count(h.begin(), h.end(), '\t'), std::count(l.begin(), l.end(), '\t'))
                << "peaks " << k << " ccf " << ccf;
        }
}
