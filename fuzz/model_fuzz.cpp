// The model loader, through Load_model into the starting state (FuzzSupport.h), which holds a
// model in slot 1. Promises checked:
// - a refused load shows exactly one message, the text of one of the reader's error numbers
//   (6, 7, 9, 62, 321), and changes nothing of the state;
// - a load fills slot 2, makes it the current model and selects it: it shows no message and
//   changes only the store, its counters and the working model's items;
// - that model saved and loaded again (slot 3) gives the same bytes when saved again.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "io/ModelFile.h"
#include "state/ErrText.h"
#include "steps/ModelSteps.h"

using namespace tessan;
using namespace tessan::fuzz;

namespace {

Fixture& fixture() {
    static Fixture f;
    return f;
}

bool isLoadError(const std::string& m) {
    for (int e : {err::kOverflow, err::kOutOfMemory, err::kSubscript, err::kPastEnd, err::kInvalidFormat})
        if (m == ErrTextFor(e)) return true;
    return false;
}

// Saves the working model to the file name in the work folder and returns its bytes.
std::string saveAs(Fixture& f, const char* name) {
    f.work.ModelFullPath = (f.p.WorkDir() / name).string();
    Expect(Save_model(f.work, f.p) == 0 && f.p.messages.empty(), "a loaded model can be saved, without a message");
    return FileBytes(f.work.ModelFullPath);
}

// Puts back every item a load and a selection may change.
void restore(Fixture& f) {
    AnalysisState& w = f.work;
    const AnalysisState& b = f.base;
    for (int k = b.nModels + 1; k <= w.nModels; ++k) w.Models[static_cast<std::size_t>(k)] = ModelSlot{};
    w.nModels = b.nModels, w.CurModel = b.CurModel, w.ModelFullPath = b.ModelFullPath;
    w.StdFileName = b.StdFileName, w.StdObject = b.StdObject, w.nRecords_StdHdr = b.nRecords_StdHdr;
    w.StdHdr = b.StdHdr, w.NAXIS1 = b.NAXIS1, w.WaveL_B_Std = b.WaveL_B_Std;
    w.dLambda_dp_Std = b.dLambda_dp_Std, w.WaveL_R_Std = b.WaveL_R_Std;
    w.Pixval = b.Pixval, w.ws = b.ws, w.ss = b.ss, w.w1 = b.w1, w.ssr = b.ssr, w.ww = b.ww;
    // Selection overwrote the block of the loaded model's size (rows by span, span by span).
    CopyBlock(b.des, w.des, w.nGrid - w.span + 1, w.span);
    CopyBlock(b.U, w.U, w.nGrid - w.span + 1, w.span);
    CopyBlock(b.Vt, w.Vt, w.span, w.span);
    w.nPixStd = b.nPixStd, w.nGrid = b.nGrid, w.delV = b.delV, w.Min_waveL = b.Min_waveL, w.r1 = b.r1;
    w.span = b.span;
    w.ssrAvailable = b.ssrAvailable, w.ssrStale = b.ssrStale, w.desValid = b.desValid, w.svdValid = b.svdValid;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& f = fixture();
    WriteBytes(f.work.ModelFullPath, data, size);
    f.p.messages.clear();
    const ModelLoadOutcome o = Load_model(f.work, f.p);
    if (o.kind != ModelLoadOutcome::Loaded) {
        Expect(o.kind == ModelLoadOutcome::Failed, "a store of one model is not full");
        Expect(f.p.messages.size() == 1 && isLoadError(f.p.messages[0]),
               "a refused load shows exactly one message, the text of a reader's error number");
        ExpectUnchangedBut(f.baseDigest, DigestOf(f.work), {}, "a refused load changes nothing");
        return 0;
    }
    Expect(f.p.messages.empty(), "a load shows no message");
    Expect(o.slot == 2 && f.work.nModels == 2 && f.work.CurModel == 2 && o.label == f.work.Models[2].StdFileName,
           "a load fills the next slot and makes it the current model");
    ExpectUnchangedBut(f.baseDigest, DigestOf(f.work),
                       {"Models", "nModels", "CurModel", "StdFileName", "StdObject", "nRecords_StdHdr", "StdHdr",
                        "NAXIS1", "WaveL_B_Std", "dLambda_dp_Std", "WaveL_R_Std", "Pixval", "ws", "ss", "w1",
                        "nPixStd", "nGrid", "delV", "Min_waveL", "r1", "span", "des", "U", "ww", "Vt", "ssr",
                        "ssrAvailable", "ssrStale", "desValid", "svdValid"},
                       "a load changes only the store and the working model");

    const std::string saved = saveAs(f, "saved.mdl");
    Expect(Load_model(f.work, f.p).slot == 3 && f.p.messages.empty(), "a saved model loads again, without a message");
    Expect(saveAs(f, "saved-again.mdl") == saved, "a loaded model saved and loaded again gives the same bytes");
    restore(f);
    return 0;
}
