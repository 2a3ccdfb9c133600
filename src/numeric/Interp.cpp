#include <algorithm>
#include <vector>

#include "numeric/Resample.h"

namespace tessan {

namespace {

// The old interval [j, j + 1] of a point x inside the old range (xOld(1) < x < xOld(nOld)): the
// search starts at j0 (the point's own index, clamped to the old points), walks down while x <
// xOld(j), then up while x > xOld(j + 1).
int walkFrom(const double* xOld, int nOld, int j0, double x) {
    int j = j0;
    while (j > 1 && x < xOld[j]) --j;
    while (j < nOld - 1 && x > xOld[j + 1]) ++j;
    return j;
}

// The interval the walk ends at, when the old wavelengths never decrease: walking down from j0
// ends at the last j with xOld(j) <= x (before j0, since x < xOld(j0)), walking up at the first
// j >= j0 with x <= xOld(j + 1); so equal wavelengths resolve exactly as the walk resolves
// them. Both bounds are kept from point to point and move only as far as x does, which on an
// increasing grid makes the whole resampling one pass over the old points.
class Bounds {
public:
    Bounds(const double* xOld, int nOld) : m_x(xOld), m_n(nOld) {}
    int from(int j0, double x) {
        if (x != x) return j0;   // no comparison holds: the walk stays where it starts
        if (x < m_x[j0]) return firstAbove(x) - 1;
        return std::max(j0 + 1, firstAtLeast(x)) - 1;
    }

private:
    int firstAtLeast(double x) {   // the first m with xOld(m) >= x
        while (m_atLeast > 1 && m_x[m_atLeast - 1] >= x) --m_atLeast;
        while (m_atLeast <= m_n && m_x[m_atLeast] < x) ++m_atLeast;
        return m_atLeast;
    }
    int firstAbove(double x) {     // the first m with xOld(m) > x
        while (m_above > 1 && m_x[m_above - 1] > x) --m_above;
        while (m_above <= m_n && m_x[m_above] <= x) ++m_above;
        return m_above;
    }
    const double* m_x;
    int m_n;
    int m_atLeast = 1, m_above = 1;
};

}  // namespace

bool LinInterpQuiet(const Vec& xOld, const Vec& yOld, int nOld, const Vec& xNew, Vec& yNew, int nNew) {
    if (nNew < 1 || nOld < 1) return true;
    const double* xo = xOld.data();   // xo[j] = xOld(j)
    bool increasing = true;            // never decreasing, no value that is not a number
    for (int j = 2; j <= nOld && increasing; ++j) increasing = xo[j] >= xo[j - 1];
    Bounds bounds(xo, nOld);
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
        const int j0 = i < 1 ? 1 : (i > nOld - 1 ? nOld - 1 : i);
        const int j = increasing ? bounds.from(j0, x) : walkFrom(xo, nOld, j0, x);
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
