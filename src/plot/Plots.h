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

// Plot_bb: the shown BF (vel_bb, bb_n, or bb_sm when Smoothed; ShownBfPoints of them)
// against velocity, drawn after the grid: black segments from point k - 1 to k and, unsmoothed,
// a grey disc of radius 30 twips on every point but the first. The value axis spans the curve
// drawn. Label1, Label2: first and last x tick; Label3 "0" under zero velocity; Label5 the x
// title; Label4 the top y tick (4, 2); Label6 "  0" beside the zero level ("0" labels only when
// zero lies within the frame). Label10, Label11, Label13, Label14: the files and objects of the
// stars the BF was computed for (bbShown).
Drawing Plot_bb(const AnalysisState& s, int W, int H);
inline constexpr Rgb kDotGrey{100, 100, 100};

// Draw_gauss: the model curve of star s (1..3) from its stored centre, width and height
// (ModelCurve, Drawn(s) set) as the group "star<s>" in the star's colour (navy, red, purple),
// mapped with the frame of the BF on display. The window replaces the star's previous group
// with it. nullopt (nothing changed) for a width of 0 or a parameter that is not finite.
std::optional<DrawGroup> Draw_gauss(AnalysisState& s, const FrameRecord& f, int star);
inline constexpr Rgb kCurveColours[4] = {{}, {0, 0, 128}, {255, 0, 0}, {64, 0, 64}};

// The BF window's click at (X, Y): the point round_half_even((X - Left) / (Right - Left) x
// span + 1) when the click is inside the frame (edges included) and that point lies in
// 10..span - 10; nullopt otherwise.
std::optional<int> BfClickPoint(const FrameRecord& f, int span, double x, double y);

// The singular-value window's readout: the order round_half_even((X - Left) / (Right - Left) x
// (span - 1) + 1) under a cursor inside the frame.
int CursorOrder(const FrameRecord& f, int span, double x);

}  // namespace tessan::plot
