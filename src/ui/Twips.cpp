#include "ui/Twips.h"

#include <QWidget>

#include "text/Int16.h"

namespace tessan::ui {

QPoint toTwips(const QPointF& px) {
    return {int(std::lround(px.x() * kTwipsPerPixel)), int(std::lround(px.y() * kTwipsPerPixel))};
}

QRect twipsRect(int left, int top, int width, int height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

namespace {
int twips16(int px) { return Saturate16(double(px) * kTwipsPerPixel); }
}  // namespace

WinPos outerPosTwips(const QWidget& w) {
    const QRect f = w.frameGeometry();
    return {twips16(f.x()), twips16(f.y())};
}

WinRect outerRectTwips(const QWidget& w) {
    const QRect f = w.frameGeometry();
    return {twips16(f.x()), twips16(f.y()), twips16(f.width()), twips16(f.height())};
}

void placeAt(QWidget& w, const WinPos& pos) { w.move(toPixels(pos.Left), toPixels(pos.Top)); }

void placeAt(QWidget& w, const WinRect& rect) {
    placeAt(w, WinPos{rect.Left, rect.Top});
    // The frame is unknown before the window is first shown; it is then 0 here and the caller
    // applies the size again once the window manager has framed the window.
    const QSize frame = w.frameGeometry().size() - w.geometry().size();
    w.resize(std::max(1, toPixels(rect.Width) - frame.width()),
             std::max(1, toPixels(rect.Height) - frame.height()));
}

}  // namespace tessan::ui
