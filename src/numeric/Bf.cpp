#include "numeric/Bf.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "text/Int16.h"

namespace tessan {

namespace {

const char* const kNoDecomposition =
    "There is no decomposition of the standard to compute the broadening functions from.  "
    "Run steps 1-4 or load a model.";

// UTb(k) of the W columns k..k + W - 1 side by side: each sum still runs over i in increasing
// order from 0, the same operations as one column at a time; only independent sums are
// interleaved, so that they no longer wait on one another.
template <int W>
void columnSums(const Mat& U, int k, int nrows, const double* bvec, double* utb) {
    const double* u[W];
    double sum[W];
    for (int c = 0; c < W; ++c) {
        u[c] = U.col(k + c);
        sum[c] = 0;
    }
    for (int i = 1; i <= nrows; ++i) {
        const double b = bvec[i];
        for (int c = 0; c < W; ++c) sum[c] += u[c][i - 1] * b;
    }
    for (int c = 0; c < W; ++c) utb[k + c] = sum[c];
}

}  // namespace

void ColumnDots(const Mat& U, int span, int nrows, const double* bvec, double* out) {
    constexpr int kSideBySide = 8;
    int k = 1;
    for (; k + kSideBySide - 1 <= span; k += kSideBySide) columnSums<kSideBySide>(U, k, nrows, bvec, out);
    for (; k <= span; ++k) columnSums<1>(U, k, nrows, bvec, out);
}

BfModel BfModelOf(const AnalysisState& s) {
    return {s.U, s.ww, s.Vt, s.span, s.nGrid, s.delV, s.svdValid, s.StdFileName, s.StdObject};
}

bool solveAllOrders(AnalysisState& s, Platform& p) { return solveAllOrders(BfModelOf(s), s, p); }

bool solveAllOrders(const BfModel& m, AnalysisState& s, Platform& p) {
    const int span = m.span;
    const int nrows = m.nGrid - span + 1;
    // The decomposition needs at least as many rows as columns, so a grid that leaves fewer
    // rows cannot belong to it.
    if (!m.svdValid || span < 1 || span > lim::kMaxSpan || m.nGrid > lim::kMaxPix || nrows < span) {
        p.MsgBox(kNoDecomposition);
        return false;
    }
    s.span2 = span / 2;

    // Winv(k, k) = 1 / ww(k). A zero singular value has no inverse (nor has one so small that
    // its inverse overflows): its component is left out of every BF (its inverse is taken as 0)
    // and the user is told once.
    std::vector<double> winv(static_cast<std::size_t>(span) + 1, 0.0);
    bool rankDeficient = false;
    for (int k = 1; k <= span; ++k) {
        const double inv = 1 / m.ww(k);
        if (std::isfinite(inv)) {
            winv[static_cast<std::size_t>(k)] = inv;
        } else {
            rankDeficient = true;
        }
    }
    if (rankDeficient)
        p.MsgBox("The design matrix of the standard is rank-deficient: a singular value is 0 (or too "
                 "small to invert).  Its components are left out of the broadening functions.");

    // UTb(k) = sum over i of U(i, k) bvec(i), bvec(i) = spr(i + span2), summed in increasing i
    // from 0: the same sums as the product of the transpose of U with bvec, read straight from
    // U's columns instead of an explicit transpose.
    std::vector<double> utb(static_cast<std::size_t>(span) + 1, 0.0);
    const double* bvec = s.spr.data() + s.span2;  // bvec[i] = spr(i + span2)
    ColumnDots(m.U, span, nrows, bvec, utb.data());

    // VW = Vt Winv. Each sum of that product has one term Vt(i, k) Winv(k, k) besides exact
    // zeros, which do not change it, so VW(i, k) = Vt(i, k) Winv(k, k) is the same value.
    // bb(i, n) = sum over k = 1..n of VW(i, k) UTb(k), accumulated from 0 in increasing k: the
    // running sum bb(i, n) = bb(i, n - 1) + VW(i, n) UTb(n) performs exactly those additions in
    // that order, so every order costs span multiply-adds instead of n span.
    for (int n = 1; n <= span; ++n) {
        const double* v = m.Vt.col(n);
        const double f = winv[static_cast<std::size_t>(n)];
        const double b = utb[static_cast<std::size_t>(n)];
        double* out = s.bb.col(n);
        if (n == 1) {
            for (int i = 0; i < span; ++i) out[i] = 0 + v[i] * f * b;
        } else {
            const double* prev = s.bb.col(n - 1);
            for (int i = 0; i < span; ++i) out[i] = prev[i] + v[i] * f * b;
        }
    }

    BfIdentity& id = s.bbIdentity;
    id.span = span;
    id.span2 = s.span2;
    id.delV = m.delV;
    id.StdFileName = m.StdFileName;
    id.StdObject = m.StdObject;
    id.ProFileName = s.ProFileName;
    id.ProObject = s.ProObject;
    ++id.run;
    return true;
}

int ShownBfPoints(const AnalysisState& s) {
    const int n = std::min({s.vel_bb.size(), s.bb_n.size(), s.bb_sm.size()});
    return std::clamp(s.bbShown.span, 0, n);
}

double BfVelocity(const AnalysisState& s, int i) { return s.bbIdentity.Velocity(i); }

int CopyBfOrder(AnalysisState& s, double order) {
    const BfIdentity& id = s.bbIdentity;
    if (id.span < 1 || id.span > lim::kMaxSpan) return 0;
    const double r = RoundHalfEven(order);
    const int n = !(r >= 1) ? 1 : (r > id.span ? id.span : static_cast<int>(r));
    s.bbOrder = n;
    for (int i = 1; i <= id.span; ++i) {
        s.vel_bb(i) = id.Velocity(i);
        s.bb_n(i) = s.bb(i, n);
    }
    s.bbShown = id;
    s.Smoothed = false;
    return n;
}

}  // namespace tessan
