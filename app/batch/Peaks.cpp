#include "batch/Peaks.h"

#include <algorithm>

namespace tessan::batch {

std::vector<PeakMeasure> MeasureBfPeaks(const Vec& x, const Vec& y, int span, int k) {
    std::vector<PeakMeasure> found;
    const int lo = kBfClickMargin, hi = span - kBfClickMargin;
    for (int i = lo; i <= hi; ++i) {
        if (!(y(i) > y(i - 1))) continue;
        int j = i + 1;
        while (j < span && y(j) == y(i)) ++j;
        if (!(y(j) < y(i))) continue;
        found.push_back({i, std::nullopt, y(i)});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const PeakMeasure& a, const PeakMeasure& b) { return a.height > b.height; });
    if (static_cast<int>(found.size()) > k) found.resize(static_cast<std::size_t>(std::max(k, 0)));
    Vec px(kCentroidPoints), py(kCentroidPoints);
    for (PeakMeasure& p : found) p.velocity = CentroidAround(Series(x, span), Series(y, span), p.index, px, py);
    return found;
}

}  // namespace tessan::batch
