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

std::optional<double> PeakSearch(AnalysisState& s, int k) {
    const int span = ShownBfPoints(s);
    if (k < kBfClickMargin || k > span - kBfClickMargin) return std::nullopt;
    // The search runs over the unsmoothed BF; the parabola over the curve shown.
    const std::optional<int> centre = PeakAround(Series(s.bb_n, span), k);
    if (!centre) return std::nullopt;
    const auto v = CentroidAround(Series(s.vel_bb, span), Series(s.Smoothed ? s.bb_sm : s.bb_n, span),
                                  *centre, s.PkX, s.PkY);
    if (v) s.PeakResult = *v;
    return v;
}

}  // namespace tessan
