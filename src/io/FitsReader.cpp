#include "io/FitsReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "io/FitsFormat.h"
#include "state/ErrText.h"
#include "state/Limits.h"
#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {

namespace {

namespace fs = std::filesystem;

const char* const kNotFits = "This is not a fits file!  Please try again.";
const char* const kEightBit =
    "Sorry, this program does not support 8-bit integer data.  Convert to 16-bit unsigned.";
const char* const kSigned16 =
    "Your data are signed (16-bit) integer. They work as long as all values are < 32768.  "
    "Unsigned (16-bit) integer data type is recommended.";
const char* const kNeedLambda0 = "You need to set the keyword for Lambda 0.";
const char* const kNeedDLambda = "You need to set the keyword for dLambda/dP.";
const char* const kNoEnd = "This fits file has no END card among its first 200 cards.";
const char* const kBadBitpix = "This fits file has a BITPIX other than 16, 32, -32 or -64.";
const char* const kTooManyPix = "This fits file has more than 3000 pixels (NAXIS1).";
const char* const kTooFewPix = "This fits file has fewer than 2 pixels (NAXIS1).";
const char* const kNotFinite = "This spectrum holds pixel values that are infinite or not numbers.";
const char* const kWaveNotFinite =
    "The wavelength keywords of this fits file give wavelengths that are not finite numbers.";
const char* const kNoPositive = "This spectrum has no positive pixel value to normalise by.";
const char* const kNotNormalisable =
    "This spectrum holds pixel values that cannot be normalised: divided by the largest value they "
    "are not finite numbers.";

std::string negativeStep(const std::string& keyword) {
    return "The wavelength step " + keyword +
           " of this fits file is negative: its pixels run from red to blue.  Only spectra whose "
           "wavelengths increase can be used.";
}

// The most a read needs: the largest header the cards allow, then the most pixels of the
// widest format. Only this much of the file is ever read.
constexpr std::size_t kReadLimit =
    fits::DataOffset(lim::kMaxCards) + static_cast<std::size_t>(lim::kMaxPix) * 8;

// Everything a read produces, gathered before any of it reaches the state.
struct Spectrum {
    fits::Header hdr;
    double NAXIS = 0, NAXIS1 = 0, NAXIS2 = 0, NAXIS3 = 0, BSCALE = 0, BZERO = 0;
    std::string object;
    double waveB = 0, step = 0, waveR = 0;
    int nPix = 0;
    std::vector<double> pix, wave, inv;   // index 1..nPix
};

// Reads the start of the file into bytes; returns 0 or the system's error number.
int readStart(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    const fs::file_status st = fs::status(fs::path(path), ec);
    if (path.empty() || !fs::exists(st)) return err::kFileNotFound;
    if (fs::is_directory(st)) return err::kPathFileAccess;
    errno = 0;
    std::ifstream f(fs::path(path), std::ios::binary);
    if (!f) return errno == EACCES ? err::kPermission : err::kPathFileAccess;
    bytes.resize(kReadLimit);
    f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (f.bad()) return err::kDeviceIO;
    bytes.resize(static_cast<std::size_t>(f.gcount()));
    return 0;
}

double numberOf(const fits::Header& h, std::string_view keyword) {
    const std::string* v = fits::FindValue(h, keyword);
    return v ? Val(*v) : 0.0;
}

// The object name: OBJECT's value text without its first and last character (the quotes).
std::string objectOf(const fits::Header& h) {
    const std::string* v = fits::FindValue(h, "OBJECT", true);
    if (!v || v->size() < 2) return {};
    return v->substr(1, v->size() - 2);
}

// Stores cards and keywords for the keyword windows; entries past the header are emptied.
void storeLastHeader(AnalysisState& s, const fits::Header& h) {
    for (int i = 1; i <= lim::kMaxCards; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        const bool in = k < h.cards.size();
        s.LastHdr(i) = in ? h.cards[k] : std::string();
        s.LastKey(i) = in ? h.keys[k] : std::string();
    }
    s.nRecords_LastHdr = h.nBeforeEnd;
}

// Parses and decodes the file, showing the messages of the read in order. Of the state it
// writes only the keyword windows' copy of the header. Returns false when a message stopped
// the read; sp is then incomplete and must not be stored.
bool parseSpectrum(AnalysisState& s, Platform& p, Star star, const std::string& path, Spectrum& sp) {
    std::vector<std::uint8_t> bytes;
    if (const int e = readStart(path, bytes)) {
        p.MsgBox(ErrTextFor(e));
        return false;
    }
    const std::size_t lineLength = fits::FirstLineLength(bytes);
    const std::string_view line(reinterpret_cast<const char*>(bytes.data()), lineLength);
    if (fits::KeywordOf(line.substr(0, std::min<std::size_t>(lineLength, fits::kCardLength))) != "SIMPLE") {
        p.MsgBox(kNotFits);
        return false;
    }
    sp.hdr = fits::ParseHeader(bytes, lineLength, lim::kMaxCards);
    storeLastHeader(s, sp.hdr);
    if (!sp.hdr.endFound) {
        p.MsgBox(kNoEnd);
        return false;
    }

    const fits::Header& h = sp.hdr;
    const double bitpix = numberOf(h, "BITPIX");
    sp.NAXIS = numberOf(h, "NAXIS");
    sp.NAXIS1 = numberOf(h, "NAXIS1");
    sp.NAXIS2 = numberOf(h, "NAXIS2");
    sp.NAXIS3 = numberOf(h, "NAXIS3");
    sp.BSCALE = numberOf(h, "BSCALE");
    sp.BZERO = numberOf(h, "BZERO");
    sp.object = objectOf(h);
    sp.waveB = numberOf(h, s.Lambda0_Key);
    sp.step = numberOf(h, s.dLambda_Key);

    if (bitpix == 8) {
        p.MsgBox(kEightBit);
        return false;
    }
    const int bp = static_cast<int>(std::clamp(bitpix, -64.0, 64.0));
    const int width = bp == bitpix ? fits::BytesPerPixel(bp) : 0;
    if (width == 0) {
        p.MsgBox(kBadBitpix);
        return false;
    }
    const double nRounded = RoundHalfEven(sp.NAXIS1);
    if (!(nRounded <= lim::kMaxPix)) {
        p.MsgBox(kTooManyPix);
        return false;
    }
    if (!(nRounded >= 2)) {
        p.MsgBox(kTooFewPix);
        return false;
    }
    sp.nPix = static_cast<int>(nRounded);

    const std::size_t offset = fits::DataOffset(h.nBeforeEnd);
    const auto w = static_cast<std::size_t>(width);
    if (bytes.size() < offset + static_cast<std::size_t>(sp.nPix) * w) {
        p.MsgBox(ErrTextFor(err::kPastEnd));
        return false;
    }
    const auto n1 = static_cast<std::size_t>(sp.nPix) + 1;
    sp.pix.assign(n1, 0.0);
    double largest = 0;
    for (std::size_t i = 1; i < n1; ++i) {
        const double v = fits::DecodePixel(bytes.data() + offset + (i - 1) * w, bp, sp.BZERO);
        if (!std::isfinite(v)) {
            p.MsgBox(kNotFinite);
            return false;
        }
        sp.pix[i] = v;
        largest = std::max(largest, v);
    }
    if (!(largest > 0)) {
        p.MsgBox(kNoPositive);
        return false;
    }

    // Every refusal comes before any warning, so that a user never sees a warning about a
    // spectrum that is then refused.
    sp.waveR = (sp.NAXIS1 - 1) * sp.step + sp.waveB;
    // A value such as 1E999 reads as infinity: no wavelength of such a spectrum is a number.
    const double lastWave = static_cast<double>(sp.nPix - 1) * sp.step + sp.waveB;
    if (!std::isfinite(sp.waveR) || !std::isfinite(lastWave)) {
        p.MsgBox(kWaveNotFinite);
        return false;
    }
    // Resampling needs wavelengths that increase; pixels from red to blue would be
    // interpolated into a flat line.
    if (sp.step < 0) {
        p.MsgBox(negativeStep(s.dLambda_Key));
        return false;
    }
    sp.wave.assign(n1, 0.0);
    sp.inv.assign(n1, 0.0);
    for (std::size_t i = 1; i < n1; ++i) {
        sp.wave[i] = static_cast<double>(i - 1) * sp.step + sp.waveB;
        sp.inv[i] = 1 - sp.pix[i] / largest;
        if (!std::isfinite(sp.inv[i])) {
            p.MsgBox(kNotNormalisable);
            return false;
        }
    }
    const bool noLambda0 = std::fabs(sp.waveB) < 0.001;
    const bool noStep = std::fabs(sp.waveR - sp.waveB) < 0.001;
    if (star == Star::Std && (noLambda0 || noStep)) {
        p.MsgBox(noLambda0 ? kNeedLambda0 : kNeedDLambda);
        return false;
    }

    if (bp == 16 && sp.BZERO == 0) p.MsgBox(kSigned16);
    if (noLambda0) p.MsgBox(kNeedLambda0);
    if (noStep) p.MsgBox(kNeedDLambda);
    return true;
}

void storeHeader(const fits::Header& h, Vec1<std::string>& hdr, Vec1<std::string>& key,
                 Vec1<std::string>& val, int& nRecords) {
    for (int i = 1; i <= lim::kMaxCards; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        const bool in = k < h.cards.size();
        hdr(i) = in ? h.cards[k] : std::string();
        key(i) = in ? h.keys[k] : std::string();
        val(i) = in ? h.vals[k] : std::string();
    }
    nRecords = h.nBeforeEnd;
}

}  // namespace

FitsOutcome ReadStarFits(AnalysisState& s, Platform& p, Star star) {
    const StarView v(s, star);
    if (s.DataPath.empty() || v.FileName().empty()) return FitsOutcome::NotRead;
    Spectrum sp;
    if (!parseSpectrum(s, p, star, v.FullPath(), sp)) return FitsOutcome::Stopped;

    storeHeader(sp.hdr, v.Hdr(), v.Key(), v.Val(), v.nRecords());
    v.Object() = sp.object;
    v.WaveL_B() = sp.waveB;
    v.dLambda_dp() = sp.step;
    v.WaveL_R() = sp.waveR;
    for (int i = 1; i <= sp.nPix; ++i) {
        const auto k = static_cast<std::size_t>(i);
        v.Pixval()(i) = sp.pix[k];
        v.Wave()(i) = sp.wave[k];
        v.Inverted()(i) = sp.inv[k];
    }
    v.nPix() = sp.nPix;
    s.NAXIS = sp.NAXIS;
    s.NAXIS1 = sp.NAXIS1;
    s.NAXIS2 = sp.NAXIS2;
    s.NAXIS3 = Saturate16(sp.NAXIS3);
    s.BSCALE = sp.BSCALE;
    s.BZERO = sp.BZERO;
    return FitsOutcome::Done;
}

}  // namespace tessan
