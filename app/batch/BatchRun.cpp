#include "batch/BatchRun.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "batch/BatchOutput.h"
#include "batch/Gauss.h"
#include "batch/Peaks.h"
#include "batch/StarOutput.h"
#include "batch/StarQueue.h"
#include "io/BfResults.h"
#include "io/Settings.h"
#include "numeric/Bf.h"
#include "numeric/BfUncertainty.h"
#include "numeric/Smooth.h"
#include "state/AnalysisState.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "text/Int16.h"
#include "text/NumText.h"

namespace fs = std::filesystem;

namespace tessan::batch {

namespace {

constexpr std::size_t kMaxJobs = 64;

// What the file dialogs leave in the state for a chosen file: its directory, its bare name
// and the full path.
struct FileNames {
    std::string dir, name, full;
};

FileNames NamesOf(const std::string& path) {
    const fs::path p(path);
    std::string dir = p.parent_path().string();
    return {dir.empty() ? "." : dir, p.filename().string(), path};
}

// Steps 1 to 4 on the standard, with the texts the main window's boxes would hold.
bool BuildModel(AnalysisState& s, const Options& o, ConsolePlatform& p) {
    const FileNames f = NamesOf(o.stdFile);
    s.DataPath = f.dir;
    s.StdFileName = f.name;
    s.StdFullPath = f.full;
    p.SetCurrentFile(f.name);
    if (ReadStdFits(s, p) != FitsOutcome::Done) return false;
    const GridProposal g = ProposeGrid(s);
    if (!Resample(s, p, o.delV.value_or(g.delV), o.minWave.value_or(g.minWave),
                  o.maxWave.value_or(g.maxWave)))
        return false;
    if (!Design_matrix(s, p, o.span).built) return false;
    return RunSvdStep(s, p);
}

bool LoadModel(AnalysisState& s, const Options& o, ConsolePlatform& p) {
    const FileNames f = NamesOf(o.modelFile);
    s.DataPath = f.dir;
    s.ModelFileName = f.name;
    s.ModelFullPath = f.full;
    p.SetCurrentFile(f.name);
    return Load_model(s, p).kind == ModelLoadOutcome::Loaded;
}

bool SaveModel(AnalysisState& s, const Options& o, ConsolePlatform& p) {
    const FileNames f = NamesOf(o.saveModel);
    s.ModelFileName = f.name;
    s.ModelFullPath = f.full;
    p.SetCurrentFile(f.name);
    return Save_model(s, p) == 0;
}

// One worker: its own working state over the shared model (read only), and its own platform,
// whose messages are kept with the star they belong to.
class StarRunner {
public:
    StarRunner(const AnalysisState& model, const Options& o, const fs::path& workDir, BfPool& pool,
               FileLocks& files)
        : m_model(BfModelOf(model)),
          m_state(std::make_unique<AnalysisState>(AnalysisState::Room::NoDecomposition)),
          m_s(*m_state), m_o(o), m_p(m_err, workDir), m_pool(pool), m_files(files) {
        FillErrText(m_s);
        ShareModel(model, m_s);
    }

    // One star: its line, messages and BFs for the output; never throws (an exception that
    // ends the star goes with it).
    StarOutput Measure(const std::string& path) {
        StarOutput out;
        m_star = &out;
        m_bfs = false;
        try {
            out.stopped = !Run(path);
        } catch (...) {
            out.failure = std::current_exception();
        }
        try {
            if (m_bfs) {   // the BFs go with the star; the state computes the next in another matrix
                Mat fresh = m_pool.Take();
                out.bfs = std::exchange(m_s.bb, std::move(fresh));
                out.hasBfs = true;
            }
            out.err = m_err.str();
        } catch (...) {
            if (!out.failure) out.failure = std::current_exception();
        }
        m_err.str(std::string());
        m_star = nullptr;
        return out;
    }

private:
    // Steps 5, 6 (with --ccf) and 7 for one program star, then its measurements. A step that
    // stops at a message stops this star: it gets no line.
    bool Run(const std::string& path) {
        const FileNames f = NamesOf(path);
        m_s.DataPath = f.dir;
        m_s.ProFileName = f.name;
        m_s.ProFullPath = f.full;
        m_p.SetCurrentFile(f.name);
        m_star->file = f.name;
        if (!RunProgramSteps(m_model, m_s, m_p, m_o.ccf)) return false;
        m_bfs = true;

        StarResult r;
        r.file = f.name;
        r.object = m_s.ProObject;
        if (m_o.ccf) r.ccfVelocity = MeasureCcfPeak(m_s.vel_cc, m_s.cc, m_s.ccN);

        // The fit of every order, from the model and this star's resampled spectrum only.
        BfResiduals fit;
        if (m_o.errors || m_o.autoOrder)
            fit = ResidualsOfOrders(m_model.U, m_model.ww, m_s.spr, m_model.span, m_model.nGrid - m_model.span + 1);
        r.order = CopyBfOrder(m_s, m_o.autoOrder ? GcvOrder(fit) : m_o.order);
        NoteClampedOrder(r.order);
        const Vec* bf = &m_s.bb_n;
        if (m_o.smooth) {
            (void)SmoothCommand(m_s, *m_o.smooth);
            bf = &m_s.bb_sm;
        }
        r.peaks = MeasureBfPeaks(m_s.vel_bb, *bf, m_s.span, m_o.peaks);
        if (m_o.errors) {
            const double sigma2 = NoiseVariance(fit, r.order);
            const SmoothingKernel kernel{m_s.Kernel, m_s.KernelHalf};
            for (const PeakMeasure& pk : r.peaks)
                r.errors.push_back(pk.velocity ? VertexUncertainty(m_model.Vt, m_model.ww, r.order, m_model.span, m_s.vel_bb, *bf,
                                                                   pk.index, m_o.smooth ? &kernel : nullptr, sigma2)
                                               : std::nullopt);
        }
        // A Gauss fit that stops costs only its own columns: the line is still written.
        bool fitted = true;
        if (m_o.gauss) {
            GaussComponentsFit g = MeasureGauss(m_s.vel_bb, *bf, m_s.bb_n, m_s.span, m_s.bbShown.delV, m_o.gauss);
            if (!g.message.empty()) m_p.MsgBox(g.message);
            fitted = g.message.empty();
            r.gauss = std::move(g.components);
        }

        // The results file failing loses nothing already measured: the line is still written.
        bool saved = true;
        if (!m_o.bfDir.empty()) {
            m_s.BBFileName = BfResultsName(path);
            m_s.BBFullPath = (fs::path(m_o.bfDir) / m_s.BBFileName).string();
            const auto held = m_files.Hold(m_s.BBFullPath);
            saved = Save_bb(m_s, m_p) == 0;
        }
        m_star->line = ResultLine(r, m_o.peaks, m_o.ccf.has_value(), m_o.errors, m_o.gauss);
        return saved && fitted;
    }

    // The BF window's "Update" clamps the order into 1..span; the output says so once, at the
    // first star that gets this far.
    void NoteClampedOrder(int used) {
        if (m_o.autoOrder || RoundHalfEven(m_o.order) == used) return;
        m_star->orderNote = "order " + PlainText(m_o.order) + " is outside 1.." + std::to_string(m_s.span) +
                            "; using " + std::to_string(used);
        m_star->noteAt = static_cast<std::size_t>(m_err.tellp());
    }

    const BfModel m_model;
    std::unique_ptr<AnalysisState> m_state;   // the star's items, the model's grid; no decomposition
    AnalysisState& m_s;
    const Options& m_o;
    std::ostringstream m_err;
    ConsolePlatform m_p;
    BfPool& m_pool;
    FileLocks& m_files;
    StarOutput* m_star = nullptr;
    bool m_bfs = false;
};

// --jobs, no more than there are stars, and no more than kMaxJobs or one per core: each worker
// holds a working state, and more workers than cores only take turns.
std::size_t workersFor(const Options& o) {
    const std::size_t cores = std::max(std::thread::hardware_concurrency(), 1u);
    const std::size_t jobs = o.jobs > 0 ? static_cast<std::size_t>(o.jobs) : cores;
    return std::min({jobs, o.progFiles.size(), std::max(kMaxJobs, cores)});
}

}  // namespace

int RunBatch(const Options& o, ConsolePlatform& p, std::ostream& out) {
    // The working state is allocated at the system's limits: too large for the stack.
    auto state = std::make_unique<AnalysisState>();
    AnalysisState& s = *state;
    FillErrText(s);
    LoadSettings(s, p.WorkDir());
    if (o.lambda0Key) s.Lambda0_Key = *o.lambda0Key;
    if (o.dLambdaKey) s.dLambda_Key = *o.dLambdaKey;
    for (const std::string& name : o.ignored) p.Note(name + " has no effect with --model");

    const bool ready = o.modelFile.empty() ? BuildModel(s, o, p) : LoadModel(s, o, p);
    if (!ready) {
        p.StepStopped();
        return 1;
    }
    if (!o.saveModel.empty() && !SaveModel(s, o, p)) p.StepStopped();
    if (!o.bfDir.empty()) {
        std::error_code ec;
        fs::create_directories(o.bfDir, ec);
        if (ec || !fs::is_directory(o.bfDir, ec)) {
            p.Note("cannot create the directory " + o.bfDir + ": " +
                   (ec ? ec.message() : std::string("a file of that name exists")));
            p.StepStopped();
            return 1;
        }
    }

    out << HeaderLine(o.peaks, o.ccf.has_value(), o.errors, o.gauss);
    out.flush();

    // Every worker measures against the model of s, which stays as it is from here on.
    BfPool pool;
    FileLocks files;
    std::vector<std::unique_ptr<StarRunner>> runners;
    std::vector<std::function<StarOutput(std::size_t)>> measure;
    for (std::size_t w = 0; w < workersFor(o); ++w) {
        StarRunner& r = *runners.emplace_back(std::make_unique<StarRunner>(s, o, p.WorkDir(), pool, files));
        measure.emplace_back([&r, &o](std::size_t k) { return r.Measure(o.progFiles[k]); });
    }
    InOrderOutput output(p, out, pool);
    try {
        MeasureInOrder<StarOutput>(o.progFiles.size(), measure, [&](StarOutput& star) { output.Emit(star); });
    } catch (...) {
        output.WriteLastBfs(s.span);   // what the stars before leave, as without the failure
        throw;
    }
    output.WriteLastBfs(s.span);
    return p.Stopped() ? 1 : 0;
}

}  // namespace tessan::batch
