#include "batch/BatchRun.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>

#include "batch/BatchOutput.h"
#include "batch/Gauss.h"
#include "batch/Peaks.h"
#include "io/BfResults.h"
#include "io/Settings.h"
#include "numeric/Bf.h"
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

class StarRunner {
public:
    StarRunner(AnalysisState& s, const Options& o, ConsolePlatform& p, std::ostream& out)
        : m_s(s), m_o(o), m_p(p), m_out(out) {}

    // Steps 5, 6 (with --ccf) and 7 for one program star, then its measurements. A step that
    // stops at a message stops this star: it gets no line.
    bool Run(const std::string& path) {
        const FileNames f = NamesOf(path);
        m_s.DataPath = f.dir;
        m_s.ProFileName = f.name;
        m_s.ProFullPath = f.full;
        m_p.SetCurrentFile(f.name);
        if (ReadProFits(m_s, m_p) != FitsOutcome::Done) return false;

        StarResult r;
        r.file = f.name;
        r.object = m_s.ProObject;
        if (m_o.ccf) {
            if (!RunCcfStep(m_s, m_p, *m_o.ccf)) return false;
            r.ccfVelocity = MeasureCcfPeak(m_s.vel_cc, m_s.cc, m_s.ccN);
        }
        if (!RunBfStep(m_s, m_p)) return false;

        r.order = CopyBfOrder(m_s, m_o.order);
        NoteClampedOrder(r.order);
        const Vec* bf = &m_s.bb_n;
        if (m_o.smooth) {
            (void)SmoothCommand(m_s, *m_o.smooth);
            bf = &m_s.bb_sm;
        }
        r.peaks = MeasureBfPeaks(m_s.vel_bb, *bf, m_s.span, m_o.peaks);
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
            saved = Save_bb(m_s, m_p) == 0;
        }
        m_out << ResultLine(r, m_o.peaks, m_o.ccf.has_value(), m_o.gauss, m_o.errors);
        m_out.flush();
        return saved && fitted;
    }

private:
    // The BF window's "Update" clamps the order into 1..span; say so once.
    void NoteClampedOrder(int used) {
        if (m_orderNoted || RoundHalfEven(m_o.order) == used) return;
        m_orderNoted = true;
        m_p.Note("order " + PlainText(m_o.order) + " is outside 1.." + std::to_string(m_s.span) +
                 "; using " + std::to_string(used));
    }

    AnalysisState& m_s;
    const Options& m_o;
    ConsolePlatform& m_p;
    std::ostream& m_out;
    bool m_orderNoted = false;
};

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

    out << HeaderLine(o.peaks, o.ccf.has_value(), o.gauss, o.errors);
    out.flush();
    StarRunner runner(s, o, p, out);
    for (const std::string& prog : o.progFiles)
        if (!runner.Run(prog)) p.StepStopped();
    return p.Stopped() ? 1 : 0;
}

}  // namespace tessan::batch
