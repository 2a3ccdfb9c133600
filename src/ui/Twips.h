#pragma once
// Qt lays out in device-independent pixels of 1/96 inch and scales to the screen itself,
// so one pixel is 15 twips on every display. Only this file knows the factor.
//
// The system keeps window geometry as 16-bit twips; values read from a window are saturated
// to that range (a very wide window or one dragged far off screen never wraps around).
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cmath>

#include "state/AnalysisState.h"


namespace tessan::ui {

inline constexpr int kTwipsPerPixel = 15;
inline int toPixels(int twips) { return int(std::lround(twips / double(kTwipsPerPixel))); }
QPoint toTwips(const QPointF& px);
QRect twipsRect(int left, int top, int width, int height);

// A rectangle in pixels as the twips of a geometry record, each saturated to 16 bits.
WinRect recordTwips(const QRect& px);

}  // namespace tessan::ui
