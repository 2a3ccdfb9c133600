#pragma once
// Singular value decomposition of an m x n matrix (m >= n) by Householder bidiagonalisation
// and implicitly shifted QR: a = U diag(w) V^T. On return a holds U (m x n, orthonormal
// columns), w(1..n) the singular values where they were found (not sorted), v(1..n, 1..n) V.
#include "state/Array.h"

namespace tessan {

enum class SvdStatus {
    Ok,
    TooFewRows,      // m < n: "You must augment A with extra zero rows."; nothing changed
    NoConvergence,   // 30 iterations without convergence: "No consVergence in 30 iterations"
};

// Does not report; the caller shows the message of the status. a, w, v must be allocated at
// least m x n, n and n x n. On TooFewRows nothing is changed; on NoConvergence a, w, v hold a
// half-finished decomposition that must not be used. A singular value that is not a finite
// number (the input held a NaN or an infinity, or the arithmetic overflowed) counts as not
// converged. An exact zero where the method needs the sign of a number counts as positive.
SvdStatus Svd_decomp(Mat& a, int m, int n, Vec& w, Mat& v);

// Svd_decomp with the given set of inner loops (numeric/SvdKernels.h); Svd_decomp takes the
// widest set the processor runs. Every set gives the same values.
struct SvdKernels;
SvdStatus SvdDecompUsing(const SvdKernels& kern, Mat& a, int m, int n, Vec& w, Mat& v);

}  // namespace tessan
