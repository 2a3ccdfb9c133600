#pragma once
// The velocity grid: a grid linear in velocity (logarithmic in wavelength) built from the
// standard, and linear interpolation of a spectrum onto it.
#include <string>
#include <string_view>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Step 2. Reads delV, Min_waveL and the upper end from the texts of Text5, Text2, Text3
// (leading-number rule), reduces delV by whole km/s until the grid of nPixStd points ends at or
// below the upper end, builds w1 (nGrid = nPixStd points) and resamples ss onto it as ssr.
// Returns false, with a message and the grid unchanged, when no positive step fits the range
// or the standard's wavelengths cannot be interpolated.
bool Resample(AnalysisState& s, Platform& p, std::string_view text5, std::string_view text2,
              std::string_view text3);

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
