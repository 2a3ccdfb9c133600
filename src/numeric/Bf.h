#pragma once
// Broadening functions: the BFs of every order from the decomposition, and the copy of one
// order for the BF window. Step 7 itself (steps/ProgramSteps.h) resamples the program star and
// writes "bbb2.txt".
#include <string>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// What the BFs are computed from, read only: the decomposition of the model in hand (U with
// nGrid - span + 1 rows, ww and Vt holding V, of span columns), its grid's count and delV, and
// the standard's name and object for the BFs' identity. A view of a state's arrays: the state
// must outlive it and must not change while it is used. Several working states may compute
// BFs against one model at once through views of it, each writing only its own arrays.
struct BfModel {
    const Mat& U;
    const Vec& ww;
    const Mat& Vt;
    int span = 0, nGrid = 0;
    double delV = 0;                     // km/s
    bool svdValid = false;
    const std::string& StdFileName;
    const std::string& StdObject;
};

// out[k] = sum over i = 1..nrows of U(i, k) bvec[i], k = 1..span, each sum formed from 0 in
// increasing i (eight columns side by side, each in that order): U^T b read straight from U's
// columns.
void ColumnDots(const Mat& U, int span, int nrows, const double* bvec, double* out);

// The model in hand of s.
BfModel BfModelOf(const AnalysisState& s);

// The BFs of every order n = 1..m.span into s.bb, from the decomposition m and the program
// star resampled onto m's grid in s.spr; s.span2 and s.bbIdentity (span, span2, delV, the
// names and objects of the two stars, the next run) with them. A zero singular value
// contributes nothing (its inverse is taken as 0) and is reported once. Returns false (with a
// message, nothing changed) when m holds no decomposition.
bool solveAllOrders(const BfModel& m, AnalysisState& s, Platform& p);

// The same against the decomposition of s itself.
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
