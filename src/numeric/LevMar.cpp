// The numerical routines of the Gaussian fit: the model, the curvature matrix, one
// Levenberg-Marquardt step, Gauss-Jordan elimination and the covariance spreading.
#include <cmath>
#include <utility>
#include <vector>

#include "numeric/GaussFit.h"

namespace tessan {

namespace {

// The damping parameter and the pivots are compared with 0 as single-precision values: a
// double rounds to a float zero when its magnitude is at most half the smallest subnormal
// float. Written without the conversion, which is undefined for doubles beyond float range.
constexpr double kHalfFloatTrueMin = 0x1p-150;
bool singleIsZero(double v) { return std::fabs(v) <= kHalfFloatTrueMin; }
bool singleIsNegative(double v) { return v < -kHalfFloatTrueMin; }

// list(j) as a parameter index; 0 when it is not a whole number in 1..ma.
int listIndex(const Vec& list, int j, int ma) {
    const double v = list(j);
    if (!(v >= 1 && v <= ma) || v != std::floor(v)) return 0;
    return static_cast<int>(v);
}

}  // namespace

bool Gauss_model(double x, const Vec& a, double& y, Vec& dyda, int na) {
    for (int i = 1; i + 2 <= na; i += 3)
        if (a(i + 2) == 0) return false;
    y = 0;
    for (int i = 1; i + 2 <= na; i += 3) {
        const double arg = (x - a(i + 1)) / a(i + 2);
        const double e = std::exp(-arg * arg);
        const double f = a(i) * e * 2.0 * arg;
        y += a(i) * e;
        dyda(i) = e;
        dyda(i + 1) = f / a(i + 2);
        dyda(i + 2) = f * arg / a(i + 2);
    }
    return true;
}

FitStatus LM_coef(const Vec& x, const Vec& y, const Vec& sig, int n, const Vec& a, int ma,
                  const Vec& list, int mfit, Mat& alpha, Vec& beta, double& chisq) {
    std::vector<int> idx(static_cast<std::size_t>(mfit) + 1);
    for (int j = 1; j <= mfit; ++j) {
        idx[static_cast<std::size_t>(j)] = listIndex(list, j, ma);
        if (idx[static_cast<std::size_t>(j)] == 0) return FitStatus::ImproperPermutation;
    }
    for (int j = 1; j <= mfit; ++j) {
        for (int k = 1; k <= j; ++k) alpha(j, k) = 0;
        beta(j) = 0;
    }
    chisq = 0;
    Vec dyda(ma);
    for (int i = 1; i <= n; ++i) {
        double ymod = 0;
        if (!Gauss_model(x(i), a, ymod, dyda, ma)) return FitStatus::ZeroWidth;
        const double w = 1.0 / (sig(i) * sig(i));
        const double dy = y(i) - ymod;
        for (int j = 1; j <= mfit; ++j) {
            const double wt = dyda(idx[static_cast<std::size_t>(j)]) * w;
            for (int k = 1; k <= j; ++k) alpha(j, k) = alpha(j, k) + wt * dyda(idx[static_cast<std::size_t>(k)]);
            beta(j) = beta(j) + dy * wt;
        }
        chisq = chisq + dy * dy * w;
    }
    for (int j = 2; j <= mfit; ++j)
        for (int k = 1; k < j; ++k) alpha(k, j) = alpha(j, k);
    return FitStatus::Ok;
}

FitStatus Gauss_jordan(Mat& a, int n, Mat& b, int m) {
    std::vector<int> ipiv(static_cast<std::size_t>(n) + 1, 0);
    std::vector<int> indxr(static_cast<std::size_t>(n) + 1, 0), indxc(static_cast<std::size_t>(n) + 1, 0);
    auto at = [](std::vector<int>& v, int i) -> int& { return v[static_cast<std::size_t>(i)]; };
    for (int i = 1; i <= n; ++i) {
        double big = 0;
        int irow = 0, icol = 0;
        for (int j = 1; j <= n; ++j) {
            if (at(ipiv, j) == 1) continue;
            for (int k = 1; k <= n; ++k) {
                if (at(ipiv, k) == 0) {
                    // ">=": a later element replaces an equal earlier one.
                    if (std::fabs(a(j, k)) >= big) {
                        big = std::fabs(a(j, k));
                        irow = j;
                        icol = k;
                    }
                } else if (at(ipiv, k) > 1) {
                    return FitStatus::Singular1;
                }
            }
        }
        // Only a matrix of NaNs offers no pivot; its column would be used twice.
        if (icol == 0) return FitStatus::Singular1;
        ++at(ipiv, icol);
        if (irow != icol) {
            for (int l = 1; l <= n; ++l) std::swap(a(irow, l), a(icol, l));
            for (int l = 1; l <= m; ++l) std::swap(b(irow, l), b(icol, l));
        }
        at(indxr, i) = irow;
        at(indxc, i) = icol;
        if (singleIsZero(a(icol, icol))) return FitStatus::Singular2;
        const double pivinv = 1.0 / a(icol, icol);
        a(icol, icol) = 1;
        for (int l = 1; l <= n; ++l) a(icol, l) = a(icol, l) * pivinv;
        for (int l = 1; l <= m; ++l) b(icol, l) = b(icol, l) * pivinv;
        for (int ll = 1; ll <= n; ++ll) {
            if (ll == icol) continue;
            const double dum = a(ll, icol);
            a(ll, icol) = 0;
            for (int l = 1; l <= n; ++l) a(ll, l) = a(ll, l) - a(icol, l) * dum;
            for (int l = 1; l <= m; ++l) b(ll, l) = b(ll, l) - b(icol, l) * dum;
        }
    }
    for (int l = n; l >= 1; --l) {
        if (at(indxr, l) == at(indxc, l)) continue;
        for (int k = 1; k <= n; ++k) std::swap(a(k, at(indxr, l)), a(k, at(indxc, l)));
    }
    return FitStatus::Ok;
}

void Sort_covar(Mat& covar, int ma, const Vec& list, int mfit) {
    for (int j = 1; j < ma; ++j)
        for (int i = j + 1; i <= ma; ++i) covar(i, j) = 0;
    for (int i = 1; i < mfit; ++i) {
        for (int j = i + 1; j <= mfit; ++j) {
            const int li = listIndex(list, i, ma), lj = listIndex(list, j, ma);
            if (li == 0 || lj == 0) continue;
            if (lj > li)
                covar(lj, li) = covar(i, j);
            else
                covar(li, lj) = covar(i, j);
        }
    }
    // The diagonal of the fitted block goes to the parameters' positions through row 1.
    const double swap = covar(1, 1);
    for (int j = 1; j <= ma; ++j) {
        covar(1, j) = covar(j, j);
        covar(j, j) = 0;
    }
    if (const int l1 = listIndex(list, 1, ma); l1 != 0) covar(l1, l1) = swap;
    for (int j = 2; j <= mfit; ++j)
        if (const int lj = listIndex(list, j, ma); lj != 0) covar(lj, lj) = covar(1, j);
    for (int j = 2; j <= ma; ++j)
        for (int i = 1; i < j; ++i) covar(i, j) = covar(j, i);
}

FitStatus LM_step(const Vec& x, const Vec& y, const Vec& sig, int n, Vec& a, int ma, Vec& list,
                  int mfit, Mat& covar, Mat& alpha, double& chisq, double& lambda, LmMemory& mem) {
    if (mfit < 1 || mfit > ma || list.size() < ma) return FitStatus::ImproperPermutation;
    if (singleIsNegative(lambda)) {
        int kk = mfit + 1;
        for (int j = 1; j <= ma; ++j) {
            int ihit = 0;
            for (int k = 1; k <= mfit; ++k)
                if (list(k) == j) ++ihit;
            if (ihit == 0) {
                if (kk > ma) return FitStatus::ImproperPermutation;
                list(kk) = j;
                ++kk;
            } else if (ihit > 1) {
                return FitStatus::ImproperPermutation;
            }
        }
        if (kk != ma + 1) return FitStatus::ImproperPermutation;
        lambda = 0.001;
        mem.atry.resize(ma);
        mem.beta.resize(ma);
        mem.da.resize(ma);
        mem.oneda.resize(mfit, 1);
        const FitStatus st = LM_coef(x, y, sig, n, a, ma, list, mfit, alpha, mem.beta, chisq);
        if (st != FitStatus::Ok) return st;
        mem.ochisq = chisq;
        for (int j = 1; j <= ma; ++j) mem.atry(j) = a(j);
    }
    if (mem.atry.size() < ma || mem.oneda.rows() < mfit) return FitStatus::ImproperPermutation;
    for (int j = 1; j <= mfit; ++j) {
        for (int k = 1; k <= mfit; ++k) covar(j, k) = alpha(j, k);
        covar(j, j) = alpha(j, j) * (1.0 + lambda);
        mem.oneda(j, 1) = mem.beta(j);
    }
    const FitStatus gj = Gauss_jordan(covar, mfit, mem.oneda, 1);
    if (gj != FitStatus::Ok) return gj;
    for (int j = 1; j <= mfit; ++j) mem.da(j) = mem.oneda(j, 1);
    if (singleIsZero(lambda)) {
        Sort_covar(covar, ma, list, mfit);
        mem = LmMemory{};
        return FitStatus::Ok;
    }
    for (int j = 1; j <= mfit; ++j) {
        const int l = listIndex(list, j, ma);
        mem.atry(l) = a(l) + mem.da(j);
    }
    const FitStatus st = LM_coef(x, y, sig, n, mem.atry, ma, list, mfit, covar, mem.da, chisq);
    if (st != FitStatus::Ok) return st;
    if (chisq < mem.ochisq) {
        lambda = 0.1 * lambda;
        mem.ochisq = chisq;
        for (int j = 1; j <= mfit; ++j) {
            for (int k = 1; k <= mfit; ++k) alpha(j, k) = covar(j, k);
            mem.beta(j) = mem.da(j);
            const int l = listIndex(list, j, ma);
            a(l) = mem.atry(l);
        }
    } else {
        lambda = 10.0 * lambda;
        chisq = mem.ochisq;
    }
    return FitStatus::Ok;
}

}  // namespace tessan
