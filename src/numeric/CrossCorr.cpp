#include "numeric/CrossCorr.h"

#include <cmath>

#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {

// The CCF is a plain dot product of the resampled standard with the resampled program star
// shifted by i grid steps, over the same standard points j = ccN + 1..nGrid - ccN for every
// lag: no mean is subtracted and nothing is normalised. With inverted spectra, absorption lines
// give positive values; a positive lag is a program spectrum shifted to longer wavelengths.
//
// ssr must hold the resampled standard over the whole grid. A model read from a file keeps only
// its first span points; model selection recomputes the points beyond from the model's own
// standard (ws, ss) on the model's grid, so they never belong to another spectrum.

namespace {
// Pixels of the standard per lag are counted with this speed of light (km/s); the velocity of a
// lag uses c_kms.
constexpr double kCLags = 300000;
}  // namespace

bool Cross_corr(AnalysisState& s, Platform& p) {
    const int n = s.nGrid;
    if (n < 1 || n > lim::kMaxPix) {
        p.MsgBox("The velocity grid has not been built.  Resample the standard first (step 2).");
        return false;
    }
    if (!(s.dLambda_dp_Std != 0)) {
        p.MsgBox("The wavelength step of the standard is 0: the half width of scan cannot be "
                 "converted into lags.");
        return false;
    }
    // mid is at least 1 so that a one-point grid reads its own point.
    const int mid = n / 2 < 1 ? 1 : n / 2;
    const double lags = RoundHalfEven(s.ScanHalfWidth * s.w1(mid) / kCLags / s.dLambda_dp_Std);
    if (!std::isfinite(lags) || lags < 0 || lags > lim::kMaxLag) {
        p.MsgBox("The half width of scan gives " + (std::isfinite(lags) ? PlainText(lags) : "no") +
                 " lags on each side of zero; it must give from 0 to " + std::to_string(lim::kMaxLag) +
                 ".  Change the half width of scan.");
        return false;
    }
    const int ccN = static_cast<int>(lags);
    const double dv = s.c_kms * std::log(s.r1) / std::log(2.7182818284);
    // A grid ratio of 0 or below (only an edited model file holds one) has no velocity step.
    if (!std::isfinite(dv)) {
        p.MsgBox("The ratio of neighbouring grid wavelengths is not a positive number: the lags "
                 "have no velocities.  Resample the standard or choose another model.");
        return false;
    }

    s.ccN = ccN;
    const int upper = n - ccN;
    for (int i = -ccN; i <= ccN; ++i) {
        double sum = 0;
        // j + i stays within 1..n because |i| <= ccN.
        for (int j = ccN + 1; j <= upper; ++j) sum += s.ssr(j) * s.spr(j + i);
        s.cc(i) = sum;
        s.vel_cc(i) = i * dv;
    }
    s.ccXmin = s.vel_cc(-ccN);
    s.ccXmax = s.vel_cc(ccN);
    return true;
}

}  // namespace tessan
