// Wavelength keywords whose values are beyond the range of a double ("1E999" reads as
// infinity) give no usable wavelengths: both readers refuse the file and keep the state.
#include <string>
#include <vector>

#include "core/io/FitsFixture.h"

namespace tessan::test {
namespace {

using FitsWavelengths = FitsFixture;

TEST_F(FitsWavelengths, NotFiniteWavelengthsAreRefused) {
    const std::string message =
        "The wavelength keywords of this fits file give wavelengths that are not finite numbers.";
    struct Case {
        const char* name;
        const char* crval1;
        const char* cd1_1;
    };
    const Case cases[] = {
        {"start 1E999", "1E999", "0.5"},
        {"step 1E999", "5000", "1E999"},
        {"step -1E999", "5000", "-1E999"},
        {"last pixel beyond the range", "5000", "1E308"},
    };
    for (bool standard : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(standard ? "standard, " : "program, ") + c.name);
            ASSERT_EQ(readStd(Ramp(4)), FitsOutcome::Done);
            ASSERT_EQ(readPro(Ramp(4)), FitsOutcome::Done);
            p.messages.clear();
            const std::vector<std::string> cards = {
                Card("SIMPLE", "T"), Card("BITPIX", "-32"), Card("NAXIS1", "3"),
                Card("CRVAL1", c.crval1), Card("CD1_1", c.cd1_1)};
            const Bytes b = MakeFits(cards, EncodePixels(-32, {1, 2, 3}));
            EXPECT_EQ(standard ? readStd(b, "bad.fits") : readPro(b, "bad.fits"), FitsOutcome::Stopped);
            EXPECT_EQ(p.messages, std::vector<std::string>{message});
            EXPECT_EQ(s.nPixStd, 4);
            EXPECT_EQ(s.nPixPro, 4);
            EXPECT_EQ(s.ws(4), 5001.5);
            EXPECT_EQ(s.wp(4), 5001.5);
            EXPECT_EQ(s.NAXIS1, 4);
        }
    }
}

}  // namespace
}  // namespace tessan::test
