// Timing of the BF step and of the whole chain for the typical case: a 2000-point grid and
// span 201 (1800 x 201).
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "numeric/Bf.h"
#include "numeric/CrossCorr.h"
#include "io/FitsWriter.h"
#include "numeric/Resample.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"

namespace {

using namespace tessan;

// Writes "bbb2.txt" into a fresh temporary directory and swallows messages.
class QuietPlatform : public Platform {
public:
    QuietPlatform() {
        std::random_device rd;
        m_dir = std::filesystem::temp_directory_path() / ("tessan-bench-" + std::to_string(rd()));
        std::filesystem::create_directories(m_dir);
    }
    ~QuietPlatform() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    void MsgBox(const std::string&) override { ++messages; }
    std::filesystem::path WorkDir() const override { return m_dir; }
    int messages = 0;

private:
    std::filesystem::path m_dir;
};

constexpr int kGrid = 2000;
constexpr int kSpan = 201;

// A stand-in decomposition: the cost of Find_bb does not depend on the values.
std::unique_ptr<AnalysisState> standInModel() {
    auto s = std::make_unique<AnalysisState>();
    std::mt19937 gen(1);
    std::uniform_real_distribution<double> d(-1, 1);
    s->nGrid = kGrid;
    s->span = kSpan;
    for (int j = 1; j <= kSpan; ++j) {
        for (int i = 1; i <= kGrid - kSpan + 1; ++i) s->U(i, j) = d(gen) / 40;
        for (int i = 1; i <= kSpan; ++i) s->Vt(i, j) = d(gen) / 14;
        s->ww(j) = 1 + j;
    }
    for (int i = 1; i <= kGrid; ++i) s->spr(i) = d(gen);
    s->svdValid = true;
    return s;
}

// All 201 orders and "bbb2.txt" (40 401 records).
void BM_FindBb_AllOrders(benchmark::State& state) {
    auto s = standInModel();
    QuietPlatform p;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Find_bb(*s, p));
        benchmark::DoNotOptimize(s->bb(kSpan, kSpan));
    }
    state.counters["orders"] = kSpan;
}
BENCHMARK(BM_FindBb_AllOrders)->Unit(benchmark::kMillisecond);

// The same without the file: U^T spr and the running sums of all orders.
void BM_SolveAllOrders(benchmark::State& state) {
    auto s = standInModel();
    QuietPlatform p;
    for (auto _ : state) {
        benchmark::DoNotOptimize(solveAllOrders(*s, p));
        benchmark::DoNotOptimize(s->bb(kSpan, kSpan));
    }
}
BENCHMARK(BM_SolveAllOrders)->Unit(benchmark::kMicrosecond);

// Standard and program star of 2001 pixels of 0.5 A from 4000 A, the program star shifted by
// +40 km/s.
void twoSpectra(AnalysisState& s) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<std::array<double, 3>> lines;
    for (int k = 0; k < 300; ++k) lines.push_back({4000 + 1000 * u(gen), 0.3 + 0.6 * u(gen), 0.6 * u(gen)});
    auto spectrum = [&](double w) {
        double v = 0;
        for (const auto& l : lines) v += l[2] * std::exp(-0.5 * std::pow((w - l[0]) / l[1], 2));
        return v;
    };
    // Standard and program star of 2001 pixels of 0.5 A from 4000 A; the program star is
    // shifted by +40 km/s.
    s.nPixStd = s.nPixPro = 2001;
    for (int i = 1; i <= 2001; ++i) {
        s.ws(i) = s.wp(i) = 4000 + 0.5 * (i - 1);
        s.ss(i) = spectrum(s.ws(i));
        s.sp(i) = spectrum(s.wp(i) / (1 + 40 / 299792.458));
    }
    s.dLambda_dp_Std = 0.5;
    s.ScanHalfWidth = 450;
}

// The whole chain from the two spectra in memory to all BFs and the CCF: Resample,
// Design_matrix, RunSvdStep, Lin_interp of the program star, Find_bb and Cross_corr.
void BM_WholeChain(benchmark::State& state) {
    auto s = std::make_unique<AnalysisState>();
    QuietPlatform p;
    twoSpectra(*s);
    for (auto _ : state) {
        bool ok = Resample(*s, p, "29", "4008", "4990");
        ok = ok && Design_matrix(*s, p, "201").built;
        ok = ok && RunSvdStep(*s, p);
        ok = ok && Lin_interp(s->wp, s->sp, s->nPixPro, s->w1, s->spr, s->nGrid, p);
        ok = ok && Find_bb(*s, p);
        ok = ok && Cross_corr(*s, p);
        if (!ok || p.messages != 0) state.SkipWithError("the chain failed");
        benchmark::DoNotOptimize(s->bb(201, 201));
    }
}
BENCHMARK(BM_WholeChain)->Unit(benchmark::kMillisecond);

// One program star of the batch driver against a span-201 model on a 2000-point grid, on a
// second working state that shares the model: read from its FITS file, resampled, the BFs of
// every order (RunProgramSteps, no CCF).
void BM_ProgramStar(benchmark::State& state) {
    auto model = std::make_unique<AnalysisState>(), star = std::make_unique<AnalysisState>();
    QuietPlatform p;
    twoSpectra(*model);
    if (!Resample(*model, p, "29", "4008", "4990") || !Design_matrix(*model, p, "201").built || !RunSvdStep(*model, p))
        return state.SkipWithError("no model");
    fits::SpectrumFile f;
    f.crval1 = 4000;
    for (int i = 1; i <= 2001; ++i) f.values.push_back(1000 - 500 * model->sp(i));
    const auto path = p.WorkDir() / "program.fits";
    if (fits::WriteFitsFile(path, fits::MakeSpectrumFits(f)) != 0) return state.SkipWithError("no FITS file");
    model->Lambda0_Key = "CRVAL1", model->dLambda_Key = "CD1_1";
    ShareModel(*model, *star);
    star->DataPath = p.WorkDir().string(), star->ProFileName = "program.fits", star->ProFullPath = path.string();
    const BfModel m = BfModelOf(*model);
    for (auto _ : state) {
        if (!RunProgramSteps(m, *star, p, std::nullopt) || p.messages != 0) state.SkipWithError("the star failed");
        benchmark::DoNotOptimize(star->bb(201, 201));
    }
}
BENCHMARK(BM_ProgramStar)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
