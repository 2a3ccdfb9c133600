#pragma once
// The FITS spectrum reader: primary header of 80-character cards, a one-dimensional primary
// array of big-endian 16- or 32-bit integers or 32- or 64-bit IEEE values. It reads the file
// named by the star's full path (StdFullPath or ProFullPath), stores the star through its
// StarView, reports through Platform::MsgBox with the system's texts, and returns how far it
// came. Steps 1 and 5 (steps/StandardSteps.h, steps/ProgramSteps.h) call it.
//
// A read that stops at a message leaves the analysis state as it was before the read, except
// the header copy for the keyword windows (LastHdr, LastKey, nRecords_LastHdr), which holds the
// header just read so that the user can pick a missing keyword from it. Besides the format's
// own messages, a read stops with a message when the file cannot be opened (the system's error
// text), has no END card among its first 200 cards, a BITPIX other than 8, 16, 32, -32, -64,
// a NAXIS1 outside 2..3000, pixel data past the end of the file, non-finite pixel values, no
// positive pixel value, wavelength keywords that give wavelengths beyond the range of a double,
// a negative wavelength step (pixels running from red to blue), or pixel values that divided
// by the largest one are not finite. For the standard, a missing blue end or step stops the
// read too; for the program star it is a warning. Every refusal comes before any warning. A
// wavelength keyword missing from the file reads as 0 for that read.
#include <string>

#include "state/AnalysisState.h"
#include "state/Platform.h"
#include "state/StarView.h"

namespace tessan {

enum class FitsOutcome {
    NotRead,   // DataPath or the file name was empty: nothing was read, no message
    Stopped,   // a message stopped the read; the state is as before (but for LastHdr)
    Done,      // the read reached its end (warnings may have been shown)
};

// Reads the star's file into its items (header, object, wavelengths, pixels, pixel count) and
// NAXIS, NAXIS1, NAXIS2, NAXIS3, BSCALE, BZERO. NotRead when DataPath or the star's file name
// is empty.
FitsOutcome ReadStarFits(AnalysisState& s, Platform& p, Star star);

// What the main window proposes for step 2 after a standard read: Text2 (integer part of
// 1.002 x WaveL_B_Std), Text3 (integer part of 0.998 x WaveL_R_Std), Text5 (delV with width 6
// and 1 decimal).
struct GridProposal {
    std::string minWave, maxWave, delV;
};
GridProposal ProposeGrid(const AnalysisState& s);

}  // namespace tessan
