// The peaks the driver reads off a BF (where the window takes clicks, span 10..span-10) and
// off the cross-correlation.
#include <gtest/gtest.h>

#include <cmath>

#include "batch/Peaks.h"

using namespace tessan;
using namespace tessan::batch;

namespace {

// A BF of n points at velocities (i - n/2 - 1) * step over a flat 0 base.
struct Bf {
    int span;
    Vec x, y;
    Bf(int n, double step) : span(n), x(n), y(n) {
        for (int i = 1; i <= n; ++i) x(i) = (i - n / 2 - 1) * step;
    }
    void Bump(int centre, double h) {   // a parabolic bump seven points wide
        for (int i = centre - 3; i <= centre + 3; ++i) y(i) = std::max(y(i), h - 0.01 * (i - centre) * (i - centre));
    }
    std::vector<int> Indices(int k) const {
        std::vector<int> out;
        for (const auto& p : MeasureBfPeaks(x, y, span, k)) out.push_back(p.index);
        return out;
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
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(peaks[k].index, want[k]) << "peak " << k;
        EXPECT_EQ(peaks[k].height, bf.y(want[k])) << "peak " << k;
        ASSERT_TRUE(peaks[k].velocity) << "peak " << k;
        EXPECT_NEAR(*peaks[k].velocity, bf.x(want[k]), 1e-9) << "peak " << k;
    }
    EXPECT_EQ(bf.Indices(1), std::vector<int>{60});

    Bf off(101, 3.0);   // y = 1 - (x - x0)^2 / 100: the vertex falls between points
    const double x0 = off.x(50) + 1.2;
    for (int i = 45; i <= 55; ++i) off.y(i) = 1 - (off.x(i) - x0) * (off.x(i) - x0) / 100;
    const auto one = MeasureBfPeaks(off.x, off.y, off.span, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_NEAR(*one[0].velocity, x0, 1e-9);
}

TEST(MeasureBfPeaks, WhichMaximaCountAndInWhatOrder) {
    struct Case { const char* what; int span; std::vector<std::pair<int, double>> points; std::vector<int> want; };
    const std::vector<Case> cases = {
        {"beyond 10..span-10", 61, {{9, 3.0}, {52, 3.0}, {30, 1.0}}, {30}},
        {"the range's ends", 61, {{10, 0.4}, {51, 0.6}}, {51, 10}},
        {"equal heights: leftmost first; a flat top once, at its left", 81,
         {{30, 0.5}, {31, 0.5}, {32, 0.5}, {50, 0.7}, {20, 0.7}}, {20, 50, 30}},
        {"flat", 101, {}, {}},
    };
    for (const Case& c : cases) {
        Bf bf(c.span, 1.0);
        for (auto [i, v] : c.points) bf.y(i) = v;
        EXPECT_EQ(bf.Indices(3), c.want) << c.what;
    }
    Bf ramp(41, 1.0);   // a rise levelling off into the end is no peak
    for (int i = 15; i <= 41; ++i) ramp.y(i) = 1.0;
    EXPECT_TRUE(ramp.Indices(3).empty());
}

TEST(MeasureBfPeaks, NoVertexKeepsItsHeight) {
    // 0.5, 0, 1, 0, 0.5 around zero velocity fits a parabola with a2 = 0 exactly.
    Bf bf(61, 1.0);
    bf.y(29) = 0.5;
    bf.y(31) = 1.0;
    bf.y(33) = 0.5;
    const auto peaks = MeasureBfPeaks(bf.x, bf.y, bf.span, 1);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_EQ(peaks[0].index, 31);
    EXPECT_FALSE(peaks[0].velocity);
    EXPECT_EQ(peaks[0].height, 1.0);
}

TEST(MeasureCcfPeak, VertexOrNanNearTheEnds) {
    const int n = 10;
    SymVec vel(n), cc(n);
    for (int i = -n; i <= n; ++i) vel(i) = 4.0 * i;
    for (double top : {-10.0, -9.0, -8.0, 1.3, 8.0, 9.0, 10.0}) {
        for (int i = -n; i <= n; ++i) cc(i) = -0.1 * (i - top) * (i - top);
        const auto v = MeasureCcfPeak(vel, cc, n);
        if (std::abs(top) >= 9) {
            EXPECT_FALSE(v) << "top at lag " << top;
        } else {
            ASSERT_TRUE(v) << "top at lag " << top;
            EXPECT_NEAR(*v, 4.0 * top, 1e-9) << "top at lag " << top;
        }
    }
    SymVec one(0);
    EXPECT_FALSE(MeasureCcfPeak(one, one, 0));
}
