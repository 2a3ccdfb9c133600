// Decoding, header layout, keywords and the order of the reader's messages.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
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
        {"16 BZERO 32768, 8000", 16, {bz32768}, {0x80, 0x00}, 0, false},
        {"16 BZERO -32768 still adds", 16, {Card("BZERO", "-32768")}, {0x00, 0x00}, 32768, false},
        {"16 no BZERO, FFFF", 16, {}, {0xFF, 0xFF}, 65535, true},
        {"16 BZERO 0, 1234", 16, {Card("BZERO", "0")}, {0x12, 0x34}, 4660, true},
        {"16 tiny BZERO: unsigned, no warning", 16, {Card("BZERO", "0.000001")}, {0xFF, 0xFF}, 65535, false},
        {"32 FFFFFFFF unsigned", 32, {}, {0xFF, 0xFF, 0xFF, 0xFF}, 4294967295.0, false},
        {"32 00000100", 32, {}, {0x00, 0x00, 0x01, 0x00}, 256, false},
        {"-32 one", -32, {}, {0x3F, 0x80, 0x00, 0x00}, 1.0, false},
        {"-32 minus two", -32, {}, {0xC0, 0x00, 0x00, 0x00}, -2.0, false},
        {"-32 smallest subnormal", -32, {}, {0x00, 0x00, 0x00, 0x01}, std::ldexp(1.0, -149), false},
        {"-32 smallest normal", -32, {}, {0x00, 0x80, 0x00, 0x00}, std::ldexp(1.0, -126), false},
        {"-32 largest", -32, {}, {0x7F, 0x7F, 0xFF, 0xFF}, std::numeric_limits<float>::max(), false},
        {"-32 0.1f", -32, {}, {0x3D, 0xCC, 0xCC, 0xCD}, static_cast<double>(0.1f), false},
        {"-64 one", -64, {}, {0x3F, 0xF0, 0, 0, 0, 0, 0, 0}, 1.0, false},
        {"-64 0.1", -64, {}, {0x3F, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A}, 0.1, false},
        {"-64 smallest subnormal", -64, {}, {0, 0, 0, 0, 0, 0, 0, 1}, minSub64, false},
        {"-64 largest subnormal", -64, {}, {0x00, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         std::ldexp(1.0, -1022) - minSub64, false},
        {"-64 negative subnormal", -64, {}, {0x80, 0x08, 0, 0, 0, 0, 0, 0}, -std::ldexp(1.0, -1023), false},
        {"-64 largest", -64, {}, {0x7F, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         std::numeric_limits<double>::max(), false},
    };
    for (const auto& c : cases) {
        p.messages.clear();
        Bytes data = c.raw;
        const Bytes anchor = EncodePixels(c.bitpix, {1.0});
        data.insert(data.end(), anchor.begin(), anchor.end());
        ASSERT_EQ(readStd(MakeFits(SpectrumCards(c.bitpix, 2, c.extra), data)), FitsOutcome::Done) << c.name;
        EXPECT_EQ(s.Pixval(1), c.expected) << c.name;
        const std::vector<std::string> expected =
            c.signedWarning ? std::vector<std::string>{kSigned16} : std::vector<std::string>{};
        EXPECT_EQ(p.messages, expected) << c.name;
    }
}

TEST_F(FitsDecoding, BscaleIsNeverApplied) {
    const auto cards = SpectrumCards(-32, 2, {Card("BSCALE", "2.5"), Card("BZERO", "100")});
    ASSERT_EQ(readStd(MakeFits(cards, EncodePixels(-32, {3, 4}))), FitsOutcome::Done);
    EXPECT_EQ(s.Pixval(1), 3);
    EXPECT_EQ(s.Pixval(2), 4);
    EXPECT_EQ(s.BSCALE, 2.5);
    EXPECT_EQ(s.BZERO, 100);
}

// Header layouts: n cards before END put the data behind whole 2880-byte records.
TEST_F(FitsDecoding, DataFollowTheHeaderRecords) {
    struct Case {
        int cardsWithEnd;
        std::size_t offset;
    };
    for (const Case c : {Case{8, 2880}, Case{36, 2880}, Case{37, 5760}, Case{72, 5760}, Case{73, 8640}}) {
        std::vector<std::string> extra;
        for (int k = 8; k < c.cardsWithEnd; ++k) extra.push_back(Card("FILL" + std::to_string(k), "1"));
        const Bytes bytes = MakeFits(SpectrumCards(16, 3, extra), EncodePixels(16, {7, 8, 9}));
        ASSERT_EQ(bytes[c.offset + 1], 7) << c.cardsWithEnd << " cards";
        p.messages.clear();
        ASSERT_EQ(readStd(bytes), FitsOutcome::Done) << c.cardsWithEnd << " cards";
        EXPECT_EQ(s.nRecords_StdHdr, c.cardsWithEnd - 1);
        EXPECT_EQ(s.Pixval(1), 7) << c.cardsWithEnd << " cards";
        EXPECT_EQ(s.Pixval(3), 9) << c.cardsWithEnd << " cards";
    }
}

// The largest layout: 199 cards (END included) and 3000 doubles, data from byte 17280.
TEST_F(FitsDecoding, LargestHeaderWithThreeThousandDoubles) {
    std::vector<std::string> extra;
    for (int k = 8; k < 199; ++k) extra.push_back(Card("FILL" + std::to_string(k), "1"));
    std::vector<double> v(3000);
    for (int i = 0; i < 3000; ++i) v[static_cast<std::size_t>(i)] = 1000.0 + std::sin(i * 0.01) + i * 1e-9;
    ASSERT_EQ(readStd(MakeFits(SpectrumCards(-64, 3000, extra), EncodePixels(-64, v), false)),
              FitsOutcome::Done);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.nRecords_StdHdr, 198);
    EXPECT_EQ(s.nPixStd, 3000);
    for (int i = 1; i <= 3000; ++i) ASSERT_EQ(s.Pixval(i), v[static_cast<std::size_t>(i - 1)]) << "pixel " << i;
    EXPECT_DOUBLE_EQ(s.ws(3000), 5000.0 + 2999 * 0.5);
}

// The header is the file's first line: a line-feed byte in the data ends it harmlessly, and a
// line that ends inside the END card counts it when rounding the length gives that card.
TEST_F(FitsDecoding, FirstLineEndsAtCrOrLf) {
    const Bytes lfInData = MakeFits(SpectrumCards(16, 2), {0x0A, 0x0D, 0x00, 0x05});
    ASSERT_EQ(readStd(lfInData), FitsOutcome::Done);
    EXPECT_EQ(s.Pixval(1), 0x0A0D);

    // Half a card rounds to the even count: 7.5 cards to 8, 6.5 cards to 6.
    struct Case {
        std::size_t before;   // cards before END
        std::size_t cut;      // bytes of the END card before the line feed
        bool found;
    };
    for (const Case c : {Case{7, 40, true}, Case{7, 39, false}, Case{7, 79, true}, Case{6, 40, false},
                         Case{6, 41, true}}) {
        auto cards = SpectrumCards(-32, 2);
        cards.resize(c.before);
        Bytes b = MakeFits(cards, EncodePixels(-32, {1, 2}));
        b[c.before * 80 + c.cut] = '\n';
        readStd(b);
        EXPECT_EQ(s.nRecords_LastHdr, c.found ? static_cast<int>(c.before) : 0)
            << c.before << " cards, cut " << c.cut;
    }
}

using FitsKeywords = FitsFixture;

TEST_F(FitsKeywords, ObjectName) {
    struct Case {
        std::vector<std::string> cards;
        std::string object;
    };
    const Case cases[] = {
        {{Card("OBJECT", "'AB/CD'")}, "A"},
        {{Card("OBJECT", "'HD 1234 '   / the star")}, "HD 1234 "},
        {{Card("OBJECT", "'First'"), Card("OBJECT", "'Second'")}, "First"},
        {{Card("OBJECT", "X")}, ""},
        {{}, ""},
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
    EXPECT_EQ(s.StdKey(11), "crval1");
    EXPECT_EQ(s.StdVal(8), "4000.5");
    EXPECT_EQ(s.WaveL_B_Std, 4000.5);
    EXPECT_EQ(s.dLambda_dp_Std, 0.25);
    EXPECT_EQ(s.WaveL_R_Std, 4001.0);
    EXPECT_EQ(s.NAXIS, 1);
    EXPECT_EQ(s.NAXIS1, 3);
    EXPECT_EQ(s.NAXIS3, 2);
    EXPECT_EQ(s.ws(2), 4000.75);
    EXPECT_EQ(s.ss(1), 0.5);
    EXPECT_EQ(s.ss(2), 0.0);
    EXPECT_EQ(s.ss(3), 0.75);
    EXPECT_EQ(s.delV, std::floor(0.25 * 299792.4 / 4001.0));   // 18
    EXPECT_EQ(s.delV, 18);
}

TEST_F(FitsKeywords, ChosenKeywordsAndLowerCase) {
    std::vector<std::string> cards = {Card("SIMPLE", "T"), Card("BITPIX", "-32"), Card("NAXIS1", "2"),
                                      Card("CRVAL1", "6000"), Card("CDELT1", "0.1"), Card("cd1_1", "0.2")};
    const Bytes b = MakeFits(cards, EncodePixels(-32, {1, 2}));
    EXPECT_EQ(readStd(b), FitsOutcome::Stopped);
    EXPECT_EQ(p.messages, std::vector<std::string>{kNeedDLambda});
    s.dLambda_Key = "CDELT1";
    p.messages.clear();
    EXPECT_EQ(readStd(b), FitsOutcome::Done);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.dLambda_dp_Std, 0.1);
}

// A keyword the file does not carry reads as 0 for that read, whatever an earlier read found.
TEST_F(FitsKeywords, MissingKeywordReadsAsZero) {
    ASSERT_EQ(readStd(Ramp(4)), FitsOutcome::Done);
    const Bytes noStep = MakeFits({Card("SIMPLE", "T"), Card("BITPIX", "-32"), Card("NAXIS1", "2"),
                                   Card("CRVAL1", "6000")}, EncodePixels(-32, {1, 2}));
    EXPECT_EQ(readStd(noStep), FitsOutcome::Stopped);
    EXPECT_EQ(p.messages, std::vector<std::string>{kNeedDLambda});
    EXPECT_EQ(s.dLambda_dp_Std, 0.5);   // the stop leaves the earlier standard
    p.messages.clear();
    ASSERT_EQ(readPro(Ramp(4)), FitsOutcome::Done);
    EXPECT_EQ(readPro(noStep), FitsOutcome::Done);
    EXPECT_EQ(p.messages, std::vector<std::string>{kNeedDLambda});
    EXPECT_EQ(s.dLambda_dp_Pro, 0);
    EXPECT_EQ(s.WaveL_B_Pro, 6000);
}

using FitsMessages = FitsFixture;

TEST_F(FitsMessages, OrderAndStopsPerStar) {
    const std::vector<std::string> noWave = {Card("SIMPLE", "T"), Card("BITPIX", "16"), Card("NAXIS1", "3")};
    const Bytes b16 = MakeFits(noWave, EncodePixels(16, {1, 2, 3}));
    struct Case {
        const char* name;
        bool program;
        Bytes bytes;
        FitsOutcome outcome;
        std::vector<std::string> messages;
    };
    std::vector<std::string> eight = noWave;
    eight[1] = Card("BITPIX", "8");
    const Case cases[] = {
        {"standard, 16-bit, no wavelengths", false, b16, FitsOutcome::Stopped, {kSigned16, kNeedLambda0}},
        {"program, 16-bit, no wavelengths", true, b16, FitsOutcome::Done, {kSigned16, kNeedLambda0, kNeedDLambda}},
        {"standard, 8-bit", false, MakeFits(eight, {1, 2, 3}), FitsOutcome::Stopped, {kEightBit}},
        {"program, 8-bit", true, MakeFits(eight, {1, 2, 3}), FitsOutcome::Stopped, {kEightBit}},
        {"not fits", false, MakeFits({Card("SIMPLEX", "T")}, {}), FitsOutcome::Stopped,
         {"This is not a fits file!  Please try again."}},
        {"empty file", true, {}, FitsOutcome::Stopped, {"This is not a fits file!  Please try again."}},
    };
    for (const auto& c : cases) {
        p.messages.clear();
        EXPECT_EQ(c.program ? readPro(c.bytes) : readStd(c.bytes), c.outcome) << c.name;
        EXPECT_EQ(p.messages, c.messages) << c.name;
    }
    EXPECT_EQ(s.WaveL_B_Pro, 0);
    EXPECT_EQ(s.Pixval_Pro(3), 3);
}

TEST_F(FitsMessages, NothingReadWithoutDirectoryOrName) {
    const Bytes b = Ramp(3);
    put(b, "x.fits");
    s.StdFullPath = s.ProFullPath = (p.WorkDir() / "x.fits").string();
    s.StdFileName = s.ProFileName = "";
    EXPECT_EQ(ReadStdFits(s, p), FitsOutcome::NotRead);
    EXPECT_EQ(ReadProFits(s, p), FitsOutcome::NotRead);
    s.StdFileName = s.ProFileName = "x.fits";
    s.DataPath = "";
    EXPECT_EQ(ReadStdFits(s, p), FitsOutcome::NotRead);
    EXPECT_EQ(ReadProFits(s, p), FitsOutcome::NotRead);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.nPixStd, 0);
}

}  // namespace
}  // namespace tessan::test
