#pragma once
// The model file. A model is everything steps 1 to 4 derive from the standard; users keep
// libraries of them, so the format is read and written exactly.
#include <filesystem>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Writes the working model to ModelFullPath (through a temporary file renamed over the target).
// Returns 0, the error number it reported with its text, or -1 when there is no usable model
// (no finished decomposition): that refusal is reported with a message and nothing is written.
int Save_model(const AnalysisState& s, Platform& p);

// Reads a whole model file into m, sized to the file's counts. Returns 0 or the error number
// of the first failure (the file's, a malformed or out-of-range item, 7 when memory runs out);
// m is then incomplete and must be discarded. Loading it into the store and choosing it are
// steps/ModelSteps.h.
int ReadModelFile(const std::filesystem::path& path, ModelSlot& m);

}  // namespace tessan
