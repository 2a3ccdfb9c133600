#pragma once
// Steps 3 and 4: the design matrix (span staggered copies of the resampled standard) and its
// singular value decomposition.
#include <optional>
#include <string>
#include <string_view>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

struct DesignOutcome {
    bool built = false;                 // des was filled and ssrAvailable set
    std::optional<std::string> text1;   // the new text of Text1 (after an even span)
};

// Step 3 with the text of Text1. An even span shows "The value must be an odd integer", puts
// the next odd number into Text1 and builds nothing. A span above 500, non-positive, beyond 16
// bits, or leaving fewer rows than columns is refused with a message before anything is built,
// and so is an ssr that does not belong to the standard and grid in hand (ssrStale).
DesignOutcome Design_matrix(AnalysisState& s, Platform& p, std::string_view text1);

// Step 4: copies des into U and decomposes it. Returns true when a usable decomposition is in
// U, ww, Vt. On failure (no design matrix of the grid in hand, too few rows, no convergence)
// it has shown its message and leaves the decomposition marked unusable (svdValid false).
bool RunSvdStep(AnalysisState& s, Platform& p);

}  // namespace tessan
