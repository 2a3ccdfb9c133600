#include "numeric/Smooth.h"

#include <algorithm>
#include <cmath>

#include "numeric/Bf.h"
#include "text/NumText.h"

namespace tessan {

namespace {

constexpr int kKernelMax = 50;      // the kernel runs over at most -50..50 points
constexpr double kKernelCut = 1e-5; // unnormalised weights below this end the kernel
constexpr double kDefaultWidth = 3.0;

}  // namespace

void Make_kernel(AnalysisState& s) {
    if (s.Kernel.size() < kKernelMax) s.Kernel.resize(kKernelMax);
    const double w2 = s.SmoothWidth * s.SmoothWidth;
    double sum = 0;
    int m = kKernelMax;
    for (int i = 0; i <= kKernelMax; ++i) {
        // i squared in single precision, everything else in double. The centre weight is 1
        // by definition; forming it as exp(-0/w2) would give NaN for a width so small that
        // its square underflows.
        const float i2 = static_cast<float>(i) * static_cast<float>(i);
        const double g = i == 0 ? 1.0 : std::exp(-(static_cast<double>(i2) / 2.0) / w2);
        s.Kernel(i) = g;
        if (g < kKernelCut) {
            m = i - 1;
            break;
        }
        sum += g;
    }
    s.KernelHalf = m;
    const double norm = 2.0 * sum - s.Kernel(0);
    for (int i = 0; i <= m; ++i) s.Kernel(i) = s.Kernel(i) / norm;
}

void Smooth_bb(AnalysisState& s) {
    const int span = ShownBfPoints(s);
    const int m = std::clamp(s.KernelHalf, 0, std::min(kKernelMax, s.Kernel.size()));
    for (int k = 1; k <= span; ++k) s.bb_sm(k) = 0;
    // Only points with a full kernel window are smoothed; the first and last m stay 0.
    for (int k = m + 1; k <= span - m; ++k) {
        double v = s.bb_n(k) * s.Kernel(0);
        for (int i = 1; i <= m; ++i) v = s.bb_n(k - i) * s.Kernel(i) + v + s.bb_n(k + i) * s.Kernel(i);
        s.bb_sm(k) = v;
    }
}

std::optional<std::string> SmoothCommand(AnalysisState& s, std::string_view widthText) {
    std::optional<std::string> rewrite;
    s.SmoothWidth = ReadLeadingNumber(widthText).value;
    if (s.SmoothWidth == 0) {
        s.SmoothWidth = kDefaultWidth;
        rewrite = "3.0";
    }
    s.Smoothed = true;
    Make_kernel(s);
    Smooth_bb(s);
    return rewrite;
}

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

std::optional<double> PeakSearch(AnalysisState& s, int k) {
    const int span = ShownBfPoints(s);
    if (k < 10 || k > span - 10) return std::nullopt;
    double best = -999;
    int jmax = -6;
    for (int j = -6; j <= 6; ++j) {
        if (s.bb_n(k + j) > best) {
            best = s.bb_n(k + j);
            jmax = j;
        }
    }
    if (jmax == -6 || jmax == 6) return std::nullopt;
    const int kc = k + jmax;
    const Vec& ys = s.Smoothed ? s.bb_sm : s.bb_n;
    for (int i = 1; i <= 5; ++i) {
        s.PkX(i) = s.vel_bb(kc - i + 3);
        s.PkY(i) = ys(kc - i + 3);
    }
    const auto v = Peak_centroid(s.PkX, s.PkY, 5);
    if (v) s.PeakResult = *v;
    return v;
}

}  // namespace tessan
