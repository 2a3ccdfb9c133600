// The viewers' pixel line and paging: scroll range, page printed, a header's fitting height.
#include <gtest/gtest.h>

#include <vector>

#include "text/TextPage.h"

namespace tessan {
namespace {

// n lines in a window of height h: range, bar, page around v; spare room for a header.
TEST(TextPage, RangePageAndFit) {
    EXPECT_EQ(PixelLine(1, 5000.0, 0.9876), "   1    5000.000   .9876");
    EXPECT_EQ(PixelLine(12345, 6562.8125, -3), "12345    6562.813  -3");
    const int h48 = 560 + 48 * 1945 / 10;   // exactly L = 48; 10000 is 48.5: 48 for the range, 49 printed
    const struct { int n, h, min, max, large; bool bar; int v, first, last; bool spare; } cases[] = {
        {3000, h48, 24, 2976, 47, true, 2976, 2952, 3000, false}, {3000, h48, 24, 2976, 47, true, 24, 1, 49, false},
        {3000, 10000, 24, 2976, 47, true, 2976, 2952, 3000, false}, {20, 4450, 10, 10, 19, true, 10, 1, 20, false},
        {20, 10000, 24, 24, 47, true, 24, 1, 20, true}, {0, 10000, 24, 24, 47, false, 24, 1, 0, false},
        {0, 560, 0, 0, 1, false, 0, 1, 0, false}, {50, 700, 0, 50, 1, false, 0, 1, 0, false},
        {50, 100, 0, 50, 1, false, 0, 1, 0, false}, {50, 755, 0, 50, 1, true, 50, 50, 50, false},
    };
    for (const auto& c : cases) {
        const ScrollRange r = PageRange(c.n, c.h);
        const PageLines p = PageAround(c.v, c.n, c.h);
        EXPECT_EQ((std::vector<int>{r.min, r.max, r.smallChange, r.largeChange, r.bar, p.first, p.last, HasSpareLines(c.n, c.h)}),
                  (std::vector<int>{c.min, c.max, 1, c.large, c.bar, c.first, c.last, c.spare}))
            << "n " << c.n << " h " << c.h << " v " << c.v;
    }
    EXPECT_EQ((std::vector<int>{FitHeight(20), FitHeight(1), HasSpareLines(20, 4440)}), (std::vector<int>{4450, 755, 0}));
}

}  // namespace
}  // namespace tessan
