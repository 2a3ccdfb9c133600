#include "numeric/Peak.h"

#include <cmath>

namespace tessan {

std::optional<double> Peak_centroid(const Vec& x, const Vec& y, int n) {
    double s1 = 0, s2 = 0, s3 = 0, s4 = 0, t0 = 0, t1 = 0, t2 = 0;
    for (int i = 1; i <= n; ++i) {
        const double xi = x(i);
        const double x2 = xi * xi;
        s1 += xi;
        s2 += x2;
        s3 += x2 * xi;
        s4 += x2 * x2;
        t0 += y(i);
        t1 += xi * y(i);
        t2 += x2 * y(i);
    }
    const double dn = n;
    const double a1 = s2 * s4 - s3 * s3;
    const double a2 = s1 * s4 - s2 * s3;
    const double a3 = s1 * s3 - s2 * s2;
    const double b2 = dn * s4 - s2 * s2;
    const double b3 = dn * s3 - s1 * s2;
    const double c3 = dn * s2 - s1 * s1;
    const double d = dn * a1 - s1 * a2 + s2 * a3;
    if (d == 0) return std::nullopt;
    const double lin = (-t0 * a2 + t1 * b2 - t2 * b3) / d;
    const double quad = (t0 * a3 - t1 * b3 + t2 * c3) / d;
    if (quad == 0) return std::nullopt;
    const double v = -lin / (2.0 * quad);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> PeakAround(const Series& y, int k) {
    double best = kSearchFloor;
    int jmax = -kSearchHalfWidth;
    for (int j = -kSearchHalfWidth; j <= kSearchHalfWidth; ++j) {
        if (!y.Has(k + j)) continue;
        if (y(k + j) > best) {
            best = y(k + j);
            jmax = j;
        }
    }
    if (jmax == -kSearchHalfWidth || jmax == kSearchHalfWidth) return std::nullopt;
    return k + jmax;
}

std::optional<double> CentroidAround(const Series& x, const Series& y, int centre, Vec& px, Vec& py) {
    const int first = centre - kCentroidHalfWidth, last = centre + kCentroidHalfWidth;
    if (!x.Has(first) || !x.Has(last) || !y.Has(first) || !y.Has(last)) return std::nullopt;
    // Point 1 is centre + 2, point 5 is centre - 2.
    for (int m = 1; m <= kCentroidPoints; ++m) {
        px(m) = x(last + 1 - m);
        py(m) = y(last + 1 - m);
    }
    return Peak_centroid(px, py, kCentroidPoints);
}

std::optional<double> CcfPeakSearch(const SymVec& vel, const SymVec& cc, int n, int i, Vec& px, Vec& py) {
    if (i < -n + kCcfClickMargin || i > n - kCcfClickMargin) return std::nullopt;
    const Series y(cc, n);
    const std::optional<int> centre = PeakAround(y, i);
    if (!centre) return std::nullopt;
    return CentroidAround(Series(vel, n), y, *centre, px, py);
}

std::optional<double> MeasureCcfPeak(const SymVec& vel, const SymVec& cc, int n) {
    if (n < 0) return std::nullopt;
    const Series y(cc, n);
    int best = y.lo();
    for (int i = y.lo() + 1; i <= y.hi(); ++i)
        if (y(i) > y(best)) best = i;
    Vec px(kCentroidPoints), py(kCentroidPoints);
    return CentroidAround(Series(vel, n), y, best, px, py);
}

}  // namespace tessan
