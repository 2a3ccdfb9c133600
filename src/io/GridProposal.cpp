// The main window's proposal for step 2 after a standard read. Kept apart from the reader so
// that the reader does not depend on the fixed-width number fields.
#include "io/FitsReader.h"
#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {

GridProposal ProposeGrid(const AnalysisState& s) {
    GridProposal g;
    // "+ 0.0" turns the integer part of a small negative value (-0) into 0.
    g.minWave = PlainText(IntPart(1.002 * s.WaveL_B_Std) + 0.0);
    g.maxWave = PlainText(IntPart(0.998 * s.WaveL_R_Std) + 0.0);
    g.delV = Num_to_str(s.delV, 6, 1);
    return g;
}

}  // namespace tessan
