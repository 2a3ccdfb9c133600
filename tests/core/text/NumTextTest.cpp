// Default text form, record form, plain text and wavelength labels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/NumText.h"

namespace tessan {
namespace {

struct TextCase { double x; const char* want; };

TEST(DefaultText, FormsAndExponentBoundariesAfterRounding) {
    const double inf = std::numeric_limits<double>::infinity();
    const TextCase cases[] = {
        {0, " 0"}, {-0.0, " 0"}, {4500, " 4500"}, {0.25, " .25"}, {-0.5, "-.5"},
        {1.5e-7, " 1.5E-07"}, {-2.5e20, "-2.5E+20"}, {1e100, " 1E+100"}, {1.25e-300, " 1.25E-300"},
        {0.1 + 0.2, " .3"}, {1.0 / 3, " .333333333333333"},
        {123456789012345678.0, " 1.23456789012346E+17"},
        {1e-4, " .0001"}, {-1e-4, "-.0001"},
        {9.99999999999999e-5, " 9.99999999999999E-05"},
        {9.999999999999999e-5, " .0001"},         // rounds up to 1E-4: positional
        {999999999999999, " 999999999999999"},
        {999999999999999.5, " 1E+15"},            // rounds up to 1E+15: exponent form
        {1e15, " 1E+15"}, {-1e15, "-1E+15"}, {123456789012345.6, " 123456789012346"},
        {inf, " Inf"}, {-inf, "-Inf"}, {std::nan(""), " NaN"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(DefaultText(c.x), c.want) << "x " << c.x;
}

TEST(DefaultTextSingle, SevenDigits) {
    const struct {
        float x;
        const char* want;
    } cases[] = {{0.1f, " .1"}, {1234.5678f, " 1234.568"}, {16777216.0f, " 1.677722E+07"},
                 {1e-5f, " 1E-05"}, {9999999.0f, " 9999999"}};
    for (const auto& c : cases) EXPECT_EQ(DefaultTextSingle(c.x), c.want) << "x " << c.x;
}

TEST(RecordText, NoLeadingBlank) {
    const TextCase cases[] = {{0, "0"}, {0.5, ".5"}, {-0.25, "-.25"}, {1.5e-7, "1.5E-07"},
                              {-6.02e23, "-6.02E+23"}, {5184.2221, "5184.2221"}};
    for (const TextCase& c : cases) {
        EXPECT_EQ(RecordText(c.x), c.want) << "x " << c.x;
        char buf[48];
        EXPECT_EQ(std::string(buf, RecordTextTo(buf, c.x)), c.want) << "x " << c.x;
    }
}

TEST(PlainText, ShortestRoundTrip) {
    const TextCase cases[] = {{0, "0"}, {-0.5, "-0.5"}, {1.0 / 3, "0.333333333333333"}, {1e-5, "1E-05"},
                              {1e20, "1E+20"}, {0.1 + 0.2, "0.3"}, {5.5e-4, "0.00055"}};
    for (const TextCase& c : cases) EXPECT_EQ(PlainText(c.x), c.want) << "x " << c.x;
}

TEST(WaveLabel, NineCharacters) {
    const TextCase cases[] = {{5184.2221467, " 5184.222"}, {4863.46, " 4863.46"}, {12345.678901, " 12345.67"},
                              {-5184.2229, "-5184.222"}, {6563, " 6563"}};
    for (const TextCase& c : cases) EXPECT_EQ(WaveLabel(c.x), c.want) << "x " << c.x;
}

}  // namespace
}  // namespace tessan
