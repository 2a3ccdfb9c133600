#pragma once
// Steps 1 to 4 on the standard, as the main window and the batch driver run them: read the
// standard, build the velocity grid and resample the standard onto it, build the design matrix
// and decompose it. Each step reports through Platform and keeps the validity marks
// (steps/Validity.h).
#include <optional>
#include <string>
#include <string_view>

#include "io/FitsReader.h"
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Step 1: reads StdFullPath (io/FitsReader.h). When done, proposes delV (whole km/s of one
// pixel's step at the red end) and marks what belonged to the previous standard as stale.
FitsOutcome ReadStdFits(AnalysisState& s, Platform& p);

// Step 2. Reads delV, Min_waveL and the upper end from the texts of Text5, Text2, Text3
// (leading-number rule), reduces delV by whole km/s until the grid of nPixStd points ends at or
// below the upper end, builds w1 (nGrid = nPixStd points) and resamples ss onto it as ssr.
// Returns false, with a message and the grid unchanged, when no positive step fits the range
// or the standard's wavelengths cannot be interpolated.
bool Resample(AnalysisState& s, Platform& p, std::string_view text5, std::string_view text2,
              std::string_view text3);

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
