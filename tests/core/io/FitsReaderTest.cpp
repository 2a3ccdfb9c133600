// Decoding, header layout, keywords and the order of the reader's messages.
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "core/io/FitsFixture.h"

namespace tessan::test {
namespace {

const std::string kSigned16 =
    "Your data are signed (16-bit) integer. They work as long as all values are < 32768.  "
    "Unsigned (16-bit) integer data type is recommended.";
const std::string kNeedLambda0 = "You need to set the keyword for Lambda 0.";
const std::string kNeedDLambda = "You need to set the keyword for dLambda/dP.";
const std::string kEightBit =
    "Sorry, this program does not support 8-bit integer data.  Convert to 16-bit unsigned.";
const std::string kNotFits = "This is not a fits file!  Please try again.";

using FitsDecoding = FitsFixture;

// Pixel 1 holds the raw bytes under test; pixel 2 a positive value so the spectrum normalises.
TEST_F(FitsDecoding, EveryRuleFromRawBytes) {
    struct Case {
        const char* name;
        int bitpix;
        std::vector<std::string> extra;
        Bytes raw;
        double expected;
        bool signedWarning;
    };
    const std::string bz32768 = Card("BZERO", "32768");
    const double minSub64 = std::ldexp(1.0, -1074);
    const Case cases[] = {
        {"16 BZERO 32768, 0000", 16, {bz32768}, {0x00, 0x00}, 32768, false},
        {"16 BZERO 32768, FFFF", 16, {bz32768}, {0xFF, 0xFF}, 32767, false},
        {"16 BZERO -32768 still adds", 16, {Card("BZERO", "-32768")}, {0x00, 0x00}, 32768, false},
        {"16 no BZERO, FFFF", 16, {}, {0xFF, 0xFF}, 65535, true},
        {"16 BZERO 0, 1234", 16, {Card("BZERO", "0")}, {0x12, 0x34}, 4660, true},
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
        {"-64 smallest subnormal", -64, {}, {0, 0, 0, 0, 0, 0, 0, 1}, minSub64, false},
        {"-64 largest subnormal", -64, {}, {0x00, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         std::ldexp(1.0, -1022) - minSub64, false},
        {"-64 negative subnormal", -64, {}, {0x80, 0x08, 0, 0, 0, 0, 0, 0}, -std::ldexp(1.0, -1023), false},
    };
    for (const auto& c : cases) {
        p.messages.clear();
        Bytes data = c.raw;
        const Bytes anchor = EncodePixels(c.bitpix, {1.0});
        data.insert(data.end(), anchor.begin(), anchor.end());
        ASSERT_EQ(readStd(MakeFits(SpectrumCards(c.bitpix, 2, c.extra), data)), FitsOutcome::Done) << c.name;
        EXPECT_EQ(s.Pixval(1), c.expected) << c.name;
        EXPECT_EQ(p.messages, c.signedWarning ? std::vector<std::string>{kSigned16} : std::vector<std::string>{})
            << c.name;
    }
}

// n cards before END put the data behind whole 2880-byte records; the largest layout is 199
// cards (END included) and 3000 doubles, data from byte 17280 and not padded.
TEST_F(FitsDecoding, DataFollowTheHeaderRecords) {
    for (const auto& [cardsWithEnd, bitpix, n] : {std::tuple{8, 16, 3}, {36, 16, 3}, {37, -32, 5}, {73, 32, 3},
                                                 {199, -64, 3000}}) {
        std::vector<std::string> extra;
        for (int k = 8; k < cardsWithEnd; ++k) extra.push_back(Card("FILL" + std::to_string(k), "1"));
        std::vector<double> v;
        for (int i = 1; i <= n; ++i) v.push_back(i + 6);
        p.messages.clear();
        ASSERT_EQ(readStd(MakeFits(SpectrumCards(bitpix, n, extra), EncodePixels(bitpix, v), n < 3000)),
                  FitsOutcome::Done) << cardsWithEnd << " cards";
        EXPECT_EQ(p.messages.size(), bitpix == 16 ? 1u : 0u) << cardsWithEnd << " cards";   // the 16-bit warning
        EXPECT_TRUE(s.nRecords_StdHdr == cardsWithEnd - 1 && s.nPixStd == n) << cardsWithEnd << " cards";
        for (int i = 1; i <= n; ++i) ASSERT_EQ(s.Pixval(i), i + 6) << cardsWithEnd << " cards, pixel " << i;
    }
}

using FitsKeywords = FitsFixture;

TEST_F(FitsKeywords, ObjectName) {
    const struct { std::vector<std::string> cards; std::string object; } cases[] = {
        {{Card("OBJECT", "'HD 1234 '   / the star")}, "HD 1234 "},
        {{Card("OBJECT", "'First'"), Card("OBJECT", "'Second'")}, "First"},
        {{Card("OBJECT", "X")}, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> cards = {Card("SIMPLE", "T"), Card("BITPIX", "16"), Card("NAXIS1", "2"),
                                          Card("CRVAL1", "5000"), Card("CD1_1", "1")};
        cards.insert(cards.end(), c.cards.begin(), c.cards.end());
        ASSERT_EQ(readStd(MakeFits(cards, {0, 1, 0, 2})), FitsOutcome::Done) << c.object;
        EXPECT_EQ(s.StdObject, c.object);
    }
}

TEST_F(FitsKeywords, ValuesAndWavelengths) {
    const auto cards = SpectrumCards(-32, 3, {Card("CRVAL1", "4000.5 / the last one counts"),
                                              Card("CD1_1", "2.5D-1"), Card("NAXIS3", "2.5"),
                                              Card("crval1", "9999"), Card("end", "")});
    ASSERT_EQ(readStd(MakeFits(cards, EncodePixels(-32, {500, 1000, 250}))), FitsOutcome::Done);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.nRecords_StdHdr, 11);   // "end" in lower case ends the header
    EXPECT_EQ(s.StdVal(8), "4000.5");
    EXPECT_TRUE(s.WaveL_B_Std == 4000.5 && s.dLambda_dp_Std == 0.25 && s.WaveL_R_Std == 4001.0 && s.NAXIS3 == 2);
    EXPECT_TRUE(s.ws(2) == 4000.75 && s.ss(1) == 0.5 && s.ss(3) == 0.75);
    EXPECT_EQ(s.delV, 18);   // floor(0.25 * 299792.4 / 4001)
}

// The chosen keyword is matched exactly; a lower-case twin does not count.
TEST_F(FitsKeywords, ChosenKeywordsAndLowerCase) {
    const Bytes b = MakeFits({Card("SIMPLE", "T"), Card("BITPIX", "-32"), Card("NAXIS1", "2"), Card("CRVAL1", "6000"),
                              Card("CDELT1", "0.1"), Card("cd1_1", "0.2")},
                             EncodePixels(-32, {1, 2}));
    EXPECT_EQ(readStd(b), FitsOutcome::Stopped);
    EXPECT_EQ(p.messages, std::vector<std::string>{kNeedDLambda});
    s.dLambda_Key = "CDELT1";
    EXPECT_EQ(readStd(b), FitsOutcome::Done);
    EXPECT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(s.dLambda_dp_Std, 0.1);
}

// The standard stops at a missing keyword (before any warning); the program star goes on with 0 for it.
TEST_F(FitsKeywords, OrderOfMessagesAndStopsPerStar) {
    const std::vector<std::string> noWave = {Card("SIMPLE", "T"), Card("BITPIX", "16"), Card("NAXIS1", "3")};
    const Bytes b16 = MakeFits(noWave, EncodePixels(16, {1, 2, 3}));
    std::vector<std::string> eight = noWave;
    eight[1] = Card("BITPIX", "8");
    const struct {
        const char* name;
        bool program;
        Bytes bytes;
        FitsOutcome outcome;
        std::vector<std::string> messages;
    } cases[] = {
        {"standard, 16-bit, no wavelengths", false, b16, FitsOutcome::Stopped, {kNeedLambda0}},
        {"program, 16-bit, no wavelengths", true, b16, FitsOutcome::Done, {kSigned16, kNeedLambda0, kNeedDLambda}},
        {"standard, 8-bit", false, MakeFits(eight, {1, 2, 3}), FitsOutcome::Stopped, {kEightBit}},
        {"program, 8-bit", true, MakeFits(eight, {1, 2, 3}), FitsOutcome::Stopped, {kEightBit}},
        {"empty file", true, {}, FitsOutcome::Stopped, {kNotFits}},
    };
    ASSERT_EQ(readPro(Ramp(4)), FitsOutcome::Done);
    for (const auto& c : cases) {
        p.messages.clear();
        EXPECT_EQ(c.program ? readPro(c.bytes) : readStd(c.bytes), c.outcome) << c.name;
        EXPECT_EQ(p.messages, c.messages) << c.name;
    }
    EXPECT_EQ(std::tuple(s.WaveL_B_Pro, s.dLambda_dp_Pro, s.Pixval_Pro(3)), std::tuple(0, 0, 3));
}

TEST_F(FitsKeywords, NothingReadWithoutDirectoryOrName) {
    s.StdFullPath = s.ProFullPath = put(Ramp(3), "x.fits");
    for (const auto& [dir, name] : {std::pair{s.DataPath, ""}, {"", "x.fits"}}) {
        s.DataPath = dir, s.StdFileName = s.ProFileName = name;
        EXPECT_EQ(std::pair(ReadStdFits(s, p), ReadProFits(s, p)), std::pair(FitsOutcome::NotRead, FitsOutcome::NotRead));
    }
    EXPECT_TRUE(p.messages.empty() && s.nPixStd == 0 && s.nPixPro == 0);
}

TEST(ProposeGrid, TextsFromTheStandard) {
    const struct { double blue, red, delV; std::string minWave, maxWave, delVText; } cases[] = {
        {5000, 5100, 5, "5010", "5089", "   5.0"},
        {4000.5, 4001, 18, "4008", "3992", "  18.0"},
        {-0.4, 1, 0, "0", "0", "   0.0"},   // never "-0"
    };
    for (const auto& c : cases) {
        AnalysisState s;
        s.WaveL_B_Std = c.blue, s.WaveL_R_Std = c.red, s.delV = c.delV;
        const GridProposal g = ProposeGrid(s);
        EXPECT_EQ(std::tuple(g.minWave, g.maxWave, g.delV), std::tuple(c.minWave, c.maxWave, c.delVText)) << c.blue;
    }
}

}  // namespace
}  // namespace tessan::test
