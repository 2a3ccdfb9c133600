#pragma once
// The BF results file: six header lines, then span rows of velocity and the unsmoothed BF of
// the order shown in the BF window.
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Writes BBFullPath through a temporary file. The names, objects, span and delV written are
// those the BFs were computed with (bbIdentity), never those of a model or program star chosen
// since. The rows are the shown order as the BF window copied it (vel_bb, bb_n); when the BFs
// were computed again after that copy, the same order (bbOrder, clamped to the span) of the BFs
// in hand with their own velocities. Returns 0, or the error number it reported.
int Save_bb(const AnalysisState& s, Platform& p);

}  // namespace tessan
