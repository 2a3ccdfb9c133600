// The CCF click: the 13-lag search and the five-point parabola read only the lags -N..N that
// were computed, whatever the arrays hold beyond them.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "numeric/Peak.h"
#include "state/Limits.h"

namespace tessan {
namespace {

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
