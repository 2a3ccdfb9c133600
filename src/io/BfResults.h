#pragma once
// The BF results file: six header lines, then span rows of velocity and the unsmoothed BF of
// the order shown in the BF window.
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Writes BBFullPath through a temporary file. Returns 0, or the error number it reported.
int Save_bb(const AnalysisState& s, Platform& p);

}  // namespace tessan
