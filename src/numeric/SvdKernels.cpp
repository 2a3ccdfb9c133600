#include "numeric/SvdKernels.h"

#include <algorithm>

namespace tessan {

namespace {

// The update of a pass on column k: a(j, k) += f vec(j) for j = r0..m.
void update(double* __restrict ck, double f, const double* vec, int r0, int m) {
    for (int j = r0; j <= m; ++j) ck[j] += f * vec[j];
}

// ColumnDot on W columns from k: each column updated, then W running sums side by side, each
// formed upwards over j, so that the additions of one sum do not wait for each other.
template <int W>
void dotBlock(View a, const Pass& p, int k) {
    const double* c[W];
    double s[W];
    for (int t = 0; t < W; ++t) {
        if (p.coef) update(a.col(k + t), p.coef[k + t], p.vec, p.r0, p.m);
        c[t] = a.col(k + t);
        s[t] = 0;
    }
    for (int j = p.r0; j <= p.m; ++j) {
        const double x = p.x[j];
        for (int t = 0; t < W; ++t) s[t] += x * c[t][j];
    }
    for (int t = 0; t < W; ++t) p.out[k + t] = s[t];
}

void pass(View a, const Pass& p) {
    int k = p.c0;
    if (p.sum == PassSum::ColumnDot) {
        for (; k + 7 <= p.c1; k += 8) dotBlock<8>(a, p, k);
        if (k + 3 <= p.c1) {
            dotBlock<4>(a, p, k);
            k += 4;
        }
        for (; k <= p.c1; ++k) dotBlock<1>(a, p, k);
        return;
    }
    if (p.sum == PassSum::None) {
        if (p.coef)
            for (; k <= p.c1; ++k) update(a.col(k), p.coef[k], p.vec, p.r0, p.m);
        return;
    }
    // RowSum: four columns per pass over the partial sums, so that each is loaded and stored
    // once per four terms.
    double* __restrict sum = p.out;
    for (; k + 3 <= p.c1; k += 4) {
        if (p.coef)
            for (int t = 0; t < 4; ++t) update(a.col(k + t), p.coef[k + t], p.vec, p.r0, p.m);
        const double x0 = p.x[k], x1 = p.x[k + 1], x2 = p.x[k + 2], x3 = p.x[k + 3];
        const double* __restrict c0 = a.col(k);
        const double* __restrict c1 = a.col(k + 1);
        const double* __restrict c2 = a.col(k + 2);
        const double* __restrict c3 = a.col(k + 3);
        for (int j = p.r0; j <= p.m; ++j) sum[j] = (((sum[j] + c0[j] * x0) + c1[j] * x1) + c2[j] * x2) + c3[j] * x3;
    }
    for (; k <= p.c1; ++k) {
        if (p.coef) update(a.col(k), p.coef[k], p.vec, p.r0, p.m);
        const double x = p.x[k];
        const double* __restrict ck = a.col(k);
        for (int j = p.r0; j <= p.m; ++j) sum[j] += ck[j] * x;
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

constexpr SvdKernels kGeneric{"generic", pass, applyRotations};

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
