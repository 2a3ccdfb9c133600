#include "steps/Validity.h"

namespace tessan {

void StandardChanged(AnalysisState& s) {
    s.ssrAvailable = false;
    s.ssrStale = true;
    s.desValid = false;
    s.svdValid = false;
}

void GridChanged(AnalysisState& s) {
    s.ssrStale = false;
    s.desValid = false;
    s.svdValid = false;
}

void DesignBuilt(AnalysisState& s) {
    s.ssrAvailable = true;
    s.desValid = true;
    s.svdValid = false;
}

void DecompositionStarted(AnalysisState& s) { s.svdValid = false; }

void DecompositionFinished(AnalysisState& s) { s.svdValid = true; }

void ModelChosen(AnalysisState& s, bool ssrUsable) {
    s.desValid = true;
    s.svdValid = true;
    s.ssrAvailable = ssrUsable;
    // Without a usable one, ssr still holds an earlier standard on an earlier grid.
    s.ssrStale = !ssrUsable;
}

void ModelShared(AnalysisState& w, const AnalysisState& from) {
    w.ssrAvailable = from.ssrAvailable;
    w.ssrStale = from.ssrStale;
    w.desValid = false;
    w.svdValid = false;
}

}  // namespace tessan
