// The decomposition's inner loops with 4-wide vectors, for processors with AVX2, chosen at run
// time. Only these functions are built for AVX2 (a function attribute, not a file-wide option,
// so that no shared inline code compiled for AVX2 can reach other callers), never for FMA, and
// the file is compiled without contraction: every lane rounds each product and each sum as the
// generic loops do, in the same order.
#include "numeric/SvdKernels.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define TESSAN_SVD_AVX2 1
#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#endif

namespace tessan {

#ifdef TESSAN_SVD_AVX2
namespace {

#define TESSAN_AVX2 __attribute__((target("avx2")))

using V4 = __m256d;

// The updates of a pass written back to column k, four rows at a time.
template <int NU>
TESSAN_AVX2 void updateColumn(double* ck, const Update* u, int k, int r0, int m) {
    V4 f[NU == 0 ? 1 : NU];
    for (int e = 0; e < NU; ++e) f[e] = _mm256_set1_pd(u[e].coef[k]);
    int j = r0;
    for (; j + 3 <= m; j += 4) {
        V4 v = _mm256_loadu_pd(ck + j);
        for (int e = 0; e < NU; ++e) v = _mm256_add_pd(v, _mm256_mul_pd(f[e], _mm256_loadu_pd(u[e].vec + j)));
        _mm256_storeu_pd(ck + j, v);
    }
    for (; j <= m; ++j)
        for (int e = 0; e < NU; ++e) ck[j] += u[e].coef[k] * u[e].vec[j];
}

// ColumnDot on nCols <= 4G columns from k (all 4G when Full), four columns to a vector, one
// lane per column: the columns are updated four rows at a time, and the products of four rows
// of four columns are transposed so that each lane adds its column's products in the order of
// the rows. Lanes past nCols repeat the last column and are neither stored nor used.
template <int G, bool Full, int NU>
TESSAN_AVX2 void dotBlock(View a, const Pass& p, const Update* u, int k, int nCols) {
    const int m = p.m;
    const double* const x = p.x;
    int col[4 * G];
    double* c[4 * G];
    V4 f[NU == 0 ? 1 : NU][4 * G];
    for (int t = 0; t < 4 * G; ++t) {
        col[t] = k + (Full ? t : std::min(t, nCols - 1));
        c[t] = a.col(col[t]);
        for (int e = 0; e < NU; ++e) f[e][t] = _mm256_set1_pd(u[e].coef[col[t]]);
    }
    V4 acc[G];
    for (int g = 0; g < G; ++g) acc[g] = _mm256_setzero_pd();
    int j = p.r0;
    for (; j + 3 <= m; j += 4) {
        const V4 xv = _mm256_loadu_pd(x + j);
        V4 uv[NU == 0 ? 1 : NU];
        for (int e = 0; e < NU; ++e) uv[e] = _mm256_loadu_pd(u[e].vec + j);
        for (int g = 0; g < G; ++g) {
            V4 q[4];
            for (int t = 0; t < 4; ++t) {
                double* ct = c[4 * g + t] + j;
                V4 v = _mm256_loadu_pd(ct);
                if constexpr (NU > 0) {
                    for (int e = 0; e < NU; ++e) v = _mm256_add_pd(v, _mm256_mul_pd(f[e][4 * g + t], uv[e]));
                    if (Full || 4 * g + t < nCols) _mm256_storeu_pd(ct, v);
                }
                q[t] = _mm256_mul_pd(xv, v);
            }
            const V4 t0 = _mm256_unpacklo_pd(q[0], q[1]), t1 = _mm256_unpackhi_pd(q[0], q[1]);
            const V4 t2 = _mm256_unpacklo_pd(q[2], q[3]), t3 = _mm256_unpackhi_pd(q[2], q[3]);
            V4 s = _mm256_add_pd(acc[g], _mm256_permute2f128_pd(t0, t2, 0x20));  // row j
            s = _mm256_add_pd(s, _mm256_permute2f128_pd(t1, t3, 0x20));           // row j + 1
            s = _mm256_add_pd(s, _mm256_permute2f128_pd(t0, t2, 0x31));           // row j + 2
            acc[g] = _mm256_add_pd(s, _mm256_permute2f128_pd(t1, t3, 0x31));      // row j + 3
        }
    }
    for (; j <= m; ++j) {  // the last rows, lanes by column
        const V4 xj = _mm256_set1_pd(x[j]);
        for (int g = 0; g < G; ++g) {
            double* const* cg = c + 4 * g;
            const int* kg = col + 4 * g;
            V4 v = _mm256_setr_pd(cg[0][j], cg[1][j], cg[2][j], cg[3][j]);
            if constexpr (NU > 0) {
                for (int e = 0; e < NU; ++e) {
                    const double* fe = u[e].coef;
                    const V4 fv = _mm256_setr_pd(fe[kg[0]], fe[kg[1]], fe[kg[2]], fe[kg[3]]);
                    v = _mm256_add_pd(v, _mm256_mul_pd(fv, _mm256_set1_pd(u[e].vec[j])));
                }
                alignas(32) double nv[4];
                _mm256_store_pd(nv, v);
                for (int t = 0; t < 4; ++t)
                    if (Full || 4 * g + t < nCols) cg[t][j] = nv[t];
            }
            acc[g] = _mm256_add_pd(acc[g], _mm256_mul_pd(xj, v));
        }
    }
    alignas(32) double s[4 * G];
    for (int g = 0; g < G; ++g) _mm256_store_pd(s + 4 * g, acc[g]);
    for (int t = 0; t < nCols; ++t) p.out[k + t] = s[t];
}

// Eight columns at a time, then four, then the rest.
template <int NU>
TESSAN_AVX2 void columnDot(View a, const Pass& p, const Update* u) {
    int k = p.c0;
    for (; p.c1 - k + 1 >= 8; k += 8) dotBlock<2, true, NU>(a, p, u, k, 8);
    for (; p.c1 - k + 1 >= 4; k += 4) dotBlock<1, true, NU>(a, p, u, k, 4);
    if (k <= p.c1) dotBlock<1, false, NU>(a, p, u, k, p.c1 - k + 1);
}

// RowSum on the updated values of T columns from k, not written back: the partial sums, four
// rows to a vector, are loaded once for the T columns and take their terms in column order.
template <int T, int NU>
TESSAN_AVX2 void rowSumBlock(View a, const Pass& p, const Update* u, int k) {
    const double* c[T];
    V4 x[T], f[NU == 0 ? 1 : NU][T];
    for (int t = 0; t < T; ++t) {
        c[t] = a.col(k + t);
        x[t] = _mm256_set1_pd(p.x[k + t]);
        for (int e = 0; e < NU; ++e) f[e][t] = _mm256_set1_pd(u[e].coef[k + t]);
    }
    double* const out = p.out;
    int j = p.r0;
    for (; j + 3 <= p.m; j += 4) {
        V4 s = _mm256_loadu_pd(out + j);
        V4 uv[NU == 0 ? 1 : NU];
        for (int e = 0; e < NU; ++e) uv[e] = _mm256_loadu_pd(u[e].vec + j);
        for (int t = 0; t < T; ++t) {
            V4 v = _mm256_loadu_pd(c[t] + j);
            for (int e = 0; e < NU; ++e) v = _mm256_add_pd(v, _mm256_mul_pd(f[e][t], uv[e]));
            s = _mm256_add_pd(s, _mm256_mul_pd(v, x[t]));
        }
        _mm256_storeu_pd(out + j, s);
    }
    for (; j <= p.m; ++j) {
        double s = out[j];
        for (int t = 0; t < T; ++t) {
            double v = c[t][j];
            for (int e = 0; e < NU; ++e) v += u[e].coef[k + t] * u[e].vec[j];
            s += v * p.x[k + t];
        }
        out[j] = s;
    }
}

template <int NU>
TESSAN_AVX2 void passWith(View a, const Pass& p, const Update* u) {
    int k = p.c0;
    switch (p.sum) {
    case PassSum::None:
        if constexpr (NU > 0)
            for (; k <= p.c1; ++k) updateColumn<NU>(a.col(k), u, k, p.r0, p.m);
        break;
    case PassSum::ColumnDot:
        columnDot<NU>(a, p, u);
        break;
    case PassSum::RowSum:
        for (; k + 3 <= p.c1; k += 4) rowSumBlock<4, NU>(a, p, u, k);
        for (; k <= p.c1; ++k) rowSumBlock<1, NU>(a, p, u, k);
        break;
    }
}

TESSAN_AVX2 void pass(View a, const Pass& p) {
    Update u[2];
    switch (p.updates(u)) {
    case 0: passWith<0>(a, p, u); break;
    case 1: passWith<1>(a, p, u); break;
    default: passWith<2>(a, p, u); break;
    }
}

// 4V rows from r0 through the whole list. As in the generic loops, the new column of one
// rotation that is the old column of the next stays in registers. z' = w c - y s equals
// -y s + w c exactly: negation is exact, and so is the exchange of the two terms.
template <int V>
TESSAN_AVX2 void rotateBlock(View a, int r0, const Rotation* rot, const Rotation* end) {
    double* const base = a.col(1) + r0;
    const std::ptrdiff_t ld = a.ld;
    while (rot < end) {
        double* xp = base + (rot->p - 1) * ld;
        if (rot->q == 0) {
            const V4 sign = _mm256_set1_pd(-0.0);
            for (int t = 0; t < V; ++t) _mm256_storeu_pd(xp + 4 * t, _mm256_xor_pd(_mm256_loadu_pd(xp + 4 * t), sign));
            ++rot;
            continue;
        }
        V4 x[V];
        for (int t = 0; t < V; ++t) x[t] = _mm256_loadu_pd(xp + 4 * t);
        for (;;) {
            const int q = rot->q;
            double* zp = base + (q - 1) * ld;
            const V4 c = _mm256_set1_pd(rot->c), s = _mm256_set1_pd(rot->s);
            for (int t = 0; t < V; ++t) {
                const V4 y = x[t], w = _mm256_loadu_pd(zp + 4 * t);
                _mm256_storeu_pd(xp + 4 * t, _mm256_add_pd(_mm256_mul_pd(y, c), _mm256_mul_pd(w, s)));
                x[t] = _mm256_sub_pd(_mm256_mul_pd(w, c), _mm256_mul_pd(y, s));
            }
            ++rot;
            if (rot == end || rot->p != q || rot->q == 0) {
                for (int t = 0; t < V; ++t) _mm256_storeu_pd(zp + 4 * t, x[t]);
                break;
            }
            xp = zp;
        }
    }
}

// Rows r0..r0+nr-1: four at a time, then one at a time.
TESSAN_AVX2 void rotateFew(View a, int r0, int nr, const Rotation* first, const Rotation* end) {
    for (; nr >= 4; r0 += 4, nr -= 4) rotateBlock<1>(a, r0, first, end);
    if (nr <= 0) return;
    for (const Rotation* q = first; q < end; ++q) {
        double* x = a.col(q->p) + r0;
        if (q->q == 0) {
            for (int t = 0; t < nr; ++t) x[t] = -x[t];
            continue;
        }
        double* z = a.col(q->q) + r0;
        for (int t = 0; t < nr; ++t) {
            const double y = x[t], w = z[t];
            x[t] = y * q->c + w * q->s;
            z[t] = -y * q->s + w * q->c;
        }
    }
}

TESSAN_AVX2 void applyRotations(View a, int rows, const Rotations& rots) {
    const Rotation* first = rots.data();
    const Rotation* end = first + rots.size();
    int r0 = 1;
    // When every column starts at the same place in a cache line, the blocks of 16 rows start
    // on a line, so that a block across all the columns stays in the first-level cache.
    if (a.ld % 8 == 0) {
        const auto misalign = reinterpret_cast<std::uintptr_t>(a.col(1) + 1) % 64;
        const int lead = std::min(rows, static_cast<int>((64 - misalign) % 64 / sizeof(double)));
        rotateFew(a, 1, lead, first, end);
        r0 += lead;
    }
    for (; r0 + 15 <= rows; r0 += 16) rotateBlock<4>(a, r0, first, end);
    rotateFew(a, r0, rows - r0 + 1, first, end);
}

constexpr SvdKernels kAvx2{"avx2", pass, applyRotations};

}  // namespace

const SvdKernels* SvdKernelsAvx2() {
    __builtin_cpu_init();  // in case the first call comes before the constructors have run
    return __builtin_cpu_supports("avx2") ? &kAvx2 : nullptr;
}

#else

const SvdKernels* SvdKernelsAvx2() { return nullptr; }

#endif

}  // namespace tessan
