#pragma once
// The batch driver's test bench: a standard, a single star and a double-lined binary shifted by
// whole grid steps and broadened a little, and a file that is not FITS, written once per suite;
// the driver run in process with its result lines split at tabs.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ConsolePlatform.h"
#include "SyntheticStar.h"
#include "io/FitsWriter.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"

namespace tessan::test {

using fits::MakeSpectrumFits;
using fits::SpectrumFile;
using samples::SyntheticSpectrum;

struct Samples {
    std::filesystem::path dir;
    std::string std, sb1, sb2, bad;                                     // full paths
    double delV = 0;                                                    // the standard's grid step (km/s)
    static constexpr int sb1Steps = 5, sb2StepsA = -4, sb2StepsB = 6;   // SB2: the stronger first
};

// n pixels from 5000 A in steps of 0.5 A.
inline Samples MakeSamples(const std::filesystem::path& dir, int n) {
    constexpr double crval = 5000.0, step = 0.5;
    Samples s{dir, "", "", "", "", std::floor(step * 299792.4 / (crval + (n - 1) * step))};
    // A grid step multiplies the wavelength by 1 + delV / 299792.4; the helper shifts by 1 + v / c.
    auto shifted = [&](int steps) {
        const double v = 299792.458 * (std::pow(1.0 + s.delV / 299792.4, steps) - 1.0);
        return SyntheticSpectrum(n, crval, step, v, 30.0);
    };
    auto write = [&](const char* name, const char* object, std::vector<double> values) {
        SpectrumFile f;   // from 5000 A
        f.object = object;
        f.cd1_1 = step;
        f.values = std::move(values);
        EXPECT_EQ(fits::WriteFitsFile(dir / name, MakeSpectrumFits(f)), 0) << name;
        return (dir / name).string();
    };
    s.std = write("std.fits", "HD 0001", SyntheticSpectrum(n, crval, step, 0.0));
    s.sb1 = write("sb1.fits", "SB1 STAR", shifted(Samples::sb1Steps));
    auto mix = shifted(Samples::sb2StepsA), weak = shifted(Samples::sb2StepsB);
    for (std::size_t i = 0; i < mix.size(); ++i) mix[i] = 0.65 * mix[i] + 0.35 * weak[i];
    s.sb2 = write("sb2.fits", "SB2\tSTAR", mix);
    s.bad = (dir / "notes.fits").string();
    std::ofstream(s.bad) << "not a spectrum\n";
    return s;
}

struct BatchRun {
    int status = -1;
    std::string out, err;
    std::vector<std::vector<std::string>> rows;   // result lines split at tabs, header excluded
};

// stdinText is what "--prog-list -" reads.
inline BatchRun RunInProcess(const std::vector<std::string>& args, const std::filesystem::path& workDir,
                             const std::string& stdinText = "") {
    std::istringstream in(stdinText);
    const batch::ParseResult parsed = batch::ReadProgList(batch::ParseArgs(args), in);
    if (parsed.kind == batch::ParseResult::Unreadable) return {1, "", parsed.error + "\n", {}};
    if (parsed.kind != batch::ParseResult::Run) return {2, "", parsed.error, {}};
    std::ostringstream out, err;
    batch::ConsolePlatform p(err, workDir);
    BatchRun r{batch::RunBatch(parsed.options, p, out), out.str(), err.str(), {}};
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        auto& f = r.rows.emplace_back();
        for (std::istringstream fields(line); std::getline(fields, f.emplace_back(), '\t');) {}
        f.pop_back();
    }
    return r;
}

class SampleSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<RecordingPlatform>();
        s_samples = MakeSamples(s_dir->WorkDir(), 1200);
    }
    static void TearDownTestSuite() { s_dir.reset(); }
    static const Samples& S() { return s_samples; }
    // A fresh working directory (for "bbb2.txt" and "Tessan6.ini").
    static std::filesystem::path WorkDir(const std::string& name) {
        const auto d = s_dir->WorkDir() / name;
        std::filesystem::create_directories(d);
        return d;
    }
    inline static std::unique_ptr<RecordingPlatform> s_dir;
    inline static Samples s_samples;
};

}  // namespace tessan::test
