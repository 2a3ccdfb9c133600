#pragma once
// Broadening functions: model selection, the BFs of every order, and "bbb2.txt".
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

inline constexpr const char* kAllBfsFileName = "bbb2.txt";

// Makes model k (1..13) of the store the working model: the standard's items, the grid, the
// design matrix and the decomposition; ssrAvailable from the model's mark. k = 0 changes
// nothing. Returns true when a model was copied (the main window then shows its standard).
bool Select_model(AnalysisState& s, int k);

// y(1..n) = A(1..n, 1..m) x(1..m), summed in increasing k from 0.
void Mat_vec(int n, int m, const Mat& A, const Vec& x, Vec& y);
// C(1..n, 1..p) = A(1..n, 1..m) B(1..m, 1..p), summed in increasing k from 0.
void Mat_mul(int n, int m, int p, const Mat& A, const Mat& B, Mat& C);

// The BFs of every order n = 1..span into bb, then "bbb2.txt" in p.WorkDir(). A zero singular
// value contributes nothing (its inverse is taken as 0) and is reported once. Returns false
// only when no BF could be computed; a failure to write "bbb2.txt" is reported with its error
// text and the BFs stay computed.
bool Find_bb(AnalysisState& s, Platform& p);
// The computing part of Find_bb, without "bbb2.txt": span2 and bb, with the same checks and
// messages. Returns false (with a message, nothing changed) when there is no decomposition.
bool solveAllOrders(AnalysisState& s, Platform& p);

// Step 7: Select_model(CurModel), the program star resampled onto the grid, Find_bb.
bool RunBfStep(AnalysisState& s, Platform& p);

// The velocity of BF point i: (i - span2 - 1) x delV.
double BfVelocity(const AnalysisState& s, int i);

// The points of the shown BF: span, limited to what vel_bb, bb_n and bb_sm hold, so that a
// corrupted span can never index past them.
int ShownBfPoints(const AnalysisState& s);

// "Plot BFs": bbOrder from the text of Text4 (rounded, clamped to 1..span), vel_bb and bb_n of
// that order, Smoothed false. Returns the order used.
int CopyBfOrder(AnalysisState& s, double order);

}  // namespace tessan
