// The settings reader, LoadSettings on "Tessan6.ini" in the work folder of the starting state
// (FuzzSupport.h). Promises checked:
// - a load, whether the file reads or not, changes nothing but the settings items (DataPath,
//   the two wavelength keywords, the geometry and the three BF choices);
// - what it loaded, saved and loaded again, is what it loaded, but for a text that the record
//   writer would alter (a double quote, CR or LF in it), which comes back as its default.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "io/RecordFile.h"
#include "io/Settings.h"

using namespace tessan;
using namespace tessan::fuzz;

namespace {

struct Items {
    std::string DataPath, Lambda0_Key, dLambda_Key;
    Geometry geom;
    bool GaussFitMode, bbCombo1Flag, bbCombo2Flag;
};

Items itemsOf(const AnalysisState& s) {
    return {s.DataPath, s.Lambda0_Key, s.dLambda_Key, s.geom, s.GaussFitMode, s.bbCombo1Flag, s.bbCombo2Flag};
}

void putItems(AnalysisState& s, const Items& i) {
    s.DataPath = i.DataPath, s.Lambda0_Key = i.Lambda0_Key, s.dLambda_Key = i.dLambda_Key, s.geom = i.geom;
    s.GaussFitMode = i.GaussFitMode, s.bbCombo1Flag = i.bbCombo1Flag, s.bbCombo2Flag = i.bbCombo2Flag;
}

bool sameGeometry(const Geometry& a, const Geometry& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct SettingsFixture : Fixture {
    Items defaults, baseItems;
    std::filesystem::path inputDir, againDir;
    SettingsFixture() {
        baseItems = itemsOf(base);
        inputDir = p.WorkDir() / "input";
        againDir = p.WorkDir() / "again";
        std::filesystem::create_directory(inputDir);
        std::filesystem::create_directory(againDir);
        LoadSettings(work, p.WorkDir() / "none");   // no file there: the defaults
        defaults = itemsOf(work);
        putItems(work, baseItems);
    }
};

SettingsFixture& fixture() {
    static SettingsFixture f;
    return f;
}

std::string storedText(const std::string& text, const std::string& fallback) {
    return QuotedFieldText(text) == text ? text : fallback;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingsFixture& f = fixture();
    WriteBytes(f.inputDir / kSettingsFileName, data, size);
    LoadSettings(f.work, f.inputDir);
    ExpectUnchangedBut(f.baseDigest, DigestOf(f.work),
                       {"DataPath", "Lambda0_Key", "dLambda_Key", "geom", "GaussFitMode", "bbCombo1Flag", "bbCombo2Flag"},
                       "a settings load changes only the settings items");

    const Items loaded = itemsOf(f.work);
    Expect(SaveSettings(f.work, f.againDir) == 0, "loaded settings can be saved");
    putItems(f.work, f.baseItems);
    LoadSettings(f.work, f.againDir);
    const Items again = itemsOf(f.work);
    Expect(again.DataPath == storedText(loaded.DataPath, f.defaults.DataPath) &&
               again.Lambda0_Key == storedText(loaded.Lambda0_Key, f.defaults.Lambda0_Key) &&
               again.dLambda_Key == storedText(loaded.dLambda_Key, f.defaults.dLambda_Key),
           "loaded texts saved and loaded again come back, or as their defaults when the writer would alter them");
    Expect(sameGeometry(again.geom, loaded.geom) && again.GaussFitMode == loaded.GaussFitMode &&
               again.bbCombo1Flag == loaded.bbCombo1Flag && again.bbCombo2Flag == loaded.bbCombo2Flag,
           "loaded geometry and BF choices saved and loaded again come back");
    putItems(f.work, f.baseItems);
    return 0;
}
