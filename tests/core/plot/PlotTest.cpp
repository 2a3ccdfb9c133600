// The plot core: tick steps and ranges, frames, maps and inside tests, the drawings and labels
// of the spectrum, singular-value, CCF and BF plots, the BF's model curves and click points, and
// the degenerate data every plot survives.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

#include "plot/Plots.h"

namespace tessan::plot {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PlotScale, TickSteps) {
    struct Case { double R; AxisKind kind; float step; };
    const Case cases[] = {
        {1000, AxisKind::X, 200}, {1000, AxisKind::Y, 200}, {499, AxisKind::X, 50}, {499, AxisKind::Y, 100},
        {1200, AxisKind::X, 200}, {350, AxisKind::X, 50}, {800, AxisKind::X, 100}, {200, AxisKind::X, 50},
        {5.397940, AxisKind::Y, 1}, {45000, AxisKind::Y, 10000}, {123456, AxisKind::Y, 20000},
        {0.01, AxisKind::Y, 0.001f}, {0.05, AxisKind::X, 0.01f},
        {0, AxisKind::X, 0}, {-5, AxisKind::Y, 0}, {kInf, AxisKind::X, 0}, {kNaN, AxisKind::X, 0}, {1e-300, AxisKind::X, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TickStep(c.R, c.kind), c.step) << "range " << c.R;
}

TEST(PlotScale, TickRanges) {
    // From, to, kind; then the first and last tick value and the number of ticks.
    struct Case { double from, to; AxisKind kind; float first, last; std::int64_t count; };
    const Case cases[] = {
        {4000, 5200, AxisKind::X, 4000, 5200, 7}, {5200, 4000, AxisKind::X, 4000, 5200, 7},
        {4000.5, 4350.5, AxisKind::X, 4050, 4350, 7}, {1, 201, AxisKind::X, 50, 200, 4},
        {-2.69897, 2.69897, AxisKind::Y, -2, 2, 5}, {0, 45000, AxisKind::Y, 0, 40000, 5},
        {0, 123456, AxisKind::Y, 0, 120000, 7}, {1, 10, AxisKind::X, 1, 10, 10},
        // Indexes far beyond 16 bits (150200, 400000). The products are single precision:
        // 150210 x 0.001 lies above 150.21 there, so the last tick is 150.209.
        {150.2, 150.21, AxisKind::Y, 150.2f, 150.209f, 10}, {4000.0, 4000.05, AxisKind::X, 4000, 4000.05f, 6},
    };
    for (const Case& c : cases) {
        const Ticks t = AxisTicks({c.from, c.to}, c.kind);
        EXPECT_FLOAT_EQ(t.Value(t.i0), c.first) << "range " << c.from << ".." << c.to;
        EXPECT_FLOAT_EQ(t.Value(t.i1), c.last) << "range " << c.from << ".." << c.to;
        EXPECT_EQ(t.i1 - t.i0 + 1, c.count) << "range " << c.from << ".." << c.to;
    }
    EXPECT_TRUE(TickIndexes(1e300, 1e300 + 1e290, 1).empty());   // indexes beyond 64 bits
    const Ticks cut = TickIndexes(0, 1e9, 1);                      // a step far below the range
    EXPECT_EQ(cut.i1 - cut.i0 + 1, kMaxTicks);
}

TEST(PlotScale, FramesMapsAndInsideTests) {
    struct Case { PlotKind kind; int left, bottom; };
    const Case cases[] = {{PlotKind::Spectrum, 900, 6150}, {PlotKind::Singular, 500, 6150},
                          {PlotKind::Bf, 500, 4450}, {PlotKind::Ccf, 500, 5850}};
    for (const Case& c : cases) {
        FrameRecord f = FrameLayout(c.kind, 8000, 8000);
        EXPECT_EQ(std::tuple(f.Left, f.Top, f.Right, f.Bottom), std::tuple(c.left, 242, 7585, c.bottom));
        f.Xmin = -450.5, f.Xmax = 450.5, f.Ymin = 0.25, f.Ymax = -3;   // an inverted value axis too
        for (double u : {-450.5, -17.3, 0.0, 450.5}) EXPECT_NEAR(f.U(f.X(u)), u, 1e-12);
        for (double v : {0.25, -1.0, -3.0}) EXPECT_NEAR(f.V(f.Y(v)), v, 1e-14);
        EXPECT_EQ(std::tuple(f.X(-450.5), f.Y(-3)), std::tuple(double(f.Left), double(f.Top)));
    }
    // Readout: right and bottom edges outside; click: edges inside, never on a collapsed frame.
    const FrameRecord f = FrameLayout(PlotKind::Ccf, 8000, 8000);
    struct Point { double x, y; bool readout, click; };
    const Point points[] = {{500, 242, true, true}, {7584, 5849, true, true}, {7585, 1000, false, true},
                            {1000, 5850, false, true}, {499, 1000, false, false}, {1000, 5851, false, false}};
    for (const Point& p : points) {
        EXPECT_EQ(InsideReadout(f, p.x, p.y), p.readout) << p.x << "," << p.y;
        EXPECT_EQ(InsideClick(f, p.x, p.y), p.click) << p.x << "," << p.y;
    }
    const FrameRecord narrow = FrameLayout(PlotKind::Ccf, 915, 2392);   // Right = Left, Bottom = Top
    EXPECT_FALSE(InsideReadout(narrow, 500, 242) || InsideClick(narrow, 500, 242) || CcfClickLag(narrow, 150, 500, 242));
}

AnalysisState& state() {
    static AnalysisState s;   // one allocation for the cases below; each sets what it plots
    return s;
}

std::string caption(const Drawing& d, int id) {
    const PlotLabel* l = d.Label(id);
    return l ? (l->shown ? l->caption : "(hidden)") : "(none)";
}

// A spectrum of n pixels from b to r Angstrom, pixel values value(i).
Drawing spectrum(int n, double b, double r, const std::function<double(int)>& value, int W = 13755, int H = 5250) {
    AnalysisState& s = state();
    s.nPixStd = n, s.WaveL_B_Std = b, s.WaveL_R_Std = r;
    s.StdFileName = "std.fts", s.StdObject = "HD 1";
    for (int i = 1; i <= n; ++i) s.Pixval(i) = value(i);
    return Plot_Spectr(ConstStarView(s, Star::Std), W, H);
}

TEST(Plots, SpectrumLabelsAndData) {
    struct Case { double b, r, max; const char *l1, *l2, *l4, *l8, *l6; };
    const Case cases[] = {
        {4000, 5200, 45000, " 4000", " 5200", "40000.", "    0.", "10000"},
        {4000.5, 4350.5, 123456, " 4050", " 4350", "0.e+06", "    0.", "20000"},
    };
    for (const Case& c : cases) {
        const Drawing d = spectrum(1201, c.b, c.r, [&](int i) { return i == 600 ? c.max : c.max * (i % 7) / 10; });
        const FrameRecord& f = d.frame;
        const std::string got[] = {caption(d, 1), caption(d, 2), caption(d, 4), caption(d, 8), caption(d, 6),
                                   caption(d, 3), caption(d, 12), caption(d, 14)};
        const std::string want[] = {c.l1, c.l2, c.l4, c.l8, c.l6, kSpectrumTitle, "std.fts", "HD 1"};
        for (int k = 0; k < 8; ++k) EXPECT_EQ(got[k], want[k]) << "range " << c.b << ", label " << k;
        EXPECT_EQ(std::tuple(d.Label(1)->top, d.Label(3)->left, d.Label(3)->top), std::tuple(5250 - 1800, 8253, 5250 - 1600));
        const DrawGroup& data = *d.Find("data");
        ASSERT_EQ(data.ops.size(), 1200u);
        // The first pixel on the left edge, the last on the right, the maximum (pixel 600) at the top.
        EXPECT_EQ(std::tuple(data.ops.front().x1, data.ops.back().x2, data.ops[598].y2), std::tuple(f.Left, f.Right, f.Top));
        EXPECT_EQ(f.Ymin, 0);
    }
    // 4000..5200: the first and last grid lines lie on the frame edges; the grid is drawn last.
    const Drawing d = spectrum(1201, 4000, 5200, [](int i) { return i; });
    const DrawGroup& grid = *d.Find("grid");
    EXPECT_EQ(std::tuple(grid.ops.front().x1, grid.ops[3 * 6].x1, d.groups.back().name),
              std::tuple(double(d.frame.Left), double(d.frame.Right), "grid"));
}

TEST(Plots, SingularValues) {
    AnalysisState& s = state();
    for (int i = 1; i <= 201; ++i) {
        s.Order_n(i) = i;
        s.ww(i) = 500 * std::pow(0.002 / 500, (i - 1) / 200.0);
    }
    Drawing d = Plot_ww(s, 201, s.Order_n, s.ww, false, true, 8000, 8000);
    for (auto [id, want] : {std::pair{8, " -2.0"}, {4, "  2.0"}, {6, " 1"}, {1, " 50"}, {2, " 200"}, {3, kOrderTitle}})
        EXPECT_EQ(caption(d, id), want) << "Label" << id;
    EXPECT_EQ(caption(d, kLeftOutLabel), "(hidden)");
    EXPECT_EQ(d.Find("data")->ops.size(), 201u);
    EXPECT_NEAR(d.frame.Ymax, std::log10(500.0), 1e-12);
    EXPECT_EQ(std::pair(CursorOrder(d.frame, 201, d.frame.Left), CursorOrder(d.frame, 201, d.frame.Right - 1)), std::pair(1, 201));
    // Values without a logarithm are left out and counted; the order axis stays 1..201.
    s.ww(7) = 0, s.ww(8) = -1, s.ww(201) = kNaN;
    d = Plot_ww(s, 201, s.Order_n, s.ww, false, true, 8000, 8000);
    EXPECT_EQ(caption(d, kLeftOutLabel), "Not plotted: 3 (no logarithm or not finite)");
    EXPECT_EQ(d.Find("data")->ops.size(), 198u);
    EXPECT_EQ(d.frame.Xmax, 201);
    // With ten orders the step is 1 and order 1 carries the first label.
    EXPECT_EQ(caption(Plot_ww(s, 10, s.Order_n, s.ww, false, false, 8000, 8000), 1), " 1");
}

// A CCF of lags -n..n, velocity 3 km/s per lag from v0, values value(i).
Drawing ccf(int n, const std::function<double(int)>& value, double v0 = 0, int W = 8000, int H = 8000) {
    AnalysisState& s = state();
    s.ccN = n;
    s.StdFileName = "std.fts", s.ProFileName = "pro.fts", s.StdObject = "HD 1", s.ProObject = "BIN";
    for (int i = -n; i <= n; ++i) s.vel_cc(i) = v0 + 3.0 * i, s.cc(i) = value(i);
    return Plot_CC(s, W, H);
}

TEST(Plots, CcfLabelsAndClicks) {
    const int N = 150;
    const Drawing d = ccf(N, [](int i) { return 0.9 - std::pow((i + 2) / 60.0, 2); });
    const FrameRecord& f = d.frame;
    EXPECT_EQ(d.groups.back().name, "data");
    EXPECT_EQ(d.Find("data")->ops.size(), 2u * 2 * N);   // a line and a ring per lag but the first
    for (auto [id, want] : {std::pair{1, "-400"}, {2, " 400"}, {3, "0"}, {6, "  0"}, {5, kVelocityTitle},
                            {10, "std.fts"}, {11, "HD 1"}, {13, "pro.fts"}, {14, "BIN"}})
        EXPECT_EQ(caption(d, id), want) << "Label" << id;
    EXPECT_EQ(std::tuple(d.Label(3)->left, d.Label(6)->top, d.Label(1)->top),
              std::tuple(std::lround(f.X(0) - 80), std::lround(f.Y(0) - 100), 8000 - 2100));
    EXPECT_EQ(CcfClickLag(f, N, (f.Left + f.Right) / 2.0, 1000), 0);
    EXPECT_EQ(CcfClickLag(f, N, f.Right, f.Bottom), N);
    for (int lag : {-N, -N + 4, 3})
        EXPECT_EQ(CcfClickLag(f, N, f.Left + (lag + N) * double(f.PW()) / (2 * N), 1000), lag);
    // Zero outside both ranges: neither "0" label is shown.
    const Drawing far = ccf(N, [](int i) { return 150.2 + 0.01 * (i + N) / (2 * N); }, 1000);
    EXPECT_EQ(caption(far, 3), "(hidden)");
    EXPECT_EQ(caption(far, 6), "(hidden)");
    EXPECT_TRUE(far.Label(4)->shown);
}

// A BF of 201 points of 3 km/s, a Gaussian of height 0.02 at +30 km/s over a floor of -0.002,
// and a smoothed copy of half its height.
TEST(Plots, BfLabelsDotsSmoothingAndModelCurves) {
    AnalysisState& s = state();
    s.bbShown = {201, 100, 3.0, "std.fts", "HD 1", "pro.fts", "V 2", 1};
    for (int k = 1; k <= 201; ++k) {
        s.vel_bb(k) = s.bbShown.Velocity(k);
        s.bb_n(k) = 0.02 * std::exp(-std::pow((s.vel_bb(k) - 30) / 20, 2)) - 0.002;
        s.bb_sm(k) = s.bb_n(k) / 2;
    }
    s.Smoothed = false;
    Drawing d = Plot_bb(s, 8000, 8000);
    const FrameRecord f = d.frame;
    EXPECT_EQ(std::pair(f.Xmin, f.Xmax), std::pair(-300.0, 300.0));
    for (auto [id, want] : {std::pair{1, "-300"}, {2, " 300"}, {3, "0"}, {4, "0.01"}, {5, kVelocityTitle}, {6, "  0"}, {13, "pro.fts"}})
        EXPECT_EQ(caption(d, id), want) << "Label" << id;
    int vertical = 0;   // ticks every 100 km/s
    for (const DrawOp& op : d.Find("grid")->ops) vertical += op.colour == kGridGrey && op.x1 == op.x2;
    EXPECT_EQ(vertical, 7);
    // Unsmoothed: 200 segments and a grey disc of radius 30 at the end of each, drawn over the grid.
    const DrawGroup& data = *d.Find("data");
    EXPECT_EQ(std::pair(data.ops.size(), d.groups.back().name), std::pair(std::size_t(400), std::string("data")));
    EXPECT_EQ(data.ops[1], (DrawOp{DrawOp::Kind::Circles, f.X(-297), f.Y(s.bb_n(2)), 1, 30, kDotGrey}));
    s.Smoothed = true;   // no dots, and the value axis spans the smoothed curve
    d = Plot_bb(s, 8000, 8000);
    EXPECT_EQ(d.Find("data")->ops.size(), 200u);
    EXPECT_TRUE(std::fabs(d.frame.Ymax - 0.009) < 1e-15 && std::fabs(d.frame.Ymin - s.bb_sm(1)) < 1e-15);
    // A model curve on the frame shown: point 111 (+30 km/s) at its top; a zero width draws nothing.
    s.PeakXo[2] = 30, s.PeakWidth[2] = 20, s.PeakHeight[2] = 0.009, s.PeakWidth[3] = 0, s.Drawn = {};
    const std::optional<DrawGroup> g = Draw_gauss(s, d.frame, 2);
    ASSERT_TRUE(g && s.Drawn[2]);
    EXPECT_EQ(std::tuple(g->name, g->ops.size(), g->ops[109].colour), std::tuple(std::string("star2"), std::size_t(200), Rgb{255, 0, 0}));
    EXPECT_NEAR(g->ops[109].y2, d.frame.Top, 1e-9);
    EXPECT_FALSE(Draw_gauss(s, d.frame, 3) || s.Drawn[3]);
}

TEST(Plots, BfClickPoints) {
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

// Every plot of degenerate data draws its frame and only finite operations, with a usable
// frame record, whatever the window size.
TEST(Plots, DegenerateData) {
    auto spec = [](int n, double b, double r, double v, int W = 13755, int H = 5250) {
        return spectrum(n, b, r, [v](int i) { return i == 2 ? kNaN : v * i; }, W, H);
    };
    struct Case { const char* what; std::function<Drawing()> plot; };
    AnalysisState& s = state();
    const Case cases[] = {
        {"one pixel, R = B", [&] { return spec(1, 5000, 5000, 1); }},
        {"all-zero spectrum", [&] { return spec(500, 4000, 5000, 0); }},
        {"negative spectrum", [&] { return spec(500, 4000, 5000, -1e30); }},
        {"inverted wavelengths", [&] { return spec(500, 5200, 4000, 1); }},
        {"4000.00-4000.05 A", [&] { return spec(6, 4000.0, 4000.05, 1); }},
        {"infinite wavelength", [&] { return spec(100, -kInf, 4000, 1); }},
        {"huge values", [&] { return spec(100, 4000, 5000, 1e307); }},
        {"tiny window", [&] { return spec(100, 4000, 5000, 1, 500, 500); }},
        {"span 1", [&] { return Plot_ww(s, 1, s.Order_n, s.ww, false, true, 8000, 8000); }},
        {"all ww zero", [&] { s.ww.fill(0); return Plot_ww(s, 201, s.Order_n, s.ww, false, true, 8000, 8000); }},
        {"CCF of 0 lags", [&] { return ccf(0, [](int) { return 1.0; }); }},
        {"constant CCF", [&] { return ccf(40, [](int) { return 0.0; }); }},
        {"CCF with NaN, inf", [&] { return ccf(40, [](int i) { return i == 3 ? kNaN : i == 4 ? kInf : i; }); }},
        {"CCF 150.2-150.21", [&] { return ccf(40, [](int i) { return 150.2 + 0.01 * (i + 40) / 80; }); }},
        {"CCF, tiny window", [&] { return ccf(40, [](int i) { return i; }, 0, 900, 900); }},
    };
    for (const Case& c : cases) {
        const Drawing d = c.plot();
        const FrameRecord& f = d.frame;
        ASSERT_TRUE(d.Find("frame")) << c.what;
        EXPECT_EQ(d.Find("frame")->ops.size(), 4u) << c.what;
        EXPECT_TRUE(std::isfinite(f.Xmax - f.Xmin) && f.Xmax != f.Xmin) << c.what;
        EXPECT_TRUE(std::isfinite(f.Ymax - f.Ymin) && f.Ymax != f.Ymin) << c.what;
        std::size_t ops = 0;
        for (const DrawGroup& g : d.groups)
            for (const DrawOp& op : g.ops) {
                ++ops;
                for (double v : {op.x1, op.y1, op.x2, op.y2})
                    EXPECT_TRUE(std::isfinite(v) && std::fabs(v) <= kFarTwips) << c.what;
            }
        EXPECT_LT(ops, 20000u) << c.what;
        for (const PlotLabel& l : d.labels)
            if (l.placed) {
                EXPECT_TRUE(l.left >= 0 && l.left <= d.W && l.top >= 0 && l.top <= d.H) << c.what;
            }
    }
}

}  // namespace
}  // namespace tessan::plot
