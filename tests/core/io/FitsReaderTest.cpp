// The FITS reader: decoding, header layout, keywords, and the messages of a read in order, with
// a refused read leaving the state as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "io/FitsWriter.h"
#include "state/ErrText.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "support/RecordingPlatform.h"

namespace tessan::test {
namespace {

using namespace fits;

const std::string kSigned16 =
    "Your data are signed (16-bit) integer. They work as long as all values are < 32768.  "
    "Unsigned (16-bit) integer data type is recommended.";
const std::string kNeedLambda0 = "You need to set the keyword for Lambda 0.";
const std::string kNeedDLambda = "You need to set the keyword for dLambda/dP.";
const std::string kWaveNotFinite =
    "The wavelength keywords of this fits file give wavelengths that are not finite numbers.";

// Header cards without END: BITPIX, NAXIS1, an OBJECT, CRVAL1 = 5000, CD1_1 = 0.5, then extra.
std::vector<std::string> SpectrumCards(int bitpix, int naxis1, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> cards = {Card("SIMPLE", "                   T"), Card("BITPIX", Number(bitpix)),
                                      Card("NAXIS", "1"), Card("NAXIS1", Number(naxis1)),
                                      Card("OBJECT", Quoted("TEST STAR")), Card("CRVAL1", "5000.0"),
                                      Card("CD1_1", "0.5")};
    cards.insert(cards.end(), extra.begin(), extra.end());
    return cards;
}

// A spectrum of n pixels with values 1..n at 5000 + 0.5 (i - 1).
Bytes Ramp(int n, int bitpix = -32) {
    std::vector<double> v;
    for (int i = 1; i <= n; ++i) v.push_back(i);
    return MakeFits(SpectrumCards(bitpix, n), EncodePixels(bitpix, v));
}

class FitsRead : public ::testing::Test {
protected:
    FitsRead() {
        s.DataPath = p.WorkDir().string();
        s.Lambda0_Key = "CRVAL1";
        s.dLambda_Key = "CD1_1";
    }
    // Writes bytes (unless nullopt) under name and reads them as the star's file.
    FitsOutcome read(Star star, const std::optional<Bytes>& bytes, const std::string& name = "star.fits") {
        const StarView v(s, star);
        v.FileName() = name;
        v.FullPath() = (p.WorkDir() / name).string();
        if (bytes && WriteFitsFile(v.FullPath(), *bytes) != 0) ADD_FAILURE() << "cannot write " << name;
        return star == Star::Std ? ReadStdFits(s, p) : ReadProFits(s, p);
    }

    AnalysisState s;
    RecordingPlatform p;
};

// Pixel 1 holds the raw bytes under test; pixel 2 a positive value so the spectrum normalises.
TEST_F(FitsRead, EveryDecodingRuleFromRawBytes) {
    const std::string bz32768 = Card("BZERO", "32768");
    const double minSub64 = std::ldexp(1.0, -1074);
    const struct { const char* name; int bitpix; std::vector<std::string> extra; Bytes raw; double want; bool warn; }
        cases[] = {
            {"16 BZERO 32768, 0000", 16, {bz32768}, {0x00, 0x00}, 32768, false},
            {"16 BZERO 32768, FFFF", 16, {bz32768}, {0xFF, 0xFF}, 32767, false},
            {"16 BZERO -32768 still adds", 16, {Card("BZERO", "-32768")}, {0x00, 0x00}, 32768, false},
            {"16 BZERO 0, F234", 16, {Card("BZERO", "0")}, {0xF2, 0x34}, 0xF234, true},
            {"16 tiny BZERO: unsigned, no warning", 16, {Card("BZERO", "0.000001")}, {0xFF, 0xFF}, 65535, false},
            // The header is the file's first line: a line-feed byte in the data ends it harmlessly.
            {"16 line feed in the data", 16, {}, {0x0A, 0x0D}, 0x0A0D, true},
            {"32 FFFFFFFF unsigned", 32, {}, {0xFF, 0xFF, 0xFF, 0xFF}, 4294967295.0, false},
            {"-32 minus two", -32, {}, {0xC0, 0x00, 0x00, 0x00}, -2.0, false},
            {"-32 smallest subnormal", -32, {}, {0x00, 0x00, 0x00, 0x01}, std::ldexp(1.0, -149), false},
            {"-32 largest", -32, {}, {0x7F, 0x7F, 0xFF, 0xFF}, std::numeric_limits<float>::max(), false},
            {"-32 BSCALE and BZERO never applied", -32, {Card("BSCALE", "2.5"), Card("BZERO", "100")},
             {0x3F, 0x80, 0x00, 0x00}, 1.0, false},
            {"-64 0.1", -64, {}, {0x3F, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A}, 0.1, false},
            {"-64 largest subnormal", -64, {}, {0x00, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
             std::ldexp(1.0, -1022) - minSub64, false},
            {"-64 negative subnormal", -64, {}, {0x80, 0x08, 0, 0, 0, 0, 0, 0}, -std::ldexp(1.0, -1023), false},
        };
    for (const auto& c : cases) {
        p.messages.clear();
        Bytes data = c.raw;
        const Bytes anchor = EncodePixels(c.bitpix, {1.0});
        data.insert(data.end(), anchor.begin(), anchor.end());
        ASSERT_EQ(read(Star::Std, MakeFits(SpectrumCards(c.bitpix, 2, c.extra), data)), FitsOutcome::Done) << c.name;
        EXPECT_EQ(s.Pixval(1), c.want) << c.name;
        EXPECT_EQ(p.messages, c.warn ? std::vector<std::string>{kSigned16} : std::vector<std::string>{}) << c.name;
    }
}

// n cards before END put the data behind whole 2880-byte records; the largest layout is 199
// cards (END included) and 3000 doubles, data from byte 17280 and not padded.
TEST_F(FitsRead, DataFollowTheHeaderRecords) {
    for (const auto& [cardsWithEnd, bitpix, n] : {std::tuple{8, 16, 3}, {36, 16, 3}, {37, -32, 5}, {73, 32, 3},
                                                 {199, -64, 3000}}) {
        std::vector<std::string> extra;
        for (int k = 8; k < cardsWithEnd; ++k) extra.push_back(Card("FILL" + std::to_string(k), "1"));
        std::vector<double> v;
        for (int i = 1; i <= n; ++i) v.push_back(i + 6);
        p.messages.clear();
        ASSERT_EQ(read(Star::Std, MakeFits(SpectrumCards(bitpix, n, extra), EncodePixels(bitpix, v), n < 3000)),
                  FitsOutcome::Done) << cardsWithEnd << " cards";
        EXPECT_EQ(p.messages.size(), bitpix == 16 ? 1u : 0u) << cardsWithEnd << " cards";   // the 16-bit warning
        EXPECT_TRUE(s.nRecords_StdHdr == cardsWithEnd - 1 && s.nPixStd == n) << cardsWithEnd << " cards";
        for (int i = 1; i <= n; ++i) ASSERT_EQ(s.Pixval(i), i + 6) << cardsWithEnd << " cards, pixel " << i;
    }
}

// The last of repeated keywords counts but the first OBJECT; a value ends at "/"; lower-case
// keywords are other keywords, but "end" ends the header.
TEST_F(FitsRead, KeywordsAndWavelengths) {
    const auto cards = SpectrumCards(-32, 3, {Card("CRVAL1", "4000.5 / the last one counts"), Card("CD1_1", "2.5D-1"),
                                              Card("NAXIS3", "2.5"), Card("crval1", "9999"),
                                              Card("OBJECT", "'Second'"), Card("end", "")});
    ASSERT_EQ(read(Star::Std, MakeFits(cards, EncodePixels(-32, {500, 1000, 250}))), FitsOutcome::Done);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(std::tuple(s.nRecords_StdHdr, s.StdVal(8), s.StdObject), std::tuple(12, "4000.5", "TEST STAR"));
    EXPECT_TRUE(s.WaveL_B_Std == 4000.5 && s.dLambda_dp_Std == 0.25 && s.WaveL_R_Std == 4001.0 && s.NAXIS3 == 2);
    EXPECT_TRUE(s.ws(2) == 4000.75 && s.ss(1) == 0.5 && s.ss(3) == 0.75);
    EXPECT_EQ(s.delV, 18);   // floor(0.25 * 299792.4 / 4001)
}

// Everything a read may write, except the keyword windows' copy of the header.
auto ReadItems(const AnalysisState& s) {
    return std::tuple(s.StdHdr, s.StdKey, s.StdVal, s.ProHdr, s.ProKey, s.ProVal, s.Pixval, s.ws, s.ss, s.Pixval_Pro,
                      s.wp, s.sp, s.spr, s.StdObject, s.ProObject, s.NAXIS, s.NAXIS1, s.NAXIS2, s.NAXIS3, s.BSCALE,
                      s.BZERO, s.WaveL_B_Std, s.dLambda_dp_Std, s.WaveL_R_Std, s.WaveL_B_Pro, s.dLambda_dp_Pro,
                      s.WaveL_R_Pro, s.delV, s.nRecords_StdHdr, s.nRecords_ProHdr, s.nPixStd, s.nPixPro,
                      s.ssrAvailable, s.svdValid);
}

// Each case is read over a standard and a program star already read. Every refusal comes
// before any warning and leaves the state as it was but for the keyword windows' header copy;
// the standard stops at a missing wavelength keyword, the program star goes on with 0 for it.
TEST_F(FitsRead, MessagesInOrderAndRefusalsChangeNothing) {
    std::vector<std::string> manyCards;
    for (int k = 1; k <= 201; ++k) manyCards.push_back(Card("FILL" + std::to_string(k), "1"));
    Bytes noEndAtAll = Ramp(2);
    std::fill(noEndAtAll.begin() + 7 * 80, noEndAtAll.begin() + 8 * 80, ' ');
    const std::string simple = Card("SIMPLE", "T"), n3 = Card("NAXIS1", "3");
    const Bytes b16 = MakeFits({simple, Card("BITPIX", "16"), n3}, EncodePixels(16, {1, 2, 3}));
    auto wave16 = [&](const char* crval1, const char* cd1_1, const char* naxis1 = "3") {
        return MakeFits({simple, Card("BITPIX", "16"), Card("NAXIS1", naxis1), Card("CRVAL1", crval1),
                         Card("CD1_1", cd1_1)},
                        EncodePixels(16, {1, 2, 3}));
    };
    const double inf = std::numeric_limits<double>::infinity();
    enum { Std = 1, Pro = 2, Both = 3 };
    const struct {
        const char* name;
        int stars;
        int lastCards;   // nRecords_LastHdr after a refusal; -1: the header copy is untouched
        std::optional<Bytes> bytes;
        std::vector<std::string> messages;
        FitsOutcome outcome = FitsOutcome::Stopped;
        const char* stepKey = "CD1_1";
        const char* file = "bad.fits";
    } cases[] = {
        {"not SIMPLE", Both, -1, MakeFits({Card("SIMPLX", "T")}, {}), {"This is not a fits file!  Please try again."}},
        {"empty file", Both, -1, Bytes{}, {"This is not a fits file!  Please try again."}},
        {"missing file", Both, -1, std::nullopt, {"Error 53: File not found."}, FitsOutcome::Stopped, "CD1_1", "none"},
        {"a directory", Both, -1, std::nullopt, {ErrTextFor(75)}, FitsOutcome::Stopped, "CD1_1", "sub"},
        {"END is card 209", Both, 0, MakeFits(SpectrumCards(-32, 2, manyCards), {}),
         {"This fits file has no END card among its first 200 cards."}},
        {"no END at all", Both, 0, noEndAtAll, {"This fits file has no END card among its first 200 cards."}},
        {"8-bit", Both, 3, MakeFits({simple, Card("BITPIX", "8"), n3}, {1, 2, 3}),
         {"Sorry, this program does not support 8-bit integer data.  Convert to 16-bit unsigned."}},
        {"BITPIX 12", Both, 7, MakeFits(SpectrumCards(12, 2), Bytes(8, 1)),
         {"This fits file has a BITPIX other than 16, 32, -32 or -64."}},
        {"3001 pixels", Both, 7, MakeFits(SpectrumCards(16, 3001), Bytes(6002, 1)),
         {"This fits file has more than 3000 pixels (NAXIS1)."}},
        {"1 pixel", Both, 7, MakeFits(SpectrumCards(16, 1), Bytes(2, 1)),
         {"This fits file has fewer than 2 pixels (NAXIS1)."}},
        {"NAXIS1 1.5 rounds to 2 but no data", Both, 8,
         MakeFits(SpectrumCards(-64, 2, {Card("NAXIS1", "1.5")}), {}, false), {ErrTextFor(62)}},
        {"data past end", Both, 7,
         MakeFits(SpectrumCards(-32, 100), EncodePixels(-32, std::vector<double>(99, 1.0)), false),
         {"Error 62: Input past end of file."}},
        {"all zero", Both, 7, MakeFits(SpectrumCards(-32, 3), EncodePixels(-32, {0, 0, 0})),
         {"This spectrum has no positive pixel value to normalise by."}},
        {"-32 NaN", Both, 7, MakeFits(SpectrumCards(-32, 2), Bytes{0x3F, 0x80, 0, 0, 0x7F, 0xC0, 0, 0}),
         {"This spectrum holds pixel values that are infinite or not numbers."}},
        {"-64 infinity", Both, 7, MakeFits(SpectrumCards(-64, 2), EncodePixels(-64, {1, -inf})),
         {"This spectrum holds pixel values that are infinite or not numbers."}},
        {"start 1E999", Both, 5, wave16("1E999", "0.5"), {kWaveNotFinite}},
        {"only the red end beyond the range", Both, 5, wave16("5000", "8E307", "3.4"), {kWaveNotFinite}},
        {"only the last pixel beyond the range", Both, 5, wave16("5000", "1E308", "2.6"), {kWaveNotFinite}},
        {"negative step of a chosen keyword, no blue end", Both, 4,
         MakeFits({simple, Card("BITPIX", "16"), n3, Card("CDELT1", "-1E-3")}, EncodePixels(16, {1, 2, 3})),
         {"The wavelength step CDELT1 of this fits file is negative: its pixels run from red to blue.  Only "
          "spectra whose wavelengths increase can be used."},
         FitsOutcome::Stopped, "CDELT1"},
        {"normalised values overflow", Both, 7,
         MakeFits(SpectrumCards(-64, 3), EncodePixels(-64, {1e-300, -1e300, 0})),
         {"This spectrum holds pixel values that cannot be normalised: divided by the largest value they are "
          "not finite numbers."}},
        {"no wavelength keywords", Std, 3, b16, {kNeedLambda0}},
        {"no wavelength keywords", Pro, 3, b16, {kSigned16, kNeedLambda0, kNeedDLambda}, FitsOutcome::Done},
        {"only a lower-case twin of the step keyword", Std, 6,
         MakeFits({simple, Card("BITPIX", "-32"), Card("NAXIS1", "2"), Card("CRVAL1", "6000"), Card("CDELT1", "0.1"),
                   Card("cd1_1", "0.2")},
                  EncodePixels(-32, {1, 2})),
         {kNeedDLambda}},
    };
    std::filesystem::create_directory(p.WorkDir() / "sub");
    for (const auto& c : cases) {
        for (const Star star : {Star::Std, Star::Pro}) {
            if (!(c.stars & (star == Star::Std ? Std : Pro))) continue;
            SCOPED_TRACE(star == Star::Std ? "standard" : "program star");
            s.dLambda_Key = "CD1_1";
            ASSERT_EQ(read(Star::Std, Ramp(5)), FitsOutcome::Done);
            ASSERT_EQ(read(Star::Pro, Ramp(6, 16)), FitsOutcome::Done);
            s.ssrAvailable = s.svdValid = true;
            p.messages.clear();
            s.dLambda_Key = c.stepKey;
            const auto before = ReadItems(s);
            const auto lastBefore = s.LastHdr;
            EXPECT_EQ(read(star, c.bytes, c.file), c.outcome) << c.name;
            EXPECT_EQ(p.messages, c.messages) << c.name;
            if (c.outcome == FitsOutcome::Done) {
                EXPECT_EQ(std::tuple(s.WaveL_B_Pro, s.dLambda_dp_Pro, s.Pixval_Pro(3)), std::tuple(0, 0, 3)) << c.name;
                continue;
            }
            EXPECT_TRUE(ReadItems(s) == before) << c.name;
            if (c.lastCards < 0) {
                EXPECT_EQ(s.LastHdr, lastBefore) << c.name;
            } else {
                EXPECT_EQ(s.nRecords_LastHdr, c.lastCards) << c.name;
                EXPECT_TRUE(s.LastKey(1) == "SIMPLE" && s.LastHdr(1).starts_with("SIMPLE")) << c.name;
            }
        }
    }
}

// The program star is resampled onto the grid as it is read (linear interpolation; a point
// outside the spectrum takes the value of the nearest end); reading the program star leaves the
// standard's items alone, reading the standard marks its model stale.
TEST_F(FitsRead, EachStarKeepsItsPixelCountAndTheProgramStarIsResampled) {
    ASSERT_EQ(read(Star::Std, Ramp(2000)), FitsOutcome::Done);
    s.ssrAvailable = s.svdValid = true;
    s.nGrid = 4;
    s.w1(1) = 4000, s.w1(2) = 5000.25, s.w1(3) = 5001.0, s.w1(4) = 6500.0;
    s.spr(5) = 7;
    ASSERT_EQ(read(Star::Pro, Ramp(2500, -64)), FitsOutcome::Done);
    EXPECT_TRUE(s.nPixStd == 2000 && s.nPixPro == 2500 && s.Pixval_Pro(2500) == 2500);
    EXPECT_TRUE(s.ssrAvailable && s.svdValid);
    EXPECT_NEAR(s.spr(2), 1 - 1.5 / 2500, 1e-15);
    EXPECT_TRUE(s.spr(1) == s.sp(1) && s.spr(3) == s.sp(3) && s.spr(4) == 0 && s.spr(5) == 7);
    ASSERT_EQ(read(Star::Std, Ramp(10)), FitsOutcome::Done);
    EXPECT_FALSE(s.ssrAvailable || s.svdValid);
    EXPECT_TRUE(s.NAXIS1 == 10 && s.nPixPro == 2500);
    // Nothing is read without a file name or a data directory.
    s.ProFileName = "";
    EXPECT_EQ(ReadProFits(s, p), FitsOutcome::NotRead);
    s.DataPath = "";
    EXPECT_EQ(read(Star::Std, Ramp(3)), FitsOutcome::NotRead);
    EXPECT_TRUE(p.messages.empty() && s.nPixStd == 10 && s.nPixPro == 2500);
}

TEST(ProposeGrid, TextsFromTheStandard) {
    const struct { double blue, red, delV; std::string minWave, maxWave, delVText; } cases[] = {
        {5000, 5100, 5, "5010", "5089", "   5.0"}, {4000.5, 4001, 18, "4008", "3992", "  18.0"},
        {-0.4, 1, 0, "0", "0", "   0.0"}};   // never "-0"
    for (const auto& c : cases) {
        AnalysisState s;
        s.WaveL_B_Std = c.blue, s.WaveL_R_Std = c.red, s.delV = c.delV;
        const GridProposal g = ProposeGrid(s);
        EXPECT_EQ(std::tuple(g.minWave, g.maxWave, g.delV), std::tuple(c.minWave, c.maxWave, c.delVText)) << c.blue;
    }
}

}  // namespace
}  // namespace tessan::test
