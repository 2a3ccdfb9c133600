// Steps 3 and 4: the design matrix and its decomposition.
#include "numeric/Design.h"

#include <algorithm>
#include <string>

#include "numeric/Svd.h"
#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {

namespace {

const char* const kSpanRange = "The BF span must be an odd integer from 1 to 500.";
const char* const kStaleSsr =
    "The resampled standard belongs to another standard or grid: resample the standard (step 2) "
    "before building the design matrix.";
const char* const kNoGrid = "There is no resampled standard yet: resample it (step 2) before building the design matrix.";

// The largest odd span that leaves at least as many rows as columns on a grid of n points:
// rows = n - span + 1 >= span.
int largestSpanFor(int n) {
    int s = (n + 1) / 2;
    if (s % 2 == 0) --s;
    return s;
}

}  // namespace

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
                 std::to_string(nGrid) + " points; it can be at most " + std::to_string(largestSpanFor(nGrid)) + ".");
        return out;
    }

    s.span = span;
    s.span2 = span / 2;
    // des(i, j) = ssr(i - j + span): column j is the standard from point span - j + 1 on.
    const double* ssr = s.ssr.data();
    for (int j = 1; j <= span; ++j) {
        const double* from = ssr + (span - j + 1);
        std::copy(from, from + rows, s.des.col(j));
    }
    s.ssrAvailable = true;
    s.desValid = true;
    s.svdValid = false;  // the decomposition in U, ww, Vt belongs to the previous matrix
    out.built = true;
    return out;
}

bool RunSvdStep(AnalysisState& s, Platform& p) {
    s.svdValid = false;
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
        s.svdValid = true;
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
