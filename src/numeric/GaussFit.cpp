// "Solve Gauss fit" and the model curves of the stars. The fit runs on local copies and only a
// finished, finite fit is stored, so an abandoned fit leaves parameters and boxes as they were.
#include "numeric/GaussFit.h"

#include <algorithm>
#include <cmath>

#include "numeric/Bf.h"
#include "state/Limits.h"
#include "text/NumText.h"

namespace tessan {

namespace {

constexpr double kWindowFactor = 4;     // the automatic window reaches 4 widths beyond a centre
constexpr double kPointSigma = 0.1;     // uncertainty given to every fitted BF point
constexpr double kLambdaStart = -0.0001;   // negative: the first step initialises
constexpr int kMaxIterations = 500;

constexpr const char* kFewPointsMessage =
    "The velocity window holds fewer BF points than the fit has parameters.";
constexpr const char* kNotFiniteMessage =
    "The fit ran away to values that are not finite numbers; the parameters are left as they were.";

const char* messageFor(FitStatus st) {
    switch (st) {
    case FitStatus::ImproperPermutation: return "Improper permutation in LISTA";
    case FitStatus::Singular1: return "Singular matrix 1";
    case FitStatus::Singular2: return "Singular matrix 2";
    case FitStatus::ZeroWidth: return kZeroWidthMessage;
    case FitStatus::Ok: break;
    }
    return "";
}

FitStatus iterate(GaussFitRun& r, int ma) {
    LmMemory mem;
    const int mfit = ma;
    auto step = [&](double& lambda) {
        return LM_step(r.x, r.y, r.sig, r.n, r.a, ma, r.list, mfit, r.covar, r.alpha, r.chisq, lambda, mem);
    };
    FitStatus st = step(r.lambda);  // initialises, then one regular step
    if (st != FitStatus::Ok) return st;
    // Stop at the first accepted step that lowers chi-square by less than 5 %; a rejected step
    // leaves chi-square equal to the previous one and never stops the loop.
    int count = 0;
    while (true) {
        ++count;
        const double previous = r.chisq;
        st = step(r.lambda);
        if (st != FitStatus::Ok) return st;
        if ((r.chisq < previous && r.chisq > 0.95 * previous) || count > kMaxIterations) break;
    }
    double covarianceOnly = 0;  // Lambda itself keeps its value
    return step(covarianceOnly);
}

}  // namespace

bool HoldsNumber(std::string_view text) {
    const LeadingNumber n = ReadLeadingNumber(text);
    return n.isNumber && !n.overflow;
}

void AutoFitWindow(const Vec& par, int nstars, double& vmin, double& vmax) {
    const double x1 = par(2), w1 = par(3), x2 = par(5), w2 = par(6);
    if (x1 < x2) {
        vmin = x1 - kWindowFactor * w1;
        vmax = x2 + kWindowFactor * w2;
    } else {
        vmin = x2 - kWindowFactor * w2;
        vmax = x1 + kWindowFactor * w1;
    }
    if (nstars < 3) return;
    const double x3 = par(8), w3 = par(9);
    if (x3 < x1 && x3 < x2) vmin = x3 - kWindowFactor * w3;
    if (x3 > x1 && x3 > x2) vmax = x3 + kWindowFactor * w3;
}

bool ComputeModelCurve(AnalysisState& s, int star) {
    if (star < 1 || star > 3 || star > s.ModelCurve.rows()) return false;
    const auto st = static_cast<std::size_t>(star);
    const double h = s.PeakHeight[st], xo = s.PeakXo[st], w = s.PeakWidth[st];
    if (w == 0 || !std::isfinite(h) || !std::isfinite(xo) || !std::isfinite(w)) return false;
    const int span = std::min(ShownBfPoints(s), s.ModelCurve.cols());
    for (int k = 1; k <= span; ++k) {
        // (v - xo) / w squared rather than (v - xo)^2 / w^2: no 0/0 for a width whose square
        // underflows.
        const double arg = (s.vel_bb(k) - xo) / w;
        s.ModelCurve(star, k) = h * std::exp(-arg * arg);
    }
    return true;
}

GaussFitRun FitGaussians(const Vec& vel, const Vec& bf, int span, const Vec& start, int nstars, bool autoWindow,
                         double vmin, double vmax, const Vec& list) {
    GaussFitRun r;
    r.nstars = nstars;
    r.lambda = kLambdaStart;
    const int ma = 3 * nstars;
    for (int j = 1; j <= ma; ++j) {
        r.a(j) = start(j);
        if (!std::isfinite(r.a(j))) {
            r.message = kNotFiniteMessage;
            return r;
        }
    }
    // A star never applied has all its parameters 0; its model would divide by the width.
    for (int st = 1; st <= nstars; ++st) {
        if (r.a(3 * st) == 0) {
            r.message = kZeroWidthMessage;
            return r;
        }
    }
    if (autoWindow) AutoFitWindow(r.a, nstars, vmin, vmax);
    r.vmin = vmin;
    r.vmax = vmax;

    // The points strictly inside the window.
    span = std::min({span, vel.size(), bf.size()});
    int k1 = 0, k2 = 0;
    for (int k = 1; k <= span && k1 == 0; ++k)
        if (vel(k) > vmin) k1 = k;
    for (int k = span; k >= 1 && k2 == 0; --k)
        if (vel(k) < vmax) k2 = k;
    r.n = (k1 == 0 || k2 == 0) ? 0 : std::min(k2 - k1 + 1, lim::kMaxFitPoints);
    if (r.n < ma) {
        r.message = kFewPointsMessage;
        return r;
    }
    r.x.resize(r.n);
    r.y.resize(r.n);
    r.sig.resize(r.n);
    for (int i = 1; i <= r.n; ++i) {
        r.x(i) = vel(k1 + i - 1);
        r.y(i) = bf(k1 + i - 1);
        r.sig(i) = kPointSigma;
    }
    for (int j = 1; j <= std::min(9, list.size()); ++j) r.list(j) = list(j);

    if (const FitStatus st = iterate(r, ma); st != FitStatus::Ok) {
        r.message = messageFor(st);
        return r;
    }

    // Results truncated toward minus infinity.
    for (int st = 1; st <= nstars; ++st) {
        const auto u = static_cast<std::size_t>(st);
        r.height[u] = std::floor(r.a(3 * st - 2) * 10000) / 10000;
        r.centre[u] = std::floor(r.a(3 * st - 1) * 100) / 100;
        r.width[u] = std::floor(r.a(3 * st) * 100) / 100;
        if (!std::isfinite(r.height[u]) || !std::isfinite(r.centre[u]) || !std::isfinite(r.width[u]) ||
            !std::isfinite(r.chisq)) {
            r.message = kNotFiniteMessage;
            return r;
        }
        if (r.width[u] == 0) {
            r.message = kZeroWidthMessage;
            return r;
        }
    }
    return r;
}

std::optional<GaussFitResult> SolveGaussFit(AnalysisState& s, Platform& p, const GaussBoxes& boxes) {
    const int nstars = s.bbCombo1Flag ? 3 : 2;
    const int ma = 3 * nstars;
    for (std::size_t i = 0; i < static_cast<std::size_t>(nstars); ++i) {
        if (!HoldsNumber(boxes.centre[i]) || !HoldsNumber(boxes.width[i]) || !HoldsNumber(boxes.height[i])) {
            p.MsgBox("Please put numbers in the boxes.");
            return std::nullopt;
        }
    }
    Vec start(9);
    for (int st = 1; st <= nstars; ++st) {
        const auto u = static_cast<std::size_t>(st);
        start(3 * st - 2) = s.PeakHeight[u];
        start(3 * st - 1) = s.PeakXo[u];
        start(3 * st) = s.PeakWidth[u];
    }
    double vmin = 0, vmax = 0;
    const bool autoWindow = s.bbCombo2Flag;
    if (!autoWindow) {
        if (!HoldsNumber(boxes.vmin) || !HoldsNumber(boxes.vmax)) {
            p.MsgBox("Factor must be a number.");
            return std::nullopt;
        }
        vmin = Val(boxes.vmin);
        vmax = Val(boxes.vmax);
    }

    // From the unsmoothed BF, whatever the window shows.
    const GaussFitRun r = FitGaussians(s.vel_bb, s.bb_n, ShownBfPoints(s), start, nstars, autoWindow, vmin, vmax,
                                       s.FitList);
    if (r.message) {
        p.MsgBox(r.message);
        return std::nullopt;
    }

    for (int j = 1; j <= ma; ++j) s.FitPar(j) = r.a(j);
    for (int i = 1; i <= r.n; ++i) {
        s.FitX(i) = r.x(i);
        s.FitY(i) = r.y(i);
        s.FitSig(i) = r.sig(i);
    }
    for (int j = 1; j <= std::min(9, s.FitList.size()); ++j) s.FitList(j) = r.list(j);
    s.Alpha = r.alpha;
    s.Covar = r.covar;
    s.ChiSq = r.chisq;
    s.Lambda = r.lambda;
    s.FitVmin = r.vmin;
    s.FitVmax = r.vmax;

    GaussFitResult out;
    out.nstars = nstars;
    out.autoWindow = autoWindow;
    for (int st = 1; st <= nstars; ++st) {
        const auto u = static_cast<std::size_t>(st);
        s.PeakHeight[u] = r.height[u];
        s.PeakXo[u] = r.centre[u];
        s.PeakWidth[u] = r.width[u];
        out.height[u - 1] = PlainText(r.height[u]);
        out.centre[u - 1] = PlainText(r.centre[u]);
        out.width[u - 1] = PlainText(r.width[u]);
        if (st > 1) out.text4 += ", ";
        out.text4 += out.centre[u - 1];
    }
    return out;
}

}  // namespace tessan
