#pragma once
// The model file and the model store. A model is everything steps 1 to 4 derive from the
// standard; users keep libraries of them, so the format is read and written exactly.
#include <string>
#include <vector>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Writes the working model to ModelFullPath (through a temporary file renamed over the target).
// Returns 0, the error number it reported with its text, or -1 when there is no usable model
// (no finished decomposition): that refusal is reported with a message and nothing is written.
int Save_model(const AnalysisState& s, Platform& p);

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
