#include "numeric/SvdKernels.h"

namespace tessan {

namespace {

// The NU updates of a pass written back to column k, rows r0..m.
template <int NU>
void updateColumn(double* __restrict ck, const Update* u, int k, int r0, int m) {
    double f[NU];
    const double* vec[NU];
    for (int e = 0; e < NU; ++e) {
        f[e] = u[e].coef[k];
        vec[e] = u[e].vec;
    }
    for (int j = r0; j <= m; ++j) {
        double v = ck[j];
        for (int e = 0; e < NU; ++e) v += f[e] * vec[e][j];
        ck[j] = v;
    }
}

// ColumnDot on W columns from k: each column updated, then W running sums side by side, each
// formed upwards over j, so that the additions of one sum do not wait for each other.
template <int W, int NU>
void dotBlock(View a, const Pass& p, const Update* u, int k) {
    const double* c[W];
    double s[W];
    for (int t = 0; t < W; ++t) {
        if constexpr (NU > 0) updateColumn<NU>(a.col(k + t), u, k + t, p.r0, p.m);
        c[t] = a.col(k + t);
        s[t] = 0;
    }
    for (int j = p.r0; j <= p.m; ++j) {
        const double x = p.x[j];
        for (int t = 0; t < W; ++t) s[t] += x * c[t][j];
    }
    for (int t = 0; t < W; ++t) p.out[k + t] = s[t];
}

// RowSum on the updated values of columns k..k+T-1, not written back: the partial sums take
// the T terms of each row in column order, so that each is loaded and stored once per T terms.
template <int T, int NU>
void rowSumBlock(View a, const Pass& p, const Update* u, int k) {
    const double* c[T];
    double x[T], f[NU > 0 ? NU : 1][T];
    const double* vec[NU > 0 ? NU : 1];
    for (int t = 0; t < T; ++t) {
        c[t] = a.col(k + t);
        x[t] = p.x[k + t];
        for (int e = 0; e < NU; ++e) f[e][t] = u[e].coef[k + t];
    }
    for (int e = 0; e < NU; ++e) vec[e] = u[e].vec;
    double* __restrict sum = p.out;
    for (int j = p.r0; j <= p.m; ++j) {
        double s = sum[j];
        for (int t = 0; t < T; ++t) {
            double v = c[t][j];
            for (int e = 0; e < NU; ++e) v += f[e][t] * vec[e][j];
            s += v * x[t];
        }
        sum[j] = s;
    }
}

template <int NU>
void passWith(View a, const Pass& p, const Update* u) {
    int k = p.c0;
    switch (p.sum) {
    case PassSum::None:
        if constexpr (NU > 0)
            for (; k <= p.c1; ++k) updateColumn<NU>(a.col(k), u, k, p.r0, p.m);
        break;
    case PassSum::ColumnDot:
        for (; k + 7 <= p.c1; k += 8) dotBlock<8, NU>(a, p, u, k);
        if (k + 3 <= p.c1) {
            dotBlock<4, NU>(a, p, u, k);
            k += 4;
        }
        for (; k <= p.c1; ++k) dotBlock<1, NU>(a, p, u, k);
        break;
    case PassSum::RowSum:
        for (; k + 3 <= p.c1; k += 4) rowSumBlock<4, NU>(a, p, u, k);
        for (; k <= p.c1; ++k) rowSumBlock<1, NU>(a, p, u, k);
        break;
    }
}

void pass(View a, const Pass& p) {
    Update u[2];
    switch (p.updates(u)) {
    case 0: passWith<0>(a, p, u); break;
    case 1: passWith<1>(a, p, u); break;
    default: passWith<2>(a, p, u); break;
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
