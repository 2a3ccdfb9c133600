#include "plot/Plots.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "numeric/Bf.h"
#include "numeric/GaussFit.h"
#include "numeric/Peak.h"
#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan::plot {

namespace {

constexpr int kTickMark = 100;   // twips of a tick mark inside the frame
constexpr Rgb kFrameColour = kBlack;

// The smallest and largest finite values of a sequence, from the starting extremes of the
// plot procedures (a value replaces one only when strictly smaller or larger).
struct Extremes {
    double lo, hi;
    bool any = false;
    void add(double v) {
        if (!std::isfinite(v)) return;
        any = true;
        if (v < lo) lo = v;
        if (v > hi) hi = v;
    }
};

Drawing start(PlotKind kind, int W, int H, const AxisRange& x, const AxisRange& y) {
    Drawing d;
    d.W = W;
    d.H = H;
    d.frame = FrameLayout(kind, W, H);
    d.frame.Xmin = x.from;
    d.frame.Xmax = x.to;
    d.frame.Ymin = y.from;
    d.frame.Ymax = y.to;
    // The frame: four lines, clockwise from the top left corner.
    const FrameRecord& f = d.frame;
    DrawGroup& g = d.Group("frame");
    g.Line(f.Left, f.Top, f.Right, f.Top, kFrameColour);
    g.Line(f.Right, f.Top, f.Right, f.Bottom, kFrameColour);
    g.Line(f.Right, f.Bottom, f.Left, f.Bottom, kFrameColour);
    g.Line(f.Left, f.Bottom, f.Left, f.Top, kFrameColour);
    return d;
}

// Grid lines with tick marks at both ends, for the ticks that fall within the frame.
void grid(Drawing& d, const Ticks& xt, const Ticks& yt) {
    const FrameRecord& f = d.frame;
    DrawGroup& g = d.Group("grid");
    for (std::int64_t i = xt.i0; i <= xt.i1; ++i) {
        const double x = f.X(xt.Value(i));
        if (!(x >= f.Left && x <= f.Right)) continue;
        g.Line(x, f.Top, x, f.Bottom, kGridGrey);
        g.Line(x, f.Top, x, f.Top + kTickMark, kBlack);
        g.Line(x, f.Bottom, x, f.Bottom - kTickMark, kBlack);
    }
    for (std::int64_t j = yt.i0; j <= yt.i1; ++j) {
        const double y = f.Y(yt.Value(j));
        if (!(y >= f.Top && y <= f.Bottom)) continue;
        g.Line(f.Left, y, f.Right, y, kGridGrey);
        g.Line(f.Left, y, f.Left + kTickMark, y, kBlack);
        g.Line(f.Right, y, f.Right - kTickMark, y, kBlack);
    }
}

// Label1 and Label2: the first and last x tick values below their ticks.
void xTickLabels(Drawing& d, const Ticks& xt, double top) {
    if (xt.empty()) {
        d.Place(1, 0, top, "", false);
        d.Place(2, 0, top, "", false);
        return;
    }
    for (auto [id, i] : {std::pair{1, xt.i0}, std::pair{2, xt.i1}})
        d.Place(id, d.frame.X(xt.Value(i)) - 200, top, LabelTextSingle(xt.Value(i), 6));
}

// Label4 (and Label8 when bottomToo): the top (and bottom) y tick value in a field of width
// and ndec, beside its grid line.
void yTickLabels(Drawing& d, const Ticks& yt, int width, int ndec, bool bottomToo) {
    std::vector<std::pair<int, std::int64_t>> which{{4, yt.i1}};
    if (bottomToo) which.emplace_back(8, yt.i0);
    for (auto [id, j] : which) {
        if (yt.empty()) d.Place(id, 0, 0, "", false);
        else d.Place(id, 0, d.frame.Y(yt.Value(j)) - 100, Num_to_str(yt.Value(j), width, ndec));
    }
}

// The labels of the spectrum and singular-value windows.
void axisLabels(Drawing& d, const Ticks& xt, const Ticks& yt, const char* title, int ywidth, int ydec) {
    const FrameRecord& f = d.frame;
    xTickLabels(d, xt, d.H - 1800);
    d.Place(3, 0.6 * d.W, d.H - 1600, title);
    yTickLabels(d, yt, ywidth, ydec, true);
    d.Place(6, 0, f.Top + 0.6 * f.PH(), yt.empty() ? std::string() : LabelTextSingle(yt.step, 5), !yt.empty());
}

// The axes of the velocity plots (CCF and BF): grid and ticks, the first and last velocity and
// "0" under zero velocity in the row at labelTop, the title below it, the top value tick and
// "  0" beside the zero level; a "0" label shows only where zero lies within the frame.
void velocityAxes(Drawing& d, int W, int labelTop) {
    const FrameRecord& f = d.frame;
    const Ticks xt = AxisTicks({f.Xmin, f.Xmax}, AxisKind::X), yt = AxisTicks({f.Ymin, f.Ymax}, AxisKind::Y);
    grid(d, xt, yt);
    xTickLabels(d, xt, labelTop);
    const double x0 = f.X(0);
    d.Place(3, x0 - 80, labelTop, "0", x0 >= f.Left && x0 <= f.Right);
    d.Place(5, 0.55 * W, labelTop + 200, kVelocityTitle);
    yTickLabels(d, yt, 4, 2, false);
    const double y0 = f.Y(0);
    d.Place(6, 0, y0 - 100, "  0", y0 >= f.Top && y0 <= f.Bottom);
}

}  // namespace

Drawing Plot_Spectr(const ConstStarView& star, int W, int H) {
    const Vec& v = star.Pixval();
    const int n = std::clamp(star.nPix(), 0, v.size());
    Extremes e{9e30, -9e30};
    for (int i = 1; i <= n; ++i) e.add(v(i));
    // The value axis starts at 0; without a positive value it ends there instead.
    const AxisRange y = e.any && e.hi > 0 ? UsableRange(0, e.hi) : UsableRange(e.any ? e.lo : 0, 0);
    Drawing d = start(PlotKind::Spectrum, W, H, UsableRange(star.WaveL_B(), star.WaveL_R()), y);
    const FrameRecord& f = d.frame;

    DrawGroup& g = d.Group("data");
    auto px = [&](int i) { return f.Left + static_cast<double>(i - 1) / (n - 1) * f.PW(); };
    for (int i = 2; i <= n; ++i) g.Line(px(i - 1), f.Y(v(i - 1)), px(i), f.Y(v(i)), kBlue);

    const Ticks xt = AxisTicks({f.Xmin, f.Xmax}, AxisKind::X), yt = AxisTicks({f.Ymin, f.Ymax}, AxisKind::Y);
    grid(d, xt, yt);
    axisLabels(d, xt, yt, kSpectrumTitle, 6, 0);
    d.Caption(12, star.FileName());
    d.Caption(14, star.Object());
    return d;
}

Drawing Plot_ww(const AnalysisState& s, int n, const Vec& x, const Vec& y, bool LogX, bool LogY, int W, int H) {
    n = std::clamp(n, 0, std::min(x.size(), y.size()));
    const double ln10 = std::log(10.0);
    auto value = [ln10](double v, bool log) {
        if (!log) return v;
        return v > 0 ? std::log(v) / ln10 : std::numeric_limits<double>::quiet_NaN();
    };
    std::vector<double> X(static_cast<std::size_t>(n) + 1), Y(X.size());
    Extremes ex{9e30, -9e30}, ey{9e30, -9e30};
    for (int i = 1; i <= n; ++i) {
        ex.add(X[static_cast<std::size_t>(i)] = value(x(i), LogX));
        ey.add(Y[static_cast<std::size_t>(i)] = value(y(i), LogY));
    }
    Drawing d = start(PlotKind::Singular, W, H, UsableRange(ex.any ? ex.lo : 0, ex.any ? ex.hi : 0),
                      UsableRange(ey.any ? ey.lo : 0, ey.any ? ey.hi : 0));
    const FrameRecord& f = d.frame;

    DrawGroup& g = d.Group("data");
    int leftOut = 0;
    for (std::size_t i = 1; i < X.size(); ++i) {
        if (!std::isfinite(X[i]) || !std::isfinite(Y[i])) {
            ++leftOut;
            continue;
        }
        g.Circles(f.X(X[i]), f.Y(Y[i]), 1, 15, kRed);
    }

    const Ticks xt = AxisTicks({f.Xmin, f.Xmax}, AxisKind::X), yt = AxisTicks({f.Ymin, f.Ymax}, AxisKind::Y);
    grid(d, xt, yt);
    axisLabels(d, xt, yt, kOrderTitle, 5, 1);
    d.Place(kLeftOutLabel, f.Left, H - 1600,
            "Not plotted: " + std::to_string(leftOut) + (LogY || LogX ? " (no logarithm or not finite)" : " (not finite)"),
            leftOut > 0);
    d.Caption(12, s.StdFileName);
    d.Caption(14, s.StdObject);
    return d;
}

Drawing Plot_CC(const AnalysisState& s, int W, int H) {
    const int N = std::clamp(s.ccN, 0, std::min(s.cc.bound(), s.vel_cc.bound()));
    Extremes e{9.9e31, -9.9e31};
    for (int i = -N; i <= N; ++i) e.add(s.cc(i));
    Drawing d = start(PlotKind::Ccf, W, H, UsableRange(s.vel_cc(-N), s.vel_cc(N)),
                      UsableRange(e.any ? e.lo : 0, e.any ? e.hi : 0));
    const FrameRecord& f = d.frame;

    velocityAxes(d, W, H - 2100);
    d.Caption(10, s.StdFileName);
    d.Caption(11, s.StdObject);
    d.Caption(13, s.ProFileName);
    d.Caption(14, s.ProObject);

    DrawGroup& g = d.Group("data");
    for (int i = -N + 1; i <= N; ++i) {
        g.Line(f.X(s.vel_cc(i - 1)), f.Y(s.cc(i - 1)), f.X(s.vel_cc(i)), f.Y(s.cc(i)), kRed);
        g.Circles(f.X(s.vel_cc(i)), f.Y(s.cc(i)), 8, 15, kBlue);
    }
    return d;
}

Drawing Plot_bb(const AnalysisState& s, int W, int H) {
    const int n = ShownBfPoints(s);
    const Vec& y = s.Smoothed ? s.bb_sm : s.bb_n;
    Extremes e{9.9e31, -9.9e31};
    for (int k = 1; k <= n; ++k) e.add(y(k));
    Drawing d = start(PlotKind::Bf, W, H, UsableRange(n ? s.vel_bb(1) : 0, n ? s.vel_bb(n) : 0),
                      UsableRange(e.any ? e.lo : 0, e.any ? e.hi : 0));
    const FrameRecord& f = d.frame;

    velocityAxes(d, W, H - 3500);
    d.Caption(10, s.bbShown.StdFileName);
    d.Caption(11, s.bbShown.StdObject);
    d.Caption(13, s.bbShown.ProFileName);
    d.Caption(14, s.bbShown.ProObject);

    DrawGroup& g = d.Group("data");
    for (int k = 2; k <= n; ++k) {
        const double x = f.X(s.vel_bb(k)), yk = f.Y(y(k));
        g.Line(f.X(s.vel_bb(k - 1)), f.Y(y(k - 1)), x, yk, kBlack);
        if (!s.Smoothed) g.Circles(x, yk, 1, 30, kDotGrey);
    }
    return d;
}

std::optional<DrawGroup> Draw_gauss(AnalysisState& s, const FrameRecord& f, int star) {
    if (!ComputeModelCurve(s, star)) return std::nullopt;
    const auto st = static_cast<std::size_t>(star);
    s.CurveColour[st] = kCurveColours[st];
    s.Drawn[st] = true;
    DrawGroup g{"star" + std::to_string(star), {}};
    const int n = std::min(ShownBfPoints(s), s.ModelCurve.cols());
    for (int k = 2; k <= n; ++k)
        g.Line(f.X(s.vel_bb(k - 1)), f.Y(s.ModelCurve(star, k - 1)), f.X(s.vel_bb(k)), f.Y(s.ModelCurve(star, k)),
               s.CurveColour[st]);
    return g;
}

std::optional<int> BfClickPoint(const FrameRecord& f, int span, double x, double y) {
    if (!InsideClick(f, x, y)) return std::nullopt;
    const double k = RoundHalfEven((x - f.Left) / (f.Right - f.Left) * span + 1);
    if (k < kBfClickMargin || k > span - kBfClickMargin) return std::nullopt;
    return static_cast<int>(k);
}

std::optional<int> CcfClickLag(const FrameRecord& f, int N, double x, double y) {
    if (!InsideClick(f, x, y)) return std::nullopt;
    return static_cast<int>(RoundHalfEven(2.0 * N * (x - f.Left) / (f.Right - f.Left) - N));
}

int CursorOrder(const FrameRecord& f, int span, double x) {
    return static_cast<int>(RoundHalfEven((x - f.Left) / (f.Right - f.Left) * (span - 1) + 1));
}

}  // namespace tessan::plot
