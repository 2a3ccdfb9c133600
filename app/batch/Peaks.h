#pragma once
// Peak measurements of the batch driver, made as the BF and CCF windows make them on a click:
// the vertex of the least-squares parabola (Peak_centroid) through the five points centred on
// the highest point of a peak.
#include <optional>
#include <vector>

#include "state/Array.h"

namespace tessan::batch {

struct PeakMeasure {
    int index = 0;                      // BF point of the maximum, 1..span
    std::optional<double> velocity;     // km/s; nullopt when the parabola has no vertex
    double height = 0;                  // y at the maximum's point
};

// The first BF point the BF window accepts clicks on; the last is span - kClickMargin.
inline constexpr int kClickMargin = 10;

// Up to k peaks of y(1..span), highest first, with velocities x(1..span). A peak is a local
// maximum at a point i in 10..span-10: higher than its left neighbour, and higher than the
// first differing point to its right (a run of equal values counts once, at its leftmost
// point). Equal heights are ranked leftmost first. Each is measured on the points i+2 down
// to i-2, the order in which the window's click search hands them to Peak_centroid.
std::vector<PeakMeasure> MeasureBfPeaks(const Vec& x, const Vec& y, int span, int k);

// The CCF peak: the highest lag of cc(-n..n) (the leftmost of equal maxima), measured on the
// lags L+2 down to L-2. nullopt when that lag has fewer than two lags on either side, when
// n < 2, or when the parabola has no vertex.
std::optional<double> MeasureCcfPeak(const SymVec& vel, const SymVec& cc, int n);

}  // namespace tessan::batch
