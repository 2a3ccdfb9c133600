// Number texts: the default, record, plain and fixed-width forms, the leading-number rule and
// the 16-bit conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
struct TextCase { double x; const char* want; };

// The record form is the default form without its leading blank, written by its own code.
TEST(DefaultText, FormsAndExponentBoundariesAfterRounding) {
    const TextCase cases[] = {
        {0, " 0"}, {-0.0, " 0"}, {4500, " 4500"}, {0.25, " .25"}, {-0.5, "-.5"}, {5184.2221, " 5184.2221"},
        {1.5e-7, " 1.5E-07"}, {-2.5e20, "-2.5E+20"}, {1e100, " 1E+100"}, {1.25e-300, " 1.25E-300"},
        {0.1 + 0.2, " .3"}, {1.0 / 3, " .333333333333333"}, {123456789012345678.0, " 1.23456789012346E+17"},
        {1e-4, " .0001"}, {-1e-4, "-.0001"}, {9.99999999999999e-5, " 9.99999999999999E-05"},
        {9.999999999999999e-5, " .0001"}, {999999999999999, " 999999999999999"},
        {999999999999999.5, " 1E+15"}, {1e15, " 1E+15"}, {-1e15, "-1E+15"},
        {123456789012345.6, " 123456789012346"}, {kInf, " Inf"}, {-kInf, "-Inf"}, {std::nan(""), " NaN"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(DefaultText(c.x), c.want) << "x " << c.x;
        const std::string record = c.want[0] == ' ' ? c.want + 1 : c.want;
        EXPECT_EQ(RecordText(c.x), record) << "x " << c.x;
        char buf[48];
        EXPECT_EQ(std::string(buf, RecordTextTo(buf, c.x)), record) << "x " << c.x;
    }
    const struct { float x; const char* want; } singles[] = {
        {0.1f, " .1"}, {1234.5678f, " 1234.568"}, {16777216.0f, " 1.677722E+07"}, {1e-5f, " 1E-05"},
        {9999999.0f, " 9999999"}};
    for (const auto& c : singles) EXPECT_EQ(DefaultTextSingle(c.x), c.want) << "x " << c.x;
    const TextCase waves[] = {{5184.2221467, " 5184.222"}, {12345.678901, " 12345.67"}, {-5184.2229, "-5184.222"}};
    for (const TextCase& c : waves) EXPECT_EQ(WaveLabel(c.x), c.want) << "x " << c.x;
}

TEST(PlainText, ShortestRoundTrip) {
    const TextCase cases[] = {{0, "0"}, {-0.5, "-0.5"}, {1.0 / 3, "0.333333333333333"}, {1e-5, "1E-05"},
                              {1e20, "1E+20"}, {0.1 + 0.2, "0.3"}, {5.5e-4, "0.00055"}};
    for (const TextCase& c : cases) EXPECT_EQ(PlainText(c.x), c.want) << "x " << c.x;
}

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
        {-2.5e-5, 10, 6, " -0.000025"}, {6e-5, 6, 4, "0.0001"}, {1e20, 8, 2, "0.10e+21"}, {-1e20, 8, 2, "-0.1e+21"},
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
    const struct { double x; int width, ndec; const char* want; int widthAfter, ndecAfter; } cases[] = {
        {0, 10, 3, "  .000e+00", 10, 3},        {12345, 10, 4, "0.1235e+05", 10, 4},
        {0.0001234, 10, 4, "0.1234e-03", 10, 4}, {987654, 6, 0, "1.e+06", 6, 0},
        {250000, 4, -2, "0.3e+06", 7, 1},        {12345, 12, 9, "0.123450e+05", 12, 6},
        {-12345, 10, 4, "-0.123e+05", 10, 3},    {-5, 6, 0, "-0.5e+01", 8, 1},
        {123456, 6, 0, "0.e+06", 6, 0},         {1000, 8, 2, "1.00e+03", 8, 2},
        {1e-300, 10, 3, "  .000e+00", 10, 3},    {1.5e-5, 9, 3, "0.150e-04", 9, 3},
        {-1.5e-5, 9, 3, "-0.15e-04", 9, 2},      {1e150, 9, 3, "1.00e+150", 9, 2},
        {1e-17, 8, 2, " .00e+00", 8, 2},
    };
    for (const auto& c : cases) {
        int w = c.width, d = c.ndec;
        EXPECT_EQ(Num_to_exp(c.x, w, d), c.want) << "x " << c.x << " width " << c.width;
        EXPECT_EQ(std::pair(w, d), std::pair(c.widthAfter, c.ndecAfter)) << "x " << c.x;
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
    const struct { int n, width; const char* pad; const char* want; } cases[] = {
        {5, 2, "0", "05"}, {123, 2, "0", "123"}, {7, 4, " ", "   7"}, {0, 2, "0", "00"}, {-5, 3, "0", "-05"},
        {-5, 4, " ", "  -5"}, {12, 0, "0", "12"}, {3, 3, "", "3"}, {3, 4, "ab", "abab3"}, {-32768, 3, "0", "-32768"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pad_num(c.n, c.width, c.pad), c.want) << c.n << " " << c.width << " '" << c.pad << "'";
}

// Beyond the range of a double, whether a number reads as infinity or as 0 depends on where
// its first non-zero digit lies, counting both the digits and the exponent; leading zeros and
// many fraction digits must not crowd out the digits that matter.
TEST(ReadLeadingNumber, Texts) {
    const std::string z400(400, '0'), z700(700, '0');
    constexpr std::size_t all = std::string::npos;
    const struct { std::string text; double value; bool isNumber; std::size_t length; bool overflow; } cases[] = {
        {"   42abc", 42, true, 5, false},  {"\t-3.5", -3.5, true, 5, false}, {"+7", 7, true, 2, false},
        {"-.25x", -0.25, true, 4, false},  {"5.", 5, true, 2, false},       {"1.5e-3", 0.0015, true, 6, false},
        {"2D3", 2000, true, 3, false},     {"2.5d+2", 250, true, 6, false}, {"1e+", 1, true, 1, false},
        {"3E,4", 3, true, 1, false},       {"1 2", 1, true, 1, false},      {"12,34", 12, true, 2, false},
        {"0", 0, true, 1, false},          {"e5", 0, false, 0, false},      {"-", 0, false, 0, false},
        {"+.", 0, false, 0, false},        {"", 0, false, 0, false},        {"   ", 0, false, 0, false},
        {"abc", 0, false, 0, false},       {"- 5", 0, false, 0, false},     {"1e400", kInf, true, 5, true},
        {"-1e400", -kInf, true, 6, true},  {"1e-400", 0, true, 6, false},   {"0e999", 0, true, 5, false},
        {"1e99999999999999999999", kInf, true, all, true}, {"1e-99999999999999999999", 0, true, all, false},
        {"." + z400 + "1", 0, true, all, false},            {"0." + z400 + "1e5", 0, true, all, false},
        {"-." + z400 + "1", -0.0, true, all, false},        {"1" + z400 + "e-50", kInf, true, all, true},
        {"-1" + z400 + "e-50", -kInf, true, all, true},     {"1" + z400 + "e-100", 1e300, true, all, false},
        {z700 + "5", 5, true, all, false},                  {"0." + z700 + "1e705", 1e4, true, all, false},
        {"1." + z700 + "e2", 100, true, all, false},        {"1" + z700, kInf, true, all, true},
    };
    for (const auto& c : cases) {
        const LeadingNumber r = ReadLeadingNumber(c.text);
        SCOPED_TRACE(testing::Message() << "'" << c.text.substr(0, 12) << "' (" << c.text.size() << " chars)");
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(std::signbit(r.value), std::signbit(c.value));
        EXPECT_EQ(r.isNumber, c.isNumber);
        EXPECT_EQ(r.length, c.length == all ? c.text.size() : c.length);
        EXPECT_EQ(r.overflow, c.overflow);
        EXPECT_EQ(Val(c.text), c.value);
    }
}

TEST(Int16, RoundingCheckedSaturatedAndCounted) {
    const struct { double x, rounded; std::optional<int> int16; int saturated, count; } cases[] = {
        {0.5, 0, 0, 0, 0},         {1.5, 2, 2, 2, 2},         {2.5, 2, 2, 2, 2},       {-0.5, 0, 0, 0, 0},
        {-1.5, -2, -2, -2, 0},     {-2.5, -2, -2, -2, 0},     {2.5001, 3, 3, 3, 3},    {-7.6, -8, -8, -8, 0},
        {32767.4, 32767, 32767, 32767, 3000},                 {32767.5, 32768, std::nullopt, 32767, 3000},
        {-32768.5, -32768, -32768, -32768, 0},                {-32769, -32769, std::nullopt, -32768, 0},
        {40000, 40000, std::nullopt, 32767, 3000},            {-40000, -40000, std::nullopt, -32768, 0},
        {1500.5, 1500, 1500, 1500, 1500},                     {2999.6, 3000, 3000, 3000, 3000},
        {kInf, kInf, std::nullopt, 32767, 3000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.x), c.rounded) << "x " << c.x;
        EXPECT_EQ(ToInt16(c.x), c.int16) << "x " << c.x;
        EXPECT_EQ(Saturate16(c.x), c.saturated) << "x " << c.x;
        EXPECT_EQ(CountOf(c.x, 3000), c.count) << "x " << c.x;
    }
    const double nan = std::nan("");
    EXPECT_TRUE(!ToInt16(nan) && Saturate16(nan) == 0 && CountOf(nan, 3000) == 0);
}

}  // namespace
}  // namespace tessan
