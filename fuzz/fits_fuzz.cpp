// The FITS reader, through steps 1 and 5: the same bytes read as the standard and as the
// program star into the starting state (FuzzSupport.h). Promises checked:
// - a refused read shows exactly one message, one of the reader's refusals, and changes nothing
//   of the state but the keyword windows' copy of the header (LastHdr, LastKey,
//   nRecords_LastHdr);
// - a finished read shows only the documented warnings, in order; leaves 2..3000 finite pixels,
//   finite increasing wavelengths and the normalised values (0 at the largest pixel); stores
//   the header it read; changes only the star's items, the header items of the file and,
//   for the standard, the proposed delV and the marks that make the older grid, design matrix
//   and decomposition stale; for the program star, the resampled program star spr;
// - the program star is refused where the standard is (but for a missing wavelength keyword,
//   which is a warning for it) with the same message, and reads the same pixels.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "state/ErrText.h"
#include "state/StarView.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "text/Int16.h"

using namespace tessan;
using namespace tessan::fuzz;

namespace {

const std::string kSigned16 =
    "Your data are signed (16-bit) integer. They work as long as all values are < 32768.  "
    "Unsigned (16-bit) integer data type is recommended.";
const std::string kNeedLambda0 = "You need to set the keyword for Lambda 0.";
const std::string kNeedDLambda = "You need to set the keyword for dLambda/dP.";

// The refusals of a read of the starting state (the dLambda keyword is CD1_1).
const std::vector<std::string> kRefusals = {
    "This is not a fits file!  Please try again.",
    "Sorry, this program does not support 8-bit integer data.  Convert to 16-bit unsigned.",
    "This fits file has no END card among its first 200 cards.",
    "This fits file has a BITPIX other than 16, 32, -32 or -64.",
    "This fits file has more than 3000 pixels (NAXIS1).",
    "This fits file has fewer than 2 pixels (NAXIS1).",
    "This spectrum holds pixel values that are infinite or not numbers.",
    "The wavelength keywords of this fits file give wavelengths that are not finite numbers.",
    "This spectrum has no positive pixel value to normalise by.",
    "This spectrum holds pixel values that cannot be normalised: divided by the largest value they "
    "are not finite numbers.",
    "The wavelength step CD1_1 of this fits file is negative: its pixels run from red to blue.  Only "
    "spectra whose wavelengths increase can be used.",
    ErrTextFor(err::kPastEnd),
};

// For the standard a missing wavelength keyword is a refusal too.
bool isRefusal(const std::string& m, Star star) {
    return std::find(kRefusals.begin(), kRefusals.end(), m) != kRefusals.end() ||
           (star == Star::Std && (m == kNeedLambda0 || m == kNeedDLambda));
}

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The items a finished read may change, besides the four validity marks and delV of a standard.
#define STAR_ITEMS(X)                                                                                     \
    #X "Hdr", #X "Key", #X "Val", "nRecords_" #X "Hdr", #X "Object", "WaveL_B_" #X, "dLambda_dp_" #X,     \
        "WaveL_R_" #X, "NAXIS", "NAXIS1", "NAXIS2", "NAXIS3", "BSCALE", "BZERO", "LastHdr", "LastKey",   \
        "nRecords_LastHdr"

void expectRefusedCleanly(const Fixture& f, Star star) {
    const std::string what = std::string("a refused read of the ") + (star == Star::Std ? "standard" : "program star");
    if (f.p.messages.size() != 1 || !isRefusal(f.p.messages[0], star))
        Broken(what + " shows exactly one of the reader's refusals, but showed " + std::to_string(f.p.messages.size()) +
               " messages, the first \"" + (f.p.messages.empty() ? "" : f.p.messages[0]) + "\"");
    ExpectUnchangedBut(f.baseDigest, DigestOf(f.work), {"LastHdr", "LastKey", "nRecords_LastHdr"},
                       (what + " changes nothing but the last header").c_str());
    const int n = f.work.nRecords_LastHdr;
    Expect(n >= 0 && n <= lim::kMaxCards, "the last header holds 0..200 cards");
}

// The warnings of a finished read: a subsequence of kSigned16, kNeedLambda0, kNeedDLambda.
void expectWarningsOnly(const AnalysisState& s, const std::vector<std::string>& messages, bool standard) {
    const std::vector<std::string> order = standard ? std::vector<std::string>{kSigned16}
                                                    : std::vector<std::string>{kSigned16, kNeedLambda0, kNeedDLambda};
    std::size_t k = 0;
    for (const std::string& m : messages) {
        while (k < order.size() && order[k] != m) ++k;
        Expect(k < order.size(), "a finished read shows only its warnings, each once and in order");
        Expect(k > 0 || s.BZERO == 0, "the signed 16-bit warning comes only with BZERO 0");
        ++k;
    }
}

void expectStarRead(const AnalysisState& s, Star star) {
    const ConstStarView v(s, star);
    const int n = v.nPix();
    Expect(n >= 2 && n <= lim::kMaxPix && n == RoundHalfEven(s.NAXIS1), "a finished read keeps round(NAXIS1), 2..3000 pixels");
    Expect(v.Wave()(1) == v.WaveL_B(), "the first wavelength is the blue end");
    bool atLargest = false;
    for (int i = 1; i <= n; ++i) {
        Expect(std::isfinite(v.Pixval()(i)) && std::isfinite(v.Wave()(i)) && std::isfinite(v.Inverted()(i)),
               "a finished read leaves finite pixels, wavelengths and normalised values");
        Expect(i == 1 || v.Wave()(i) >= v.Wave()(i - 1), "the wavelengths of a finished read increase");
        Expect(v.Inverted()(i) >= 0, "the normalised values are 1 - pixel / largest pixel");
        atLargest = atLargest || v.Inverted()(i) == 0;
    }
    Expect(atLargest, "the normalised value at the largest pixel is 0");
    Expect(v.nRecords() == s.nRecords_LastHdr, "a finished read stores the header it read");
    for (int i = 1; i <= lim::kMaxCards; ++i)
        Expect(v.Hdr()(i) == s.LastHdr(i) && v.Key()(i) == s.LastKey(i), "a finished read stores the header it read");
}

// Puts back every item a read may change.
void restore(Fixture& f) {
    AnalysisState& w = f.work;
    const AnalysisState& b = f.base;
    w.LastHdr = b.LastHdr, w.LastKey = b.LastKey, w.nRecords_LastHdr = b.nRecords_LastHdr;
    w.StdHdr = b.StdHdr, w.StdKey = b.StdKey, w.StdVal = b.StdVal, w.nRecords_StdHdr = b.nRecords_StdHdr;
    w.ProHdr = b.ProHdr, w.ProKey = b.ProKey, w.ProVal = b.ProVal, w.nRecords_ProHdr = b.nRecords_ProHdr;
    w.NAXIS = b.NAXIS, w.NAXIS1 = b.NAXIS1, w.NAXIS2 = b.NAXIS2, w.NAXIS3 = b.NAXIS3;
    w.BSCALE = b.BSCALE, w.BZERO = b.BZERO;
    w.StdObject = b.StdObject, w.WaveL_B_Std = b.WaveL_B_Std, w.dLambda_dp_Std = b.dLambda_dp_Std;
    w.WaveL_R_Std = b.WaveL_R_Std, w.Pixval = b.Pixval, w.ws = b.ws, w.ss = b.ss, w.nPixStd = b.nPixStd;
    w.ProObject = b.ProObject, w.WaveL_B_Pro = b.WaveL_B_Pro, w.dLambda_dp_Pro = b.dLambda_dp_Pro;
    w.WaveL_R_Pro = b.WaveL_R_Pro, w.Pixval_Pro = b.Pixval_Pro, w.wp = b.wp, w.sp = b.sp, w.nPixPro = b.nPixPro;
    w.delV = b.delV, w.spr = b.spr;
    w.ssrAvailable = b.ssrAvailable, w.ssrStale = b.ssrStale, w.desValid = b.desValid, w.svdValid = b.svdValid;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& f = fixture();
    WriteBytes(f.work.StdFullPath, data, size);

    f.p.messages.clear();
    const FitsOutcome std1 = ReadStdFits(f.work, f.p);
    const std::vector<std::string> stdMessages = f.p.messages;
    const std::vector<double> stdPixels(f.work.Pixval.data() + 1, f.work.Pixval.data() + 1 + f.work.nPixStd);
    if (std1 == FitsOutcome::Done) {
        expectWarningsOnly(f.work, stdMessages, true);
        expectStarRead(f.work, Star::Std);
        ExpectUnchangedBut(f.baseDigest, DigestOf(f.work),
                           {STAR_ITEMS(Std), "Pixval", "ws", "ss", "nPixStd", "delV", "ssrAvailable", "ssrStale",
                            "desValid", "svdValid"},
                           "a finished read of the standard changes only the standard and its header items");
        Expect(!f.work.ssrAvailable && f.work.ssrStale && !f.work.desValid && !f.work.svdValid,
               "a finished read of the standard marks the older grid, design matrix and decomposition stale");
    } else {
        Expect(std1 == FitsOutcome::Stopped, "a read of an existing file is done or stopped");
        expectRefusedCleanly(f, Star::Std);
    }
    restore(f);

    f.p.messages.clear();
    const FitsOutcome pro = ReadProFits(f.work, f.p);
    const bool stdMissedKeyword = std1 == FitsOutcome::Stopped &&
                                  (stdMessages[0] == kNeedLambda0 || stdMessages[0] == kNeedDLambda);
    if (pro == FitsOutcome::Done) {
        Expect(std1 == FitsOutcome::Done || stdMissedKeyword,
               "the program star is refused where the standard is, but for a missing wavelength keyword");
        expectWarningsOnly(f.work, f.p.messages, false);
        Expect(std1 != FitsOutcome::Done || f.p.messages == stdMessages,
               "the program star shows the standard's warnings");
        Expect(!stdMissedKeyword || std::find(f.p.messages.begin(), f.p.messages.end(), stdMessages[0]) != f.p.messages.end(),
               "the program star warns of the keyword that stopped the standard");
        expectStarRead(f.work, Star::Pro);
        ExpectUnchangedBut(f.baseDigest, DigestOf(f.work), {STAR_ITEMS(Pro), "Pixval_Pro", "wp", "sp", "nPixPro", "spr"},
                           "a finished read of the program star changes only the program star and its header items");
        Expect(std1 != FitsOutcome::Done ||
                   (stdPixels.size() == static_cast<std::size_t>(f.work.nPixPro) &&
                    std::memcmp(stdPixels.data(), f.work.Pixval_Pro.data() + 1, stdPixels.size() * sizeof(double)) == 0),
               "the program star reads the standard's pixels");
    } else {
        Expect(pro == FitsOutcome::Stopped, "a read of an existing file is done or stopped");
        Expect(std1 == FitsOutcome::Stopped && !stdMissedKeyword && f.p.messages == stdMessages,
               "the program star is refused where the standard is, with the same message");
        expectRefusedCleanly(f, Star::Pro);
    }
    restore(f);
    return 0;
}
