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

int writeAllBfs(const AnalysisState& s, const std::filesystem::path& target) {
    RecordWriter w;
    w.reserve(static_cast<std::size_t>(s.span) * static_cast<std::size_t>(s.span) * 26);
    for (int n = 1; n <= s.span; ++n) {
        const double* col = s.bb.col(n);
        for (int i = 1; i <= s.span; ++i) {
            w.Int(i).Real(col[i - 1]);
            w.EndRecord();
        }
    }
    return WriteFileAtomically(target, w.str());
}

}  // namespace

FitsOutcome ReadProFits(AnalysisState& s, Platform& p) {
    const FitsOutcome o = ReadStarFits(s, p, Star::Pro);
    if (o != FitsOutcome::Done) return o;
    (void)LinInterpQuiet(s.wp, s.sp, s.nPixPro, s.w1, s.spr, s.nGrid);
    return o;
}

bool RunCcfStep(AnalysisState& s, Platform& p, std::string_view text6) {
    static const char* const kNotAvailable =
        "The resampled standard spectrum is not available.  Either compute and save a new model "
        "with vers. 2.4 or later, or follow steps 1-3.";
    if (!s.ssrAvailable) {
        p.MsgBox(kNotAvailable);
        return false;
    }
    Select_model(s, s.CurModel);
    // The selected model may carry no resampled standard.
    if (!s.ssrAvailable) {
        p.MsgBox(kNotAvailable);
        return false;
    }
    // The program star was resampled onto the grid in hand when it was read; a resampling or
    // a model chosen since then has replaced that grid, and spr would pair the points of the
    // old grid (and, on a longer grid, points never filled) with the standard. Resampled again
    // onto the grid the model left, as the BF step does.
    if (s.nPixPro >= 1 && s.nPixPro <= lim::kMaxPix &&
        !Lin_interp(s.wp, s.sp, s.nPixPro, s.w1, s.spr, s.nGrid, p))
        return false;
    const double before = s.ScanHalfWidth;
    s.ScanHalfWidth = Val(text6);
    if (Cross_corr(s, p)) return true;
    s.ScanHalfWidth = before;
    return false;
}

bool Find_bb(AnalysisState& s, Platform& p) {
    if (!solveAllOrders(s, p)) return false;
    const int e = writeAllBfs(s, p.WorkDir() / kAllBfsFileName);
    if (e != 0)
        p.MsgBox(std::string("The broadening functions were computed, but \"") + kAllBfsFileName +
                 "\" could not be written.  " + ErrTextFor(e));
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

}  // namespace tessan
