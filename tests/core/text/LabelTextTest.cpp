// Texts of the plot labels: the narrow fields of the ticks and readouts, and the captions of n
// characters of the default text form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
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

TEST(LabelText, FirstCharactersOrTheValueRounded) {
    const struct { double x; int n; bool single; const char* want; } cases[] = {
        // The whole text, or its first n characters when they keep the digits before the point.
        {0.25, 5, false, " .25"}, {4863.46, 5, false, " 4863"}, {-5184.2229, 7, false, "-5184.2"},
        {1.5e7, 9, true, " 1.5E+07"}, {0.3f, 6, false, " .3000"}, {0.3f, 6, true, " .3"},
        // Otherwise the most significant digits that fit.
        {1.5e7, 6, true, " 2E+07"}, {1.5e7, 7, true, "1.5E+07"}, {1.5e7, 6, false, " 2E+07"},
        {2.7e-17, 6, false, " 3E-17"}, {123456.7, 6, false, "123457"}, {1234567, 6, true, " 1E+06"},
        {0.0001234, 5, false, ".0001"}, {99999.99, 5, true, "1E+05"}, {1e100, 6, false, "1E+100"},
        {16777216, 9, true, "1.678E+07"},
        // Nothing of n characters shows it: the shortest text that does.
        {-1.5e7, 5, true, "-2E+07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.single ? LabelTextSingle(static_cast<float>(c.x), c.n) : LabelText(c.x, c.n), c.want)
            << c.x << " in " << c.n << (c.single ? " single" : "");
}

// Place value of the last digit of a number text ("0.12e+08": 1E+06, " 4551.": 1).
double lastPlace(const std::string& t) {
    const std::size_t e = t.find_first_of("eE");
    const std::size_t end = e == std::string::npos ? t.size() : e;
    const std::size_t point = t.find('.');
    const int decimals = point < end ? static_cast<int>(end - point - 1) : 0;
    return std::pow(10.0, (e == std::string::npos ? 0 : std::atoi(t.c_str() + e + 1)) - decimals);
}

// Over values of every magnitude: each field of the windows is filled exactly (or widened for
// an exponent form that holds no mantissa decimal) and reads back as the value to its last
// digit; each caption reads whole, fits from 7 characters on and shows the value.
TEST(LabelText, EveryFieldAndCaptionShowsTheValue) {
    const int fields[][2] = {{6, 0}, {8, 2}, {8, 0}, {5, 1}, {4, 2}, {8, 1}, {6, 1}, {10, 3}};
    for (int p = -20; p <= 20; ++p)
        for (double m : {1.0, -1.0, 1.25, -2.5, 4.9999, 5.5, -9.5, 9.99996})
            for (int single = 0; single < 2; ++single) {
                const double x = single ? static_cast<float>(m * std::pow(10.0, p)) : m * std::pow(10.0, p);
                for (const auto& f : fields) {
                    const std::string t = Num_to_str(x, f[0], f[1]);
                    const LeadingNumber r = ReadLeadingNumber(t);
                    const bool widened = t.find('e') != std::string::npos && t.find('e') == t.find('.') + 2;
                    EXPECT_TRUE(r.length == t.size() && (t.size() == std::size_t(f[0]) || widened) &&
                                std::fabs(r.value - x) <= 0.5 * lastPlace(t) * (1 + 1e-9))
                        << x << " (" << f[0] << ", " << f[1] << ") \"" << t << '"';
                }
                for (int n : {5, 6, 7, 9}) {
                    const std::string t = single ? LabelTextSingle(float(x), n) : LabelText(x, n);
                    const LeadingNumber r = ReadLeadingNumber(t);
                    EXPECT_TRUE(r.length == t.size() && (t.size() <= std::size_t(n) || n < 7) &&
                                std::fabs(r.value - x) < lastPlace(t) + 1e-6 * std::fabs(x))
                        << x << " in " << n << " \"" << t << '"';
                }
            }
}

}  // namespace
}  // namespace tessan
