#pragma once
// Broadening functions: the BFs of every order from the decomposition, and the copy of one
// order for the BF window. Step 7 itself (steps/ProgramSteps.h) resamples the program star and
// writes "bbb2.txt".
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// The BFs of every order n = 1..span into bb, from the decomposition in U, ww, Vt and the
// resampled program star in spr; span2 and bbIdentity (span, span2, delV, the names and
// objects of the two stars, the next run) with them. A zero singular value contributes nothing
// (its inverse is taken as 0) and is reported once. Returns false (with a message, nothing
// changed) when there is no decomposition.
bool solveAllOrders(AnalysisState& s, Platform& p);

// The velocity of BF point i of the BFs in hand: bbIdentity.Velocity(i).
double BfVelocity(const AnalysisState& s, int i);

// The points of the shown BF: the span it was copied with (bbShown), limited to what vel_bb,
// bb_n and bb_sm hold, so that a corrupted span can never index past them.
int ShownBfPoints(const AnalysisState& s);

// "Plot BFs": bbOrder from the text of Text4 (rounded, clamped to 1..span of the BFs in hand),
// vel_bb and bb_n of that order with the BFs' own span and delV, bbShown = bbIdentity,
// Smoothed false. Returns the order used; 0 (nothing changed) when no BFs were computed.
int CopyBfOrder(AnalysisState& s, double order);

}  // namespace tessan
