// Timings of the heavy numeric steps on a standard of 2000 pixels with span 201 (a 1800 x 201
// design matrix). The decomposition is timed beside LAPACK's dgesdd on the same matrix, in the
// same run, from two libraries loaded by path: OpenBLAS on one thread (Debian's
// libopenblas0-pthread, -openmp or -serial) and the reference LAPACK on the reference BLAS
// (liblapack3, libblas3). A library that is not installed makes its benchmark stop with an
// error saying so; the others run. Compare the medians of --benchmark_repetitions, e.g.
//   numeric_bench --benchmark_filter='Svd_decomp|Dgesdd' --benchmark_repetitions=15
//                 --benchmark_report_aggregates_only=true
//
// Add a step with BENCHMARK_F(Standard2000, Name): the fixture holds an analysis state with
// the resampled standard and its design matrix built.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "steps/StandardSteps.h"
#include "numeric/Svd.h"
#include "state/AnalysisState.h"
#include "support/SyntheticStandard.h"

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

using Dgesdd = void(const char* jobz, const int* m, const int* n, double* a, const int* lda, double* s, double* u,
                    const int* ldu, double* vt, const int* ldvt, double* work, const int* lwork, int* iwork, int* info);

// dgesdd of one library, or why there is none. Each library is opened with its own symbols
// kept local, so that its LAPACK calls its own BLAS.
struct Lapack {
    Dgesdd* dgesdd = nullptr;
    std::string error;
};

Lapack OpenLapack(const std::string& name, const std::vector<std::string>& preload,
                  const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates) {
        // A library preloaded by path satisfies the LAPACK library's need of its name.
        bool ok = true;
        for (const std::string& pre : preload)
            if (!dlopen(pre.c_str(), RTLD_NOW | RTLD_LOCAL)) ok = false;
        void* h = ok ? dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
        if (!h) continue;
        if (auto* f = reinterpret_cast<Dgesdd*>(dlsym(h, "dgesdd_"))) {
            if (auto* threads = reinterpret_cast<void (*)(int)>(dlsym(h, "openblas_set_num_threads"))) threads(1);
            return {f, {}};
        }
    }
    std::string tried;
    for (const std::string& path : candidates) tried += (tried.empty() ? "" : ", ") + path;
    return {nullptr, name + " is not installed (tried " + tried + ")"};
}

const Lapack& OpenBlas() {
    static const Lapack l = [] {
        setenv("OPENBLAS_NUM_THREADS", "1", 1);  // read when the library starts its threads
        const std::string dir = TESSAN_LIBDIR;
        return OpenLapack("OpenBLAS's LAPACK", {},
                          {dir + "/openblas-pthread/liblapack.so.3", dir + "/openblas-openmp/liblapack.so.3",
                           dir + "/openblas-serial/liblapack.so.3"});
    }();
    return l;
}

const Lapack& ReferenceLapack() {
    static const Lapack l = [] {
        const std::string dir = TESSAN_LIBDIR;
        return OpenLapack("The reference LAPACK", {dir + "/blas/libblas.so.3"}, {dir + "/lapack/liblapack.so.3"});
    }();
    return l;
}

// dgesdd computing U (m x n) and V^T (n x n), on a copy with the state's leading dimension.
void TimeDgesdd(benchmark::State& bs, const AnalysisState& s, const Lapack& lib) {
    if (!lib.dgesdd) {
        bs.SkipWithError(lib.error.c_str());
        return;
    }
    const int m = Standard2000::kRows, n = Standard2000::kSpan, lda = s.des.rows();
    std::vector<double> a(static_cast<std::size_t>(lda) * n), sv(n), u(static_cast<std::size_t>(m) * n),
        vt(static_cast<std::size_t>(n) * n);
    std::vector<int> iwork(8 * static_cast<std::size_t>(n));
    int info = 0, lwork = -1;
    double query = 0;
    lib.dgesdd("S", &m, &n, a.data(), &lda, sv.data(), u.data(), &m, vt.data(), &n, &query, &lwork, iwork.data(), &info);
    lwork = static_cast<int>(query);
    std::vector<double> work(static_cast<std::size_t>(lwork));
    for (auto _ : bs) {
        for (int j = 1; j <= n; ++j) std::copy(s.des.col(j), s.des.col(j) + m, a.data() + static_cast<std::size_t>(j - 1) * lda);
        lib.dgesdd("S", &m, &n, a.data(), &lda, sv.data(), u.data(), &m, vt.data(), &n, work.data(), &lwork, iwork.data(), &info);
        if (info != 0) bs.SkipWithError("dgesdd failed");
        benchmark::DoNotOptimize(sv.data());
    }
}

BENCHMARK_DEFINE_F(Standard2000, Dgesdd_OpenBLAS_1thread)(benchmark::State& bs) { TimeDgesdd(bs, State(), OpenBlas()); }
BENCHMARK_REGISTER_F(Standard2000, Dgesdd_OpenBLAS_1thread)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(Standard2000, Dgesdd_reference)(benchmark::State& bs) { TimeDgesdd(bs, State(), ReferenceLapack()); }
BENCHMARK_REGISTER_F(Standard2000, Dgesdd_reference)->Unit(benchmark::kMillisecond);

// The whole decomposition step as the main window runs it (copy, decomposition, status).
BENCHMARK_DEFINE_F(Standard2000, RunSvdStep)(benchmark::State& bs) {
    AnalysisState& s = State();
    for (auto _ : bs) benchmark::DoNotOptimize(RunSvdStep(s, Plat()));
}
BENCHMARK_REGISTER_F(Standard2000, RunSvdStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessan

BENCHMARK_MAIN();
