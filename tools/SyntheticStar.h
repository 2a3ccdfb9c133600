#pragma once
// Synthetic absorption spectra for the sample files of tessan-samples and for the tests.
#include <vector>

namespace tessan::samples {

// A synthetic absorption spectrum (continuum 1000 counts, a fixed deterministic list of
// Gaussian lines) at wavelengths crval1 + (i - 1) * cd1_1, i = 1..n, seen at radial velocity
// velocityKms and broadened by a Gaussian of standard deviation broadenKms.
std::vector<double> SyntheticSpectrum(int n, double crval1, double cd1_1, double velocityKms,
                                      double broadenKms = 0.0);

}  // namespace tessan::samples
