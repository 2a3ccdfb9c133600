#pragma once
// Smoothing of the shown BF with a normalised Gaussian kernel, and the peak centroid: the
// vertex of the least-squares parabola through the points around a peak.
#include <optional>
#include <string>
#include <string_view>

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

// Vertex abscissa of the least-squares parabola through (x(i), y(i)), i = 1..n; nullopt when
// the parabola has no vertex (D = 0 or a2 = 0).
std::optional<double> Peak_centroid(const Vec& x, const Vec& y, int n);

// The click search at BF index k (10 <= k <= span - 10): the highest of bb_n(k-6..k+6) (the
// leftmost of equal values), then PkX, PkY of the five points around it (from bb_sm when
// Smoothed) and PeakResult. nullopt with PeakResult unchanged when k is out of range, the
// maximum is at either end of the window or the parabola has no vertex.
std::optional<double> PeakSearch(AnalysisState& s, int k);

}  // namespace tessan
