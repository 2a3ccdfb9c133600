#pragma once
// Peak measurements of the batch driver, made as the BF window makes them on a click: the
// vertex of the least-squares parabola through the five points centred on the highest point
// of a peak (numeric/Peak.h, which also measures the CCF peak: MeasureCcfPeak).
#include <optional>
#include <vector>

#include "numeric/Peak.h"
#include "state/Array.h"

namespace tessan::batch {

struct PeakMeasure {
    int index = 0;                      // BF point of the maximum, 1..span
    std::optional<double> velocity;     // km/s; nullopt when the parabola has no vertex
    double height = 0;                  // y at the maximum's point
};

// Up to k peaks of y(1..span), highest first, with velocities x(1..span). A peak is a local
// maximum at a point i in 10..span-10 (the points the BF window takes clicks on): higher than
// its left neighbour, and higher than the first differing point to its right (a run of equal
// values counts once, at its leftmost point). Equal heights are ranked leftmost first. Each is
// measured by CentroidAround on the points i+2 down to i-2, as the window's click measures it.
std::vector<PeakMeasure> MeasureBfPeaks(const Vec& x, const Vec& y, int span, int k);

}  // namespace tessan::batch
