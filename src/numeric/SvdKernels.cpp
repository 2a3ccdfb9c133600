#include "numeric/SvdKernels.h"

#include <algorithm>

namespace tessan {

namespace {

// For columns j..j+W-1: f = ((sum_{k=ks..m} d(k) a(k, j)) / div) * mul and a(k, j) += f u(k)
// for k = ku..m. W columns are summed side by side: W independent running sums, each still
// formed upwards over k, so that the additions of one sum do not wait for each other.
template <int W>
void reflectBlock(const double* d, const double* u, View a, int j, int ks, int ku, int m, double div, double mul) {
    double* __restrict c[W];
    double s[W];
    for (int t = 0; t < W; ++t) {
        c[t] = a.col(j + t);
        s[t] = 0;
    }
    for (int k = ks; k <= m; ++k) {
        const double x = d[k];
        for (int t = 0; t < W; ++t) s[t] += x * c[t][k];
    }
    for (int t = 0; t < W; ++t) {
        double* __restrict cj = c[t];
        const double ft = (s[t] / div) * mul;
        for (int k = ku; k <= m; ++k) cj[k] += ft * u[k];
    }
}

void reflect(const double* d, const double* u, View a, int l, int n, int ks, int ku, int m, double div, double mul) {
    int j = l;
    for (; j + 7 <= n; j += 8) reflectBlock<8>(d, u, a, j, ks, ku, m, div, mul);
    if (j + 3 <= n) {
        reflectBlock<4>(d, u, a, j, ks, ku, m, div, mul);
        j += 4;
    }
    for (; j <= n; ++j) reflectBlock<1>(d, u, a, j, ks, ku, m, div, mul);
}

void rowReflect(View a, int i, int l, int n, int m, const double* rv1, std::vector<double>& rowSum) {
    if (l > m || l > n) return;
    rowSum.assign(static_cast<std::size_t>(m) + 1, 0.0);
    double* __restrict sum = rowSum.data();
    // All row sums at once, each accumulated over k = l..n in order; four columns per pass
    // so that each partial sum is loaded and stored once per four terms.
    int k = l;
    for (; k + 3 <= n; k += 4) {
        const double x0 = a(i, k), x1 = a(i, k + 1), x2 = a(i, k + 2), x3 = a(i, k + 3);
        const double* __restrict c0 = a.col(k);
        const double* __restrict c1 = a.col(k + 1);
        const double* __restrict c2 = a.col(k + 2);
        const double* __restrict c3 = a.col(k + 3);
        for (int j = l; j <= m; ++j) sum[j] = (((sum[j] + c0[j] * x0) + c1[j] * x1) + c2[j] * x2) + c3[j] * x3;
    }
    for (; k <= n; ++k) {
        const double x = a(i, k);
        const double* __restrict ck = a.col(k);
        for (int j = l; j <= m; ++j) sum[j] += ck[j] * x;
    }
    for (k = l; k + 1 <= n; k += 2) {
        const double r0 = rv1[k], r1 = rv1[k + 1];
        double* __restrict c0 = a.col(k);
        double* __restrict c1 = a.col(k + 1);
        for (int j = l; j <= m; ++j) {
            const double sj = sum[j];
            c0[j] += sj * r0;
            c1[j] += sj * r1;
        }
    }
    for (; k <= n; ++k) {
        const double r = rv1[k];
        double* __restrict ck = a.col(k);
        for (int j = l; j <= m; ++j) ck[j] += sum[j] * r;
    }
}

// Rows r..r+nr-1 of column p, then q, rotated; y, w are the old values of p and q.
inline void rotateRows(double* __restrict x, double* __restrict z, int nr, double c, double s) {
    for (int t = 0; t < nr; ++t) {
        const double y = x[t], w = z[t];
        x[t] = y * c + w * s;
        z[t] = -y * s + w * c;
    }
}

// Two rows of one column, loaded and stored unaligned. Each lane gets exactly the scalar
// operations, so the values are those of the plain loop.
typedef double Pair __attribute__((vector_size(16)));
constexpr int kPairs = 4;
constexpr int kBlock = 2 * kPairs;

inline Pair load(const double* p) {
    Pair v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}
inline void store(double* p, Pair v) { __builtin_memcpy(p, &v, sizeof v); }

// A full block of rows. A QR sweep rotates columns (j, j+1), (j+1, j+2), ...: the new column
// j+1 of one rotation is the old column of the next, so it is carried in registers instead of
// being stored and loaded again.
void rotateBlock(View a, int r0, const Rotations& rots) {
    const std::size_t nRot = rots.size();
    std::size_t i = 0;
    while (i < nRot) {
        const Rotation* q = &rots[i];
        double* xp = a.col(q->p) + r0;
        if (q->q == 0) {
            for (int t = 0; t < kBlock; ++t) xp[t] = -xp[t];
            ++i;
            continue;
        }
        Pair x[kPairs];
        for (int t = 0; t < kPairs; ++t) x[t] = load(xp + 2 * t);
        for (;;) {
            double* zp = a.col(q->q) + r0;
            const Pair c = {q->c, q->c}, s = {q->s, q->s};
            for (int t = 0; t < kPairs; ++t) {
                const Pair y = x[t], w = load(zp + 2 * t);
                store(xp + 2 * t, y * c + w * s);
                x[t] = -y * s + w * c;
            }
            ++i;
            if (i < nRot && rots[i].p == q->q && rots[i].q != 0) {
                xp = zp;
                q = &rots[i];
                continue;
            }
            for (int t = 0; t < kPairs; ++t) store(zp + 2 * t, x[t]);
            break;
        }
    }
}

void applyRotations(View a, int rows, const Rotations& rots) {
    int r0 = 1;
    for (; r0 + kBlock - 1 <= rows; r0 += kBlock) rotateBlock(a, r0, rots);
    const int nr = rows - r0 + 1;
    if (nr <= 0) return;
    for (const Rotation& q : rots) {
        double* x = a.col(q.p) + r0;
        if (q.q == 0) {
            for (int t = 0; t < nr; ++t) x[t] = -x[t];
        } else {
            rotateRows(x, a.col(q.q) + r0, nr, q.c, q.s);
        }
    }
}

constexpr SvdKernels kGeneric{"generic", reflect, rowReflect, applyRotations};

}  // namespace

std::span<const SvdKernels* const> SvdKernelSets() {
    static const std::vector<const SvdKernels*> sets = [] {
        std::vector<const SvdKernels*> v{&kGeneric};
        if (const SvdKernels* k = SvdKernelsAvx2()) v.push_back(k);
        return v;
    }();
    return sets;
}

}  // namespace tessan
