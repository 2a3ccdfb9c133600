#include "batch/Samples.h"

#include <cmath>
#include <fstream>

#include "support/FitsWriter.h"

namespace tessan::test {

namespace {
constexpr double kCrval = 5000.0, kStep = 0.5, kBroaden = 30.0;
}

double StepsToVelocity(int steps, double delV) {
    // The grid's wavelength ratio per step is 1 + delV / 299792.4; the synthetic spectra shift
    // lines by 1 + v / 299792.458.
    return 299792.458 * (std::pow(1.0 + delV / 299792.4, steps) - 1.0);
}

Samples MakeSamples(const std::filesystem::path& dir, int n) {
    Samples s;
    s.dir = dir;
    s.delV = std::floor(kStep * 299792.4 / (kCrval + (n - 1) * kStep));
    s.sb1Steps = 5;
    s.sb2StepsA = -4;
    s.sb2StepsB = 6;

    auto write = [&](const std::string& name, const std::string& object, std::vector<double> values) {
        SpectrumFile f;
        f.object = object;
        f.crval1 = kCrval;
        f.cd1_1 = kStep;
        f.values = std::move(values);
        const std::string path = (dir / name).string();
        WriteFile(path, MakeSpectrumFits(f));
        return path;
    };
    s.std = write("std.fits", "HD 0001", SyntheticSpectrum(n, kCrval, kStep, 0.0));
    s.sb1 = write("sb1.fits", "SB1 STAR",
                  SyntheticSpectrum(n, kCrval, kStep, StepsToVelocity(s.sb1Steps, s.delV), kBroaden));
    const auto a = SyntheticSpectrum(n, kCrval, kStep, StepsToVelocity(s.sb2StepsA, s.delV), kBroaden);
    const auto b = SyntheticSpectrum(n, kCrval, kStep, StepsToVelocity(s.sb2StepsB, s.delV), kBroaden);
    std::vector<double> mix(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) mix[i] = 0.65 * a[i] + 0.35 * b[i];
    s.sb2 = write("sb2.fits", "SB2\tSTAR", mix);
    s.bad = (dir / "notes.fits").string();
    std::ofstream(s.bad) << "not a spectrum\n";
    return s;
}

}  // namespace tessan::test
