#pragma once
// The uncertainty of a BF peak velocity and the order chosen by generalised cross-validation,
// both from the decomposition D = U W V^T of the design matrix and one star's resampled
// spectrum. The functions only read the model (U, ww, Vt) and return what they compute, so
// several stars may be measured against one model at the same time.
//
// Notation: m = rows of the design matrix (nGrid - span + 1); s(i) = spr(i + span / 2),
// i = 1..m, the part of the star the BFs fit; u_k and v_k the columns k of U and of V (Vt holds
// V); the BF of order n is built from the components k = 1..n in the order the decomposition
// holds them, and a component whose singular value has no finite inverse is left out of it,
// as numeric/Bf.h leaves it out.
#include <array>
#include <optional>
#include <vector>

#include "state/Array.h"

namespace tessan {

// The fit of the star at every order: rss[n] = ||s - D b_n||^2 for n = 0..span (rss[0] = ||s||^2),
// and used[n], the components k <= n that enter b_n (n unless a singular value is 0).
struct BfResiduals {
    int rows = 0;
    std::vector<double> rss;
    std::vector<int> used;
};

// One pass over the star: U(1..rows, 1..span), ww(1..span), spr(1..rows + span - 1).
BfResiduals ResidualsOfOrders(const Mat& U, const Vec& ww, const Vec& spr, int span, int rows);

// The variance of white spectrum noise estimated from the fit of order n (1..span):
// rss[n] / (rows - used[n]). NaN when no degree of freedom is left (rows = used[n]).
double NoiseVariance(const BfResiduals& r, int n);

// Generalised cross-validation of order n: rss[n] / (rows - used[n])^2; NaN when rows = used[n].
double Gcv(const BfResiduals& r, int n);

// The order 1..span with the smallest Gcv (the smaller order of equal values); orders where it
// is NaN are passed over, and 1 is returned when every one is.
int GcvOrder(const BfResiduals& r);

// The vertex of the least-squares parabola through the five points (x[a], y[a]) (the vertex
// that Peak_centroid measures) and its derivatives d vertex / d y[a], in units of x per unit
// of y. nullopt when the parabola has no vertex.
struct VertexSlope {
    double vertex = 0;
    std::array<double, 5> grad{};
};
std::optional<VertexSlope> ParabolaVertexSlope(const std::array<double, 5>& x, const std::array<double, 5>& y);

// The variance of h . b_n per unit noise variance, b_n the BF of order n and h zero outside the
// BF points first..first + h.size() - 1 (all within 1..span of V):
// sum over k = 1..n of (winv_k sum_j h[j] V(first + j, k))^2.
double FunctionalVariance(const Mat& V, const Vec& ww, int n, int first, const std::vector<double>& h);

// The smoothing the BF window applies (numeric/Smooth.h): weights(0..half), points within
// half of either end set to 0.
struct SmoothingKernel {
    const Vec& weights;
    int half = 0;
};

// The standard deviation (km/s) of the velocity that CentroidAround measures at point centre of
// bf(1..span), velocities vel(1..span): bf is the BF of order n, or that BF smoothed with
// kernel when kernel is given; sigma2 is the noise variance (NoiseVariance). nullopt when the
// five points do not all exist, the parabola has no vertex or sigma2 is NaN.
std::optional<double> VertexUncertainty(const Mat& V, const Vec& ww, int n, int span, const Vec& vel, const Vec& bf,
                                        int centre, const SmoothingKernel* kernel, double sigma2);

}  // namespace tessan
