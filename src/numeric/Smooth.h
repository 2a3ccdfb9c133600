#pragma once
// Smoothing of the shown BF with a normalised Gaussian kernel, and the BF window's click
// measurement of a peak (numeric/Peak.h).
#include <optional>
#include <string>
#include <string_view>

#include "numeric/Peak.h"
#include "state/AnalysisState.h"

namespace tessan {

// Kernel(0..KernelHalf) from SmoothWidth (a standard deviation in BF points): the Gaussian
// cut where its unnormalised weight falls below 1e-5 (at most 50 points), normalised to unit
// sum over -KernelHalf..KernelHalf.
void Make_kernel(AnalysisState& s);
// bb_sm(1..span) from bb_n and the kernel; the first and last KernelHalf points are 0.
void Smooth_bb(AnalysisState& s);

// "Smooth" with the text of the width box: SmoothWidth, kernel, bb_sm, Smoothed true.
// The width is the leading number of the text; 0 or no number gives 3.0. Returns the new
// text of the width box when it must be rewritten ("3.0"), nullopt when it stays.
std::optional<std::string> SmoothCommand(AnalysisState& s, std::string_view widthText);

// The click search at BF index k (10 <= k <= span - 10 of the shown BF): PeakAround on bb_n,
// then PkX, PkY of the five points around its maximum (from bb_sm when Smoothed) and
// PeakResult. nullopt with PeakResult unchanged when k is out of range, the maximum is at
// either end of the window or the parabola has no vertex.
std::optional<double> PeakSearch(AnalysisState& s, int k);

}  // namespace tessan
