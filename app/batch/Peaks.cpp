#include "batch/Peaks.h"

#include <algorithm>

#include "numeric/Smooth.h"

namespace tessan::batch {

namespace {

// Peak_centroid on the five points centre+2 .. centre-2 of (x, y), given as accessors.
template <class X, class Y>
std::optional<double> CentroidAround(int centre, X x, Y y) {
    Vec px(5), py(5);
    for (int m = 1; m <= 5; ++m) {
        px(m) = x(centre - m + 3);
        py(m) = y(centre - m + 3);
    }
    return Peak_centroid(px, py, 5);
}

}  // namespace

std::vector<PeakMeasure> MeasureBfPeaks(const Vec& x, const Vec& y, int span, int k) {
    std::vector<PeakMeasure> found;
    const int lo = kClickMargin, hi = span - kClickMargin;
    for (int i = lo; i <= hi; ++i) {
        if (!(y(i) > y(i - 1))) continue;
        int j = i + 1;
        while (j < span && y(j) == y(i)) ++j;
        if (!(y(j) < y(i))) continue;
        found.push_back({i, std::nullopt, y(i)});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const PeakMeasure& a, const PeakMeasure& b) { return a.height > b.height; });
    if (static_cast<int>(found.size()) > k) found.resize(static_cast<std::size_t>(std::max(k, 0)));
    for (PeakMeasure& p : found)
        p.velocity = CentroidAround(p.index, [&](int i) { return x(i); }, [&](int i) { return y(i); });
    return found;
}

std::optional<double> MeasureCcfPeak(const SymVec& vel, const SymVec& cc, int n) {
    if (n < 0) return std::nullopt;
    int best = -n;
    for (int i = -n + 1; i <= n; ++i)
        if (cc(i) > cc(best)) best = i;
    if (best - 2 < -n || best + 2 > n) return std::nullopt;
    return CentroidAround(best, [&](int i) { return vel(i); }, [&](int i) { return cc(i); });
}

}  // namespace tessan::batch
