#pragma once
// One slot of the model store: a complete copy of a model (the standard, the grid, the design
// matrix and its decomposition), sized to what it holds when it is filled.
#include <string>
#include <vector>

#include "state/Array.h"

namespace tessan {

struct ModelSlot {
    std::string StdFileName, StdObject;
    int nRecords_StdHdr = 0;
    Vec1<std::string> StdHdr;                // 1..nRecords_StdHdr
    double NAXIS1 = 0, WaveL_B_Std = 0, dLambda_dp_Std = 0, WaveL_R_Std = 0;
    Vec Pixval, ws, ss;                      // 1..n, n = NAXIS1
    double delV = 0, Min_waveL = 0, Max_waveL = 0, r1 = 0;
    Vec w1;                                  // 1..n
    int span = 0;
    Mat des, U;                              // (1..n - span + 1, 1..span)
    Vec ww;                                  // 1..span
    Mat Vt;                                  // (1..span, 1..span)
    Vec ssr;                                 // 1..span (only the first span values are kept)
    bool ssrPresent = false;                 // the file carried the resampled standard
};

}  // namespace tessan
