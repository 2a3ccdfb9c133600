// tessan-samples DIR [--epochs N]: writes a synthetic standard star "standard.fts" and a
// double-lined binary "program.fts" into DIR, so that steps 1 to 7 can be tried at once with the
// default keywords CRVAL1 and CD1_1. With --epochs, also N epochs of that binary along its
// circular orbit, DIR/epochs/epoch0001.fts ..., for tessan-batch runs over many epochs. The files
// are the same on every run; each is written beside its target and renamed over it, so an
// interrupted run never leaves half a file.
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
// The orbit of the epochs: equal masses, so the components move by the same amount in opposite
// directions about kGamma; at phase 1/4 they stand where "program.fts" has them.
constexpr double kGamma = (kVelA + kVelB) / 2, kSemiAmplitude = (kVelB - kVelA) / 2;   // km/s

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

std::vector<double> binary(double velA, double velB) {
    const auto a = SyntheticSpectrum(kPixels, kStart, kStep, velA, kBroaden);
    const auto b = SyntheticSpectrum(kPixels, kStart, kStep, velB, kBroaden);
    std::vector<double> sum(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) sum[i] = kWeightA * a[i] + kWeightB * b[i];
    return sum;
}

// Epoch k of n at orbital phase (k - 1) / n, named so that the names sort in time.
bool writeEpochs(const fs::path& dir, int n) {
    fs::create_directories(dir);
    const double pi = std::acos(-1.0);
    for (int k = 1; k <= n; ++k) {
        const double s = std::sin(2 * pi * (k - 1) / n);
        char name[32];
        std::snprintf(name, sizeof name, "epoch%04d.fts", k);
        const auto values = binary(kGamma - kSemiAmplitude * s, kGamma + kSemiAmplitude * s);
        if (!write(dir / name, spectrum("SAMPLE BINARY", values))) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    int epochs = 0;
    if (args.size() == 3 && args[1] == "--epochs") {
        char* end = nullptr;
        const long n = std::strtol(args[2].c_str(), &end, 10);
        epochs = *end == '\0' && n >= 1 && n <= 9999 ? static_cast<int>(n) : -1;
    }
    if ((args.size() != 1 && args.size() != 3) || epochs < 0 || (args.size() == 3 && epochs == 0)) {
        std::fprintf(stderr, "usage: tessan-samples DIR [--epochs N]   (N from 1 to 9999)\n");
        return 2;
    }
    try {
        const fs::path dir(args[0]);
        fs::create_directories(dir);
        const auto standard = SyntheticSpectrum(kPixels, kStart, kStep, 0.0);
        if (!write(dir / "standard.fts", spectrum("SAMPLE STANDARD", standard)) ||
            !write(dir / "program.fts", spectrum("SAMPLE BINARY", binary(kVelA, kVelB))))
            return 1;
        std::printf("wrote %s and %s\n", (dir / "standard.fts").string().c_str(),
                    (dir / "program.fts").string().c_str());
        if (epochs > 0) {
            if (!writeEpochs(dir / "epochs", epochs)) return 1;
            std::printf("wrote %d epochs in %s\n", epochs, (dir / "epochs").string().c_str());
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tessan-samples: %s\n", e.what());
        return 1;
    }
}
