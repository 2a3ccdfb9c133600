#include <gtest/gtest.h>

#include <cmath>

#include "batch/Peaks.h"

using namespace tessan;
using namespace tessan::batch;

namespace {

// A BF of span points with velocities (i - span2 - 1) * dv and parabolic bumps
// h - c (i - centre)^2 over a flat 0 base (each bump five points wide or more).
struct Bf {
    int span;
    double dv;
    Vec x, y;
    Bf(int n, double step) : span(n), dv(step), x(n), y(n) {
        for (int i = 1; i <= n; ++i) x(i) = (i - n / 2 - 1) * step;
    }
    void Bump(int centre, double h, int half = 3) {
        for (int i = centre - half; i <= centre + half; ++i)
            y(i) = std::max(y(i), h - 0.01 * (i - centre) * (i - centre));
    }
};

}  // namespace

TEST(MeasureBfPeaks, HighestFirstWithParabolaVertices) {
    Bf bf(101, 2.0);
    bf.Bump(30, 0.5);
    bf.Bump(60, 0.9);
    bf.Bump(80, 0.3);
    const auto peaks = MeasureBfPeaks(bf.x, bf.y, bf.span, 3);
    ASSERT_EQ(peaks.size(), 3u);
    const int want[] = {60, 30, 80};
    const double height[] = {0.9, 0.5, 0.3};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(peaks[k].index, want[k]) << "peak " << k;
        EXPECT_EQ(peaks[k].height, height[k]) << "peak " << k;
        ASSERT_TRUE(peaks[k].velocity) << "peak " << k;
        EXPECT_NEAR(*peaks[k].velocity, bf.x(want[k]), 1e-9) << "peak " << k;
    }
    // Fewer asked: the highest ones.
    const auto one = MeasureBfPeaks(bf.x, bf.y, bf.span, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].index, 60);
}

TEST(MeasureBfPeaks, OffGridVertexIsInterpolated) {
    Bf bf(101, 3.0);
    // y = 1 - (x - x0)^2 / 100 sampled at the grid: the vertex falls between points.
    const double x0 = bf.x(50) + 1.2;
    for (int i = 45; i <= 55; ++i) bf.y(i) = 1 - (bf.x(i) - x0) * (bf.x(i) - x0) / 100;
    const auto peaks = MeasureBfPeaks(bf.x, bf.y, bf.span, 1);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_NEAR(*peaks[0].velocity, x0, 1e-9);
    EXPECT_EQ(peaks[0].height, bf.y(50));
}

TEST(MeasureBfPeaks, OnlyMaximaWhereTheWindowTakesClicks) {
    Bf outside(61, 1.0);   // points 9 and span - 9 lie beyond the clickable range
    outside.y(9) = 3.0;
    outside.y(52) = 3.0;
    outside.y(30) = 1.0;
    const auto inner = MeasureBfPeaks(outside.x, outside.y, outside.span, 3);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner[0].index, 30);

    Bf edges(61, 1.0);     // points 10 and span - 10 are its ends, both included
    edges.y(10) = 0.4;
    edges.y(51) = 0.6;
    const auto both = MeasureBfPeaks(edges.x, edges.y, edges.span, 3);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].index, 51);
    EXPECT_EQ(both[1].index, 10);
}

TEST(MeasureBfPeaks, EqualHeights) {
    Bf bf(81, 1.0);
    // A flat top counts once, at its leftmost point.
    bf.y(30) = 0.5;
    bf.y(31) = 0.5;
    bf.y(32) = 0.5;
    // Two separate peaks of equal height: the left one ranks first.
    bf.y(50) = 0.7;
    bf.y(20) = 0.7;
    const auto peaks = MeasureBfPeaks(bf.x, bf.y, bf.span, 3);
    ASSERT_EQ(peaks.size(), 3u);
    EXPECT_EQ(peaks[0].index, 20);
    EXPECT_EQ(peaks[1].index, 50);
    EXPECT_EQ(peaks[2].index, 30);
    // A rising edge that levels off into the end is no peak.
    Bf ramp(41, 1.0);
    for (int i = 15; i <= 41; ++i) ramp.y(i) = 1.0;
    EXPECT_TRUE(MeasureBfPeaks(ramp.x, ramp.y, ramp.span, 3).empty());
}

TEST(MeasureBfPeaks, NoneOnAFlatOrShortBf) {
    Bf flat(101, 1.0);
    EXPECT_TRUE(MeasureBfPeaks(flat.x, flat.y, flat.span, 3).empty());
    Bf shortBf(19, 1.0);   // 10..9: no point takes clicks
    shortBf.y(10) = 1;
    EXPECT_TRUE(MeasureBfPeaks(shortBf.x, shortBf.y, shortBf.span, 1).empty());
}

TEST(MeasureBfPeaks, FlatParabolaKeepsItsHeight) {
    // Around zero velocity: y = 0.5, 0, 1, 0, 0.5 has a least-squares parabola with a2 = 0
    // exactly, so the peak has no vertex but is still reported with its height.
    Bf bf(61, 1.0);
    const int c = 31;   // velocity 0
    bf.y(c - 2) = 0.5;
    bf.y(c) = 1.0;
    bf.y(c + 2) = 0.5;
    const auto peaks = MeasureBfPeaks(bf.x, bf.y, bf.span, 1);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_EQ(peaks[0].index, c);
    EXPECT_FALSE(peaks[0].velocity);
    EXPECT_EQ(peaks[0].height, 1.0);
}

TEST(MeasureCcfPeak, HighestLagAndItsNeighbours) {
    const int n = 10;
    SymVec vel(n), cc(n);
    for (int i = -n; i <= n; ++i) {
        vel(i) = 4.0 * i;
        cc(i) = 1 - 0.01 * (vel(i) - 6.0) * (vel(i) - 6.0);
    }
    const auto v = MeasureCcfPeak(vel, cc, n);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 6.0, 1e-9);
}

TEST(MeasureCcfPeak, NanNearTheEnds) {
    const int n = 10;
    SymVec vel(n), cc(n);
    for (int i = -n; i <= n; ++i) vel(i) = i;
    for (int top : {-10, -9, 9, 10}) {
        for (int i = -n; i <= n; ++i) cc(i) = -std::abs(i - top);
        EXPECT_FALSE(MeasureCcfPeak(vel, cc, n)) << "top at lag " << top;
    }
    for (int top : {-8, 8}) {
        for (int i = -n; i <= n; ++i) cc(i) = -0.1 * (i - top) * (i - top);
        const auto v = MeasureCcfPeak(vel, cc, n);
        ASSERT_TRUE(v) << "top at lag " << top;
        EXPECT_NEAR(*v, top, 1e-9);
    }
    SymVec one(0);
    EXPECT_FALSE(MeasureCcfPeak(one, one, 0));
}
