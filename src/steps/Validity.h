#pragma once
// Which results of steps 2 to 4 belong to the standard and grid in hand. The four marks of the
// state are set here only, by what happened, so that every step keeps them the same way:
//   ssrAvailable  the resampled standard may be used for the cross-correlation
//   ssrStale      ssr is known not to be the standard in hand on the grid in hand
//   desValid      des was built from the grid and ssr in hand (or came with a model)
//   svdValid      U, ww, Vt hold a finished decomposition of that des
#include "state/AnalysisState.h"

namespace tessan {

// A standard was read: its resampled copy, the design matrix and the decomposition in hand
// belong to the previous standard.
void StandardChanged(AnalysisState& s);
// The grid was built anew and the standard resampled onto it: ssr belongs to them, the design
// matrix and the decomposition of the previous grid no longer do.
void GridChanged(AnalysisState& s);
// The design matrix was built from ssr: ssr is available, the previous decomposition is not.
void DesignBuilt(AnalysisState& s);
// A decomposition started (it is unusable until it finishes) or finished.
void DecompositionStarted(AnalysisState& s);
void DecompositionFinished(AnalysisState& s);
// A model was chosen: its design matrix and decomposition are in hand; its resampled standard
// is usable only when the model brought one that could be completed (ssrUsable).
void ModelChosen(AnalysisState& s, bool ssrUsable);
// w was given the grid and resampled standard of the model in hand of from, without its design
// matrix and decomposition (ShareModel, steps/ModelSteps.h): the resampled standard's marks are
// from's, and w holds no design matrix or decomposition of its own.
void ModelShared(AnalysisState& w, const AnalysisState& from);

}  // namespace tessan
