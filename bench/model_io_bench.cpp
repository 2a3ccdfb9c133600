// Saving and loading a model of 2000 pixels and span 201 (about 770 000 records).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "steps/ModelSteps.h"
#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace {

using namespace tessan;
namespace fs = std::filesystem;

class BenchPlatform : public Platform {
public:
    void MsgBox(const std::string& text) override { last = text; }
    fs::path WorkDir() const override { return fs::temp_directory_path(); }
    std::string last;
};

// Values of many magnitudes, so that both number forms are written.
void fillModel(AnalysisState& s, int n, int span) {
    std::uint64_t x = 12345;
    auto next = [&x] {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        const double mant = static_cast<double>(x >> 11) * 0x1.0p-53;
        const int e = static_cast<int>((x >> 5) % 41) - 20;
        return ((x >> 3) & 1 ? -1 : 1) * (1 + 9 * mant) * std::pow(10.0, e);
    };
    s.StdFileName = "bench.fts";
    s.StdObject = "HD 0";
    s.nRecords_StdHdr = 30;
    for (int i = 1; i <= 30; ++i) s.StdHdr(i) = std::string(80, 'A');
    s.NAXIS1 = n;
    s.nPixStd = s.nGrid = n;
    for (int i = 1; i <= n; ++i) {
        s.Pixval(i) = next();
        s.ws(i) = 5000 + 0.05 * i;
        s.ss(i) = next();
        s.w1(i) = 5000 * std::pow(1.00001, i - 1);
        s.ssr(i) = next();
    }
    s.span = span;
    for (int i = 1; i <= n - span + 1; ++i)
        for (int j = 1; j <= span; ++j) {
            s.des(i, j) = next();
            s.U(i, j) = next();
        }
    for (int i = 1; i <= span; ++i) {
        s.ww(i) = next();
        for (int j = 1; j <= span; ++j) s.Vt(i, j) = next();
    }
    s.delV = 2.5;
    s.r1 = 1.00001;
    s.svdValid = true;
}

fs::path benchFile() { return fs::temp_directory_path() / "tessan_model_io_bench.MDL"; }

void BM_SaveModel(benchmark::State& state) {
    auto s = std::make_unique<AnalysisState>();
    fillModel(*s, 2000, 201);
    s->ModelFullPath = benchFile().string();
    BenchPlatform p;
    for (auto _ : state)
        if (Save_model(*s, p) != 0) state.SkipWithError(p.last.c_str());
    state.counters["bytes"] = static_cast<double>(fs::file_size(benchFile()));
}
BENCHMARK(BM_SaveModel)->Unit(benchmark::kMillisecond);

void BM_LoadModel(benchmark::State& state) {
    auto s = std::make_unique<AnalysisState>();
    fillModel(*s, 2000, 201);
    s->ModelFullPath = benchFile().string();
    BenchPlatform p;
    if (Save_model(*s, p) != 0) state.SkipWithError(p.last.c_str());
    for (auto _ : state) {
        s->nModels = 0;
        if (Load_model(*s, p).kind != ModelLoadOutcome::Loaded) state.SkipWithError(p.last.c_str());
    }
    std::error_code ec;
    fs::remove(benchFile(), ec);
}
BENCHMARK(BM_LoadModel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
