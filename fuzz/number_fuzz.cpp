// The leading-number reader (text/NumText.h) on any text. Its rule, checked independently
// here: blanks (space, tab), an optional sign, digits with an optional point and digits (at
// least one digit in all), an optional exponent of E or D (either case), an optional sign and
// at least one digit; reading stops at the first other character. Promises checked:
// - a text that does not begin with such a number reads as +0, not a number, no overflow;
// - otherwise the reader consumes exactly that prefix and its value is bitwise the value that
//   strtod gives for the prefix with a D exponent written as E (strtod reads the same decimal
//   numbers, and rounds them correctly); overflow is set exactly when that value is infinite;
// - Val gives the same value.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "text/NumText.h"

using namespace tessan;
using namespace tessan::fuzz;

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// The length of the number at the start of t by the rule above, or 0 when there is none.
std::size_t numberLength(std::string_view t) {
    std::size_t i = 0;
    const std::size_t n = t.size();
    while (i < n && (t[i] == ' ' || t[i] == '\t')) ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && digit(t[i])) ++i, ++digits;
    if (i < n && t[i] == '.' && (digits > 0 || (i + 1 < n && digit(t[i + 1])))) {
        ++i;
        while (i < n && digit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < n && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        std::size_t j = i + 1;
        if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
        if (j < n && digit(t[j])) {
            while (j < n && digit(t[j])) ++j;
            i = j;
        }
    }
    return i;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string exact(double x) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", x);
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LeadingNumber r = ReadLeadingNumber(text);
    Expect(sameBits(Val(text), r.value), "Val gives the value of the leading-number reader");
    const std::size_t length = numberLength(text);
    if (length == 0) {
        Expect(!r.isNumber && sameBits(r.value, 0.0) && !r.overflow,
               "a text that does not begin with a number reads as +0, not a number");
        return 0;
    }
    Expect(r.isNumber, "a text that begins with a number reads as a number");
    Expect(r.length == length, "the reader consumes exactly the number at the start of the text");
    std::string prefix(text.substr(0, length));
    for (char& c : prefix)
        if (c == 'D' || c == 'd') c = 'E';
    char* end = nullptr;
    errno = 0;
    const double expected = std::strtod(prefix.c_str(), &end);
    Expect(end == prefix.c_str() + prefix.size(), "strtod reads the whole number the reader reads");
    if (!sameBits(r.value, expected))
        Broken("the reader's value of \"" + prefix + "\" is " + exact(r.value) + ", strtod's " + exact(expected));
    Expect(r.overflow == std::isinf(expected), "overflow is set exactly when the number does not fit a double");
    return 0;
}
