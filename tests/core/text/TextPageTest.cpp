// The viewers' pixel line and paging: scroll range, page printed, a header's fitting height.
#include <gtest/gtest.h>

#include "text/TextPage.h"

namespace tessan {
namespace {

TEST(TextPage, PixelLine) {
    EXPECT_EQ(PixelLine(1, 5000.0, 0.9876), "   1    5000.000   .9876");
    EXPECT_EQ(PixelLine(12345, 6562.8125, -3), "12345    6562.813  -3");
}

// n lines in a window of height h: range, bar, page around v.
TEST(TextPage, RangeAndPage) {
    const int h48 = 560 + 48 * 1945 / 10;   // exactly L = 48
    const struct { int n, h, lines, min, max, large; bool bar; int v, first, last; } cases[] = {
        {3000, h48, 48, 24, 2976, 47, true, 2976, 2952, 3000},
        {3000, h48, 48, 24, 2976, 47, true, 24, 1, 49},
        {3000, 10000, 48, 24, 2976, 47, true, 2976, 2952, 3000},   // L = 48.5: 48 for the range, 49 printed
        {20, 4450, 20, 10, 10, 19, true, 10, 1, 20},              // the header shrunk to its 20 cards
        {20, 10000, 48, 24, 24, 47, true, 24, 1, 20},
        {0, 10000, 48, 24, 24, 47, false, 24, 1, 0},               // no lines: empty page, no bar
        {0, 560, 1, 0, 0, 1, false, 0, 1, 0},
        {50, 700, 1, 0, 50, 1, false, 0, 1, 0},                    // too small for one line
        {50, 100, 1, 0, 50, 1, false, 0, 1, 0},
        {50, 755, 1, 0, 50, 1, true, 50, 50, 50},
    };
    for (const auto& c : cases) {
        const ScrollRange r = PageRange(c.n, c.h);
        EXPECT_EQ(r.lines, c.lines) << "n " << c.n << " h " << c.h;
        EXPECT_EQ(r.min, c.min) << "n " << c.n << " h " << c.h;
        EXPECT_EQ(r.max, c.max) << "n " << c.n << " h " << c.h;
        EXPECT_EQ(r.smallChange, 1);
        EXPECT_EQ(r.largeChange, c.large) << "n " << c.n << " h " << c.h;
        EXPECT_EQ(r.bar, c.bar) << "n " << c.n << " h " << c.h;
        const PageLines p = PageAround(c.v, c.n, c.h);
        EXPECT_EQ(p.first, c.first) << "n " << c.n << " h " << c.h << " v " << c.v;
        EXPECT_EQ(p.last, c.last) << "n " << c.n << " h " << c.h << " v " << c.v;
    }
}

TEST(TextPage, HeaderFitsItsCards) {
    EXPECT_EQ(FitHeight(20), 4450);
    EXPECT_EQ(FitHeight(1), 755);   // 754.5 holds no line: up
    const struct { int n, h; bool spare; } cases[] = {
        {20, 10000, true}, {20, 4450, false}, {20, 4440, false}, {48, 10000, false}, {0, 10000, false}, {1, 100, false}};
    for (const auto& c : cases) EXPECT_EQ(HasSpareLines(c.n, c.h), c.spare) << "n " << c.n << " h " << c.h;
}

}  // namespace
}  // namespace tessan
