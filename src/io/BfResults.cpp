#include "io/BfResults.h"

#include <algorithm>

#include "io/RecordFile.h"
#include "state/ErrText.h"
#include "state/Limits.h"

namespace tessan {

int Save_bb(const AnalysisState& s, Platform& p) {
    const BfIdentity& id = s.bbIdentity;
    // The rows are the points of the BF window's arrays; a span outside them writes none.
    const int span = std::clamp(id.span, 0, lim::kMaxSpan);
    // A shown copy older than the BFs in hand is taken again from them; an order never shown
    // leaves the rows as the arrays hold them.
    const bool recopy = s.bbShown.run != id.run && s.bbOrder >= 1 && span >= 1;
    const int order = std::min(s.bbOrder, span);
    RecordWriter w;
    w.reserve(static_cast<std::size_t>(span) * 50 + id.StdFileName.size() + id.StdObject.size() +
              id.ProFileName.size() + id.ProObject.size() + 256);
    w.Text("Std. File:").Text(id.StdFileName);
    w.EndRecord();
    w.Text("Std. Object:").Text(id.StdObject);
    w.EndRecord();
    w.Text("Prog. File:").Text(id.ProFileName);
    w.EndRecord();
    w.Text("Prog. Object:").Text(id.ProObject);
    w.EndRecord();
    w.Text("Span:").Int(id.span);
    w.EndRecord();
    w.Text("Scale, delV:").Real(id.delV).Text("km/s");
    w.EndRecord();
    // The unsmoothed BF of the order shown last in the BF window.
    for (int k = 1; k <= span; ++k) {
        if (recopy)
            w.Real(id.Velocity(k)).Real(s.bb(k, order));
        else
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
