#pragma once
// The settings file "Tessan6.ini" in the working directory: 24 records carrying DataPath, the
// two wavelength keywords, every window's geometry and three choices of the BF window.
// Failures are silent: LoadSettings falls back to the defaults, SaveSettings leaves the
// previous file whole.
#include <filesystem>

#include "state/AnalysisState.h"

namespace tessan {

inline constexpr const char* kSettingsFileName = "Tessan6.ini";

// Reads dir/"Tessan6.ini". On any failure (missing, unreadable, short, an item of the wrong
// kind or beyond 16 bits) records 1 to 22 take their defaults; GaussFitMode, bbCombo1Flag and
// bbCombo2Flag keep what was read before the failure, or false.
void LoadSettings(AnalysisState& s, const std::filesystem::path& dir);
// Writes dir/"Tessan6.ini" through a temporary file; returns 0 or an error number, which the
// callers ignore (a failure is silent). Geometry is saturated to 16 bits, and a text that the
// record writer would alter (one holding a double quote, CR or LF) is written as its default,
// so the file written always reads back with the values it holds.
int SaveSettings(const AnalysisState& s, const std::filesystem::path& dir);

}  // namespace tessan
