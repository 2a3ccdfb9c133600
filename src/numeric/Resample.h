#pragma once
// The velocity grid: a grid linear in velocity (logarithmic in wavelength), and linear
// interpolation of a spectrum onto it. Step 2 itself (steps/StandardSteps.h) reads the boxes
// and commits the grid.
#include <string>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// The speed of light (km/s) of the grid and of the proposed step; only the cross-correlation
// uses c_kms.
inline constexpr double kCGrid = 299792.4;
// Above this a step of 1 km/s can no longer be subtracted exactly.
inline constexpr double kMaxGridStep = 4503599627370496.0;  // 2^52

// The step of a grid of n points from minWave: delV reduced by whole km/s until the grid's last
// point is at or below wmax. The test is made before the first decrease, so a step that fits
// is kept, and a fraction is kept (4.5 becomes 3.5, 2.5, ...). Returns a value <= 0 when no
// positive step fits.
double FittingStep(double minWave, double wmax, double delV, int n);

// w(k) = r1^(k - 1) minWave, k = 1..n.
void BuildGrid(double minWave, double r1, int n, Vec& w);

// Linear interpolation of (xOld(1..nOld), yOld) at xNew(1..nNew) into yNew(1..nNew). The search
// for point i starts at index i (clamped to the old points); grid points outside the old range
// take the value of the nearest end point. Returns false, with a message, when two neighbouring
// old wavelengths used for a point are equal (yNew is then left unchanged).
bool Lin_interp(const Vec& xOld, const Vec& yOld, int nOld, const Vec& xNew, Vec& yNew, int nNew,
                Platform& p);

// The same without a message: false when two neighbouring old wavelengths used are equal.
bool LinInterpQuiet(const Vec& xOld, const Vec& yOld, int nOld, const Vec& xNew, Vec& yNew, int nNew);

// The texts of Label17 and Label18 after a resampling or a model load: the first 9 characters
// of the default text form of w1(1) and w1(nGrid).
std::string GridLabelFirst(const AnalysisState& s);
std::string GridLabelLast(const AnalysisState& s);

}  // namespace tessan
