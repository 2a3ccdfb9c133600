// What a read leaves in the state: a stop changes nothing but the keyword windows' header copy;
// each star keeps its own pixel count; the program star is resampled.
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "core/io/FitsFixture.h"
#include "state/ErrText.h"

namespace tessan::test {
namespace {

// Everything a read may write, except the keyword windows' copy of the header.
auto ReadItems(const AnalysisState& s) {
    return std::tuple(s.StdHdr, s.StdKey, s.StdVal, s.ProHdr, s.ProKey, s.ProVal, s.Pixval, s.ws, s.ss, s.Pixval_Pro,
                      s.wp, s.sp, s.spr, s.StdObject, s.ProObject, s.NAXIS, s.NAXIS1, s.NAXIS2, s.NAXIS3, s.BSCALE,
                      s.BZERO, s.WaveL_B_Std, s.dLambda_dp_Std, s.WaveL_R_Std, s.WaveL_B_Pro, s.dLambda_dp_Pro,
                      s.WaveL_R_Pro, s.delV, s.nRecords_StdHdr, s.nRecords_ProHdr, s.nPixStd, s.nPixPro,
                      s.ssrAvailable, s.svdValid);
}

const std::string kNotFits = "This is not a fits file!  Please try again.";
const std::string kNoEnd = "This fits file has no END card among its first 200 cards.";
const std::string kBadBitpix = "This fits file has a BITPIX other than 16, 32, -32 or -64.";
const std::string kTooMany = "This fits file has more than 3000 pixels (NAXIS1).";
const std::string kTooFew = "This fits file has fewer than 2 pixels (NAXIS1).";
const std::string kNotFinite = "This spectrum holds pixel values that are infinite or not numbers.";
const std::string kNoPositive = "This spectrum has no positive pixel value to normalise by.";
const std::string kWaveNotFinite =
    "The wavelength keywords of this fits file give wavelengths that are not finite numbers.";

class FitsRefusals : public FitsFixture {
protected:
    void readBoth() {
        ASSERT_EQ(readStd(Ramp(5)), FitsOutcome::Done);
        ASSERT_EQ(readPro(Ramp(6, 16)), FitsOutcome::Done);
        s.ssrAvailable = s.svdValid = true;
        p.messages.clear();
    }
};

TEST_F(FitsRefusals, StateUnchangedButLastHeader) {
    std::vector<std::string> manyCards;
    for (int k = 1; k <= 201; ++k) manyCards.push_back(Card("FILL" + std::to_string(k), "1"));
    const auto withEnd202 = SpectrumCards(-32, 2, manyCards);
    Bytes noEndAtAll = MakeFits(SpectrumCards(-32, 2), EncodePixels(-32, {1, 2}));
    std::fill(noEndAtAll.begin() + 7 * 80, noEndAtAll.begin() + 8 * 80, ' ');
    const Bytes shortData = MakeFits(SpectrumCards(-32, 100), EncodePixels(-32, std::vector<double>(99, 1.0)), false);
    const double inf = std::numeric_limits<double>::infinity();
    auto wave = [](const char* crval1, const char* cd1_1) {
        return MakeFits(SpectrumCards(-32, 3, {Card("CRVAL1", crval1), Card("CD1_1", cd1_1)}),
                        EncodePixels(-32, {1, 2, 3}));
    };

    struct Case {
        const char* name;
        Bytes bytes;
        std::string message;
        int lastCards;   // nRecords_LastHdr afterwards; -1: the header copy is untouched
    };
    const Case cases[] = {
        {"not SIMPLE", MakeFits({Card("SIMPLX", "T")}, {}), kNotFits, -1},
        {"END is card 209", MakeFits(withEnd202, {}), kNoEnd, 0},
        {"no END at all", noEndAtAll, kNoEnd, 0},
        {"BITPIX 12", MakeFits(SpectrumCards(12, 2), Bytes(8, 1)), kBadBitpix, 7},
        {"no BITPIX", MakeFits({Card("SIMPLE", "T"), Card("NAXIS1", "2")}, Bytes(8, 1)), kBadBitpix, 2},
        {"3001 pixels", MakeFits(SpectrumCards(16, 3001), Bytes(6002, 1)), kTooMany, 7},
        {"1 pixel", MakeFits(SpectrumCards(16, 1), Bytes(2, 1)), kTooFew, 7},
        {"NAXIS1 1.5 rounds to 2 but no data", MakeFits(SpectrumCards(-64, 2, {Card("NAXIS1", "1.5")}), {}, false),
         ErrTextFor(62), 8},
        {"data past end", shortData, "Error 62: Input past end of file.", 7},
        {"all zero", MakeFits(SpectrumCards(-32, 3), EncodePixels(-32, {0, 0, 0})), kNoPositive, 7},
        {"-32 NaN", MakeFits(SpectrumCards(-32, 2), Bytes{0x3F, 0x80, 0, 0, 0x7F, 0xC0, 0, 0}), kNotFinite, 7},
        {"-64 infinity", MakeFits(SpectrumCards(-64, 2), EncodePixels(-64, {1, -inf})), kNotFinite, 7},
        // Wavelength values beyond the range of a double ("1E999" reads as infinity).
        {"start 1E999", wave("1E999", "0.5"), kWaveNotFinite, 9},
        {"step 1E999", wave("5000", "1E999"), kWaveNotFinite, 9},
        {"step -1E999", wave("5000", "-1E999"), kWaveNotFinite, 9},
        {"last pixel beyond the range", wave("5000", "1E308"), kWaveNotFinite, 9},
        {"without Lambda 0",
         MakeFits({Card("SIMPLE", "T"), Card("BITPIX", "-32"), Card("NAXIS1", "2")}, EncodePixels(-32, {1, 2})),
         "You need to set the keyword for Lambda 0.", 3},
    };
    for (const auto& c : cases) {
        for (const bool program : {false, true}) {
            if (program && c.message.starts_with("You need")) continue;   // the program star goes on
            SCOPED_TRACE(program ? "program star" : "standard");
            readBoth();
            const auto before = ReadItems(s);
            const auto lastBefore = s.LastHdr;
            EXPECT_EQ(program ? readPro(c.bytes, "bad.fits") : readStd(c.bytes, "bad.fits"), FitsOutcome::Stopped)
                << c.name;
            EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << c.name;
            EXPECT_TRUE(ReadItems(s) == before) << c.name;
            if (c.lastCards < 0) {
                EXPECT_EQ(s.LastHdr, lastBefore) << c.name;
            } else {
                EXPECT_EQ(s.nRecords_LastHdr, c.lastCards) << c.name;
                EXPECT_EQ(s.LastKey(1), "SIMPLE") << c.name;
                EXPECT_EQ(s.LastHdr(1).substr(0, 6), "SIMPLE") << c.name;
            }
        }
    }
}

TEST_F(FitsRefusals, MissingOrUnreadableFile) {
    readBoth();
    const auto before = ReadItems(s);
    s.StdFileName = "absent.fits";
    s.StdFullPath = (p.WorkDir() / "absent.fits").string();
    EXPECT_EQ(ReadStdFits(s, p), FitsOutcome::Stopped);
    s.ProFileName = "dir";
    s.ProFullPath = p.WorkDir().string();
    EXPECT_EQ(ReadProFits(s, p), FitsOutcome::Stopped);
    EXPECT_EQ(p.messages, (std::vector<std::string>{"Error 53: File not found.", ErrTextFor(75)}));
    EXPECT_TRUE(ReadItems(s) == before);
}

using FitsState = FitsFixture;

TEST_F(FitsState, EachStarKeepsItsPixelCount) {
    ASSERT_EQ(readStd(Ramp(2000)), FitsOutcome::Done);
    s.ssrAvailable = s.svdValid = true;
    ASSERT_EQ(readPro(Ramp(2500, -64)), FitsOutcome::Done);
    EXPECT_TRUE(s.nPixStd == 2000 && s.nPixPro == 2500 && s.Pixval_Pro(2500) == 2500);
    EXPECT_TRUE(s.ssrAvailable && s.svdValid) << "the program read leaves the standard's items alone";
    ASSERT_EQ(readStd(Ramp(10)), FitsOutcome::Done);
    EXPECT_FALSE(s.ssrAvailable || s.svdValid);
    EXPECT_TRUE(s.NAXIS1 == 10 && s.nPixPro == 2500);
}

TEST_F(FitsState, ProgramStarIsResampledOntoTheGrid) {
    // Program star at 5000 + 0.5 (i - 1) with values 1..4: sp = 1 - i / 4.
    s.nGrid = 3;
    s.w1(1) = 5000.25, s.w1(2) = 5001.0, s.w1(3) = 5100.0;   // the last: past the end
    s.spr(4) = 7;
    ASSERT_EQ(readPro(Ramp(4)), FitsOutcome::Done);
    EXPECT_DOUBLE_EQ(s.spr(1), 0.625);
    EXPECT_DOUBLE_EQ(s.spr(2), 0.25);
    EXPECT_DOUBLE_EQ(s.spr(3), 0.0);
    EXPECT_EQ(s.spr(4), 7);   // beyond the grid's count
    s.nGrid = 0;
    s.spr.fill(9);
    ASSERT_EQ(readPro(Ramp(4)), FitsOutcome::Done);
    EXPECT_EQ(s.spr(1), 9);
}

}  // namespace
}  // namespace tessan::test
