#pragma once
// The cross-correlation function of the program spectrum against the standard on the grid.
// Step 6 itself (steps/ProgramSteps.h) chooses the model and resamples the program star.
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// ccN, cc(-ccN..ccN), vel_cc and the frame limits ccXmin, ccXmax. A half width giving more than
// 2000 lags, or a grid ratio r1 that gives the lags no finite velocity, is refused with a
// message (returns false, nothing changed).
bool Cross_corr(AnalysisState& s, Platform& p);

}  // namespace tessan
