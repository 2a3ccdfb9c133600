#pragma once
// The decomposition written as plain loops over (i, j), in the textbook order, for the
// tests: the arranged loops of Svd_decomp must give the same values bit for bit.
#include <cmath>

#include "state/Array.h"

namespace tessan::test {

inline double PlainSign(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

// Returns false on no convergence (30 iterations) or when m < n.
inline bool PlainSvd(Mat& a, int m, int n, Vec& w, Mat& v) {
    if (m < n) return false;
    Vec rv1(n);
    double g = 0, scale = 0, anorm = 0, s = 0, f = 0, h = 0;
    int l = 0;
    for (int i = 1; i <= n; ++i) {
        l = i + 1; rv1(i) = scale * g; g = s = scale = 0;
        for (int k = i; k <= m; ++k) scale += std::fabs(a(k, i));
        if (scale != 0) {
            for (int k = i; k <= m; ++k) { a(k, i) /= scale; s += a(k, i) * a(k, i); }
            f = a(i, i); g = -PlainSign(std::sqrt(s), f); h = f * g - s; a(i, i) = f - g;
            for (int j = l; j <= n; ++j) {
                s = 0;
                for (int k = i; k <= m; ++k) s += a(k, i) * a(k, j);
                f = s / h;
                for (int k = i; k <= m; ++k) a(k, j) += f * a(k, i);
            }
            for (int k = i; k <= m; ++k) a(k, i) *= scale;
        }
        w(i) = scale * g; g = s = scale = 0;
        if (i != n) {
            for (int k = l; k <= n; ++k) scale += std::fabs(a(i, k));
            if (scale != 0) {
                for (int k = l; k <= n; ++k) { a(i, k) /= scale; s += a(i, k) * a(i, k); }
                f = a(i, l); g = -PlainSign(std::sqrt(s), f); h = f * g - s; a(i, l) = f - g;
                for (int k = l; k <= n; ++k) rv1(k) = a(i, k) / h;
                for (int j = l; j <= m; ++j) {
                    s = 0;
                    for (int k = l; k <= n; ++k) s += a(j, k) * a(i, k);
                    for (int k = l; k <= n; ++k) a(j, k) += s * rv1(k);
                }
                for (int k = l; k <= n; ++k) a(i, k) *= scale;
            }
        }
        const double t = std::fabs(w(i)) + std::fabs(rv1(i));
        if (t > anorm) anorm = t;
    }
    for (int i = n; i >= 1; --i) {
        l = i + 1;
        if (i < n) {
            if (g != 0) {
                for (int j = l; j <= n; ++j) v(j, i) = (a(i, j) / a(i, l)) / g;
                for (int j = l; j <= n; ++j) {
                    s = 0;
                    for (int k = l; k <= n; ++k) s += a(i, k) * v(k, j);
                    for (int k = l; k <= n; ++k) v(k, j) += s * v(k, i);
                }
            }
            for (int j = l; j <= n; ++j) v(i, j) = v(j, i) = 0;
        }
        v(i, i) = 1; g = rv1(i);
    }
    for (int i = n; i >= 1; --i) {
        l = i + 1; g = w(i);
        for (int j = l; j <= n; ++j) a(i, j) = 0;
        if (g != 0) {
            g = 1 / g;
            for (int j = l; j <= n; ++j) {
                s = 0;
                for (int k = l; k <= m; ++k) s += a(k, i) * a(k, j);
                f = (s / a(i, i)) * g;
                for (int k = i; k <= m; ++k) a(k, j) += f * a(k, i);
            }
            for (int j = i; j <= m; ++j) a(j, i) *= g;
        } else {
            for (int j = i; j <= m; ++j) a(j, i) = 0;
        }
        a(i, i) += 1;
    }
    // Rotates columns p and q of x (rows 1..rows) by c and s.
    auto rotate = [](Mat& x, int rows, int p, int q, double c, double s) {
        for (int j = 1; j <= rows; ++j) {
            const double y = x(j, p), z = x(j, q);
            x(j, p) = y * c + z * s; x(j, q) = -y * s + z * c;
        }
    };
    auto neg = [anorm](double x) { return std::fabs(x) + anorm == anorm; };
    for (int k = n; k >= 1; --k) {
        for (int its = 1;; ++its) {
            bool cancel = false;
            for (l = k; l >= 1; --l) {
                if (l == 1 || neg(rv1(l))) break;
                if (neg(w(l - 1))) { cancel = true; break; }
            }
            int nm = l - 1;
            if (cancel) {
                double c = 0;
                s = 1;
                for (int i = l; i <= k; ++i) {
                    f = s * rv1(i); rv1(i) = c * rv1(i);
                    if (neg(f)) continue;
                    g = w(i); h = std::sqrt(f * f + g * g); w(i) = h; h = 1 / h; c = g * h; s = -f * h;
                    rotate(a, m, nm, i, c, s);
                }
            }
            double z = w(k);
            if (l == k) {
                if (!std::isfinite(z)) return false;
                if (z < 0) { w(k) = -z; for (int j = 1; j <= n; ++j) v(j, k) = -v(j, k); }
                break;
            }
            if (its == 30) return false;
            double x = w(l), y = w(nm = k - 1);
            g = rv1(nm); h = rv1(k);
            f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
            g = std::sqrt(f * f + 1.0);
            f = ((x - z) * (x + z) + h * ((y / (f + PlainSign(g, f))) - h)) / x;
            double c = 1;
            s = 1;
            for (int j = l; j <= nm; ++j) {
                const int i = j + 1;
                g = rv1(i); y = w(i); h = s * g; g = c * g;
                z = std::sqrt(f * f + h * h); rv1(j) = z;
                if (z != 0) { c = f / z; s = h / z; } else { c = 1; s = 0; }
                f = x * c + g * s; g = -x * s + g * c; h = y * s; y = y * c;
                rotate(v, n, j, i, c, s);
                z = std::sqrt(f * f + h * h); w(j) = z;
                if (z != 0) { z = 1 / z; c = f * z; s = h * z; }
                f = c * g + s * y; x = -s * g + c * y;
                rotate(a, m, j, i, c, s);
            }
            rv1(l) = 0; rv1(k) = f; w(k) = x;
        }
    }
    return true;
}

}  // namespace tessan::test
