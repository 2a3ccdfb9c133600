#pragma once
// A realistic standard for the numeric tests and benchmarks: a continuum with a few dozen
// Gaussian absorption lines and a little noise, generated directly on a grid uniform in
// log-wavelength (constant velocity step), and inverted as the resampling step does
// (1 - f / max f), so that lines become positive peaks.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "state/Array.h"

namespace tessan::test {

// Fills v(1..n) with the inverted spectrum; same seed, same spectrum.
inline void MakeInvertedSpectrum(Vec& v, int n, unsigned seed = 20261206u, int lines = 40) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> pos(1.0, static_cast<double>(n));
    std::uniform_real_distribution<double> depth(0.05, 0.7);
    std::uniform_real_distribution<double> width(1.5, 4.0);   // pixels (sigma)
    std::uniform_real_distribution<double> noise(-1e-3, 1e-3);
    std::vector<double> f(static_cast<std::size_t>(n) + 1, 1.0);
    for (int i = 1; i <= n; ++i) f[static_cast<std::size_t>(i)] = 1.0 + 0.05 * std::sin(i / 300.0);
    for (int L = 0; L < lines; ++L) {
        const double c = pos(gen), d = depth(gen), w = width(gen);
        for (int i = 1; i <= n; ++i) {
            const double t = (i - c) / w;
            f[static_cast<std::size_t>(i)] -= d * std::exp(-0.5 * t * t);
        }
    }
    for (int i = 1; i <= n; ++i) f[static_cast<std::size_t>(i)] += noise(gen);
    const double mx = *std::max_element(f.begin() + 1, f.end());
    for (int i = 1; i <= n; ++i) v(i) = 1.0 - f[static_cast<std::size_t>(i)] / mx;
}

}  // namespace tessan::test
