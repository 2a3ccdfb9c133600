#include "numeric/Resample.h"

#include <algorithm>
#include <cmath>

#include "text/NumText.h"

namespace tessan {

namespace {

double lastPoint(double minWave, double delV, int n) {
    return std::pow(1 + delV / kCGrid, n - 1) * minWave;
}

bool fits(double minWave, double wmax, double delV, int n) {
    return !(lastPoint(minWave, delV, n) > wmax);
}

}  // namespace

double FittingStep(double minWave, double wmax, double delV, int n) {
    if (fits(minWave, wmax, delV, n)) return delV;
    // A one-point grid does not depend on the step, and a positive grid never ends at or below
    // a non-positive limit.
    if (n == 1 || !(wmax > 0)) return 0;
    // Jump over the whole km/s that certainly do not fit, so that a huge typed step does not
    // cost one power per km/s. delV - k is exact below 2^52, and the jump is taken only when
    // delV - k still does not fit, so the result is the one of single steps.
    const double dFit = kCGrid * (std::pow(wmax / minWave, 1.0 / (n - 1)) - 1);
    double k = std::min(std::floor(delV - dFit) - 2, std::ceil(delV) - 1);  // delV - k stays > 0
    while (k >= 1 && fits(minWave, wmax, delV - k, n)) k = std::floor(k / 2);
    if (k >= 1) delV -= k;
    // At most a few steps remain after the jump; the bound only guards against a pow that is
    // not monotonic.
    for (int guard = 0; guard < 1000000 && delV > 0; ++guard) {
        if (fits(minWave, wmax, delV, n)) return delV;
        delV -= 1;
    }
    return 0;
}

void BuildGrid(double minWave, double r1, int n, Vec& w) {
    for (int k = 1; k <= n; ++k) w(k) = std::pow(r1, k - 1) * minWave;
}

std::string GridLabelFirst(const AnalysisState& s) {
    return s.nGrid >= 1 ? WaveLabel(s.w1(1)) : std::string();
}

std::string GridLabelLast(const AnalysisState& s) {
    return s.nGrid >= 1 && s.nGrid <= lim::kMaxPix ? WaveLabel(s.w1(s.nGrid)) : std::string();
}

}  // namespace tessan
