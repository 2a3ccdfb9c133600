#pragma once
// The arithmetic that every plot window shares, in twips of the window's client area (x to the
// right, y downwards, origin at the top left): the frame of each kind of window from its outer
// size, the tick step and tick range of an axis, the map from data to twips and its inverse,
// and the two inside tests. Pure functions; the plot procedures (plot/Plots.h) draw with them.
//
// Degenerate input never stops a plot: a range of zero width becomes a nominal range around
// its value, an inverted range (data decreasing to the right) keeps its direction and gets its
// ticks from the ordered range, tick indexes are wide integers, every loop is bounded, and an
// axis whose step cannot be represented simply has no ticks.
#include <cstdint>

namespace tessan::plot {

enum class PlotKind { Spectrum, Singular, Bf, Ccf };

// The frame record of a plot window: the frame's edges in twips and the data values at the
// edges. Written by the plot procedure, read by the cursor readout and the click handlers.
struct FrameRecord {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    double Xmin = 0, Xmax = 1;   // data at Left and at Right
    double Ymin = 0, Ymax = 1;   // data at Bottom and at Top

    int PW() const { return Right - Left; }
    int PH() const { return Bottom - Top; }
    // Data to twips; nothing is clipped to the frame.
    double X(double u) const { return Left + (u - Xmin) / (Xmax - Xmin) * PW(); }
    double Y(double v) const { return Bottom - (v - Ymin) / (Ymax - Ymin) * PH(); }
    // Twips to data: the inverse of X and Y (needs a frame that has not collapsed).
    double U(double x) const { return Xmin + (x - Left) / (Right - Left) * (Xmax - Xmin); }
    double V(double y) const { return Ymin + (Bottom - y) / (Bottom - Top) * (Ymax - Ymin); }
    bool operator==(const FrameRecord&) const = default;
};

// The frame's edges for a window of the given kind and outer size W x H (twips, the real size:
// only stored geometry is limited to 16 bits). The data values are left at 0..1.
FrameRecord FrameLayout(PlotKind kind, int W, int H);

// The cursor readout's test: Left <= X < Right and Top <= Y < Bottom (the right and bottom
// edges are outside). False for a frame that has collapsed.
bool InsideReadout(const FrameRecord& f, double x, double y);
// A click's test: Left <= X <= Right and Top <= Y <= Bottom (edges inside), and only when
// Right > Left and Bottom > Top, so that the inverse maps never divide by zero.
bool InsideClick(const FrameRecord& f, double x, double y);

// The range an axis is drawn over, from the data's limits: a limit that is not finite is
// replaced by the other (0 when neither is); a range of zero width becomes v - d .. v + d with
// d = max(1, |v| * 1E-6); limits so far apart that their difference overflows are brought in.
// The direction (from > to or from < to) is kept.
struct AxisRange {
    double from = 0, to = 1;   // data at the axis' start (Left, Bottom) and end (Right, Top)
};
AxisRange UsableRange(double from, double to);

// x axes step 10, 5 or 2 tenths of the power of ten below the range; y axes 10 or 2.
enum class AxisKind { X, Y };

// The tick step of a range R (> 0): t = floor(ln R / 2.302585), p = 10^t in single precision,
// q = R / p, multiplier 10, 5 when q < 5 (x axes only), 2 when q < 2, step = p * multiplier / 10
// in single precision. 0 when R is not a positive finite number or the step is not a finite
// positive single-precision number.
float TickStep(double R, AxisKind kind);

// The ticks of an axis: the multiples i * step (single-precision products) for i = i0..i1,
// i0 * step the first at or above the lower limit and i1 * step the last at or below the upper
// one, compared in single precision. No ticks (i0 > i1) when the step is 0 or the indexes
// would exceed 1E15; at most kMaxTicks ticks.
struct Ticks {
    float step = 0;
    std::int64_t i0 = 1, i1 = 0;
    bool empty() const { return i1 < i0; }
    float Value(std::int64_t i) const { return static_cast<float>(i) * step; }
};
inline constexpr std::int64_t kMaxTicks = 1000;
Ticks TickIndexes(double lo, double hi, float step);
// TickStep and TickIndexes over the ordered range of r.
Ticks AxisTicks(const AxisRange& r, AxisKind kind);

}  // namespace tessan::plot
