#pragma once
// Spectra for the batch driver's tests, written by the FITS test helper: a standard, a single
// star and a double-lined binary shifted by whole grid steps and broadened a little, and a
// file that is not FITS.
#include <filesystem>
#include <string>

namespace tessan::test {

struct Samples {
    std::filesystem::path dir;
    std::string std, sb1, sb2, bad;   // full paths
    double delV = 0;                  // the step the standard proposes (km/s)
    int sb1Steps = 0;                 // SB1 shift, in grid steps
    int sb2StepsA = 0, sb2StepsB = 0; // SB2: the stronger component, then the weaker
};

// Writes the files into dir. n pixels from 5000 A in steps of 0.5 A.
Samples MakeSamples(const std::filesystem::path& dir, int n);

// The velocity (km/s, as the synthetic spectra take it) that shifts a spectrum by whole steps
// of a grid of step delV.
double StepsToVelocity(int steps, double delV);

}  // namespace tessan::test
