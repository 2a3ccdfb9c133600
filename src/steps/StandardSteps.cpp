#include "steps/StandardSteps.h"

#include <algorithm>
#include <cmath>

#include "numeric/Design.h"
#include "numeric/Resample.h"
#include "numeric/Svd.h"
#include "steps/Validity.h"
#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {

namespace {

const char* const kUnusableRange =
    "The wavelength range and velocity step cannot be used: no positive velocity step puts the "
    "grid inside the range.  Check Min. waveL, Max. waveL and del V.";
const char* const kSpanRange = "The BF span must be an odd integer from 1 to 500.";
const char* const kStaleSsr =
    "The resampled standard belongs to another standard or grid: resample the standard (step 2) "
    "before building the design matrix.";
const char* const kNoGrid = "There is no resampled standard yet: resample it (step 2) before building the design matrix.";

}  // namespace

FitsOutcome ReadStdFits(AnalysisState& s, Platform& p) {
    const FitsOutcome o = ReadStarFits(s, p, Star::Std);
    if (o != FitsOutcome::Done) return o;
    s.delV = std::floor(s.dLambda_dp_Std * kCGrid / s.WaveL_R_Std);
    StandardChanged(s);
    return o;
}

bool Resample(AnalysisState& s, Platform& p, std::string_view text5, std::string_view text2,
              std::string_view text3) {
    const int n = s.nPixStd;
    if (n < 1 || n > lim::kMaxPix) {
        p.MsgBox("There is no standard spectrum to resample.  Load the standard star first (step 1).");
        return false;
    }
    const double typedStep = Val(text5);
    const double minWave = Val(text2);
    const double wmax = Val(text3);
    // Wavelengths must be positive; a non-positive start gives a grid of equal points.
    if (!(std::isfinite(minWave) && minWave > 0) || std::isnan(wmax) ||
        !(std::isfinite(typedStep) && typedStep > 0 && typedStep < kMaxGridStep)) {
        p.MsgBox(kUnusableRange);
        return false;
    }
    const double delV = FittingStep(minWave, wmax, typedStep, n);
    if (!(delV > 0)) {
        p.MsgBox(kUnusableRange);
        return false;
    }

    // Built apart and committed only when the standard could be resampled.
    const double r1 = 1 + delV / kCGrid;
    Vec w1(n), ssr(n);
    BuildGrid(minWave, r1, n, w1);
    if (!Lin_interp(s.ws, s.ss, s.nPixStd, w1, ssr, n, p)) return false;

    s.delV = delV;
    s.Min_waveL = minWave;
    s.Max_waveL = wmax;
    s.r1 = r1;
    for (int k = 1; k <= n; ++k) {
        s.w1(k) = w1(k);
        s.ssr(k) = ssr(k);
    }
    s.nGrid = n;
    // The design matrix and the decomposition in hand were built on the previous grid: BFs from
    // them and a program star resampled onto this grid would be silently wrong, so steps 3 and
    // 4 must run again.
    GridChanged(s);
    return true;
}

DesignOutcome Design_matrix(AnalysisState& s, Platform& p, std::string_view text1) {
    DesignOutcome out;
    const std::optional<int> typed = ToInt16(ReadLeadingNumber(text1).value);
    if (!typed) {
        p.MsgBox(kSpanRange);
        return out;
    }
    const int span = *typed;
    if (span % 2 == 0) {
        // The next odd number goes back into Text1 for the user to confirm. The span item
        // keeps the span of the matrix that is built, so that steps 4 and 7 never pair a new
        // span with an old matrix.
        p.MsgBox("The value must be an odd integer");
        out.text1 = DefaultText(span + 1);
        return out;
    }
    if (span < 1 || span > lim::kMaxSpan) {
        p.MsgBox(kSpanRange);
        return out;
    }
    const int nGrid = std::min(s.nGrid, lim::kMaxPix);
    if (nGrid < 1) {
        p.MsgBox(kNoGrid);
        return out;
    }
    if (s.ssrStale) {
        p.MsgBox(kStaleSsr);
        return out;
    }
    const int rows = nGrid - span + 1;
    if (rows < span) {
        p.MsgBox("The BF span " + std::to_string(span) + " leaves fewer rows than columns on a grid of " +
                 std::to_string(nGrid) + " points; it can be at most " + std::to_string(LargestSpanFor(nGrid)) + ".");
        return out;
    }

    s.span = span;
    s.span2 = span / 2;
    BuildDesign(s.ssr, span, rows, s.des);
    DesignBuilt(s);   // the decomposition in U, ww, Vt belongs to the previous matrix
    out.built = true;
    return out;
}

bool RunSvdStep(AnalysisState& s, Platform& p) {
    DecompositionStarted(s);
    const int n = s.span;
    const int nGrid = std::min(s.nGrid, lim::kMaxPix);
    if (!s.desValid || n < 1 || n > lim::kMaxSpan || nGrid < 1) {
        p.MsgBox("There is no design matrix to decompose: build it first (step 3).");
        return false;
    }
    const int m = nGrid - n + 1;
    if (m < n) {
        p.MsgBox("You must augment A with extra zero rows.");
        return false;
    }
    CopyBlock(s.des, s.U, m, n);
    switch (Svd_decomp(s.U, m, n, s.ww, s.Vt)) {
    case SvdStatus::Ok:
        DecompositionFinished(s);
        return true;
    case SvdStatus::TooFewRows:
        p.MsgBox("You must augment A with extra zero rows.");
        return false;
    case SvdStatus::NoConvergence:
        p.MsgBox("No consVergence in 30 iterations");
        return false;
    }
    return false;
}

}  // namespace tessan
