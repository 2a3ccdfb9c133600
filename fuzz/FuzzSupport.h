#pragma once
// What the fuzz targets share: a broken promise ends the process with its text, and the
// starting state every target works on, made by the project's own writers and steps so that a
// reader meets a state that holds something it could spoil.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "StateDigest.h"
#include "io/FitsWriter.h"
#include "state/AnalysisState.h"
#include "support/RecordingPlatform.h"

namespace tessan::fuzz {

// Prints "broken promise: <promise>" to standard error and aborts, so that libFuzzer keeps the
// input as a crash.
[[noreturn]] void Broken(const std::string& promise);
inline void Expect(bool kept, const char* promise) {
    if (!kept) Broken(promise);
}

// The wavelength cards of the synthetic spectra: CRVAL1 = 5000, CD1_1 = 0.5.
std::vector<std::string> WaveCards();
// A synthetic spectrum of n pixels (SIMPLE, BITPIX, NAXIS, NAXIS1, OBJECT, then waveCards), the
// data not padded to a whole record, so that a seed stays small.
fits::Bytes SpectrumBytes(int n, double velocityKms, int bitpix, const std::vector<std::string>& waveCards);

// Steps 1 to 4 on a synthetic standard of nPix pixels, written to p.WorkDir()/"std.fits" and
// read with the keywords CRVAL1 and CD1_1: a
// grid, a design matrix of the span and its decomposition; then Save_model to
// p.WorkDir()/"std.mdl". Aborts when a step refuses or shows a message.
void BuildModel(AnalysisState& s, test::RecordingPlatform& p, int nPix, int span);

// The targets' input files in p.WorkDir().
inline constexpr const char* kInputFits = "input.fits";
inline constexpr const char* kInputModel = "input.mdl";

// The starting state of the targets: error texts and colours, settings that are not the
// defaults, steps 1 to 4 on a 40-pixel standard with span 11, that model saved and loaded
// (slot 1), a program star read and its BFs found (step 7). Then StdFileName and ProFileName
// name kInputFits and ModelFullPath kInputModel, in p.WorkDir().
void BuildStartingState(AnalysisState& s, test::RecordingPlatform& p);

// A target's states: base is the starting state, built once per process, with its digest;
// work is a copy that each input reads into and that the target puts back afterwards.
struct Fixture {
    test::RecordingPlatform p;
    AnalysisState base, work;
    StateDigest baseDigest;
    Fixture() {
        BuildStartingState(base, p);
        work = base;
        baseDigest = DigestOf(base);
    }
};

// Writes the bytes to path, replacing the file (plainly: a target writes one file per input).
void WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);
// The whole file, or "" when it cannot be read.
std::string FileBytes(const std::filesystem::path& path);

}  // namespace tessan::fuzz
