// Numbers beyond the range of a double: whether they read as infinity or as 0 depends on where
// their first non-zero digit lies, counting both the digits and the exponent.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "text/NumText.h"

namespace tessan {
namespace {

TEST(ReadLeadingNumberRange, DigitsAndExponentTogetherDecideOverflowOrUnderflow) {
    const std::string zeros(400, '0');
    struct Case {
        std::string text;
        double value;
        bool overflow;
    };
    const Case cases[] = {
        {"." + zeros + "1", 0.0, false},           // 1E-401 written out
        {"0." + zeros + "1e5", 0.0, false},        // 1E-396
        {"-." + zeros + "1", -0.0, false},
        {"1" + zeros + "e-50", HUGE_VAL, true},    // 1E+350
        {"-1" + zeros + "e-50", -HUGE_VAL, true},
        {"1" + zeros + "e-100", 1e300, false},     // within range
        {"1e400", HUGE_VAL, true},
        {"1e-400", 0.0, false},
        {"1e99999999999999999999", HUGE_VAL, true},
        {"1e-99999999999999999999", 0.0, false},
    };
    for (const auto& c : cases) {
        const LeadingNumber r = ReadLeadingNumber(c.text);
        EXPECT_TRUE(r.isNumber) << c.text.size() << " chars";
        EXPECT_EQ(r.value, c.value) << c.text.substr(0, 12) << "... (" << c.text.size() << " chars)";
        EXPECT_EQ(r.overflow, c.overflow) << c.text.substr(0, 12) << "... (" << c.text.size() << " chars)";
        EXPECT_EQ(r.length, c.text.size());
    }
}

// Num_to_exp is public and takes the width by reference; a negative width, which Num_to_str
// never passes, must not make a field of negative length for a value that is not finite.
TEST(NumToExp, NotFiniteValueInANegativeWidth) {
    for (double x : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
        int width = -1, ndec = 2;
        EXPECT_EQ(Num_to_exp(x, width, ndec), "") << x;
        width = 3;
        EXPECT_EQ(Num_to_exp(x, width, ndec), x > 0 ? "Inf" : (x < 0 ? "***" : "NaN")) << x;
    }
}

}  // namespace
}  // namespace tessan
