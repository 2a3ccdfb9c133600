#pragma once
// The Gaussian components of one BF, as the batch driver measures them: Gaussians started at
// the BF's highest peaks, fitted by the fit of "Solve Gauss fit" (FitGaussians, the automatic
// velocity window, the unsmoothed BF), and what follows from the fitted parameters: areas,
// light fractions and the uncertainties of the centres. Reads its arrays only, so that stars
// can be measured side by side. Vectors are 1-based, velocities and widths in km/s.
#include <string>
#include <vector>

#include "state/Array.h"

namespace tessan {

// The starting width at the peak at point index (1..span) of height y(index): its half width
// at half height. From the peak, walk left and right to the first point at or below half the
// height and interpolate linearly between it and its neighbour towards the peak; the width is
// half the distance between the two crossings. 2 delV when either crossing lies beyond 1..span
// or the height is not positive.
double GaussStartWidth(const Vec& x, const Vec& y, int span, int index, double delV);

// A peak to start a Gaussian at.
struct GaussPeak {
    int index = 0;          // BF point of the maximum, 1..span
    double velocity = 0;    // the starting centre
    double height = 0;      // y(index)
};

// One fitted Gaussian height exp(-((v - velocity) / width)^2).
struct GaussComponent {
    double velocity = 0;
    double width = 0;          // half width at 1/e of the height (the fit's width, made positive)
    double height = 0;         // BF units
    double area = 0;           // height width sqrt(pi)
    double fraction = 0;       // area over the sum of the components' areas
    double velocityError = 0;  // from the residual scatter; NaN with no degree of freedom left
};

struct GaussComponentsFit {
    std::vector<GaussComponent> components;   // k of them ordered by velocity; none when stopped
    std::string message;                      // why the fit did not start or stopped
};

// k (2 or 3) Gaussians started at the first k of peaks (highest first: star 1 at the highest)
// with heights and centres of the peaks and widths GaussStartWidth on shown, the BF the peaks
// were found on; then FitGaussians on bf(1..span), the unsmoothed BF, at velocities vel, over
// the automatic window. Fewer than k peaks: no fit, and a message that says so. A fit that stops
// gives the fit's message.
GaussComponentsFit FitGaussComponents(const Vec& vel, const Vec& shown, const Vec& bf, int span, double delV,
                                      const std::vector<GaussPeak>& peaks, int k);

}  // namespace tessan
