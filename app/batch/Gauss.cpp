#include "batch/Gauss.h"

#include "batch/Peaks.h"

namespace tessan::batch {

GaussComponentsFit MeasureGauss(const Vec& vel, const Vec& shown, const Vec& bf, int span, double delV, int k) {
    std::vector<GaussPeak> starts;
    for (const PeakMeasure& p : MeasureBfPeaks(vel, shown, span, k))
        starts.push_back({p.index, p.velocity.value_or(vel(p.index)), p.height});
    return FitGaussComponents(vel, shown, bf, span, delV, starts, k);
}

}  // namespace tessan::batch
