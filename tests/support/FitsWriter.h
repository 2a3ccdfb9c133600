#pragma once
// The tests write their FITS files with the program's own writer (io/FitsWriter.h) and the
// synthetic spectra of tessan-samples.
#include <filesystem>
#include <stdexcept>
#include <string>

#include "SyntheticSpectrum.h"
#include "io/FitsWriter.h"

namespace tessan::test {

using fits::Bytes;
using fits::Card;
using fits::EncodePixels;
using fits::MakeFits;
using fits::MakeSpectrumFits;
using fits::Number;
using fits::Quoted;
using fits::SpectrumFile;
using samples::SyntheticSpectrum;

// Writes bytes to path; a test that cannot write its input fails at once (throws).
inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    if (const int e = fits::WriteFitsFile(path, bytes))
        throw std::runtime_error("cannot write " + path.string() + ": error " + std::to_string(e));
}

}  // namespace tessan::test
