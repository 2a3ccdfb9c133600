#include "numeric/Bf.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "io/RecordFile.h"
#include "numeric/Resample.h"
#include "state/ErrText.h"
#include "text/Int16.h"

namespace tessan {

void Mat_vec(int n, int m, const Mat& A, const Vec& x, Vec& y) {
    for (int i = 1; i <= n; ++i) {
        double sum = 0;
        for (int k = 1; k <= m; ++k) sum += A(i, k) * x(k);
        y(i) = sum;
    }
}

void Mat_mul(int n, int m, int p, const Mat& A, const Mat& B, Mat& C) {
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= p; ++j) {
            double sum = 0;
            for (int k = 1; k <= m; ++k) sum += A(i, k) * B(k, j);
            C(i, j) = sum;
        }
    }
}

namespace {

const char* const kNoDecomposition =
    "There is no decomposition of the standard to compute the broadening functions from.  "
    "Run steps 1-4 or load a model.";

// "bbb2.txt": for every order n (outer) and point i (inner) one record "i,bb(i,n)".
int writeAllBfs(const AnalysisState& s, const std::filesystem::path& target) {
    RecordWriter w;
    w.reserve(static_cast<std::size_t>(s.span) * static_cast<std::size_t>(s.span) * 26);
    for (int n = 1; n <= s.span; ++n) {
        const double* col = s.bb.col(n);
        for (int i = 1; i <= s.span; ++i) {
            w.Int(i).Real(col[i - 1]);
            w.EndRecord();
        }
    }
    return WriteFileAtomically(target, w.str());
}

}  // namespace

bool solveAllOrders(AnalysisState& s, Platform& p) {
    const int span = s.span;
    const int nrows = s.nGrid - span + 1;
    // The decomposition needs at least as many rows as columns, so a grid that leaves fewer
    // rows cannot belong to it.
    if (!s.svdValid || span < 1 || span > lim::kMaxSpan || s.nGrid > lim::kMaxPix || nrows < span) {
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
        const double inv = 1 / s.ww(k);
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
    for (int k = 1; k <= span; ++k) {
        const double* u = s.U.col(k);
        double sum = 0;
        for (int i = 1; i <= nrows; ++i) sum += u[i - 1] * bvec[i];
        utb[static_cast<std::size_t>(k)] = sum;
    }

    // VW = Vt Winv. Each sum of that product has one term Vt(i, k) Winv(k, k) besides exact
    // zeros, which do not change it, so VW(i, k) = Vt(i, k) Winv(k, k) is the same value.
    // bb(i, n) = sum over k = 1..n of VW(i, k) UTb(k), accumulated from 0 in increasing k: the
    // running sum bb(i, n) = bb(i, n - 1) + VW(i, n) UTb(n) performs exactly those additions in
    // that order, so every order costs span multiply-adds instead of n span.
    for (int n = 1; n <= span; ++n) {
        const double* v = s.Vt.col(n);
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

    return true;
}

bool Find_bb(AnalysisState& s, Platform& p) {
    if (!solveAllOrders(s, p)) return false;
    const int e = writeAllBfs(s, p.WorkDir() / kAllBfsFileName);
    if (e != 0)
        p.MsgBox(std::string("The broadening functions were computed, but \"") + kAllBfsFileName +
                 "\" could not be written.  " + ErrTextFor(e));
    return true;
}

bool RunBfStep(AnalysisState& s, Platform& p) {
    Select_model(s, s.CurModel);
    if (s.nPixPro < 1 || s.nPixPro > lim::kMaxPix) {
        p.MsgBox("There is no program spectrum.  Load the program star first (step 5).");
        return false;
    }
    if (!Lin_interp(s.wp, s.sp, s.nPixPro, s.w1, s.spr, s.nGrid, p)) return false;
    return Find_bb(s, p);
}

int ShownBfPoints(const AnalysisState& s) {
    const int n = std::min({s.vel_bb.size(), s.bb_n.size(), s.bb_sm.size()});
    return std::clamp(s.span, 0, n);
}

double BfVelocity(const AnalysisState& s, int i) { return (i - s.span2 - 1) * s.delV; }

int CopyBfOrder(AnalysisState& s, double order) {
    if (s.span < 1 || s.span > lim::kMaxSpan) return 0;
    const double r = RoundHalfEven(order);
    const int n = !(r >= 1) ? 1 : (r > s.span ? s.span : static_cast<int>(r));
    s.bbOrder = n;
    for (int i = 1; i <= s.span; ++i) {
        s.vel_bb(i) = BfVelocity(s, i);
        s.bb_n(i) = s.bb(i, n);
    }
    s.Smoothed = false;
    return n;
}

}  // namespace tessan
