// The grid that the main window proposes after a standard read.
#include <gtest/gtest.h>

#include <string>

#include "io/FitsReader.h"
#include "text/NumText.h"

namespace tessan {

namespace {

TEST(ProposeGrid, TextsFromTheStandard) {
    struct Case {
        double blue, red, delV;
        std::string minWave, maxWave, delVText;
    };
    const Case cases[] = {
        {5000, 5100, 5, "5010", "5089", "   5.0"},
        {4000.5, 4001, 18, "4008", "3992", "  18.0"},
        {6562.8, 6700, 12, "6575", "6686", "  12.0"},
        {0.4, 0.9, 0, "0", "0", "   0.0"},
        {-0.4, 1, 0, "0", "0", "   0.0"},   // never "-0"
    };
    for (const auto& c : cases) {
        AnalysisState s;
        s.WaveL_B_Std = c.blue;
        s.WaveL_R_Std = c.red;
        s.delV = c.delV;
        const GridProposal g = ProposeGrid(s);
        EXPECT_EQ(g.minWave, c.minWave) << c.blue;
        EXPECT_EQ(g.maxWave, c.maxWave) << c.red;
        EXPECT_EQ(g.delV, c.delVText) << c.delV;
    }
}

}  // namespace
}  // namespace tessan
