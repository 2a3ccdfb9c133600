// Singular value decomposition: Householder reduction to upper bidiagonal form, accumulation
// of the right- and left-hand transformations, then implicitly shifted QR sweeps on the
// bidiagonal form, with negligibility judged by exact equality against anorm.
//
// Every value is computed with the same operations in the same order as the textbook form of
// the method (sums run upwards over their index, square roots taken directly). Only the
// arrangement of the loops differs, to suit the column-major storage and the caches:
//  - the matrix is worked in passes over its columns (numeric/SvdKernels.h), each update of a
//    column going with the sums that need the updated values, in the same pass;
//  - the row part of the reduction forms all its row sums at once, one column at a time;
//  - sums over a column are formed for several columns side by side;
//  - the left-hand accumulation takes a block of columns through all its steps at a time;
//  - the plane rotations of the QR phase do not depend on the contents of a or v, so they
//    are recorded and applied afterwards, a few rows at a time, each row meeting them in the
//    order they were made.
// The inner loops come in sets for different instruction sets, which give the same values.
//
// Sign of zero: where the reflection needs sign(f) and f is exactly 0, +1 is taken, so that
// |g| = sqrt(s) and the reflection stays orthogonal; the same choice in the shift keeps its
// denominator f + |g| sign(f) at |g| >= 1.
#include "numeric/Svd.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <vector>

#include "numeric/SvdKernels.h"

namespace tessan {

namespace {

// +|a| when b >= 0 (zero included), -|a| otherwise.
inline double withSignOf(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

inline bool negligible(double x, double anorm) { return std::fabs(x) + anorm == anorm; }

// Scratch of one decomposition, 1-based.
struct Work {
    std::vector<double> rowSum;  // by row: the row part's sums
    std::vector<double> dot;     // by column: the sums of a pending reflection
    std::vector<double> coef;    // by column: the multiples of a reflection's update
    std::vector<double> row;     // by column: a copy of one row
};

// A pass that only forms the sums of columns c0..c1 with x over rows r0..m, into out.
Pass columnSums(int c0, int c1, int r0, int m, const double* x, double* out) {
    return {.c0 = c0, .c1 = c1, .r0 = r0, .m = m, .sum = PassSum::ColumnDot, .x = x, .out = out};
}

// Column i scaled and turned into its Householder vector (rows i..m), when it is not zero.
struct ColumnStep {
    double scale = 0, g = 0, h = 0;
};
ColumnStep prepareColumn(double* ci, int i, int m) {
    ColumnStep c;
    for (int k = i; k <= m; ++k) c.scale += std::fabs(ci[k]);
    if (c.scale != 0) {
        double s = 0;
        for (int k = i; k <= m; ++k) {
            ci[k] /= c.scale;
            s += ci[k] * ci[k];
        }
        const double f = ci[i];
        c.g = -withSignOf(std::sqrt(s), f);
        c.h = f * c.g - s;
        ci[i] = f - c.g;
    }
    return c;
}

// Step 1: Householder reduction. Returns anorm; g is left as the last g of the row part.
// Below row i, step i makes two passes over the columns to its right: the first forms the
// row part's sums from the column reflection's update, the second makes that update again
// (the same values), adds the row reflection's and forms the sums of the next column
// reflection, whose column is updated and prepared first.
double reduce(const SvdKernels& kern, View a, int m, int n, double* w, double* rv1, double& gOut, Work& wk) {
    double g = 0, scale = 0, anorm = 0;
    ColumnStep next;
    bool prepared = false;  // column i prepared, wk.dot holding its sums
    for (int i = 1; i <= n; ++i) {
        const int l = i + 1;
        double* ci = a.col(i);
        rv1[i] = scale * g;
        if (!prepared) {
            next = prepareColumn(ci, i, m);
            if (next.scale != 0 && l <= n)
                kern.pass(a, columnSums(l, n, i, m, ci, wk.dot.data()));
        }
        const ColumnStep col = next;
        prepared = false;
        if (col.scale != 0) {
            for (int j = l; j <= n; ++j) {
                wk.coef[j] = wk.dot[j] / col.h;
                a(i, j) += wk.coef[j] * ci[i];
            }
        }
        w[i] = col.scale * col.g;
        g = 0;
        scale = 0;
        if (i != n) {
            double s = 0;
            for (int k = l; k <= n; ++k) scale += std::fabs(a(i, k));
            if (scale != 0) {
                for (int k = l; k <= n; ++k) {
                    a(i, k) /= scale;
                    s += a(i, k) * a(i, k);
                }
                const double f = a(i, l);
                g = -withSignOf(std::sqrt(s), f);
                const double h = f * g - s;
                a(i, l) = f - g;
                for (int k = l; k <= n; ++k) {
                    rv1[k] = a(i, k) / h;
                    wk.row[k] = a(i, k);
                }
            }
        }
        const Update colUpdate = col.scale != 0 ? Update{wk.coef.data(), ci} : Update{};
        if (scale != 0) {
            std::fill(wk.rowSum.begin() + l, wk.rowSum.begin() + m + 1, 0.0);
            kern.pass(a, {.c0 = l, .c1 = n, .r0 = l, .m = m, .first = colUpdate, .sum = PassSum::RowSum,
                          .x = wk.row.data(), .out = wk.rowSum.data()});
            const Update rowUpdate{rv1, wk.rowSum.data()};
            kern.pass(a, {.c0 = l, .c1 = l, .r0 = l, .m = m, .first = colUpdate, .second = rowUpdate});
            double* cl = a.col(l);
            next = prepareColumn(cl, l, m);
            prepared = true;
            kern.pass(a, {.c0 = l + 1, .c1 = n, .r0 = l, .m = m, .first = colUpdate, .second = rowUpdate,
                          .sum = next.scale != 0 ? PassSum::ColumnDot : PassSum::None, .x = cl, .out = wk.dot.data()});
            for (int k = l; k <= n; ++k) a(i, k) *= scale;
        } else if (colUpdate.coef && l <= n) {
            kern.pass(a, {.c0 = l, .c1 = n, .r0 = l, .m = m, .first = colUpdate});
        }
        if (col.scale != 0)
            for (int k = i; k <= m; ++k) ci[k] *= col.scale;
        const double t = std::fabs(w[i]) + std::fabs(rv1[i]);
        if (t > anorm) anorm = t;  // a NaN never becomes the scale of the tests
    }
    gOut = g;
    return anorm;
}

// Step 2: the right-hand transformations into v: the sums of a reflection in one pass, its
// update in another.
void accumulateRight(const SvdKernels& kern, View a, View v, int n, const double* rv1, double g, Work& wk) {
    for (int i = n; i >= 1; --i) {
        const int l = i + 1;
        if (i < n) {
            if (g != 0) {
                for (int k = l; k <= n; ++k) wk.row[k] = a(i, k);
                const double* ai = wk.row.data();
                double* vi = v.col(i);
                for (int j = l; j <= n; ++j) vi[j] = (ai[j] / ai[l]) / g;
                kern.pass(v, columnSums(l, n, l, n, ai, wk.dot.data()));
                kern.pass(v, {.c0 = l, .c1 = n, .r0 = l, .m = n, .first = {wk.dot.data(), vi}});
            }
            for (int j = l; j <= n; ++j) {
                v(i, j) = 0;
                v(j, i) = 0;
            }
        }
        v(i, i) = 1;
        g = rv1[i];
    }
}

// Step 3: the left-hand transformations into a. Step i reflects the columns to its right with
// column i as it was left by the reduction, then turns column i into its final form. A column
// meets only the steps left of it, in order, and the columns left of it do not change before
// their own step, so the columns are taken a block at a time from the right, each block
// through every step while it stays in cache. The update of step i (rows i..m of the block)
// goes with the sums of step i - 1 over the same rows, in one pass.
void accumulateLeft(const SvdKernels& kern, View a, int m, int n, const double* w, Work& wk) {
    constexpr int kBlock = 16;
    for (int j1 = n; j1 >= 1; j1 -= kBlock) {
        const int j0 = std::max(1, j1 - kBlock + 1);
        bool summed = false;  // wk.dot holding the sums of step i over the block's columns right of i
        for (int i = j1; i >= 1; --i) {
            const int l = std::max(i + 1, j0);
            double* ci = a.col(i);
            const double* next = i > 1 ? a.col(i - 1) : nullptr;  // the vector of step i - 1
            for (int j = l; j <= j1; ++j) a(i, j) = 0;
            bool restSummed = l > j1;  // next's sums over columns l..j1
            if (w[i] != 0 && l <= j1) {
                const double g = 1 / w[i];
                if (!summed) kern.pass(a, columnSums(l, j1, i + 1, m, ci, wk.dot.data()));
                for (int j = l; j <= j1; ++j) wk.coef[j] = (wk.dot[j] / ci[i]) * g;
                kern.pass(a, {.c0 = l, .c1 = j1, .r0 = i, .m = m, .first = {wk.coef.data(), ci},
                              .sum = next ? PassSum::ColumnDot : PassSum::None, .x = next, .out = wk.dot.data()});
                restSummed = next != nullptr;
            }
            summed = next && restSummed;
            if (i < j0) continue;
            if (w[i] != 0) {
                const double g = 1 / w[i];
                for (int j = i; j <= m; ++j) ci[j] *= g;
            } else {
                for (int j = i; j <= m; ++j) ci[j] = 0;
            }
            ci[i] += 1;
            if (summed) kern.pass(a, columnSums(i, i, i, m, next, wk.dot.data()));
        }
    }
}

// Rotations of a (rows 1..m) and v (rows 1..n) waiting to be applied. They are applied when
// the lists grow long, so that a slow convergence cannot hold unbounded memory, and at the end.
struct Pending {
    const SvdKernels& kern;
    View a, v;
    int m, n;
    Rotations ra, rv;

    static constexpr std::size_t kMax = std::size_t{1} << 15;
    void flush() {
        kern.applyRotations(a, m, ra);
        kern.applyRotations(v, n, rv);
        ra.clear();
        rv.clear();
    }
    void flushIfLong() {
        if (ra.size() >= kMax || rv.size() >= kMax) flush();
    }
};

// Step 4: diagonalisation. The rotations of a and v are recorded and applied later, each row
// meeting them in the order they were made.
SvdStatus diagonalise(int n, double* w, double* rv1, double anorm, Pending& pend) {
    Rotations& ra = pend.ra;
    Rotations& rv = pend.rv;
    for (int k = n; k >= 1; --k) {
        for (int its = 1;; ++its) {
            int l = k;
            bool cancel = false;
            for (; l >= 1; --l) {
                // rv1(1) is always zero, so the search ends at l = 1 whatever anorm holds.
                if (l == 1 || negligible(rv1[l], anorm)) break;
                if (negligible(w[l - 1], anorm)) {
                    cancel = true;
                    break;
                }
            }
            if (cancel) {
                const int nm = l - 1;
                double c = 0, s = 1;
                for (int i = l; i <= k; ++i) {
                    const double f = s * rv1[i];
                    rv1[i] = c * rv1[i];
                    if (negligible(f, anorm)) continue;
                    const double g = w[i];
                    double h = std::sqrt(f * f + g * g);
                    w[i] = h;
                    h = 1 / h;
                    c = g * h;
                    s = -f * h;
                    ra.push_back({nm, i, c, s});
                }
            }
            const double z = w[k];
            if (l == k) {
                // A value that is not a finite number has not converged to anything usable.
                if (!std::isfinite(z)) return SvdStatus::NoConvergence;
                if (z < 0) {
                    w[k] = -z;
                    rv.push_back({k, 0, 0.0, 0.0});  // negate column k of v
                }
                break;
            }
            if (its == 30) return SvdStatus::NoConvergence;
            double x = w[l];
            const int nm = k - 1;
            double y = w[nm];
            double g = rv1[nm];
            double h = rv1[k];
            double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
            g = std::sqrt(f * f + 1.0);
            f = ((x - z) * (x + z) + h * ((y / (f + withSignOf(g, f))) - h)) / x;
            double c = 1, s = 1;
            for (int j = l; j <= nm; ++j) {
                const int i = j + 1;
                g = rv1[i];
                y = w[i];
                h = s * g;
                g = c * g;
                double zz = std::sqrt(f * f + h * h);
                rv1[j] = zz;
                if (zz != 0) {
                    c = f / zz;
                    s = h / zz;
                } else {  // f = h = 0: any rotation annihilates h; take none
                    c = 1;
                    s = 0;
                }
                f = x * c + g * s;
                g = -x * s + g * c;
                h = y * s;
                y = y * c;
                rv.push_back({j, i, c, s});
                zz = std::sqrt(f * f + h * h);
                w[j] = zz;
                if (zz != 0) {
                    zz = 1 / zz;
                    c = f * zz;
                    s = h * zz;
                }
                f = c * g + s * y;
                x = -s * g + c * y;
                ra.push_back({j, i, c, s});
            }
            rv1[l] = 0;
            rv1[k] = f;
            w[k] = x;
            pend.flushIfLong();
        }
    }
    return SvdStatus::Ok;
}

}  // namespace

SvdStatus Svd_decomp(Mat& a, int m, int n, Vec& w, Mat& v) {
    return SvdDecompUsing(*SvdKernelSets().back(), a, m, n, w, v);
}

SvdStatus SvdDecompUsing(const SvdKernels& kern, Mat& a, int m, int n, Vec& w, Mat& v) {
    if (m < n) return SvdStatus::TooFewRows;
    if (n < 1) return SvdStatus::Ok;
    assert(a.rows() >= m && a.cols() >= n && w.size() >= n && v.rows() >= n && v.cols() >= n);
    const View av{a.col(1), a.rows()};
    const View vv{v.col(1), v.rows()};
    std::vector<double> rv1(static_cast<std::size_t>(n) + 1, 0.0);
    const auto byRow = static_cast<std::size_t>(m) + 1, byCol = static_cast<std::size_t>(n) + 2;
    Work wk{std::vector<double>(byRow), std::vector<double>(byCol), std::vector<double>(byCol),
            std::vector<double>(byCol)};

    double g = 0;
    const double anorm = reduce(kern, av, m, n, w.data(), rv1.data(), g, wk);
    accumulateRight(kern, av, vv, n, rv1.data(), g, wk);
    accumulateLeft(kern, av, m, n, w.data(), wk);

    Pending pend{kern, av, vv, m, n, {}, {}};
    pend.ra.reserve(std::size_t{1} << 12);
    pend.rv.reserve(std::size_t{1} << 12);
    const SvdStatus st = diagonalise(n, w.data(), rv1.data(), anorm, pend);
    pend.flush();
    return st;
}

}  // namespace tessan
