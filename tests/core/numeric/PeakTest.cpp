// Smoothing of the shown BF and the peak measurements: the parabola's vertex, the BF click and
// the CCF click, which read only the points that exist (BF 1..span, CCF lags -N..N).
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "numeric/Peak.h"
#include "numeric/Smooth.h"
#include "state/Limits.h"

namespace tessan {
namespace {

// A BF of n points with velocities (k - n/2 - 1) * 5 km/s, filled by f(k).
template <class F>
void setBf(AnalysisState& s, int n, F f) {
    s.span = s.bbShown.span = n;
    s.span2 = (n - 1) / 2;
    for (int k = 1; k <= n; ++k) s.vel_bb(k) = (k - s.span2 - 1) * 5.0, s.bb_n(k) = f(k);
}

// "Smooth" with the text of the width box (0 or no number: 3.0, rewritten): a normalised kernel
// cut where its weight falls below 1e-5, at most 50 points; a constant stays constant where the
// kernel fits and the first and last KernelHalf points are 0 (a stale value is cleared).
TEST(SmoothCommand, KernelOfTheWidthAndEndsAreZero) {
    const struct { const char* text; int span; double width; const char* rewrite; int m; double k0; } cases[] = {
        {"0.5", 21, 0.5, nullptr, 2, 0.786571},   {"1", 201, 1, nullptr, 4, 0.398943},
        {"2", 201, 2, nullptr, 9, 0.199471},      {"3", 201, 3, nullptr, 14, 0.132981},
        {"5.0", 47, 5, nullptr, 23, 0.079789},    {"10", 201, 10, nullptr, 47, 0.039894},
        {"10.5", 201, 10.5, nullptr, 50, 0.037995}, {"40", 201, 40, nullptr, 50, 0.012573},
        {"-2", 201, -2, nullptr, 9, 0.199471},    {" 2x", 201, 2, nullptr, 9, 0.199471},
        {"3", 28, 3, nullptr, 14, 0.132981},      // 28: no full window
        {"", 201, 3, "3.0", 14, 0.132981},        {"0", 201, 3, "3.0", 14, 0.132981},
        {"1e-200", 21, 1e-200, nullptr, 0, 1.0},  // its square underflows: the identity kernel
    };
    for (const auto& c : cases) {
        AnalysisState s;
        setBf(s, c.span, [](int) { return 0.25; });
        s.bb_sm(c.span) = 7;
        const auto r = SmoothCommand(s, c.text);
        EXPECT_TRUE(s.SmoothWidth == c.width && s.KernelHalf == c.m && s.Smoothed) << "text '" << c.text << "'";
        EXPECT_EQ(r.value_or("none"), c.rewrite ? c.rewrite : "none") << "text '" << c.text << "'";
        EXPECT_NEAR(s.Kernel(0), c.k0, 5e-7) << "text '" << c.text << "'";
        double sum = s.Kernel(0);
        for (int i = 1; i <= s.KernelHalf; ++i) sum += 2 * s.Kernel(i);
        EXPECT_NEAR(sum, 1.0, 1e-14) << "text '" << c.text << "'";
        for (int k = 1; k <= c.span; ++k) {
            const bool end = k <= c.m || k > c.span - c.m;
            EXPECT_NEAR(s.bb_sm(k), end ? 0.0 : 0.25, end ? 0 : 1e-15) << "text '" << c.text << "' k " << k;
        }
    }
}

TEST(PeakCentroid, VertexOrNone) {
    const struct { const char* name; double xs[5], ys[5]; std::optional<double> vertex; } cases[] = {
        {"parabola", {6, 9, 12, 15, 18}, {-35, -8, 1, -8, -35}, 12.0},
        {"parabola, x descending", {18, 15, 12, 9, 6}, {-35, -8, 1, -8, -35}, 12.0},
        {"collinear", {2, 3, 4, 5, 6}, {3, 3.5, 4, 4.5, 5}, std::nullopt},
        {"all x equal", {3, 3, 3, 3, 3}, {2, 2, 2, 2, 2}, std::nullopt},
    };
    for (const auto& c : cases) {
        Vec x(10), y(10);
        for (int i = 1; i <= 5; ++i) x(i) = c.xs[i - 1], y(i) = c.ys[i - 1];
        EXPECT_EQ(Peak_centroid(x, y, 5), c.vertex) << c.name;
    }
}

// The BF click searches the unsmoothed BF and fits the five points around its maximum.
TEST(PeakSearch, CasesAroundTheClick) {
    const struct {
        const char* name;
        int k;
        std::vector<std::pair<int, double>> bumps;   // index, value over a flat BF of value base
        double base;
        int kc;                                      // expected centre index, 0 for no result
        double expect;                               // expected velocity when symmetric
    } cases[] = {   // velocities (k - 51) * 5 km/s on 101 points
        {"symmetric peak", 50, {{48, 0.5}, {49, 0.8}, {50, 1.0}, {51, 0.8}, {52, 0.5}}, 0, 50, -5.0},
        {"equal maxima: leftmost", 50, {{49, 1}, {50, 1}}, 0, 49, NAN},
        {"rising at right end", 50, {{56, 1}}, 0, 0, NAN},
        {"all below -999", 50, {}, -2000, 0, NAN},
        {"k below 10", 9, {{9, 1}}, 0, 0, NAN},
        {"lowest allowed k", 10, {{8, 0.5}, {9, 0.8}, {10, 1.0}, {11, 0.8}, {12, 0.5}}, 0, 10, -205.0},
        {"highest allowed k", 91, {{89, 0.5}, {90, 0.8}, {91, 1.0}, {92, 0.8}, {93, 0.5}}, 0, 91, 200.0},
    };
    for (const auto& c : cases) {
        AnalysisState s;
        setBf(s, 101, [&](int) { return c.base; });
        for (auto [k, v] : c.bumps) s.bb_n(k) = v;
        s.PeakResult = 42;
        const auto r = PeakSearch(s, c.k);
        EXPECT_EQ(r.has_value(), c.kc != 0) << c.name;
        EXPECT_EQ(s.PeakResult, r.value_or(42.0)) << c.name;
        if (!r) continue;
        EXPECT_TRUE(s.PkX(1) == s.vel_bb(c.kc + 2) && s.PkX(3) == s.vel_bb(c.kc) && s.PkX(5) == s.vel_bb(c.kc - 2))
            << c.name;
        if (!std::isnan(c.expect)) {
            EXPECT_NEAR(*r, c.expect, 1e-9) << c.name;
        }
    }
    AnalysisState s;   // the smoothed curve peaks to the right of the raw maximum at 50
    setBf(s, 101, [](int k) { return k == 50 ? 1.0 : 0.0; });
    for (int k = 1; k <= 101; ++k) s.bb_sm(k) = -0.01 * (k - 53.5) * (k - 53.5);
    s.Smoothed = true;
    EXPECT_NEAR(PeakSearch(s, 55).value_or(0), (53.5 - 51) * 5, 1e-9);
    EXPECT_TRUE(s.PkX(3) == s.vel_bb(50) && s.PkY(3) == s.bb_sm(50));
}

// The CCF click: the search and the parabola read only the lags -N..N that were computed,
// whatever the arrays hold beyond them.
TEST(CcfPeakSearch, ClicksNearTheEndsReadOnlyComputedLags) {
    constexpr int n = 20;
    const struct {
        const char* name;
        int click;
        std::vector<std::pair<int, double>> values;   // lag, CCF value over 0 elsewhere
        std::optional<double> velocity;               // 10 km/s per lag
    } cases[] = {
        {"symmetric peak", 0, {{1, 0.5}, {2, 0.8}, {3, 1}, {4, 0.8}, {5, 0.5}}, 30.0},
        {"maximum on the edge of the window", 0, {{6, 1}}, std::nullopt},
        {"closer than 5 lags to the end", -n + 4, {{-n + 4, 1}, {-n + 3, 0.5}, {-n + 5, 0.5}}, std::nullopt},
        {"five points not all computed", -n + 5, {{-n + 1, 1}}, std::nullopt},
        {"a stale value beyond -N is not read", -n + 5,
         {{-n - 1, 5}, {-n, 0.5}, {-n + 1, 0.8}, {-n + 2, 1}, {-n + 3, 0.8}, {-n + 4, 0.5}}, -180.0},
        {"a stale value beyond N is not read", n - 5,
         {{n + 1, 5}, {n, 0.5}, {n - 1, 0.8}, {n - 2, 1}, {n - 3, 0.8}, {n - 4, 0.5}}, 180.0},
    };
    for (const auto& c : cases) {
        SymVec cc(lim::kMaxLag), vel(lim::kMaxLag);
        for (int i = -n - 1; i <= n + 1; ++i) vel(i) = 10.0 * i;
        for (auto [lag, v] : c.values) cc(lag) = v;
        Vec px(5), py(5);
        const auto r = CcfPeakSearch(vel, cc, n, c.click, px, py);
        ASSERT_EQ(r.has_value(), c.velocity.has_value()) << c.name;
        EXPECT_NEAR(r.value_or(0), c.velocity.value_or(0), 1e-9) << c.name;
    }
}

}  // namespace
}  // namespace tessan
