#include "numeric/BfUncertainty.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "numeric/Bf.h"

namespace tessan {

// Why these numbers are what they are.
//
// The BF of order n is linear in the star: b_n = V_n W_n^-1 U_n^T s, with U_n, V_n the first n
// columns of U and V and W_n^-1 = diag(winv_1..winv_n), winv_k = 1 / w_k (0 for a singular value
// without a finite inverse, as the BFs take it). If s carries white noise of variance sigma^2,
// Cov(s) = sigma^2 I and, U having orthonormal columns, Cov(U_n^T s) = sigma^2 I, so
//     Cov(b_n) = sigma^2 V_n W_n^-2 V_n^T,  Cov(b_n)(i, j) = sigma^2 sum_k winv_k^2 V(i, k) V(j, k).
//
// sigma^2 comes from the residual of the fit: D b_n = U W V^T V_n W_n^-1 U_n^T s = U_n U_n^T s
// over the components that enter (W W_n^-1 is 1 there, 0 elsewhere), so with c_k = u_k . s
//     r_n = s - D b_n = s - sum_{k <= n, used} c_k u_k,
//     ||r_n||^2 = ||s||^2 - sum_{k <= n, used} c_k^2 = ||r_span||^2 + sum_{k > n, used} c_k^2,
//     sigma^2 = ||r_n||^2 / (m - n_used),
// n_used the components that enter b_n (the parameters fitted; n when every w_k is invertible).
// The first form subtracts nearly equal sums when the fit is good (its absolute error is of order
// eps ||s||^2, which can exceed a small residual or make it negative); the second is used: r_span
// is formed directly, once, and every term added is non-negative, so the error stays of order
// eps ||s|| ||r_n||. No product with D is needed.
//
// Generalised cross-validation for truncated SVD: G(n) = ||r_n||^2 / (m - n_used)^2, the order
// minimising it balancing what the fit leaves against the parameters it spends.
//
// The measured velocity is the vertex of the least-squares parabola y = a0 + a1 t + a2 t^2 through
// the five points (x_a, y_a), t = x - x_3 (a shift of x moves the vertex by the same amount and
// changes no derivative). Each coefficient is linear in y: a_p = sum_a A_pa y_a, A = N^-1 [1 t t^2]^T
// with N the 3x3 normal matrix of the five t. The vertex is v = x_3 - a1 / (2 a2) and its gradient
//     g_a = d v / d y_a = -(A_1a + 2 t_v A_2a) / (2 a2),  t_v = v - x_3,
// in km/s per BF unit because x are the velocities (i - span2 - 1) delV of the BF points. Without
// smoothing y_a = b_n(p_a), p_a = centre - 2..centre + 2; with smoothing y_a = sum_i K(|i|)
// b_n(p_a + i) over i = -M..M (y_a = 0, independent of b_n, within M points of either end), so
// y = K b_n over the BF points first..last that those sums reach. To first order
//     Var(v) = g^T Cov(y) g = g^T K Cov(b_n) K^T g = h^T Cov(b_n) h,  h = K^T g,
// with the whole covariance of the points involved (no independence assumed). Since
// Cov(b_n) = sigma^2 sum_k winv_k^2 v_k v_k^T restricted to those points,
//     h^T Cov(b_n) h = sigma^2 sum_{k <= n} (winv_k (v_k . h))^2,
// which costs n times the points of h instead of forming the block.

namespace {

// The BFs' rule for a singular value: its inverse, or 0 when that is not a finite number.
double inverseOrZero(double w) {
    const double inv = 1 / w;
    return std::isfinite(inv) ? inv : 0.0;
}

}  // namespace

BfResiduals ResidualsOfOrders(const Mat& U, const Vec& ww, const Vec& spr, int span, int rows) {
    assert(span >= 1 && rows >= span && U.rows() >= rows && U.cols() >= span && ww.size() >= span &&
           spr.size() >= rows + span - 1);
    BfResiduals r;
    r.rows = rows;
    r.rss.assign(static_cast<std::size_t>(span) + 1, 0.0);
    r.used.assign(static_cast<std::size_t>(span) + 1, 0);
    const double* s = spr.data() + span / 2 + 1;   // s[i - 1] = spr(i + span / 2), i = 1..rows
    std::vector<double> resid(s, s + rows), c(static_cast<std::size_t>(span) + 1, 0.0);
    // c_k = u_k . s, the sums the BFs are made of.
    std::vector<double> dot(static_cast<std::size_t>(span) + 1, 0.0);
    ColumnDots(U, span, rows, s - 1, dot.data());
    for (int k = 1; k <= span; ++k) {
        const double* u = U.col(k);
        const double ck = dot[static_cast<std::size_t>(k)];
        const bool used = inverseOrZero(ww(k)) != 0;
        c[static_cast<std::size_t>(k)] = used ? ck : 0.0;
        r.used[static_cast<std::size_t>(k)] = r.used[static_cast<std::size_t>(k) - 1] + (used ? 1 : 0);
        if (used)
            for (int i = 0; i < rows; ++i) resid[static_cast<std::size_t>(i)] -= ck * u[i];
    }
    double rss = 0;
    for (double e : resid) rss += e * e;
    for (int n = span; n >= 0; --n) {
        r.rss[static_cast<std::size_t>(n)] = rss;
        rss += c[static_cast<std::size_t>(n)] * c[static_cast<std::size_t>(n)];
    }
    return r;
}

namespace {

// rows - used[n], or 0 for an order outside 1..span.
int freedom(const BfResiduals& r, int n) {
    if (n < 1 || n >= static_cast<int>(r.rss.size())) return 0;
    return r.rows - r.used[static_cast<std::size_t>(n)];
}

}  // namespace

double NoiseVariance(const BfResiduals& r, int n) {
    const int dof = freedom(r, n);
    if (dof <= 0) return std::numeric_limits<double>::quiet_NaN();
    return r.rss[static_cast<std::size_t>(n)] / dof;
}

double Gcv(const BfResiduals& r, int n) {
    const double dof = freedom(r, n);
    if (dof <= 0) return std::numeric_limits<double>::quiet_NaN();
    return r.rss[static_cast<std::size_t>(n)] / (dof * dof);
}

int GcvOrder(const BfResiduals& r) {
    int best = 1;
    double bestG = std::numeric_limits<double>::quiet_NaN();
    for (int n = 1; n < static_cast<int>(r.rss.size()); ++n) {
        const double g = Gcv(r, n);
        if (g < bestG || (std::isnan(bestG) && !std::isnan(g))) {
            best = n;
            bestG = g;
        }
    }
    return best;
}

std::optional<VertexSlope> ParabolaVertexSlope(const std::array<double, 5>& x, const std::array<double, 5>& y) {
    // The normal matrix and its cofactors as Peak_centroid forms them, in t = x - x_3.
    std::array<double, 5> t{};
    double s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    for (std::size_t a = 0; a < 5; ++a) {
        t[a] = x[a] - x[2];
        const double t2 = t[a] * t[a];
        s1 += t[a];
        s2 += t2;
        s3 += t2 * t[a];
        s4 += t2 * t2;
    }
    const double a1 = s2 * s4 - s3 * s3, a2 = s1 * s4 - s2 * s3, a3 = s1 * s3 - s2 * s2;
    const double b2 = 5 * s4 - s2 * s2, b3 = 5 * s3 - s1 * s2, c3 = 5 * s2 - s1 * s1;
    const double d = 5 * a1 - s1 * a2 + s2 * a3;
    if (d == 0) return std::nullopt;
    std::array<double, 5> lin{}, quad{};   // A_1a and A_2a
    double l = 0, q = 0;
    for (std::size_t a = 0; a < 5; ++a) {
        lin[a] = (-a2 + t[a] * b2 - t[a] * t[a] * b3) / d;
        quad[a] = (a3 - t[a] * b3 + t[a] * t[a] * c3) / d;
        l += lin[a] * y[a];
        q += quad[a] * y[a];
    }
    if (q == 0) return std::nullopt;
    const double tv = -l / (2 * q);
    VertexSlope out;
    out.vertex = x[2] + tv;
    if (!std::isfinite(out.vertex)) return std::nullopt;
    for (std::size_t a = 0; a < 5; ++a) out.grad[a] = -(lin[a] + 2 * tv * quad[a]) / (2 * q);
    return out;
}

double FunctionalVariance(const Mat& V, const Vec& ww, int n, int first, const std::vector<double>& h) {
    const int count = static_cast<int>(h.size());
    assert(first >= 1 && first + count - 1 <= V.rows() && n <= V.cols() && n <= ww.size());
    double sum = 0;
    for (int k = 1; k <= n; ++k) {
        const double* v = V.col(k) + (first - 1);
        double z = 0;
        for (int j = 0; j < count; ++j) z += h[static_cast<std::size_t>(j)] * v[j];
        z *= inverseOrZero(ww(k));
        sum += z * z;
    }
    return sum;
}

std::optional<double> VertexUncertainty(const Mat& V, const Vec& ww, int n, int span, const Vec& vel, const Vec& bf,
                                        int centre, const SmoothingKernel* kernel, double sigma2) {
    const int first = centre - 2, last = centre + 2;
    if (first < 1 || last > std::min({span, vel.size(), bf.size()}) || std::isnan(sigma2)) return std::nullopt;
    std::array<double, 5> x{}, y{};
    for (int a = 0; a < 5; ++a) {
        x[static_cast<std::size_t>(a)] = vel(first + a);
        y[static_cast<std::size_t>(a)] = bf(first + a);
    }
    const std::optional<VertexSlope> slope = ParabolaVertexSlope(x, y);
    if (!slope) return std::nullopt;

    // h = K^T g over the BF points it reaches (K the identity without smoothing).
    const int m = kernel ? std::clamp(kernel->half, 0, kernel->weights.size()) : 0;
    const int hFirst = std::max(1, first - m), hLast = std::min(span, last + m);
    std::vector<double> h(static_cast<std::size_t>(hLast - hFirst + 1), 0.0);
    for (int a = 0; a < 5; ++a) {
        const int p = first + a;
        if (kernel && (p <= m || p > span - m)) continue;   // a point the smoothing sets to 0
        for (int i = -m; i <= m; ++i) {
            const double k = kernel ? kernel->weights(std::abs(i)) : 1.0;
            h[static_cast<std::size_t>(p + i - hFirst)] += slope->grad[static_cast<std::size_t>(a)] * k;
        }
    }
    return std::sqrt(sigma2 * FunctionalVariance(V, ww, n, hFirst, h));
}

}  // namespace tessan
