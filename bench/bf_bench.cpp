// Timing of the BF step for the typical case: a 2000-point grid and span 201 (1800 x 201).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "numeric/Bf.h"

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

}  // namespace

BENCHMARK_MAIN();
