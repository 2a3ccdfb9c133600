// The peaks the driver reads off a BF (where the window takes clicks, span 10..span-10) and
// off the cross-correlation.
#include <gtest/gtest.h>

#include <cmath>

#include "batch/Peaks.h"

using namespace tessan;
using namespace tessan::batch;

namespace {

// A BF of n points at velocities (i - n/2 - 1) * step, 0 where not set.
struct Bf {
    int span;
    Vec x, y;
    Bf(int n, double step) : span(n), x(n), y(n) {
        for (int i = 1; i <= n; ++i) x(i) = (i - n / 2 - 1) * step;
    }
    std::vector<int> Indices(int k) const {
        std::vector<int> out;
        for (const auto& p : MeasureBfPeaks(x, y, span, k)) out.push_back(p.index);
        return out;
    }
};

}  // namespace

TEST(MeasureBfPeaks, HighestFirstWithParabolaVertices) {
    // Parabolic bumps y = h - (x - v)^2 / 1000, seven points wide, each vertex v off its point.
    Bf bf(101, 3.0);
    const struct { int at; double h, off; } bumps[] = {{60, 0.9, 1.2}, {30, 0.5, 0.0}, {80, 0.3, -0.7}};
    for (const auto& b : bumps)
        for (int i = b.at - 3; i <= b.at + 3; ++i) bf.y(i) = b.h - std::pow(bf.x(i) - bf.x(b.at) - b.off, 2) / 1000;
    const auto peaks = MeasureBfPeaks(bf.x, bf.y, bf.span, 3);
    ASSERT_EQ(peaks.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(peaks[k].index, bumps[k].at) << "peak " << k;
        EXPECT_EQ(peaks[k].height, bf.y(bumps[k].at)) << "peak " << k;
        ASSERT_TRUE(peaks[k].velocity) << "peak " << k;
        EXPECT_NEAR(*peaks[k].velocity, bf.x(bumps[k].at) + bumps[k].off, 1e-9) << "peak " << k;
    }
    EXPECT_EQ(bf.Indices(1), std::vector<int>{60});
}

TEST(MeasureBfPeaks, WhichMaximaCountAndInWhatOrder) {
    struct Case { const char* what; int span; std::vector<std::pair<int, double>> points; std::vector<int> want; };
    const std::vector<Case> cases = {
        {"beyond 10..span-10", 61, {{9, 3.0}, {52, 3.0}, {30, 1.0}}, {30}},
        {"the range's ends", 61, {{10, 0.4}, {51, 0.6}}, {51, 10}},
        {"equal heights: leftmost first; a flat top once, at its left", 81,
         {{30, 0.5}, {31, 0.5}, {32, 0.5}, {50, 0.7}, {20, 0.7}}, {20, 50, 30}},
        {"flat", 101, {}, {}},
        {"a top without parabola vertex counts", 61, {{29, 0.5}, {31, 1.0}, {33, 0.5}}, {31, 29, 33}},
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

TEST(MeasureCcfPeak, VertexOrNanNearTheEnds) {
    const int n = 10;
    SymVec vel(n), cc(n);
    for (int i = -n; i <= n; ++i) vel(i) = 4.0 * i;
    for (double top : {-10.0, -9.0, -8.0, 1.3, 8.0, 9.0, 10.0}) {
        for (int i = -n; i <= n; ++i) cc(i) = -0.1 * (i - top) * (i - top);
        const auto v = MeasureCcfPeak(vel, cc, n);
        EXPECT_EQ(v.has_value(), std::abs(top) < 9) << "top at lag " << top;
        EXPECT_NEAR(v.value_or(4.0 * top), 4.0 * top, 1e-9) << "top at lag " << top;
    }
    SymVec one(0);
    EXPECT_FALSE(MeasureCcfPeak(one, one, 0));
}
