#include "plot/PlotScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessan::plot {

namespace {

// x rounded to single precision; beyond the single range it is infinite (a plain conversion
// would be undefined there).
float single(double x) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (x > kMax) return std::numeric_limits<float>::infinity();
    if (x < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(x);
}

}  // namespace

FrameRecord FrameLayout(PlotKind kind, int W, int H) {
    FrameRecord f;
    f.Left = kind == PlotKind::Spectrum ? 900 : 500;
    f.Top = 242;
    f.Right = W - 415;
    switch (kind) {
        case PlotKind::Spectrum:
        case PlotKind::Singular: f.Bottom = H - 1850; break;
        case PlotKind::Bf: f.Bottom = H - 3550; break;
        case PlotKind::Ccf: f.Bottom = H - 2150; break;
    }
    return f;
}

bool InsideReadout(const FrameRecord& f, double x, double y) {
    return x >= f.Left && x < f.Right && y >= f.Top && y < f.Bottom;
}

bool InsideClick(const FrameRecord& f, double x, double y) {
    return f.Right > f.Left && f.Bottom > f.Top && x >= f.Left && x <= f.Right && y >= f.Top && y <= f.Bottom;
}

AxisRange UsableRange(double from, double to) {
    if (!std::isfinite(from)) from = std::isfinite(to) ? to : 0;
    if (!std::isfinite(to)) to = from;
    // Half the largest double each way: the difference of the limits stays finite.
    constexpr double kFar = 8e307;
    from = std::clamp(from, -kFar, kFar);
    to = std::clamp(to, -kFar, kFar);
    if (from == to) {
        const double d = std::max(1.0, std::fabs(from) * 1e-6);
        return {from - d, from + d};
    }
    return {from, to};
}

float TickStep(double R, AxisKind kind) {
    if (!(R > 0) || !std::isfinite(R)) return 0;
    const double t = std::floor(std::log(R) / 2.302585);
    const float p = single(std::pow(10.0, t));
    if (!(p > 0) || !std::isfinite(p)) return 0;
    const double q = R / p;
    double multiplier = 10;
    if (q < 5 && kind == AxisKind::X) multiplier = 5;
    if (q < 2) multiplier = 2;
    const float step = single(p * multiplier / 10);
    return step > 0 && std::isfinite(step) ? step : 0;
}

Ticks TickIndexes(double lo, double hi, float step) {
    Ticks t;
    t.step = step;
    if (!(step > 0)) return t;
    const double a = lo / step, b = hi / step;
    constexpr double kWidest = 1e15;   // indexes well inside 64 bits and exact in a double
    if (!(std::fabs(a) < kWidest && std::fabs(b) < kWidest)) return t;
    t.i0 = static_cast<std::int64_t>(std::floor(a));
    t.i1 = static_cast<std::int64_t>(std::floor(b));
    // The comparisons are made in single precision, where floor of the double quotient can be
    // one index off; a few corrections suffice, so the loops are bounded.
    const float flo = single(lo), fhi = single(hi);
    for (int k = 0; k < 4 && flo > t.Value(t.i0); ++k) ++t.i0;
    for (int k = 0; k < 4 && fhi < t.Value(t.i1); ++k) --t.i1;
    if (t.i1 - t.i0 >= kMaxTicks) t.i1 = t.i0 + kMaxTicks - 1;
    return t;
}

Ticks AxisTicks(const AxisRange& r, AxisKind kind) {
    const double lo = std::min(r.from, r.to), hi = std::max(r.from, r.to);
    return TickIndexes(lo, hi, TickStep(hi - lo, kind));
}

}  // namespace tessan::plot
