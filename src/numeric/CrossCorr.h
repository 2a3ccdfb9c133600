#pragma once
// The cross-correlation function of the program spectrum against the standard on the grid.
#include <string_view>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// ccN, cc(-ccN..ccN), vel_cc and the frame limits ccXmin, ccXmax. A half width giving more than
// 2000 lags, or a grid ratio r1 that gives the lags no finite velocity, is refused with a
// message (returns false, nothing changed).
bool Cross_corr(AnalysisState& s, Platform& p);

// Step 6 with the text of Text6: refuses with the "not available" message when ssrAvailable
// is false; otherwise Select_model(CurModel), the program star (when one was read) resampled
// onto the grid that leaves, ScanHalfWidth, Cross_corr. Returns true when the CCF was computed
// (the main window then enables "Plot CCF").
bool RunCcfStep(AnalysisState& s, Platform& p, std::string_view text6);

}  // namespace tessan
