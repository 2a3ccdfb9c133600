// The leading-number rule and the 16-bit integer conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {
namespace {

TEST(ReadLeadingNumber, Texts) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double value;
        bool isNumber;
        std::size_t length;
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
    };
    for (const auto& c : cases) {
        const LeadingNumber r = ReadLeadingNumber(c.text);
        EXPECT_EQ(r.value, c.value) << "text '" << c.text << "'";
        EXPECT_EQ(r.isNumber, c.isNumber) << "text '" << c.text << "'";
        EXPECT_EQ(r.length, c.length) << "text '" << c.text << "'";
        EXPECT_EQ(r.overflow, c.overflow) << "text '" << c.text << "'";
        EXPECT_EQ(Val(c.text), c.value) << "text '" << c.text << "'";
    }
}

TEST(ReadLeadingNumber, LongTexts) {
    // Leading zeros and many fraction digits must not crowd out the digits that matter.
    const std::string zeros(700, '0');
    EXPECT_EQ(Val(zeros + "5"), 5);
    EXPECT_EQ(Val("0." + zeros + "1e705"), 1e4);
    EXPECT_EQ(Val("1." + zeros + "e2"), 100);
    const LeadingNumber r = ReadLeadingNumber("1" + zeros);
    EXPECT_TRUE(r.overflow);
    EXPECT_EQ(r.length, 701u);
}

TEST(Int16, RoundHalfEven) {
    const struct {
        double x, want;
    } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.5001, 3}, {-7.6, -8},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.x), c.want) << "x " << c.x;
    EXPECT_EQ(IntPart(-2.7), -2);
    EXPECT_EQ(IntPart(2.7), 2);
}

TEST(Int16, CheckedConversion) {
    const struct {
        double x;
        std::optional<int> want;
    } cases[] = {
        {32767.4, 32767},  {32767.5, std::nullopt}, {-32768.5, -32768}, {-32769, std::nullopt},
        {40000, std::nullopt}, {-40000, std::nullopt},
        {std::nan(""), std::nullopt}, {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ToInt16(c.x), c.want) << "x " << c.x;
}

TEST(Int16, SaturateAndCount) {
    const struct {
        double x;
        int sat, count;
    } cases[] = {
        {40000, 32767, 3000}, {-40000, -32768, 0}, {std::nan(""), 0, 0}, {1500.5, 1500, 1500},
        {2999.6, 3000, 3000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Saturate16(c.x), c.sat) << "x " << c.x;
        EXPECT_EQ(CountOf(c.x, 3000), c.count) << "x " << c.x;
    }
}

}  // namespace
}  // namespace tessan
