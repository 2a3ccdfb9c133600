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

// A reflection of nCols <= 4G columns from column j. Sums along a column are formed four
// columns to a vector, one lane per column: the products of four rows of four columns are
// transposed so that each lane adds its column's products in the order of k. Lanes past nCols
// repeat the last column and are not used.
template <int G>
TESSAN_AVX2 void reflectBlock(const double* d, const double* u, View a, int j, int nCols, int ks, int ku, int m,
                              double div, double mul) {
    const double* c[4 * G];
    V4 acc[G];
    for (int t = 0; t < 4 * G; ++t) c[t] = a.col(j + std::min(t, nCols - 1));
    for (int g = 0; g < G; ++g) acc[g] = _mm256_setzero_pd();
    int k = ks;
    for (; k + 3 <= m; k += 4) {
        const V4 dv = _mm256_loadu_pd(d + k);
        for (int g = 0; g < G; ++g) {
            const double* const* cg = c + 4 * g;
            const V4 p0 = _mm256_mul_pd(_mm256_loadu_pd(cg[0] + k), dv);
            const V4 p1 = _mm256_mul_pd(_mm256_loadu_pd(cg[1] + k), dv);
            const V4 p2 = _mm256_mul_pd(_mm256_loadu_pd(cg[2] + k), dv);
            const V4 p3 = _mm256_mul_pd(_mm256_loadu_pd(cg[3] + k), dv);
            const V4 t0 = _mm256_unpacklo_pd(p0, p1), t1 = _mm256_unpackhi_pd(p0, p1);
            const V4 t2 = _mm256_unpacklo_pd(p2, p3), t3 = _mm256_unpackhi_pd(p2, p3);
            V4 s = _mm256_add_pd(acc[g], _mm256_permute2f128_pd(t0, t2, 0x20));  // row k
            s = _mm256_add_pd(s, _mm256_permute2f128_pd(t1, t3, 0x20));           // row k + 1
            s = _mm256_add_pd(s, _mm256_permute2f128_pd(t0, t2, 0x31));           // row k + 2
            acc[g] = _mm256_add_pd(s, _mm256_permute2f128_pd(t1, t3, 0x31));      // row k + 3
        }
    }
    for (; k <= m; ++k) {
        const V4 dk = _mm256_set1_pd(d[k]);
        for (int g = 0; g < G; ++g) {
            const double* const* cg = c + 4 * g;
            const V4 p = _mm256_setr_pd(cg[0][k], cg[1][k], cg[2][k], cg[3][k]);
            acc[g] = _mm256_add_pd(acc[g], _mm256_mul_pd(p, dk));
        }
    }
    alignas(32) double s[4 * G];
    for (int g = 0; g < G; ++g) _mm256_store_pd(s + 4 * g, acc[g]);
    for (int t = 0; t < nCols; ++t) {
        double* cj = a.col(j + t);
        const double f = (s[t] / div) * mul;
        const V4 fv = _mm256_set1_pd(f);
        int k = ku;
        for (; k + 3 <= m; k += 4)
            _mm256_storeu_pd(cj + k, _mm256_add_pd(_mm256_loadu_pd(cj + k), _mm256_mul_pd(fv, _mm256_loadu_pd(u + k))));
        for (; k <= m; ++k) cj[k] += f * u[k];
    }
}

TESSAN_AVX2 void reflect(const double* d, const double* u, View a, int l, int n, int ks, int ku, int m, double div,
                         double mul) {
    int j = l;
    for (; n - j + 1 >= 16; j += 16) reflectBlock<4>(d, u, a, j, 16, ks, ku, m, div, mul);
    for (; n - j + 1 > 4; j += 8) reflectBlock<2>(d, u, a, j, std::min(8, n - j + 1), ks, ku, m, div, mul);
    if (j <= n) reflectBlock<1>(d, u, a, j, n - j + 1, ks, ku, m, div, mul);
}

// The row sums run down the rows, four rows to a vector; each is still accumulated over
// k = l..n in order, four columns per pass over the partial sums.
TESSAN_AVX2 void rowReflect(View a, int i, int l, int n, int m, const double* rv1, std::vector<double>& rowSum) {
    if (l > m || l > n) return;
    rowSum.assign(static_cast<std::size_t>(m) + 1, 0.0);
    double* sum = rowSum.data();
    int k = l;
    for (; k + 3 <= n; k += 4) {
        const double x0 = a(i, k), x1 = a(i, k + 1), x2 = a(i, k + 2), x3 = a(i, k + 3);
        const V4 v0 = _mm256_set1_pd(x0), v1 = _mm256_set1_pd(x1), v2 = _mm256_set1_pd(x2), v3 = _mm256_set1_pd(x3);
        const double *c0 = a.col(k), *c1 = a.col(k + 1), *c2 = a.col(k + 2), *c3 = a.col(k + 3);
        int j = l;
        for (; j + 3 <= m; j += 4) {
            V4 s = _mm256_add_pd(_mm256_loadu_pd(sum + j), _mm256_mul_pd(_mm256_loadu_pd(c0 + j), v0));
            s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(c1 + j), v1));
            s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(c2 + j), v2));
            _mm256_storeu_pd(sum + j, _mm256_add_pd(s, _mm256_mul_pd(_mm256_loadu_pd(c3 + j), v3)));
        }
        for (; j <= m; ++j) sum[j] = (((sum[j] + c0[j] * x0) + c1[j] * x1) + c2[j] * x2) + c3[j] * x3;
    }
    for (; k <= n; ++k) {
        const double x = a(i, k);
        const V4 v = _mm256_set1_pd(x);
        const double* ck = a.col(k);
        int j = l;
        for (; j + 3 <= m; j += 4)
            _mm256_storeu_pd(sum + j, _mm256_add_pd(_mm256_loadu_pd(sum + j), _mm256_mul_pd(_mm256_loadu_pd(ck + j), v)));
        for (; j <= m; ++j) sum[j] += ck[j] * x;
    }
    for (k = l; k + 1 <= n; k += 2) {
        const double r0 = rv1[k], r1 = rv1[k + 1];
        const V4 v0 = _mm256_set1_pd(r0), v1 = _mm256_set1_pd(r1);
        double *c0 = a.col(k), *c1 = a.col(k + 1);
        int j = l;
        for (; j + 3 <= m; j += 4) {
            const V4 s = _mm256_loadu_pd(sum + j);
            _mm256_storeu_pd(c0 + j, _mm256_add_pd(_mm256_loadu_pd(c0 + j), _mm256_mul_pd(s, v0)));
            _mm256_storeu_pd(c1 + j, _mm256_add_pd(_mm256_loadu_pd(c1 + j), _mm256_mul_pd(s, v1)));
        }
        for (; j <= m; ++j) {
            c0[j] += sum[j] * r0;
            c1[j] += sum[j] * r1;
        }
    }
    for (; k <= n; ++k) {
        const double r = rv1[k];
        const V4 v = _mm256_set1_pd(r);
        double* ck = a.col(k);
        int j = l;
        for (; j + 3 <= m; j += 4)
            _mm256_storeu_pd(ck + j, _mm256_add_pd(_mm256_loadu_pd(ck + j), _mm256_mul_pd(_mm256_loadu_pd(sum + j), v)));
        for (; j <= m; ++j) ck[j] += sum[j] * r;
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

constexpr SvdKernels kAvx2{"avx2", reflect, rowReflect, applyRotations};

}  // namespace

const SvdKernels* SvdKernelsAvx2() {
    __builtin_cpu_init();  // in case the first call comes before the constructors have run
    return __builtin_cpu_supports("avx2") ? &kAvx2 : nullptr;
}

#else

const SvdKernels* SvdKernelsAvx2() { return nullptr; }

#endif

}  // namespace tessan
