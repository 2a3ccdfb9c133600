#pragma once
// The peak measurement shared by the BF window's click, the CCF window's click and the batch
// driver: the highest point among the 13 points around a click, and the vertex of the
// least-squares parabola through the five points centred on a maximum (its centroid). Only
// points that exist are read: a BF has points 1..span, a CCF lags -N..N.
#include <algorithm>
#include <cassert>
#include <optional>

#include "state/Array.h"

namespace tessan {

inline constexpr int kSearchHalfWidth = 6;     // the click search covers k-6..k+6: 13 points
inline constexpr int kCentroidHalfWidth = 2;   // the parabola runs through centre-2..centre+2
inline constexpr int kCentroidPoints = 2 * kCentroidHalfWidth + 1;
inline constexpr double kSearchFloor = -999;   // the search starts here: no lower value is a maximum
inline constexpr int kBfClickMargin = 10;      // BF points 10..span-10 take a click
inline constexpr int kCcfClickMargin = 5;      // lags -N+5..N-5 take a click

// The points lo..hi of a vector, read with their bounds checked.
class Series {
public:
    // v(1..n) of a 1-based vector; n is limited to what v holds.
    Series(const Vec& v, int n) : m_p(v.data()), m_lo(1), m_hi(std::min(n, v.size())) {}
    // v(-n..n) of a vector indexed from -bound to bound; n is limited to the bound.
    Series(const SymVec& v, int n) : m_p(v.origin()), m_lo(-std::min(n, v.bound())), m_hi(-m_lo) {}
    bool Has(int i) const { return i >= m_lo && i <= m_hi; }
    double operator()(int i) const {
        assert(Has(i));
        return m_p[i];
    }
    int lo() const { return m_lo; }
    int hi() const { return m_hi; }

private:
    const double* m_p;
    int m_lo, m_hi;
};

// Vertex abscissa of the least-squares parabola through (x(i), y(i)), i = 1..n; nullopt when
// the parabola has no vertex (D = 0 or a2 = 0) or the vertex is not a finite number.
std::optional<double> Peak_centroid(const Vec& x, const Vec& y, int n);

// The click search at point k: the highest y among the points k-6..k+6 that exist, scanned
// from the left starting from -999 (so the leftmost of equal values wins). nullopt when the
// highest point is at either end of the 13-point window (k-6 or k+6), or none exceeds -999.
std::optional<int> PeakAround(const Series& y, int k);

// The five points centre+2 down to centre-2 of (x, y) into px(1..5), py(1..5), and the vertex
// of their parabola. nullopt when one of the five points does not exist (px, py untouched)
// or the parabola has no vertex.
std::optional<double> CentroidAround(const Series& x, const Series& y, int centre, Vec& px, Vec& py);

// The CCF window's click at lag i of cc(-n..n), velocities vel(-n..n): nothing unless
// -n+5 <= i <= n-5; then PeakAround and CentroidAround over the lags -n..n.
std::optional<double> CcfPeakSearch(const SymVec& vel, const SymVec& cc, int n, int i, Vec& px, Vec& py);

// The CCF peak of the batch driver: the highest lag of cc(-n..n) (the leftmost of equal
// maxima) measured by CentroidAround. nullopt for n < 0, when that lag has fewer than two
// lags on either side, or when the parabola has no vertex.
std::optional<double> MeasureCcfPeak(const SymVec& vel, const SymVec& cc, int n);

}  // namespace tessan
