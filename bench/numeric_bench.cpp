// Timings of the heavy numeric steps on a standard of 2000 pixels with span 201 (a 1800 x 201
// design matrix). The decomposition is timed beside LAPACK's dgesdd on the same matrix, in the
// same run; compare the medians of --benchmark_repetitions.
//
// Add a step with BENCHMARK_F(Standard2000, Name): the fixture holds an analysis state with
// the resampled standard and its design matrix built.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "steps/StandardSteps.h"
#include "numeric/Svd.h"
#include "state/AnalysisState.h"
#include "support/SyntheticStandard.h"

extern "C" void dgesdd_(const char* jobz, const int* m, const int* n, double* a, const int* lda, double* s,
                        double* u, const int* ldu, double* vt, const int* ldvt, double* work, const int* lwork,
                        int* iwork, int* info);

namespace tessan {
namespace {

class SilentPlatform : public Platform {
public:
    void MsgBox(const std::string&) override {}
    std::filesystem::path WorkDir() const override { return std::filesystem::temp_directory_path(); }
};

class Standard2000 : public benchmark::Fixture {
public:
    static constexpr int kPix = 2000;
    static constexpr int kSpan = 201;
    static constexpr int kRows = kPix - kSpan + 1;

    // One state for all benchmarks: the analysis state is large and built once.
    static AnalysisState& State() {
        static std::unique_ptr<AnalysisState> s = [] {
            auto st = std::make_unique<AnalysisState>();
            st->nGrid = kPix;
            st->NAXIS1 = kPix;
            test::MakeInvertedSpectrum(st->ssr, kPix);
            SilentPlatform p;
            (void)Design_matrix(*st, p, "201");
            return st;
        }();
        return *s;
    }
    static Platform& Plat() {
        static SilentPlatform p;
        return p;
    }
};

BENCHMARK_DEFINE_F(Standard2000, Svd_decomp)(benchmark::State& bs) {
    AnalysisState& s = State();
    for (auto _ : bs) {
        for (int j = 1; j <= kSpan; ++j) std::copy(s.des.col(j), s.des.col(j) + kRows, s.U.col(j));
        const SvdStatus st = Svd_decomp(s.U, kRows, kSpan, s.ww, s.Vt);
        if (st != SvdStatus::Ok) bs.SkipWithError("decomposition failed");
        benchmark::DoNotOptimize(s.ww.data());
    }
}
BENCHMARK_REGISTER_F(Standard2000, Svd_decomp)->Unit(benchmark::kMillisecond);

// dgesdd computing U (m x n) and V^T (n x n), on a copy with the state's leading dimension.
BENCHMARK_DEFINE_F(Standard2000, Lapack_dgesdd)(benchmark::State& bs) {
    const AnalysisState& s = State();
    const int m = kRows, n = kSpan, lda = s.des.rows();
    std::vector<double> a(static_cast<std::size_t>(lda) * n), sv(n), u(static_cast<std::size_t>(m) * n),
        vt(static_cast<std::size_t>(n) * n);
    std::vector<int> iwork(8 * static_cast<std::size_t>(n));
    int info = 0, lwork = -1;
    double query = 0;
    dgesdd_("S", &m, &n, a.data(), &lda, sv.data(), u.data(), &m, vt.data(), &n, &query, &lwork, iwork.data(), &info);
    lwork = static_cast<int>(query);
    std::vector<double> work(static_cast<std::size_t>(lwork));
    for (auto _ : bs) {
        for (int j = 1; j <= n; ++j) std::copy(s.des.col(j), s.des.col(j) + m, a.data() + static_cast<std::size_t>(j - 1) * lda);
        dgesdd_("S", &m, &n, a.data(), &lda, sv.data(), u.data(), &m, vt.data(), &n, work.data(), &lwork, iwork.data(), &info);
        if (info != 0) bs.SkipWithError("dgesdd failed");
        benchmark::DoNotOptimize(sv.data());
    }
}
BENCHMARK_REGISTER_F(Standard2000, Lapack_dgesdd)->Unit(benchmark::kMillisecond);

// The whole decomposition step as the main window runs it (copy, decomposition, status).
BENCHMARK_DEFINE_F(Standard2000, RunSvdStep)(benchmark::State& bs) {
    AnalysisState& s = State();
    for (auto _ : bs) benchmark::DoNotOptimize(RunSvdStep(s, Plat()));
}
BENCHMARK_REGISTER_F(Standard2000, RunSvdStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessan

BENCHMARK_MAIN();
