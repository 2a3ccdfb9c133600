#include "plot/Drawing.h"

#include <algorithm>
#include <cmath>

namespace tessan::plot {

namespace {

// Liang-Barsky: cuts the segment to the square |x|, |y| <= kFarTwips; false when nothing of
// it lies inside.
bool clipFar(double& x1, double& y1, double& x2, double& y2) {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + kFarTwips, kFarTwips - x1, y1 + kFarTwips, kFarTwips - y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double r = q[k] / p[k];
        if (p[k] < 0) t0 = std::max(t0, r);
        else t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    const double ax = x1, ay = y1;
    if (t1 < 1) x2 = ax + t1 * dx, y2 = ay + t1 * dy;
    if (t0 > 0) x1 = ax + t0 * dx, y1 = ay + t0 * dy;
    return true;
}

bool finite(std::initializer_list<double> v) {
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

int within(double v, int hi) { return static_cast<int>(std::lround(std::clamp(v, 0.0, static_cast<double>(std::max(hi, 0))))); }

}  // namespace

void DrawGroup::Line(double x1, double y1, double x2, double y2, Rgb colour) {
    if (!finite({x1, y1, x2, y2})) return;
    // A difference of two huge coordinates can overflow even when both are finite.
    if (!finite({x2 - x1, y2 - y1})) return;
    if (!clipFar(x1, y1, x2, y2)) return;
    ops.push_back({DrawOp::Kind::Line, x1, y1, x2, y2, colour});
}

void DrawGroup::Circles(double x, double y, double r1, double r2, Rgb colour) {
    if (!finite({x, y}) || std::fabs(x) > kFarTwips || std::fabs(y) > kFarTwips) return;
    ops.push_back({DrawOp::Kind::Circles, x, y, r1, r2, colour});
}

DrawGroup& Drawing::Group(std::string name) {
    groups.push_back({std::move(name), {}});
    return groups.back();
}

const DrawGroup* Drawing::Find(std::string_view name) const {
    for (const DrawGroup& g : groups)
        if (g.name == name) return &g;
    return nullptr;
}

void Drawing::Caption(int id, std::string caption) {
    labels.push_back({id, std::move(caption), false, 0, 0, true});
}

void Drawing::Place(int id, double left, double top, std::string caption, bool shown) {
    // A place that is not a number (a frame of zero size) is the window's corner.
    if (std::isnan(left)) left = 0;
    if (std::isnan(top)) top = 0;
    labels.push_back({id, std::move(caption), true, within(left, W), within(top, H), shown});
}

const PlotLabel* Drawing::Label(int id) const {
    for (const PlotLabel& l : labels)
        if (l.id == id) return &l;
    return nullptr;
}

}  // namespace tessan::plot
