// Fixed-width number fields: examples, rounding of halves, and fields too narrow for the value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/NumText.h"

namespace tessan {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumToStr, Fields) {
    const struct { double x; int width, ndec; const char* want; } cases[] = {
        // Examples.
        {4500, 6, 0, " 4500."}, {4550.5, 6, 0, " 4551."}, {0.25, 4, 2, "0.25"}, {0.5, 4, 2, "0.50"},
        {0.05, 4, 2, "0.05"}, {0, 4, 2, "0.00"}, {6562.817, 8, 2, " 6562.82"}, {1.5, 4, 0, "  2."},
        {0.001, 4, 2, "0.00"}, {0, 6, 0, "    0."}, {-0.5, 8, 2, "   -0.50"}, {-12.5, 8, 1, "   -12.5"},
        {-2.34, 5, 1, " -2.3"}, {2.999, 6, 2, "  3.00"}, {0.5, 6, 0, "    1."}, {-0.004, 5, 2, " 0.00"},
        {1234.5678, 8, 2, " 1234.57"}, {12345678, 8, 2, "0.12e+08"}, {123456, 6, 0, "0.e+06"},
        {987654, 6, 0, "1.e+06"}, {250000, 4, 2, "0.3e+06"},
        // Halves round up toward plus infinity.
        {0.125, 6, 2, "  0.13"}, {-0.125, 6, 2, " -0.12"}, {2.5, 4, 0, "  3."}, {-2.5, 4, 0, " -2."},
        {3.5, 4, 0, "  4."}, {-3.5, 4, 0, " -3."}, {0.0625, 7, 3, "  0.063"}, {-0.0625, 7, 3, " -0.062"},
        {-0.5, 4, 0, "  0."},
        // Longer than the field by 1..ndec characters: exponent form in the same width, unless
        // dropping the "0" before the point of a fraction is enough.
        {12.5, 4, 2, "0.1e+02"}, {-0.35, 4, 2, "-.35"}, {123456.7, 8, 2, "0.12e+06"},
        {-12345.5, 8, 2, "-0.1e+05"},
        // Only the blank that stands for a plus sign is dropped.
        {12.34, 5, 2, "12.34"}, {12345.67, 8, 2, "12345.67"},
        // Rounding made the value whole and restoring the decimals outgrows the field.
        {99.999, 5, 2, "1.0e+02"}, {9.96, 3, 1, "1.0e+01"}, {999.96, 6, 1, "1000.0"},
        // Negative values in exponent form keep their sign.
        {-12345678, 8, 2, "-0.1e+08"}, {-123456, 6, 0, "-0.1e+06"}, {-250000, 4, 2, "-0.3e+06"},
        // Extreme and non-finite values.
        {1.5e-7, 6, 2, "  0.00"}, {-1.5e-7, 6, 2, "  0.00"}, {1.5e-7, 12, 8, "  0.00000015"},
        {-2.5e-5, 10, 6, " -0.000025"},
        {6e-5, 6, 4, "0.0001"}, {1e20, 8, 2, "0.10e+21"}, {-1e20, 8, 2, "-0.1e+21"},
        {1e15, 18, 1, "1000000000000000.0"}, {1e150, 8, 2, "1.0e+150"}, {-1e150, 8, 2, "-1.e+150"},
        {1e-150, 8, 2, "    0.00"}, {1.5e300, 10, 2, "0.150e+301"},
        {std::numeric_limits<double>::max(), 10, 2, "0.180e+309"}, {std::nan(""), 6, 2, "   NaN"},
        {kInf, 4, 0, " Inf"}, {-kInf, 8, 1, "    -Inf"}, {-kInf, 3, 1, "***"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Num_to_str(c.x, c.width, c.ndec), c.want)
            << "Num_to_str(" << c.x << ", " << c.width << ", " << c.ndec << ")";
}

TEST(NumToExp, ExamplesAndChangedArguments) {
    struct Case { double x; int width, ndec; const char* want; int widthAfter, ndecAfter; } cases[] = {
        {0, 10, 3, "  .000e+00", 10, 3},        {12345, 10, 4, "0.1235e+05", 10, 4},
        {0.0001234, 10, 4, "0.1234e-03", 10, 4}, {987654, 6, 0, "1.e+06", 6, 0},
        {250000, 4, -2, "0.3e+06", 7, 1},        {12345, 12, 9, "0.123450e+05", 12, 6},
        {-12345, 10, 4, "-0.123e+05", 10, 3},    {-5, 6, 0, "-0.5e+01", 8, 1},
        {123456, 6, 0, "0.e+06", 6, 0},         {1000, 8, 2, "1.00e+03", 8, 2},
        {1e-300, 10, 3, "  .000e+00", 10, 3},    {1.5e-5, 9, 3, "0.150e-04", 9, 3},
        {-1.5e-5, 9, 3, "-0.15e-04", 9, 2},
        {1e150, 9, 3, "1.00e+150", 9, 2},        {1e-17, 8, 2, " .00e+00", 8, 2},
    };
    for (const Case& c : cases) {
        int w = c.width, d = c.ndec;
        EXPECT_EQ(Num_to_exp(c.x, w, d), c.want) << "x " << c.x << " width " << c.width;
        EXPECT_EQ(w, c.widthAfter) << "x " << c.x;
        EXPECT_EQ(d, c.ndecAfter) << "x " << c.x;
    }
    // A negative width, which Num_to_str never passes, must not make a field of negative length.
    for (double x : {kInf, -kInf, std::nan("")}) {
        int width = -1, ndec = 2;
        EXPECT_EQ(Num_to_exp(x, width, ndec), "") << x;
        width = 3;
        EXPECT_EQ(Num_to_exp(x, width, ndec), x > 0 ? "Inf" : (x < 0 ? "***" : "NaN")) << x;
    }
}

TEST(PadNum, Examples) {
    struct Case { int n, width; const char* pad; const char* want; } cases[] = {
        {5, 2, "0", "05"},     {123, 2, "0", "123"}, {7, 4, " ", "   7"},
        {0, 2, "0", "00"},     {-5, 3, "0", "-05"},  {-5, 4, " ", "  -5"},
        {12, 0, "0", "12"},    {3, 3, "", "3"},      {3, 4, "ab", "abab3"},
        {-32768, 3, "0", "-32768"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pad_num(c.n, c.width, c.pad), c.want) << c.n << " " << c.width << " '" << c.pad << "'";
}

}  // namespace
}  // namespace tessan
