#pragma once
// The whole analysis from the command line: steps 1 to 4 on the standard (or a model file
// loaded instead), then steps 5, 6 and 7 for every program star, each through the same
// procedures as the workbench, so the numbers are the workbench's. The model is built (or
// loaded) once on one AnalysisState; the stars are measured by o.jobs workers, each on a
// working state of its own that reads the model's decomposition from the first.
#include <ostream>

#include "batch/BatchOptions.h"
#include "batch/ConsolePlatform.h"

namespace tessan::batch {

// Runs o, writing the result table to out and every message through p. Returns the exit
// status: 0, or 1 when a message stopped a step (a failing standard, model or BF directory
// stops the whole run; a failing program star stops that star and the others go on).
// Whatever the number of workers, out and p receive the same text in the same order as from
// one: the stars' messages and lines in the order given. "bbb2.txt" is written once, after the
// stars, with the BFs of the last star whose BFs were computed.
int RunBatch(const Options& o, ConsolePlatform& p, std::ostream& out);

}  // namespace tessan::batch
