#include "io/BfResults.h"

#include "io/RecordFile.h"
#include "state/ErrText.h"
#include "state/Limits.h"

namespace tessan {

int Save_bb(const AnalysisState& s, Platform& p) {
    // The rows are the points of the BF window's arrays; a span outside them writes none.
    const int span = s.span < 0 ? 0 : (s.span > lim::kMaxSpan ? lim::kMaxSpan : s.span);
    RecordWriter w;
    w.reserve(static_cast<std::size_t>(span) * 50 + s.StdFileName.size() + s.StdObject.size() +
              s.ProFileName.size() + s.ProObject.size() + 256);
    w.Text("Std. File:").Text(s.StdFileName);
    w.EndRecord();
    w.Text("Std. Object:").Text(s.StdObject);
    w.EndRecord();
    w.Text("Prog. File:").Text(s.ProFileName);
    w.EndRecord();
    w.Text("Prog. Object:").Text(s.ProObject);
    w.EndRecord();
    w.Text("Span:").Int(s.span);
    w.EndRecord();
    w.Text("Scale, delV:").Real(s.delV).Text("km/s");
    w.EndRecord();
    // The unsmoothed BF of the order shown last in the BF window, as the window copied it.
    for (int k = 1; k <= span; ++k) {
        w.Real(s.vel_bb(k)).Real(s.bb_n(k));
        w.EndRecord();
    }
    if (int e = WriteFileAtomically(s.BBFullPath, w.str())) {
        p.MsgBox(ErrTextFor(e));
        return e;
    }
    return 0;
}

}  // namespace tessan
