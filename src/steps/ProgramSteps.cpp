#include "steps/ProgramSteps.h"

#include "io/RecordFile.h"
#include "numeric/Bf.h"
#include "numeric/CrossCorr.h"
#include "numeric/Resample.h"
#include "state/ErrText.h"
#include "steps/ModelSteps.h"
#include "text/NumText.h"

namespace tessan {

namespace {

const char* const kNotAvailable =
    "The resampled standard spectrum is not available.  Either compute and save a new model "
    "with vers. 2.4 or later, or follow steps 1-3.";

bool ccfAvailable(const AnalysisState& s, Platform& p) {
    if (s.ssrAvailable) return true;
    p.MsgBox(kNotAvailable);
    return false;
}

// Cross_corr with the half width of Text6; a refusal keeps the half width that was there.
bool crossCorrelate(AnalysisState& s, Platform& p, std::string_view text6) {
    const double before = s.ScanHalfWidth;
    s.ScanHalfWidth = Val(text6);
    if (Cross_corr(s, p)) return true;
    s.ScanHalfWidth = before;
    return false;
}

}  // namespace

int WriteAllBfs(const Mat& bb, int span, Platform& p) {
    RecordWriter w;
    w.reserve(static_cast<std::size_t>(span) * static_cast<std::size_t>(span) * 26);
    for (int n = 1; n <= span; ++n) {
        const double* col = bb.col(n);
        for (int i = 1; i <= span; ++i) {
            w.Int(i).Real(col[i - 1]);
            w.EndRecord();
        }
    }
    const int e = WriteFileAtomically(p.WorkDir() / kAllBfsFileName, w.str());
    if (e != 0)
        p.MsgBox(std::string("The broadening functions were computed, but \"") + kAllBfsFileName +
                 "\" could not be written.  " + ErrTextFor(e));
    return e;
}

FitsOutcome ReadProFits(AnalysisState& s, Platform& p) {
    const FitsOutcome o = ReadStarFits(s, p, Star::Pro);
    if (o != FitsOutcome::Done) return o;
    (void)LinInterpQuiet(s.wp, s.sp, s.nPixPro, s.w1, s.spr, s.nGrid);
    return o;
}

bool RunCcfStep(AnalysisState& s, Platform& p, std::string_view text6) {
    if (!ccfAvailable(s, p)) return false;
    Select_model(s, s.CurModel);
    // The selected model may carry no resampled standard.
    if (!ccfAvailable(s, p)) return false;
    // The program star was resampled onto the grid in hand when it was read; a resampling or
    // a model chosen since then has replaced that grid, and spr would pair the points of the
    // old grid (and, on a longer grid, points never filled) with the standard. Resampled again
    // onto the grid the model left, as the BF step does.
    if (s.nPixPro >= 1 && s.nPixPro <= lim::kMaxPix &&
        !Lin_interp(s.wp, s.sp, s.nPixPro, s.w1, s.spr, s.nGrid, p))
        return false;
    return crossCorrelate(s, p, text6);
}

bool Find_bb(AnalysisState& s, Platform& p) {
    if (!solveAllOrders(s, p)) return false;
    (void)WriteAllBfs(s.bb, s.span, p);
    return true;
}

bool RunBfStep(AnalysisState& s, Platform& p) {
    Select_model(s, s.CurModel);
    if (s.nPixPro < 1 || s.nPixPro > lim::kMaxPix) {
        p.MsgBox("There is no program spectrum.  Load the program star first (step 5).");
        return false;
    }
    if (!Lin_interp(s.wp, s.sp, s.nPixPro, s.w1, s.spr, s.nGrid, p)) return false;
    return Find_bb(s, p);
}

bool RunProgramSteps(const BfModel& m, AnalysisState& s, Platform& p, std::optional<std::string_view> text6) {
    if (ReadStarFits(s, p, Star::Pro) != FitsOutcome::Done) return false;
    // Step 6 refuses before it resamples; the model selection it starts with would restore
    // what s already holds.
    if (text6 && !ccfAvailable(s, p)) return false;
    if (!Lin_interp(s.wp, s.sp, s.nPixPro, s.w1, s.spr, s.nGrid, p)) return false;
    if (text6 && !crossCorrelate(s, p, *text6)) return false;
    return solveAllOrders(m, s, p);
}

}  // namespace tessan
