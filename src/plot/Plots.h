#pragma once
// The plot procedures: each turns the state into the drawing of its window for the window's
// outer size W x H (twips): the frame in black, the data, the grey grid with black tick marks,
// the plot labels (first and last tick values, titles, grid step) and the file and object
// labels, which are filled at every plot so that they always name the data shown.
//
// Drawing groups: "frame", "data" and "grid", in drawing order (the grid lies over the data of
// the spectrum and singular-value plots and under that of the CCF plot).
//
// Nothing here fails. Values that are not finite (and, on a logarithmic axis, values <= 0) are
// left out of the ranges and the drawing; empty, constant or inverted ranges are drawn through
// UsableRange; a label whose place falls outside the window is kept at its edge, and the "0"
// labels of the CCF plot are shown only when zero lies within the frame.
#include <optional>

#include "plot/Drawing.h"
#include "state/AnalysisState.h"
#include "state/StarView.h"

namespace tessan::plot {

inline constexpr const char* kSpectrumTitle = "Wavelength / Ang";
inline constexpr const char* kOrderTitle = "Order, n";
inline constexpr const char* kVelocityTitle = "Delta Velocity (prog-std),  km/s";

// Plot_Spectr_Std and Plot_Spectr_Pro: the star's pixel values 1..nPix (its own count) against
// wavelength as a blue polyline, pixel 1 on the left frame edge and the last on the right; the
// value axis from 0 to the largest value (from the lowest value to 0 when no value is
// positive). Label12 and Label14: the star's file name and object.
Drawing Plot_Spectr(const ConstStarView& star, int W, int H);

// Plot_ww: the points (x(i), y(i)), i = 1..n, as red dots of radius 15 twips, with the base-10
// logarithm of x when LogX and of y when LogY. A point whose value has no logarithm or is not
// finite is left out; Label15 then says how many (hidden when none). The abscissa range is
// taken over every point with a finite abscissa, so that an order axis stays 1..n. Label12 and
// Label14: the standard's file name and object.
Drawing Plot_ww(const AnalysisState& s, int n, const Vec& x, const Vec& y, bool LogX, bool LogY, int W, int H);
inline constexpr int kLeftOutLabel = 15;

// Plot_CC: the cross-correlation cc(-N..N) against vel_cc(-N..N) over the grid, as red lines
// from each lag to the next with a blue ring (radii 8..15 twips) on every lag but the first.
// Label10, Label11, Label13, Label14: the standard's and program star's file names and objects.
Drawing Plot_CC(const AnalysisState& s, int W, int H);

// The CCF window's click at (X, Y): the lag round_half_even(2N (X - Left) / (Right - Left) - N)
// when the click is inside the frame (edges included); nullopt otherwise.
std::optional<int> CcfClickLag(const FrameRecord& f, int N, double x, double y);

// The singular-value window's readout: the order round_half_even((X - Left) / (Right - Left) x
// (span - 1) + 1) under a cursor inside the frame.
int CursorOrder(const FrameRecord& f, int span, double x);

}  // namespace tessan::plot
