#include "numeric/SvdKernels.h"

#include <algorithm>

namespace tessan {

namespace {

// For columns j = l..n: f = finish(sum_{k=ks..m} ci(k) a(k, j)) and a(k, j) += f ci(k) for
// k = ku..m. Four columns are summed side by side: four independent running sums, each still
// formed upwards over k.
template <class Finish>
void reflectColumns(const double* __restrict ci, View a, int l, int n, int ks, int ku, int m, Finish finish) {
    int j = l;
    for (; j + 3 <= n; j += 4) {
        double* __restrict c0 = a.col(j);
        double* __restrict c1 = a.col(j + 1);
        double* __restrict c2 = a.col(j + 2);
        double* __restrict c3 = a.col(j + 3);
        double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        for (int k = ks; k <= m; ++k) {
            const double x = ci[k];
            s0 += x * c0[k];
            s1 += x * c1[k];
            s2 += x * c2[k];
            s3 += x * c3[k];
        }
        const double f0 = finish(s0), f1 = finish(s1), f2 = finish(s2), f3 = finish(s3);
        for (int k = ku; k <= m; ++k) {
            const double x = ci[k];
            c0[k] += f0 * x;
            c1[k] += f1 * x;
            c2[k] += f2 * x;
            c3[k] += f3 * x;
        }
    }
    for (; j <= n; ++j) {
        double* __restrict cj = a.col(j);
        double s = 0;
        for (int k = ks; k <= m; ++k) s += ci[k] * cj[k];
        const double f = finish(s);
        for (int k = ku; k <= m; ++k) cj[k] += f * ci[k];
    }
}

}  // namespace

void ColumnReflect(const double* ci, View a, int l, int n, int i, int m, double h) {
    reflectColumns(ci, a, l, n, i, i, m, [h](double s) { return s / h; });
}

void LeftReflect(const double* ci, View a, int l, int n, int i, int m, double g) {
    const double aii = ci[i];
    reflectColumns(ci, a, l, n, l, i, m, [aii, g](double s) { return (s / aii) * g; });
}

void RowReflect(View a, int i, int l, int n, int m, const double* rv1, std::vector<double>& rowSum) {
    if (l > m || l > n) return;
    rowSum.assign(static_cast<std::size_t>(m) + 1, 0.0);
    double* __restrict sum = rowSum.data();
    // All row sums at once, each accumulated over k = l..n in order.
    for (int k = l; k <= n; ++k) {
        const double x = a(i, k);
        const double* __restrict ck = a.col(k);
        for (int j = l; j <= m; ++j) sum[j] += ck[j] * x;
    }
    for (int k = l; k <= n; ++k) {
        const double r = rv1[k];
        double* __restrict ck = a.col(k);
        for (int j = l; j <= m; ++j) ck[j] += sum[j] * r;
    }
}

void ApplyRotations(View a, int rows, const Rotations& rots) {
    constexpr int kBlock = 8;
    for (int r0 = 1; r0 <= rows; r0 += kBlock) {
        const int nr = std::min(kBlock, rows - r0 + 1);
        for (const Rotation& q : rots) {
            double* __restrict x = a.col(q.p) + r0;
            if (q.q == 0) {
                for (int t = 0; t < nr; ++t) x[t] = -x[t];
                continue;
            }
            double* __restrict z = a.col(q.q) + r0;
            const double c = q.c, s = q.s;
            if (nr == kBlock) {
                for (int t = 0; t < kBlock; ++t) {
                    const double y = x[t], w = z[t];
                    x[t] = y * c + w * s;
                    z[t] = -y * s + w * c;
                }
            } else {
                for (int t = 0; t < nr; ++t) {
                    const double y = x[t], w = z[t];
                    x[t] = y * c + w * s;
                    z[t] = -y * s + w * c;
                }
            }
        }
    }
}

}  // namespace tessan
