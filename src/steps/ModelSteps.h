#pragma once
// The model store: loading a model file into the next slot, choosing a model, forgetting the
// loaded ones. Saving the working model is io/ModelFile.h.
#include <string>
#include <vector>

#include "io/ModelFile.h"
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Makes model k (1..13) of the store the working model: the standard's items, the grid, the
// design matrix and the decomposition; ssrAvailable from the model's mark. k = 0 changes
// nothing. Returns true when a model was copied (the main window then shows its standard).
bool Select_model(AnalysisState& s, int k);

// Prepares w, a second working state, to measure program stars against the model in hand of s
// (RunProgramSteps, steps/ProgramSteps.h, with BfModelOf(s)): the wavelength keywords, the
// standard's names and wavelengths, the grid (w1, nGrid, delV, Min_waveL, r1), span, the
// resampled standard and its marks are copied. The design matrix and decomposition are not:
// w's own are left empty, and its marks say it has none (desValid, svdValid false), so that a
// step reading them from w fails at once instead of using another model's.
void ShareModel(const AnalysisState& s, AnalysisState& w);

struct ModelLoadOutcome {
    enum Kind { Loaded, StoreFull, Failed } kind = Failed;
    int slot = 0;            // the slot filled (Loaded)
    std::string label;       // the text for Label34(slot): the model's StdFileName
};

// Reads ModelFullPath into the next slot of the store, makes it CurModel and selects it
// (Select_model). A fourteenth model is ignored without a message (StoreFull). A failure shows
// its error text and leaves the store, nModels, CurModel and the working state as before.
ModelLoadOutcome Load_model(AnalysisState& s, Platform& p);

// Forgets the loaded models: returns the list entries k = 1..nModels to hide (in increasing
// order) and sets nModels to 0. CurModel and the slots are not touched.
std::vector<int> DumpModels(AnalysisState& s);

}  // namespace tessan
