// fuzz_seeds DIR: writes the seed corpora of the fuzz targets into DIR/fits, DIR/model,
// DIR/settings and DIR/number with the project's own writers (FITS writer, Save_model,
// SaveSettings, the number texts). The same build writes the same bytes, so the corpora in
// fuzz/corpus can be regenerated and compared.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "io/ModelFile.h"
#include "io/Settings.h"
#include "steps/Validity.h"
#include "text/NumText.h"

using namespace tessan;
using namespace tessan::fuzz;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    WriteBytes(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    std::printf("%s (%zu bytes)\n", path.string().c_str(), bytes.size());
}

void write(const fs::path& path, const fits::Bytes& bytes) {
    write(path, std::string(bytes.begin(), bytes.end()));
}

// A model of span over a standard of nPix pixels, in the current format or, with oldFormat,
// without the resampled standard (as a model chosen without a usable one is saved).
std::string modelBytes(int nPix, int span, bool oldFormat) {
    test::RecordingPlatform p;
    AnalysisState s;
    BuildModel(s, p, nPix, span);
    if (oldFormat) {
        ModelChosen(s, false);
        Expect(Save_model(s, p) == 0, "the old-format model is saved");
    }
    return FileBytes(s.ModelFullPath);
}

std::string settingsBytes(bool custom) {
    test::RecordingPlatform p;
    AnalysisState s;
    LoadSettings(s, p.WorkDir());   // no file yet: the defaults
    if (custom) {
        s.DataPath = "/home/observer/spectra";
        s.Lambda0_Key = "CRVAL1";
        s.dLambda_Key = "CDELT1";
        s.geom.frmMain = {1200, 900, 14385, 5655};
        s.geom.frmPlotData_bb = {-120, 32767, 8000, 8000};
        s.GaussFitMode = s.bbCombo1Flag = true;
    }
    Expect(SaveSettings(s, p.WorkDir()) == 0, "the settings are saved");
    return FileBytes(p.WorkDir() / kSettingsFileName);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    using fits::Card;
    write(dir / "fits" / "standard-f32.fits", SpectrumBytes(24, 0, -32, WaveCards()));
    write(dir / "fits" / "signed-i16.fits", SpectrumBytes(24, 0, 16, WaveCards()));
    write(dir / "fits" / "bzero-i32-dexp.fits",
          SpectrumBytes(24, 0, 32, {Card("BZERO", "0"), Card("CRVAL1", "5.0D+03"), Card("CD1_1", ".5  / A per pixel")}));
    write(dir / "fits" / "nostep-f64.fits", SpectrumBytes(24, 0, -64, {Card("CRVAL1", "5000")}));

    write(dir / "model" / "span11.mdl", modelBytes(21, 11, false));
    write(dir / "model" / "span3-old.mdl", modelBytes(6, 3, true));

    write(dir / "settings" / "defaults.ini", settingsBytes(false));
    write(dir / "settings" / "custom.ini", settingsBytes(true));

    const std::vector<std::string> numbers = {
        RecordText(5184.2221), RecordText(-0.25), RecordText(1.5e-7), DefaultText(-2.5e20),
        DefaultText(1.7976931348623157e308), RecordText(4.9406564584124654e-324), "  1.5D-3,", "\t-.5e+07x",
        "1e", "12.E5", "&H1F", "1E999", "+.", "2.4703282292062328e-324"};
    for (std::size_t k = 0; k < numbers.size(); ++k) write(dir / "number" / ("n" + std::to_string(k + 1)), numbers[k]);
    return 0;
}
