#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "SyntheticStar.h"
#include "io/ModelFile.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "text/NumText.h"

namespace tessan::fuzz {

namespace {

void expectQuiet(const test::RecordingPlatform& p, const char* step) {
    if (!p.messages.empty()) Broken(std::string(step) + " of the starting state shows no message, but showed \"" + p.messages.front() + "\"");
}

}  // namespace

void Broken(const std::string& promise) {
    std::fprintf(stderr, "broken promise: %s\n", promise.c_str());
    std::abort();
}

std::vector<std::string> WaveCards() { return {fits::Card("CRVAL1", "5000"), fits::Card("CD1_1", "0.5")}; }

fits::Bytes SpectrumBytes(int n, double velocityKms, int bitpix, const std::vector<std::string>& waveCards) {
    std::vector<std::string> cards = {fits::Card("SIMPLE", "                   T"),
                                      fits::Card("BITPIX", fits::Number(bitpix)), fits::Card("NAXIS", "1"),
                                      fits::Card("NAXIS1", fits::Number(n)),
                                      fits::Card("OBJECT", fits::Quoted("FUZZ STAR"))};
    cards.insert(cards.end(), waveCards.begin(), waveCards.end());
    const auto values = samples::SyntheticSpectrum(n, 5000, 0.5, velocityKms);
    return fits::MakeFits(cards, fits::EncodePixels(bitpix, values), false);
}

void BuildModel(AnalysisState& s, test::RecordingPlatform& p, int nPix, int span) {
    const auto dir = p.WorkDir();
    s.DataPath = dir.string();
    s.Lambda0_Key = "CRVAL1";
    s.dLambda_Key = "CD1_1";
    s.StdFileName = "std.fits";
    s.StdFullPath = (dir / s.StdFileName).string();
    Expect(fits::WriteFitsFile(s.StdFullPath, SpectrumBytes(nPix, 0, -32, WaveCards())) == 0,
           "the starting standard is written");
    Expect(ReadStdFits(s, p) == FitsOutcome::Done, "the starting standard is read");
    Expect(Resample(s, p, DefaultText(s.delV), DefaultText(s.WaveL_B_Std), DefaultText(s.WaveL_R_Std)),
           "the starting standard is resampled");
    Expect(Design_matrix(s, p, std::to_string(span)).built, "the starting design matrix is built");
    Expect(RunSvdStep(s, p), "the starting design matrix is decomposed");
    s.ModelFullPath = (dir / "std.mdl").string();
    Expect(Save_model(s, p) == 0, "the starting model is saved");
    expectQuiet(p, "steps 1 to 4");
}

void BuildStartingState(AnalysisState& s, test::RecordingPlatform& p) {
    const auto dir = p.WorkDir();
    FillErrText(s);
    FillColours(s);
    s.geom.frmMain = {1200, 900, 14385, 5655};
    s.GaussFitMode = true;
    s.bbCombo2Flag = true;

    BuildModel(s, p, 40, 11);
    Expect(Load_model(s, p).slot == 1, "the starting model is loaded into slot 1");
    s.ProFileName = "pro.fits";
    s.ProFullPath = (dir / s.ProFileName).string();
    Expect(fits::WriteFitsFile(s.ProFullPath, SpectrumBytes(40, 30, -32, WaveCards())) == 0,
           "the starting program star is written");
    Expect(ReadProFits(s, p) == FitsOutcome::Done, "the starting program star is read");
    Expect(RunBfStep(s, p), "the starting BFs are found");
    expectQuiet(p, "the model load and steps 5 and 7");

    s.StdFileName = s.ProFileName = kInputFits;
    s.StdFullPath = s.ProFullPath = (dir / kInputFits).string();
    s.ModelFileName = kInputModel;
    s.ModelFullPath = (dir / kInputModel).string();
}

void WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    f.close();
    Expect(static_cast<bool>(f), "the input is written to its file");
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace tessan::fuzz
