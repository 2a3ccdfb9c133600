// Texts of the plot labels: the narrow fields of the ticks and readouts.
#include <gtest/gtest.h>

#include <string>

#include "text/NumText.h"

namespace tessan {
namespace {

TEST(NumToStr, NarrowFields) {
    const struct { double x; int width, ndec; const char* want; } cases[] = {
        // Powers of ten take the exponent from the quotient of natural logarithms.
        {1e6, 6, 0, "1.e+06"}, {1000, 5, 1, "1.0e+03"}, {1e5, 6, 0, "0.e+06"}, {120000, 6, 0, "0.e+06"},
        // One character too long: the "0" before the point gives way, if a decimal remains.
        {0.12345, 6, 5, ".12345"}, {-0.05, 4, 2, "-.05"}, {-0.5, 4, 2, "-.50"}, {-0.006, 4, 2, "-.01"},
        {0.3, 1, 0, "0.3e+00"}, {-0.996, 4, 2, "-1.0e+00"}, {-0.12345, 6, 5, "-0.1e+00"},
        // A zero mantissa without decimals still shows a digit.
        {1e-20, 6, 6, "0.e+00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Num_to_str(c.x, c.width, c.ndec), c.want)
            << "Num_to_str(" << c.x << ", " << c.width << ", " << c.ndec << ")";
}

}  // namespace
}  // namespace tessan
