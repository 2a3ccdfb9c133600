#include "ui/Twips.h"

#include "text/Int16.h"

namespace tessan::ui {

QPoint toTwips(const QPointF& px) {
    return {int(std::lround(px.x() * kTwipsPerPixel)), int(std::lround(px.y() * kTwipsPerPixel))};
}

QRect twipsRect(int left, int top, int width, int height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

WinRect recordTwips(const QRect& px) {
    auto twips16 = [](int v) { return Saturate16(double(v) * kTwipsPerPixel); };
    return {twips16(px.x()), twips16(px.y()), twips16(px.width()), twips16(px.height())};
}

}  // namespace tessan::ui
