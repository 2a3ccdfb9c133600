// The leading-number rule, numbers beyond the range of a double, and the 16-bit conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {
namespace {

// Beyond the range of a double, whether a number reads as infinity or as 0 depends on where
// its first non-zero digit lies, counting both the digits and the exponent; leading zeros and
// many fraction digits must not crowd out the digits that matter.
TEST(ReadLeadingNumber, Texts) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::string z400(400, '0'), z700(700, '0');
    const struct {
        std::string text;
        double value;
        bool isNumber;
        std::size_t length;   // npos: the whole text
        bool overflow;
    } cases[] = {
        {"   42abc", 42, true, 5, false},  {"\t-3.5", -3.5, true, 5, false}, {"+7", 7, true, 2, false},
        {"-.25x", -0.25, true, 4, false},  {"5.", 5, true, 2, false},       {"1.5e-3", 0.0015, true, 6, false},
        {"2D3", 2000, true, 3, false},     {"2.5d+2", 250, true, 6, false}, {"1e+", 1, true, 1, false},
        {"3E,4", 3, true, 1, false},       {"1 2", 1, true, 1, false},      {"12,34", 12, true, 2, false},
        {"0", 0, true, 1, false},          {"e5", 0, false, 0, false},      {"-", 0, false, 0, false},
        {"+.", 0, false, 0, false},        {"", 0, false, 0, false},        {"   ", 0, false, 0, false},
        {"abc", 0, false, 0, false},       {"- 5", 0, false, 0, false},     {"1e400", inf, true, 5, true},
        {"-1e400", -inf, true, 6, true},   {"1e-400", 0, true, 6, false},   {"0e999", 0, true, 5, false},
        {"1e99999999999999999999", inf, true, std::string::npos, true},
        {"1e-99999999999999999999", 0, true, std::string::npos, false},
        {"." + z400 + "1", 0, true, std::string::npos, false},           // 1E-401 written out
        {"0." + z400 + "1e5", 0, true, std::string::npos, false},        // 1E-396
        {"-." + z400 + "1", -0.0, true, std::string::npos, false},
        {"1" + z400 + "e-50", inf, true, std::string::npos, true},       // 1E+350
        {"-1" + z400 + "e-50", -inf, true, std::string::npos, true},
        {"1" + z400 + "e-100", 1e300, true, std::string::npos, false},   // within range
        {z700 + "5", 5, true, std::string::npos, false},
        {"0." + z700 + "1e705", 1e4, true, std::string::npos, false},
        {"1." + z700 + "e2", 100, true, std::string::npos, false},
        {"1" + z700, inf, true, std::string::npos, true},
    };
    for (const auto& c : cases) {
        const LeadingNumber r = ReadLeadingNumber(c.text);
        SCOPED_TRACE(testing::Message() << "'" << c.text.substr(0, 12) << "' (" << c.text.size() << " chars)");
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(std::signbit(r.value), std::signbit(c.value));
        EXPECT_EQ(r.isNumber, c.isNumber);
        EXPECT_EQ(r.length, c.length == std::string::npos ? c.text.size() : c.length);
        EXPECT_EQ(r.overflow, c.overflow);
        EXPECT_EQ(Val(c.text), c.value);
    }
}

TEST(Int16, RoundingCheckedSaturatedAndCounted) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const struct {
        double x, rounded;
        std::optional<int> int16;
        int saturated, count;   // count clamped to 0..3000
    } cases[] = {
        {0.5, 0, 0, 0, 0},         {1.5, 2, 2, 2, 2},         {2.5, 2, 2, 2, 2},       {-0.5, 0, 0, 0, 0},
        {-1.5, -2, -2, -2, 0},     {-2.5, -2, -2, -2, 0},     {2.5001, 3, 3, 3, 3},    {-7.6, -8, -8, -8, 0},
        {32767.4, 32767, 32767, 32767, 3000},                 {32767.5, 32768, std::nullopt, 32767, 3000},
        {-32768.5, -32768, -32768, -32768, 0},                {-32769, -32769, std::nullopt, -32768, 0},
        {40000, 40000, std::nullopt, 32767, 3000},            {-40000, -40000, std::nullopt, -32768, 0},
        {1500.5, 1500, 1500, 1500, 1500},                     {2999.6, 3000, 3000, 3000, 3000},
        {inf, inf, std::nullopt, 32767, 3000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.x), c.rounded) << "x " << c.x;
        EXPECT_EQ(ToInt16(c.x), c.int16) << "x " << c.x;
        EXPECT_EQ(Saturate16(c.x), c.saturated) << "x " << c.x;
        EXPECT_EQ(CountOf(c.x, 3000), c.count) << "x " << c.x;
    }
    EXPECT_TRUE(!ToInt16(nan) && Saturate16(nan) == 0 && CountOf(nan, 3000) == 0);
}

}  // namespace
}  // namespace tessan
