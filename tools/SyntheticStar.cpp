#include "SyntheticStar.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessan::samples {

std::vector<double> SyntheticSpectrum(int n, double crval1, double cd1_1, double velocityKms,
                                      double broadenKms) {
    const double c = 299792.458;
    const double lo = crval1, hi = crval1 + (n - 1) * cd1_1;
    // Deterministic line list: positions and depths from a fixed linear congruential sequence.
    std::uint32_t seed = 12345u;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1u << 24);
    };
    struct Line { double lambda, depth, sigma; };
    std::vector<Line> lines;
    const int nLines = std::max(4, static_cast<int>((hi - lo) / 6.0));
    for (int k = 0; k < nLines; ++k) {
        double l = lo + (hi - lo) * next();
        double d = 0.1 + 0.6 * next();
        double s = cd1_1 * (0.8 + 1.2 * next());
        lines.push_back({l, d, s});
    }
    std::vector<double> flux(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const double lambda = crval1 + (i - 1) * cd1_1;
        double absorb = 0;
        for (const auto& ln : lines) {
            const double centre = ln.lambda * (1.0 + velocityKms / c);
            const double sb = ln.lambda * broadenKms / c;
            const double sig = std::sqrt(ln.sigma * ln.sigma + sb * sb);
            const double depth = ln.depth * ln.sigma / sig;   // equivalent width kept
            const double z = (lambda - centre) / sig;
            if (std::fabs(z) < 8) absorb += depth * std::exp(-z * z / 2);
        }
        flux[static_cast<std::size_t>(i - 1)] = 1000.0 * std::max(0.05, 1.0 - absorb);
    }
    return flux;
}

}  // namespace tessan::samples
