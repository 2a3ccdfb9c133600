#pragma once
// A drawing: what a plot procedure produces and a plot window replays. Coordinates are twips of
// the window's client area. The operations are kept in named groups (the frame, the data, the
// grid, later a star's model curve), so that a window can replace one group, such as a curve
// that changed, without painting over the others. Each operation carries its colour: a group
// can be replaced or replayed alone.
//
// Besides the operations a drawing carries the places and captions of the window's plot labels
// (Label1, Label2, ... by number) and the frame record its plot was drawn with.
#include <string>
#include <string_view>
#include <vector>

#include "plot/PlotScale.h"
#include "state/AnalysisState.h"

namespace tessan::plot {

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kGridGrey{192, 192, 192};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};

struct DrawOp {
    enum class Kind { Line, Circles };
    Kind kind = Kind::Line;
    // Line: from (x1, y1) to (x2, y2). Circles: centred on (x1, y1), the concentric circles of
    // radius x2, x2 + 1, ..., y2 twips, which fill a ring (a disc when x2 <= 1).
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour;
    bool operator==(const DrawOp&) const = default;
};

// Operations far outside any window are cut at this distance (twips) from the origin, along
// their own line, so that a point drawn "where it falls" never reaches the painter as a huge
// or overflowing coordinate. Operations with a coordinate that is not finite are left out.
inline constexpr double kFarTwips = 1e6;

struct DrawGroup {
    std::string name;
    std::vector<DrawOp> ops;

    void Line(double x1, double y1, double x2, double y2, Rgb colour);
    void Circles(double x, double y, double r1, double r2, Rgb colour);
    bool operator==(const DrawGroup&) const = default;
};

// A plot label: its caption and, when placed, its top left corner (twips). A label that is
// not shown is hidden by the window.
struct PlotLabel {
    int id = 0;                 // Label<id>
    std::string caption;
    bool placed = false;
    int left = 0, top = 0;
    bool shown = true;
    bool operator==(const PlotLabel&) const = default;
};

struct Drawing {
    FrameRecord frame;
    int W = 0, H = 0;                  // the outer size the plot was drawn for (twips)
    std::vector<DrawGroup> groups;
    std::vector<PlotLabel> labels;

    // A new, empty group at the end.
    DrawGroup& Group(std::string name);
    // The group of that name, or nullptr.
    const DrawGroup* Find(std::string_view name) const;
    // Sets Label<id>'s caption only (the window places it).
    void Caption(int id, std::string caption);
    // Sets Label<id>'s place and caption. The place is rounded to whole twips and kept within
    // the window (0..W, 0..H).
    void Place(int id, double left, double top, std::string caption, bool shown = true);
    // Label<id>, or nullptr.
    const PlotLabel* Label(int id) const;
    bool operator==(const Drawing&) const = default;
};

}  // namespace tessan::plot
