// The help layout: the estimate for two and five paragraphs, a narrow window laid out at the
// minimum width, 16-bit saturation, and the stacking of measured heights (from Top 600).
#include <gtest/gtest.h>

#include "plot/HelpLayout.h"

namespace tessan::plot {
namespace {

TEST(HelpLayout, EstimateAndStack) {
    struct Case { bool stack; int W; std::vector<int> in; int labelWidth; std::vector<int> tops; int height; };
    const Case cases[] = {
        {false, 10000, {600, 500}, 9500, {500, 1847}, 3450}, {false, 5000, {600, 500}, 4500, {500, 2900}, 5100},
        {false, 10000, {600, 500, 400, 700, 300}, 9500, {500, 1847, 3036, 4068, 5573}, 6750},
        {false, 0, {600, 500}, 4000, {500, 3150}, 5467}, {false, 500, {600, 500}, 4000, {500, 3150}, 5467},
        {false, 4500, {3000, 3000, 3000, 3000, 3000}, 4000, {500, 12150, 23800, 32767, 32767}, 32767},
        {false, -9000, {}, 4000, {}, 1000}, {true, 10000, {300, 1260}, 9500, {600, 1300}, 2560},
        {true, 100, {-5, 30000, 30000}, 4000, {600, 1000, 31400}, 32767},
    };
    for (const Case& c : cases) {
        const HelpLayout l = c.stack ? HelpStack(c.W, 600, c.in) : HelpEstimate(c.W, c.in);
        EXPECT_TRUE(l.labelWidth == c.labelWidth && l.tops == c.tops && l.height == c.height)
            << "W " << c.W << ", " << c.in.size() << " paragraphs: " << l.labelWidth << " " << l.height;
    }
}

}  // namespace
}  // namespace tessan::plot
