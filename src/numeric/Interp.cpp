#include <vector>

#include "numeric/Resample.h"

namespace tessan {

bool LinInterpQuiet(const Vec& xOld, const Vec& yOld, int nOld, const Vec& xNew, Vec& yNew, int nNew) {
    if (nNew < 1 || nOld < 1) return true;
    std::vector<double> out(static_cast<std::size_t>(nNew) + 1);
    for (int i = 1; i <= nNew; ++i) {
        const double x = xNew(i);
        // Points outside the old range take the value of the nearest end point, so the
        // searches below never leave the filled points.
        if (nOld == 1 || x <= xOld(1)) {
            out[static_cast<std::size_t>(i)] = yOld(1);
            continue;
        }
        if (x >= xOld(nOld)) {
            out[static_cast<std::size_t>(i)] = yOld(nOld);
            continue;
        }
        // The search for every point starts at the point's own index.
        int j = i < 1 ? 1 : (i > nOld - 1 ? nOld - 1 : i);
        while (j > 1 && x < xOld(j)) --j;
        while (j < nOld - 1 && x > xOld(j + 1)) ++j;
        const double dx = xOld(j + 1) - xOld(j);
        if (dx == 0) return false;
        // A point on an old wavelength takes its value exactly; the formula could be off by
        // a rounding there.
        out[static_cast<std::size_t>(i)] =
            x == xOld(j + 1) ? yOld(j + 1) : (x - xOld(j)) / dx * (yOld(j + 1) - yOld(j)) + yOld(j);
    }
    for (int i = 1; i <= nNew; ++i) yNew(i) = out[static_cast<std::size_t>(i)];
    return true;
}

bool Lin_interp(const Vec& xOld, const Vec& yOld, int nOld, const Vec& xNew, Vec& yNew, int nNew,
                Platform& p) {
    if (LinInterpQuiet(xOld, yOld, nOld, xNew, yNew, nNew)) return true;
    p.MsgBox("Two neighbouring wavelengths of the spectrum are equal: it cannot be resampled.");
    return false;
}

}  // namespace tessan
