// The starting width of the batch driver's Gaussians: the half width at half height, else 2 delV.
#include <gtest/gtest.h>

#include <algorithm>

#include "numeric/GaussComponents.h"

// 41 points every 2 km/s with a triangle of height h at point c, its feet bl and br km/s to the
// left and right: the linear interpolation finds its half height exactly.
TEST(GaussStartWidth, HalfWidthAtHalfHeightElseTwoSteps) {
    const struct { const char* name; int c; double bl, br, h, want; } cases[] = {
        {"symmetric", 22, 10, 10, 1, 5},
        {"slopes differ", 21, 6, 14, 0.5, 5},
        {"left half height beyond point 1", 3, 10, 10, 1, 4},
        {"right half height beyond point 41", 39, 10, 10, 1, 4},
        {"height not positive", 21, 10, 10, -1, 4},
    };
    for (const auto& c : cases) {
        tessan::Vec x(41), y(41);
        for (int i = 1; i <= 41; ++i) {
            const double d = (i - c.c) * 2.0;
            x(i) = (i - 21) * 2.0, y(i) = c.h * std::max(0.0, 1 - (d < 0 ? -d / c.bl : d / c.br));
        }
        EXPECT_DOUBLE_EQ(tessan::GaussStartWidth(x, y, 41, c.c, 2.0), c.want) << c.name;
    }
}
