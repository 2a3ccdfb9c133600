// tessan-samples DIR: writes a synthetic standard star "standard.fts" and a double-lined
// binary "program.fts" into DIR, so that steps 1 to 7 can be tried at once with the default
// keywords CRVAL1 and CD1_1. The files are the same on every run; each is written beside its
// target and renamed over it, so an interrupted run never leaves half a file.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "SyntheticStar.h"
#include "io/FitsWriter.h"
#include "state/ErrText.h"

namespace {

namespace fs = std::filesystem;
using tessan::fits::SpectrumFile;
using tessan::samples::SyntheticSpectrum;

constexpr int kPixels = 2000;
constexpr double kStart = 5000.0;   // Angstrom
constexpr double kStep = 0.1;       // Angstrom per pixel
constexpr double kVelA = -60.0, kVelB = 45.0, kBroaden = 12.0;   // km/s
constexpr double kWeightA = 0.6, kWeightB = 0.4;                 // light of the two components

SpectrumFile spectrum(const std::string& object, std::vector<double> values) {
    SpectrumFile f;
    f.object = object;
    f.bitpix = -32;
    f.crval1 = kStart;
    f.cd1_1 = kStep;
    f.values = std::move(values);
    return f;
}

// Writes one sample file; false after a message on standard error.
bool write(const fs::path& target, const SpectrumFile& f) {
    if (const int e = tessan::fits::WriteFitsFile(target, tessan::fits::MakeSpectrumFits(f))) {
        std::fprintf(stderr, "tessan-samples: %s: %s\n", target.string().c_str(), tessan::ErrTextFor(e).c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessan-samples DIR\n");
        return 2;
    }
    try {
        const fs::path dir(argv[1]);
        fs::create_directories(dir);
        const auto standard = SyntheticSpectrum(kPixels, kStart, kStep, 0.0);
        const auto a = SyntheticSpectrum(kPixels, kStart, kStep, kVelA, kBroaden);
        const auto b = SyntheticSpectrum(kPixels, kStart, kStep, kVelB, kBroaden);
        std::vector<double> binary(a.size());
        for (std::size_t i = 0; i < a.size(); ++i) binary[i] = kWeightA * a[i] + kWeightB * b[i];
        if (!write(dir / "standard.fts", spectrum("SAMPLE STANDARD", standard)) ||
            !write(dir / "program.fts", spectrum("SAMPLE BINARY", binary)))
            return 1;
        std::printf("wrote %s and %s\n", (dir / "standard.fts").string().c_str(),
                    (dir / "program.fts").string().c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tessan-samples: %s\n", e.what());
        return 1;
    }
}
