// The BF plot: the worked example of 201 points of 3 km/s, dots and smoothing, the model curves
// on the frame of the BF shown, and the click's point.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

#include "plot/Plots.h"

namespace tessan::plot {
namespace {

// A BF of 201 points of 3 km/s, a Gaussian of height 0.02 at +30 km/s over a floor of -0.002,
// and a smoothed copy of half its height.
std::unique_ptr<AnalysisState> shownBf() {
    auto s = std::make_unique<AnalysisState>();
    s->bbShown = {201, 100, 3.0, "std.fts", "HD 1", "pro.fts", "V 2", 1};
    for (int k = 1; k <= 201; ++k) {
        s->vel_bb(k) = s->bbShown.Velocity(k);
        s->bb_n(k) = 0.02 * std::exp(-std::pow((s->vel_bb(k) - 30) / 20, 2)) - 0.002;
        s->bb_sm(k) = s->bb_n(k) / 2;
    }
    return s;
}

int count(const DrawGroup& g, DrawOp::Kind kind) {
    int n = 0;
    for (const DrawOp& op : g.ops) n += op.kind == kind;
    return n;
}

TEST(BfPlot, WorkedExampleLabelsDotsAndSmoothing) {
    auto s = shownBf();
    Drawing d = Plot_bb(*s, 8000, 8000);
    const FrameRecord& f = d.frame;
    EXPECT_EQ(std::make_tuple(f.Left, f.Top, f.Right, f.Bottom, f.Xmin, f.Xmax), std::make_tuple(500, 242, 7585, 4450, -300.0, 300.0));
    // Ticks every 100 km/s: seven grey lines across the frame, plus the horizontal ones.
    int vertical = 0;
    for (const DrawOp& op : d.Find("grid")->ops) vertical += op.colour == kGridGrey && op.x1 == op.x2;
    EXPECT_EQ(vertical, 7);
    struct Want { int id; const char* caption; int left, top; bool shown; };
    for (const Want& w : {Want{1, "-300", 300, 4500, true}, {2, " 300", 7385, 4500, true}, {3, "0", 3963, 4500, true},
                          {5, kVelocityTitle, 4400, 4700, true}, {6, "  0", 0, int(std::lround(f.Y(0) - 100)), true}}) {
        const PlotLabel* l = d.Label(w.id);
        ASSERT_TRUE(l) << w.id;
        EXPECT_EQ(std::make_tuple(l->caption, l->left, l->top, l->shown), std::make_tuple(std::string(w.caption), w.left, w.top, w.shown)) << w.id;
    }
    EXPECT_EQ(d.Label(4)->caption, "0.01");   // range 0.02: step 0.01
    EXPECT_EQ(d.Label(13)->caption, "pro.fts");
    // Unsmoothed: 200 segments and a grey disc of radius 30 at the end of each, none on point 1.
    const DrawGroup& data = *d.Find("data");
    EXPECT_EQ(d.groups.back().name, "data");   // over the grid
    EXPECT_EQ(count(data, DrawOp::Kind::Line), 200);
    EXPECT_EQ(count(data, DrawOp::Kind::Circles), 200);
    EXPECT_EQ(data.ops[1], (DrawOp{DrawOp::Kind::Circles, f.X(-297), f.Y(s->bb_n(2)), 1, 30, kDotGrey}));
    // Smoothed: no dots, and the value axis spans the smoothed curve.
    s->Smoothed = true;
    d = Plot_bb(*s, 8000, 8000);
    EXPECT_EQ(count(*d.Find("data"), DrawOp::Kind::Circles), 0);
    EXPECT_DOUBLE_EQ(d.frame.Ymax, 0.009);
    EXPECT_DOUBLE_EQ(d.frame.Ymin, s->bb_sm(1));
}

TEST(BfPlot, ModelCurvesOnTheFrameShown) {
    auto s = shownBf();
    s->Smoothed = true;
    const FrameRecord f = Plot_bb(*s, 8000, 8000).frame;
    s->PeakXo[2] = 30, s->PeakWidth[2] = 20, s->PeakHeight[2] = 0.009;
    const std::optional<DrawGroup> g = Draw_gauss(*s, f, 2);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->name, "star2");
    EXPECT_EQ(g->ops.size(), 200u);
    EXPECT_TRUE(s->Drawn[2]);
    // Point 111 (+30 km/s) is the top of the smoothed frame.
    EXPECT_EQ(g->ops[109].colour, (Rgb{255, 0, 0}));
    EXPECT_NEAR(g->ops[109].y2, f.Top, 1e-9);
    s->PeakWidth[3] = 0;   // a zero width draws nothing
    EXPECT_FALSE(Draw_gauss(*s, f, 3));
    EXPECT_FALSE(s->Drawn[3]);
}

TEST(BfPlot, ClickPoints) {
    FrameRecord f = FrameLayout(PlotKind::Bf, 8000, 8000);
    auto x = [&](double k) { return f.Left + (k - 1) / 201 * f.PW(); };
    struct Case { double x, y; std::optional<int> k; };
    const Case cases[] = {
        {x(9), 1000, std::nullopt}, {x(10), 1000, 10}, {x(9.5), 1000, 10}, {x(10.5), 1000, 10}, {x(191), 1000, 191},
        {x(192), 1000, std::nullopt}, {x(100), double(f.Bottom), 100}, {x(100), f.Bottom + 1.0, std::nullopt}, {x(100), f.Top - 1.0, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(BfClickPoint(f, 201, c.x, c.y), c.k) << "x " << c.x << " y " << c.y;
    f.Right = f.Left;   // a collapsed frame takes no click
    EXPECT_EQ(BfClickPoint(f, 201, f.Left, 1000), std::nullopt);
}

}  // namespace
}  // namespace tessan::plot
