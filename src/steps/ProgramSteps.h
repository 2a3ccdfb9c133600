#pragma once
// Steps 5 to 7 for a program star, as the main window and the batch driver run them: read the
// program star and resample it, the cross-correlation, and the BFs of every order with
// "bbb2.txt".
#include <optional>
#include <string_view>

#include "io/FitsReader.h"
#include "numeric/Bf.h"
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

inline constexpr const char* kAllBfsFileName = "bbb2.txt";

// Step 5: reads ProFullPath (io/FitsReader.h) and, when done, resamples the program star onto
// whatever grid the last resampling or model selection left (spr; kept as it was should two
// neighbouring wavelengths be equal: steps 6 and 7 resample again before they use it).
FitsOutcome ReadProFits(AnalysisState& s, Platform& p);

// Step 6 with the text of Text6: refuses with the "not available" message when ssrAvailable
// is false; otherwise Select_model(CurModel), the program star (when one was read) resampled
// onto the grid that leaves, ScanHalfWidth, Cross_corr. Returns true when the CCF was computed
// (the main window then enables "Plot CCF").
bool RunCcfStep(AnalysisState& s, Platform& p, std::string_view text6);

// The BFs of every order (solveAllOrders, numeric/Bf.h), then "bbb2.txt" (WriteAllBfs).
// Returns false only when no BF could be computed; a failure to write "bbb2.txt" is reported
// with its error text and the BFs stay computed.
bool Find_bb(AnalysisState& s, Platform& p);

// Step 7: Select_model(CurModel), the program star resampled onto the grid, Find_bb.
bool RunBfStep(AnalysisState& s, Platform& p);

// "bbb2.txt" in p.WorkDir() from bb(1..span, 1..span): for every order n (outer) and point i
// (inner) one record "i,bb(i,n)". A failure is reported (the BFs were computed, the file could
// not be written, its error text) and its error number returned; 0 when written.
int WriteAllBfs(const Mat& bb, int span, Platform& p);

// Steps 5, 6 (when text6 is given) and 7 of one program star against a model that stays the
// same for many stars, as the batch driver runs them on each of its working states: s holds
// the model's grid and resampled standard (ShareModel, steps/ModelSteps.h) and m its
// decomposition. The star is read (ReadStarFits) and resampled once with the resampling's
// message; the model is not selected again, and "bbb2.txt" is not written (WriteAllBfs, once
// for the last star). The messages and the step that stops are those of ReadProFits,
// RunCcfStep and RunBfStep run one after the other. Returns true when the BFs were computed.
bool RunProgramSteps(const BfModel& m, AnalysisState& s, Platform& p, std::optional<std::string_view> text6);

}  // namespace tessan
