#include "numeric/Resample.h"

#include <algorithm>
#include <cmath>

#include "text/NumText.h"

namespace tessan {

namespace {

// The grid uses this value of the speed of light (km/s); only the cross-correlation uses c_kms.
constexpr double kCGrid = 299792.4;

// Above this a step of 1 km/s can no longer be subtracted exactly.
constexpr double kMaxStep = 4503599627370496.0;  // 2^52

const char* const kUnusableRange =
    "The wavelength range and velocity step cannot be used: no positive velocity step puts the "
    "grid inside the range.  Check Min. waveL, Max. waveL and del V.";

double lastPoint(double minWave, double delV, int n) {
    return std::pow(1 + delV / kCGrid, n - 1) * minWave;
}

bool fits(double minWave, double wmax, double delV, int n) {
    return !(lastPoint(minWave, delV, n) > wmax);
}

// The step reduced by whole km/s until the grid's last point is at or below wmax; the test is
// made before the first decrease, so a step that fits is kept, and a fraction is kept (4.5
// becomes 3.5, 2.5, ...). Returns a value <= 0 when no positive step fits.
double reducedStep(double minWave, double wmax, double delV, int n) {
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

}  // namespace

bool Resample(AnalysisState& s, Platform& p, std::string_view text5, std::string_view text2,
              std::string_view text3) {
    const int n = s.nPixStd;
    if (n < 1 || n > lim::kMaxPix) {
        p.MsgBox("There is no standard spectrum to resample.  Load the standard star first (step 1).");
        return false;
    }
    const double typedStep = Val(text5);
    const double minWave = Val(text2);
    const double wmax = Val(text3);
    // Wavelengths must be positive; a non-positive start gives a grid of equal points.
    if (!(std::isfinite(minWave) && minWave > 0) || std::isnan(wmax) ||
        !(std::isfinite(typedStep) && typedStep > 0 && typedStep < kMaxStep)) {
        p.MsgBox(kUnusableRange);
        return false;
    }
    const double delV = reducedStep(minWave, wmax, typedStep, n);
    if (!(delV > 0)) {
        p.MsgBox(kUnusableRange);
        return false;
    }

    // Built apart and committed only when the standard could be resampled.
    const double r1 = 1 + delV / kCGrid;
    Vec w1(n), ssr(n);
    for (int k = 1; k <= n; ++k) w1(k) = std::pow(r1, k - 1) * minWave;
    if (!Lin_interp(s.ws, s.ss, s.nPixStd, w1, ssr, n, p)) return false;

    s.delV = delV;
    s.Min_waveL = minWave;
    s.Max_waveL = wmax;
    s.r1 = r1;
    for (int k = 1; k <= n; ++k) {
        s.w1(k) = w1(k);
        s.ssr(k) = ssr(k);
    }
    s.nGrid = n;
    s.ssrStale = false;
    // The design matrix and the decomposition in hand were built on the previous grid: BFs from
    // them and a program star resampled onto this grid would be silently wrong, so steps 3 and
    // 4 must run again.
    s.desValid = false;
    s.svdValid = false;
    return true;
}

std::string GridLabelFirst(const AnalysisState& s) {
    return s.nGrid >= 1 ? WaveLabel(s.w1(1)) : std::string();
}

std::string GridLabelLast(const AnalysisState& s) {
    return s.nGrid >= 1 && s.nGrid <= lim::kMaxPix ? WaveLabel(s.w1(s.nGrid)) : std::string();
}

}  // namespace tessan
