#pragma once
// --gauss K for one star: Gaussians started at the peaks the driver measures (MeasureBfPeaks)
// and fitted by the core (numeric/GaussComponents.h), which runs the fit of "Solve Gauss fit".
#include "numeric/GaussComponents.h"
#include "state/Array.h"

namespace tessan::batch {

// k Gaussians for the BF at velocities vel(1..span): started at the k highest peaks of shown
// (the BF the driver measures peaks on, smoothed with --smooth) at their parabola vertices (the
// peak's own point when the parabola has no vertex), fitted to bf, the unsmoothed BF. delV is
// the BF's velocity step in km/s. Reads its arguments only.
GaussComponentsFit MeasureGauss(const Vec& vel, const Vec& shown, const Vec& bf, int span, double delV, int k);

}  // namespace tessan::batch
