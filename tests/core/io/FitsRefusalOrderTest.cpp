// Spectra the reader refuses before any warning, with either star's items left as they were.
#include <limits>
#include <string>
#include <vector>

#include "core/io/FitsFixture.h"
#include "state/StarView.h"

namespace tessan::test {
namespace {

// A star's items as the reader stores them.
struct StarItems {
    StarItems(const AnalysisState& s, Star star) {
        const ConstStarView v(s, star);
        texts = {v.Object(), v.Hdr()(1), v.Key()(1), v.Val()(1)};
        numbers = {v.WaveL_B(), v.dLambda_dp(), v.WaveL_R(), v.Pixval()(1), v.Wave()(2), v.Inverted()(2)};
        counts = {v.nRecords(), v.nPix()};
    }
    bool operator==(const StarItems&) const = default;
    std::vector<std::string> texts;
    std::vector<double> numbers;
    std::vector<int> counts;
};

const std::string kWaveNotFinite =
    "The wavelength keywords of this fits file give wavelengths that are not finite numbers.";
const std::string kNotNormalisable =
    "This spectrum holds pixel values that cannot be normalised: divided by the largest value they "
    "are not finite numbers.";
std::string negativeStep(const std::string& key) {
    return "The wavelength step " + key +
           " of this fits file is negative: its pixels run from red to blue.  Only spectra whose "
           "wavelengths increase can be used.";
}

using FitsRefusalOrder = FitsFixture;

TEST_F(FitsRefusalOrder, RefusedBeforeAnyWarningStateUnchanged) {
    const std::vector<std::string> signed16 = {Card("SIMPLE", "T"), Card("BITPIX", "16"), Card("NAXIS1", "3")};
    const struct {
        const char* name;
        Star star;
        const char* stepKey;
        Bytes bytes;
        std::string message;
    } cases[] = {
        {"negative step", Star::Std, "CD1_1",
         MakeFits(SpectrumCards(-32, 3, {Card("CD1_1", "-0.5")}), EncodePixels(-32, {1, 2, 3})), negativeStep("CD1_1")},
        {"negative step of a chosen keyword, signed 16-bit, no blue end", Star::Pro, "CDELT1",
         MakeFits({signed16[0], signed16[1], signed16[2], Card("CDELT1", "-1E-3")}, EncodePixels(16, {1, 2, 3})),
         negativeStep("CDELT1")},
        {"normalised values overflow", Star::Pro, "CD1_1",
         MakeFits(SpectrumCards(-64, 3), EncodePixels(-64, {1e-300, -1e300, 0})), kNotNormalisable},
        {"infinite wavelengths, signed 16-bit", Star::Pro, "CD1_1",
         MakeFits({signed16[0], signed16[1], signed16[2], Card("CRVAL1", "5000"), Card("CD1_1", "1E999")},
                  EncodePixels(16, {1, 2, 3})),
         kWaveNotFinite},
        {"infinite wavelengths, signed 16-bit", Star::Std, "CD1_1",
         MakeFits({signed16[0], signed16[1], signed16[2], Card("CD1_1", "1E999")}, EncodePixels(16, {1, 2, 3})),
         kWaveNotFinite},
    };
    ASSERT_EQ(readStd(Ramp(5)), FitsOutcome::Done);
    ASSERT_EQ(readPro(Ramp(6, 16)), FitsOutcome::Done);
    for (const auto& c : cases) {
        s.dLambda_Key = c.stepKey;
        p.messages.clear();
        const StarItems stdBefore(s, Star::Std), proBefore(s, Star::Pro);
        const bool isStd = c.star == Star::Std;
        EXPECT_EQ(isStd ? readStd(c.bytes) : readPro(c.bytes), FitsOutcome::Stopped) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_TRUE(StarItems(s, Star::Std) == stdBefore && StarItems(s, Star::Pro) == proBefore) << c.name;
    }
}

}  // namespace
}  // namespace tessan::test
