// Fixed-width number fields: every published example, rounding of halves, and the cases where
// the plain layout cannot fit (the field must keep its width and never show a wrong number).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/NumText.h"

namespace tessan {
namespace {

struct FieldCase {
    double x;
    int width;
    int ndec;
    const char* want;
};

void expectFields(const FieldCase* begin, const FieldCase* end) {
    for (const FieldCase* c = begin; c != end; ++c)
        EXPECT_EQ(Num_to_str(c->x, c->width, c->ndec), c->want)
            << "Num_to_str(" << c->x << ", " << c->width << ", " << c->ndec << ")";
}

TEST(NumToStr, PublishedExamples) {
    const FieldCase cases[] = {
        {4500, 6, 0, " 4500."},        {4550.5, 6, 0, " 4551."},
        {0.25, 4, 2, "0.25"},          {0.5, 4, 2, "0.50"},
        {0.05, 4, 2, "0.05"},          {0.001, 4, 2, "0.00"},
        {0, 6, 0, "    0."},          {0, 4, 2, "0.00"},
        {-0.5, 8, 2, "   -0.50"},      {-12.5, 8, 1, "   -12.5"},
        {-2.34, 5, 1, " -2.3"},        {2.999, 6, 2, "  3.00"},
        {0.5, 6, 0, "    1."},        {6562.817, 8, 2, " 6562.82"},
        {1234.5678, 8, 2, " 1234.57"}, {12345678, 8, 2, "0.12e+08"},
        {123456, 6, 0, "0.e+06"},      {987654, 6, 0, "1.e+06"},
        {250000, 4, 2, "0.3e+06"},
    };
    expectFields(std::begin(cases), std::end(cases));
}

TEST(NumToStr, CallerFieldsThatFit) {
    const FieldCase cases[] = {
        {1200, 6, 0, " 1200."},        {5184.2221, 8, 2, " 5184.22"},
        {35.4, 8, 0, "     35."},      {0.9, 5, 1, "  0.9"},
        {-123.46, 8, 1, "  -123.5"},   {2.5, 8, 1, "     2.5"},
        {3.25, 10, 3, "     3.250"},   {1e-5, 10, 3, "     0.000"},
        {-1e-5, 10, 3, "     0.000"},  {0.9999, 4, 2, "1.00"},
        {-0.9999, 5, 2, "-1.00"},      {-0.006, 5, 2, "-0.01"},
        {-0.004, 5, 2, " 0.00"},       {1234, 5, 0, "1234."},
    };
    expectFields(std::begin(cases), std::end(cases));
}

TEST(NumToStr, HalvesRoundUpTowardPlusInfinity) {
    const FieldCase cases[] = {
        {0.125, 6, 2, "  0.13"},   {-0.125, 6, 2, " -0.12"},
        {2.5, 4, 0, "  3."},       {-2.5, 4, 0, " -2."},
        {3.5, 4, 0, "  4."},       {-3.5, 4, 0, " -3."},
        {0.0625, 7, 3, "  0.063"}, {-0.0625, 7, 3, " -0.062"},
        {1.5, 4, 0, "  2."},       {-0.5, 4, 0, "  0."},
    };
    expectFields(std::begin(cases), std::end(cases));
}

TEST(NumToStr, NeverCutsDigitsOrSign) {
    const FieldCase cases[] = {
        // Longer than the field by 1..ndec characters: exponent form in the same width.
        {12.5, 4, 2, "0.1e+02"},        {-0.35, 4, 2, "-0.4e+00"},
        {123456.7, 8, 2, "0.12e+06"},   {-12345.5, 8, 2, "-0.1e+05"},
        // Only the blank that stands for a plus sign is dropped.
        {12.34, 5, 2, "12.34"},         {12345.67, 8, 2, "12345.67"},
        // Rounding made the value whole and restoring the decimals outgrows the field.
        {99.999, 5, 2, "1.0e+02"},      {9.96, 3, 1, "1.0e+01"},
        {999.96, 6, 1, "1000.0"},
        // Negative values in exponent form keep their sign.
        {-12345678, 8, 2, "-0.1e+08"},  {-123456, 6, 0, "-0.1e+06"},
        {-250000, 4, 2, "-0.3e+06"},
    };
    expectFields(std::begin(cases), std::end(cases));
}

TEST(NumToStr, MagnitudesWithExponentDefaultForm) {
    const FieldCase cases[] = {
        {1.5e-7, 6, 2, "  0.00"},       {-1.5e-7, 6, 2, "  0.00"},
        {1.5e-7, 12, 8, "  0.00000015"}, {-2.5e-5, 10, 6, " -0.000025"},
        {6e-5, 6, 4, "0.0001"},         {1e20, 8, 2, "0.10e+21"},
        {-1e20, 8, 2, "-0.1e+21"},      {1e15, 18, 1, "1000000000000000.0"},
        {1e150, 8, 2, "0.1e+151"},      {-1e150, 8, 2, "-0.e+151"},
        {1e-150, 8, 2, "    0.00"},     {1.5e300, 10, 2, "0.150e+301"},
        {std::numeric_limits<double>::max(), 10, 2, "0.180e+309"},
    };
    expectFields(std::begin(cases), std::end(cases));
}

TEST(NumToStr, NonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const FieldCase cases[] = {
        {std::nan(""), 6, 2, "   NaN"}, {inf, 4, 0, " Inf"},
        {-inf, 8, 1, "    -Inf"},       {-inf, 3, 1, "***"},
    };
    expectFields(std::begin(cases), std::end(cases));
}

TEST(NumToExp, ExamplesAndChangedArguments) {
    struct Case {
        double x;
        int width, ndec;
        const char* want;
        int widthAfter, ndecAfter;
    } cases[] = {
        {0, 10, 3, "  .000e+00", 10, 3},
        {12345, 10, 4, "0.1235e+05", 10, 4},
        {0.0001234, 10, 4, "0.1234e-03", 10, 4},
        {123456, 6, 0, "0.e+06", 6, 0},
        {987654, 6, 0, "1.e+06", 6, 0},
        {250000, 4, -2, "0.3e+06", 7, 1},
        {12345, 12, 9, "0.123450e+05", 12, 6},
        {-12345, 10, 4, "-0.123e+05", 10, 3},
        {-5, 6, 0, "-0.5e+01", 8, 1},
        {1000, 8, 2, "0.10e+04", 8, 2},
        {1e-300, 10, 3, "  .000e+00", 10, 3},
        {1.5e-5, 9, 3, "0.150e-04", 9, 3},
        {-1.5e-5, 9, 3, "-0.15e-04", 9, 2},
        {1e150, 9, 3, "0.10e+151", 9, 2},
        {1e-17, 8, 2, " .00e+00", 8, 2},
    };
    for (const Case& c : cases) {
        int w = c.width, d = c.ndec;
        EXPECT_EQ(Num_to_exp(c.x, w, d), c.want) << "x " << c.x << " width " << c.width;
        EXPECT_EQ(w, c.widthAfter) << "x " << c.x;
        EXPECT_EQ(d, c.ndecAfter) << "x " << c.x;
    }
}

TEST(NumToStr, ResultHasFieldWidthOrWidensToExponentForm) {
    const double values[] = {0, 1, -1, 0.5, -0.5, 9.995, -9.995, 99.999, 123.456, -123.456,
                             1e5, -1e5, 6.02e23, -6.02e23, 1.6e-19, 32767, -32768};
    for (double x : values)
        for (int width = 1; width <= 12; ++width)
            for (int ndec = 0; ndec <= 4; ++ndec) {
                const std::string s = Num_to_str(x, width, ndec);
                const bool expForm = s.find('e') != std::string::npos;
                if (!expForm) {
                    EXPECT_EQ(static_cast<int>(s.size()), width) << x << " " << width << " " << ndec;
                    // The field reads back as x rounded to ndec decimals.
                    EXPECT_NEAR(Val(s), x, 0.5 * std::pow(10.0, -ndec) + 1e-9 * std::fabs(x))
                        << s << " for " << x;
                } else {
                    EXPECT_GE(static_cast<int>(s.size()), width) << x << " " << width;
                    EXPECT_LE(static_cast<int>(s.size()), std::max(width, 9)) << x << " " << width;
                    // The exponent form keeps the sign and the order of magnitude.
                    const double back = Val(s);
                    EXPECT_EQ(s.find('-') != std::string::npos && s.find('-') < s.find('e'), x < 0)
                        << s << " for " << x;
                    if (back != 0) {
                        EXPECT_LE(std::fabs(std::log10(std::fabs(back) / std::fabs(x))), 1.0)
                            << s << " for " << x;
                    }
                }
            }
}

TEST(PadNum, Examples) {
    struct Case {
        int n, width;
        const char* pad;
        const char* want;
    } cases[] = {
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
