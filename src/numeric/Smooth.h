#pragma once
// Smoothing of the shown BF with a normalised Gaussian kernel, and the peak centroid: the
// vertex of the least-squares parabola through the points around a peak.
#include <optional>
#include <string>
#include <string_view>

#include "state/AnalysisState.h"

namespace tessan {

// Kernel(0..KernelHalf) from SmoothWidth.
void Make_kernel(AnalysisState& s);
// bb_sm(1..span) from bb_n and the kernel; the first and last KernelHalf points are 0.
void Smooth_bb(AnalysisState& s);

// "Smooth" with the text of the width box: SmoothWidth, kernel, bb_sm, Smoothed true.
// Returns the new text of the width box when it must be rewritten ("3.0" for a width of 0).
std::optional<std::string> SmoothCommand(AnalysisState& s, std::string_view widthText);

// Vertex abscissa of the least-squares parabola through (x(i), y(i)), i = 1..n; nullopt when
// the parabola has no vertex (D = 0 or a2 = 0).
std::optional<double> Peak_centroid(const Vec& x, const Vec& y, int n);

// The click search at BF index k (10 <= k <= span - 10): the highest of bb_n(k-6..k+6), then
// PkX, PkY of the five points around it and PeakResult. nullopt (nothing changed) when the
// maximum is at either end of the window or the parabola has no vertex.
std::optional<double> PeakSearch(AnalysisState& s, int k);

}  // namespace tessan
