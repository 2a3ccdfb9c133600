#include "steps/ModelSteps.h"

#include <algorithm>
#include <utility>

#include "numeric/Resample.h"
#include "state/ErrText.h"
#include "steps/Validity.h"
#include "text/Int16.h"

namespace tessan {

bool Select_model(AnalysisState& s, int k) {
    if (k < 1 || k > lim::kMaxModels) return false;
    const ModelSlot& m = s.Models[static_cast<std::size_t>(k)];
    const int n = CountOf(m.NAXIS1, lim::kMaxPix);
    const int rows = n - m.span + 1;
    // A slot that was never filled (span 0), or one whose counts do not fit the working arrays
    // or its own matrices, is not copied: the loader never stores such a slot.
    if (m.span < 1 || m.span > lim::kMaxSpan || rows < 1 || m.nRecords_StdHdr < 0 ||
        m.nRecords_StdHdr > lim::kMaxCards || m.des.rows() < rows || m.U.rows() < rows ||
        m.Vt.rows() < m.span || m.ww.size() < m.span || m.Pixval.size() < n || m.ws.size() < n ||
        m.ss.size() < n || m.w1.size() < n || m.StdHdr.size() < m.nRecords_StdHdr ||
        m.des.cols() < m.span || m.U.cols() < m.span || m.Vt.cols() < m.span ||
        (m.ssrPresent && m.ssr.size() < m.span))
        return false;

    s.StdFileName = m.StdFileName;
    s.StdObject = m.StdObject;
    s.nRecords_StdHdr = m.nRecords_StdHdr;
    for (int i = 1; i <= m.nRecords_StdHdr; ++i) s.StdHdr(i) = m.StdHdr(i);
    s.NAXIS1 = m.NAXIS1;
    s.WaveL_B_Std = m.WaveL_B_Std;
    s.dLambda_dp_Std = m.dLambda_dp_Std;
    s.WaveL_R_Std = m.WaveL_R_Std;
    for (int i = 1; i <= n; ++i) {
        s.Pixval(i) = m.Pixval(i);
        s.ws(i) = m.ws(i);
        s.ss(i) = m.ss(i);
        s.w1(i) = m.w1(i);
    }
    s.nPixStd = n;
    s.nGrid = n;
    s.delV = m.delV;
    s.Min_waveL = m.Min_waveL;
    s.r1 = m.r1;
    s.span = m.span;
    CopyBlock(m.des, s.des, rows, m.span);
    CopyBlock(m.U, s.U, rows, m.span);
    for (int j = 1; j <= m.span; ++j) s.ww(j) = m.ww(j);
    CopyBlock(m.Vt, s.Vt, m.span, m.span);

    // A model file keeps only the first span points of the resampled standard. The points
    // beyond are recomputed from the model's own standard on its own grid, so that the
    // cross-correlation never reads the resampled standard of another spectrum. When they
    // cannot be recomputed (two equal neighbouring wavelengths in an edited file) the model
    // is treated as one without a resampled standard.
    bool rebuilt = false;
    if (m.ssrPresent) {
        rebuilt = LinInterpQuiet(s.ws, s.ss, n, s.w1, s.ssr, n);
        for (int i = 1; i <= m.span && i <= n; ++i) s.ssr(i) = m.ssr(i);
    }
    ModelChosen(s, m.ssrPresent && rebuilt);
    return true;
}

void ShareModel(const AnalysisState& s, AnalysisState& w) {
    w.Lambda0_Key = s.Lambda0_Key;
    w.dLambda_Key = s.dLambda_Key;
    w.StdFileName = s.StdFileName;
    w.StdObject = s.StdObject;
    w.WaveL_B_Std = s.WaveL_B_Std;
    w.dLambda_dp_Std = s.dLambda_dp_Std;
    w.WaveL_R_Std = s.WaveL_R_Std;
    const int n = std::clamp(s.nGrid, 0, lim::kMaxPix);
    for (int i = 1; i <= n; ++i) {
        w.w1(i) = s.w1(i);
        w.ssr(i) = s.ssr(i);
    }
    w.nGrid = s.nGrid;
    w.delV = s.delV;
    w.Min_waveL = s.Min_waveL;
    w.r1 = s.r1;
    w.c_kms = s.c_kms;
    w.span = s.span;
    w.des = Mat();
    w.U = Mat();
    w.ww = Vec();
    w.Vt = Mat();
    ModelShared(w, s);
}

ModelLoadOutcome Load_model(AnalysisState& s, Platform& p) {
    ModelLoadOutcome out;
    if (s.nModels >= lim::kMaxModels) {
        out.kind = ModelLoadOutcome::StoreFull;
        return out;
    }
    // The file is read into a new slot; the store and the working state change only when the
    // whole file has been read, so a failed load leaves everything as it was.
    ModelSlot slot;
    if (const int e = ReadModelFile(s.ModelFullPath, slot)) {
        p.MsgBox(ErrTextFor(e));
        return out;
    }
    const int k = s.nModels + 1;
    s.Models[static_cast<std::size_t>(k)] = std::move(slot);
    s.nModels = k;
    s.CurModel = k;
    Select_model(s, k);
    out.kind = ModelLoadOutcome::Loaded;
    out.slot = k;
    out.label = s.Models[static_cast<std::size_t>(k)].StdFileName;
    return out;
}

std::vector<int> DumpModels(AnalysisState& s) {
    std::vector<int> hide;
    for (int k = 1; k <= s.nModels; ++k) hide.push_back(k);
    s.nModels = 0;
    return hide;
}

}  // namespace tessan
