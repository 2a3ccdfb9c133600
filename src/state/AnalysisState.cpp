#include "state/AnalysisState.h"

#include "state/ErrText.h"

namespace tessan {

namespace {
constexpr int pixRows(AnalysisState::Room r) { return r == AnalysisState::Room::Whole ? lim::kMaxPix : 0; }
constexpr int spanCols(AnalysisState::Room r) { return r == AnalysisState::Room::Whole ? lim::kMaxSpan : 0; }
}  // namespace

AnalysisState::AnalysisState(Room room)
    : StdHdr(lim::kMaxCards), StdKey(lim::kMaxCards), StdVal(lim::kMaxCards),
      ProHdr(lim::kMaxCards), ProKey(lim::kMaxCards), ProVal(lim::kMaxCards),
      LastHdr(lim::kMaxCards), LastKey(lim::kMaxCards),
      Pixval(lim::kMaxPix), ws(lim::kMaxPix), ss(lim::kMaxPix),
      Pixval_Pro(lim::kMaxPix), wp(lim::kMaxPix), sp(lim::kMaxPix),
      w1(lim::kMaxPix), ssr(lim::kMaxPix), spr(lim::kMaxPix),
      des(pixRows(room), spanCols(room)), U(pixRows(room), spanCols(room)),
      ww(spanCols(room)), Vt(spanCols(room), spanCols(room)), Order_n(lim::kMaxSpan),
      bb(lim::kMaxSpan, lim::kMaxSpan), vel_bb(lim::kMaxSpan), bb_n(lim::kMaxSpan),
      bb_sm(lim::kMaxSpan), Kernel(50), PkX(10), PkY(10),
      ModelCurve(3, lim::kMaxSpan),
      FitPar(9), FitX(lim::kMaxFitPoints), FitY(lim::kMaxFitPoints), FitSig(lim::kMaxFitPoints),
      FitList(9), Alpha(9, 9), Covar(9, 9),
      ErrText(lim::kMaxErr) {
    c_kms = 299792.458;
}

void FillColours(AnalysisState& s) {
    s.ColEnabled = {0, 0, 0};
    s.ColDisabled = {128, 128, 128};
    s.ColBack = {255, 255, 255};
    s.ColRed = {255, 0, 0};
    s.ColNavy = {0, 0, 128};
    s.ColGreen = {0, 128, 0};
    s.ColPurple = {64, 0, 64};
}

void FillErrText(AnalysisState& s) {
    for (int n = 0; n <= lim::kMaxErr; ++n) s.ErrText(n) = ErrTextFor(n);
}

}  // namespace tessan
