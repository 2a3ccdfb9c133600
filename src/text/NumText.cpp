#include "text/NumText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace tessan {

namespace {

// Decimal digits of |x| rounded to `sig` significant digits (cut toward zero where rounding
// would leave the range of a double), trailing zeros removed, and the decimal exponent of the
// first digit (x = 0.d1d2d3... * 10^(exp + 1)).
struct Digits {
    char d[24];
    int n = 0;     // digits in d
    int exp = 0;   // power of ten of the first digit
};

Digits digitsOf(double ax, int sig) {
    Digits r;
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, sig - 1);
    // The largest doubles round up beyond the range of a double (1.7976931348623157E+308 to 15
    // digits is 1.79769313486232E+308), and such a text reads back as an overflow. There the
    // digits are cut toward zero instead, from 17 digits, which hold the value exactly enough.
    if (ax > 1e308) {
        double back = 0;
        if (std::from_chars(buf, res.ptr, back).ec == std::errc::result_out_of_range)
            res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, 16);
    }
    const char* p = buf;
    const char* end = res.ptr;
    // "d.dddde+XX" or "de+XX" when sig is 1
    r.d[r.n++] = *p++;
    if (*p == '.') {
        ++p;
        while (p < end && *p != 'e') r.d[r.n++] = *p++;
    }
    ++p;  // 'e'
    bool neg = *p == '-';
    ++p;
    int e = 0;
    while (p < end) e = e * 10 + (*p++ - '0');
    r.exp = neg ? -e : e;
    if (r.n > sig) r.n = sig;
    while (r.n > 1 && r.d[r.n - 1] == '0') --r.n;
    return r;
}

// Writes the digits of g in positional digits ("1234.5", ".00015"); zeroBeforePoint puts "0"
// before the point of a fraction.
std::size_t layoutPositional(char* out, const Digits& g, bool zeroBeforePoint) {
    std::size_t k = 0;
    if (g.exp >= 0) {
        for (int i = 0; i <= g.exp; ++i) out[k++] = i < g.n ? g.d[i] : '0';
        if (g.n > g.exp + 1) {
            out[k++] = '.';
            for (int i = g.exp + 1; i < g.n; ++i) out[k++] = g.d[i];
        }
    } else {
        if (zeroBeforePoint) out[k++] = '0';
        out[k++] = '.';
        for (int i = 0; i < -g.exp - 1; ++i) out[k++] = '0';
        for (int i = 0; i < g.n; ++i) out[k++] = g.d[i];
    }
    return k;
}

// Writes the digits of g as mantissa, "E", sign and at least two exponent digits ("1.5E-07").
std::size_t layoutExponent(char* out, const Digits& g) {
    std::size_t k = 0;
    out[k++] = g.d[0];
    if (g.n > 1) {
        out[k++] = '.';
        for (int i = 1; i < g.n; ++i) out[k++] = g.d[i];
    }
    out[k++] = 'E';
    out[k++] = g.exp < 0 ? '-' : '+';
    int e = g.exp < 0 ? -g.exp : g.exp;
    char eb[8];
    int en = 0;
    do { eb[en++] = static_cast<char>('0' + e % 10); e /= 10; } while (e > 0);
    if (en < 2) eb[en++] = '0';
    while (en > 0) out[k++] = eb[--en];
    return k;
}

// Writes the digits of |x| (no sign, no blank) in the default-form layout: positional when
// 1E-4 <= |x| < 10^sig, so that no digit beyond the significant ones is shown (a
// single-precision 16777216 is 1.677722E+07, not 16777220), otherwise in exponent form.
std::size_t layout(char* out, const Digits& g, bool zeroBeforePoint, int sig = 15) {
    return g.exp >= -4 && g.exp < sig ? layoutPositional(out, g, zeroBeforePoint) : layoutExponent(out, g);
}

std::size_t nonFinite(char* out, double x) {
    const char* t = std::isnan(x) ? "NaN" : (x < 0 ? "-Inf" : "Inf");
    std::size_t n = std::strlen(t);
    std::memcpy(out, t, n);
    return n;
}

// Sign (or blank) and digits; sig significant digits.
std::string formDefault(double x, int sig) {
    char out[48];
    std::size_t k = 0;
    if (!std::isfinite(x)) {
        if (!(x < 0)) out[k++] = ' ';
        k += nonFinite(out + k, x);
        return std::string(out, k);
    }
    if (x == 0) return " 0";
    out[k++] = x < 0 ? '-' : ' ';
    k += layout(out + k, digitsOf(std::fabs(x), sig), false, sig);
    return std::string(out, k);
}

// The power of ten of the first non-zero digit of a normalised number text ("-123.45e-6" gives
// -4), saturated far beyond the range of a double. Only called for texts out of that range, so
// they have a non-zero digit.
long long decimalMagnitude(std::string_view t) {
    constexpr long long kFar = 1000000000;
    std::size_t q = t.empty() || t[0] != '-' ? 0 : 1;
    long long intDigits = 0;     // digits before the point from the first non-zero one
    long long zerosAfter = 0;    // zeros after the point before the first non-zero digit
    bool seen = false;
    for (; q < t.size() && t[q] >= '0' && t[q] <= '9'; ++q) {
        if (t[q] != '0') seen = true;
        if (seen && intDigits < kFar) ++intDigits;
    }
    if (q < t.size() && t[q] == '.') {
        for (++q; q < t.size() && t[q] >= '0' && t[q] <= '9'; ++q) {
            if (t[q] != '0') seen = true;
            if (!seen && intDigits == 0 && zerosAfter < kFar) ++zerosAfter;
        }
    }
    long long exp = 0;
    if (q < t.size() && t[q] == 'e') {
        ++q;
        const bool neg = q < t.size() && t[q] == '-';
        if (neg) ++q;
        for (; q < t.size() && t[q] >= '0' && t[q] <= '9'; ++q)
            if (exp < kFar) exp = exp * 10 + (t[q] - '0');
        if (neg) exp = -exp;
    }
    return (intDigits > 0 ? intDigits - 1 : -(zerosAfter + 1)) + exp;
}

}  // namespace

std::string DefaultText(double x) { return formDefault(x, 15); }

std::string DefaultTextSingle(float x) { return formDefault(static_cast<double>(x), 7); }

std::size_t RecordTextTo(char* buf, double x) {
    if (!std::isfinite(x)) return nonFinite(buf, x);
    if (x == 0) {
        buf[0] = '0';
        return 1;
    }
    std::size_t k = 0;
    if (x < 0) buf[k++] = '-';
    return k + layout(buf + k, digitsOf(std::fabs(x), 15), false);
}

std::string RecordText(double x) {
    char buf[48];
    return std::string(buf, RecordTextTo(buf, x));
}

std::string PlainText(double x) {
    char out[48];
    if (!std::isfinite(x)) return std::string(out, nonFinite(out, x));
    if (x == 0) return "0";
    const double ax = std::fabs(x);
    // The shortest text with at most 15 digits that reads back as x; if none does, 15 digits.
    Digits g = digitsOf(ax, 15);
    for (int sig = 1; sig < 15; ++sig) {
        Digits t = digitsOf(ax, sig);
        char buf[40];
        auto res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, sig - 1);
        double back = 0;
        std::from_chars(buf, res.ptr, back);
        if (back == ax) {
            g = t;
            break;
        }
    }
    std::size_t k = 0;
    if (x < 0) out[k++] = '-';
    k += layout(out + k, g, true);
    return std::string(out, k);
}

namespace {

// Sign (or blank) and the digits of g, rounded to sig significant digits, in positional digits;
// "" when the whole part has more digits than that, since its trailing zeros would claim a
// precision the text does not have (1.2E+05 to 2 digits is not "120000").
std::string positionalForm(char sign, const Digits& g, int sig) {
    if (g.exp >= sig) return std::string();
    char out[400];
    return sign + std::string(out, layoutPositional(out, g, false));
}

// Sign (or blank) and the digits of g in exponent form ("1.5E-07").
std::string exponentForm(char sign, const Digits& g) {
    char out[48];
    return sign + std::string(out, layoutExponent(out, g));
}

// The caption rule for a value written with at most maxSig significant digits.
std::string labelText(double x, int n, int maxSig) {
    if (n < 0) n = 0;
    const std::string s = formDefault(x, maxSig);
    const auto len = static_cast<std::size_t>(n);
    if (s.size() <= len) return s;
    if (!std::isfinite(x)) return s[0] == ' ' && s.size() - 1 <= len ? s.substr(1) : s;
    // The cut keeps every digit before the point and, for a value other than 0, a digit other
    // than 0 (" .0001234" in 5 would read " .000").
    if (s.find('E') == std::string::npos) {
        const std::size_t point = std::min(s.find('.'), s.size());
        if (point <= len && s.find_first_of("123456789") < len) return s.substr(0, len);
    }
    // The most significant digits that fit; positional before exponent form, and a text with
    // its plus blank before one that must drop it.
    const char sign = x < 0 ? '-' : ' ';
    const double ax = std::fabs(x);
    std::string shortest;
    for (int sig = maxSig; sig >= 1; --sig) {
        const Digits g = digitsOf(ax, sig);
        std::string forms[2] = {positionalForm(sign, g, sig), exponentForm(sign, g)};
        for (const std::string& f : forms)
            if (!f.empty() && f.size() <= len) return f;
        for (std::string& f : forms) {
            if (f.empty()) continue;
            if (sign == ' ') f.erase(0, 1);
            if (f.size() <= len) return f;
            if (shortest.empty() || f.size() < shortest.size()) shortest = f;
        }
    }
    // No text of n characters shows the value: the shortest one that does, longer than n.
    return shortest;
}

}  // namespace

std::string LabelText(double x, int n) { return labelText(x, n, 15); }

std::string LabelTextSingle(float x, int n) { return labelText(static_cast<double>(x), n, 7); }

std::string WaveLabel(double x) { return LabelText(x, 9); }

LeadingNumber ReadLeadingNumber(std::string_view t) {
    LeadingNumber r;
    std::size_t i = 0;
    const std::size_t n = t.size();
    while (i < n && (t[i] == ' ' || t[i] == '\t')) ++i;
    // Build a normalised copy ("-123.45e-6") that from_chars accepts.
    // A text too long for the stack buffer gets one of its own, so no digit or exponent is lost.
    char small[512];
    std::string big;
    char* buf = small;
    std::size_t cap = sizeof small;
    if (n + 4 > cap) {
        big.resize(n + 4);
        buf = big.data();
        cap = big.size();
    }
    std::size_t k = 0;
    auto put = [&](char c) {
        if (k < cap - 1) buf[k++] = c;
    };
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') put('-');
        ++i;
    }
    std::size_t digits = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') { put(t[i++]); ++digits; }
    if (i < n && t[i] == '.') {
        std::size_t save = i;
        ++i;
        std::size_t frac = 0;
        std::size_t mark = k;
        put('.');
        while (i < n && t[i] >= '0' && t[i] <= '9') { put(t[i++]); ++frac; }
        if (frac == 0 && digits == 0) {
            i = save;
            k = mark;
        }
        digits += frac;
    }
    if (digits == 0) return r;  // not a number: value 0
    if (i < n && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        std::size_t j = i + 1;
        std::size_t mark = k;
        put('e');
        if (j < n && (t[j] == '+' || t[j] == '-')) {
            if (t[j] == '-') put('-');
            ++j;
        }
        std::size_t ed = 0;
        while (j < n && t[j] >= '0' && t[j] <= '9') { put(t[j++]); ++ed; }
        if (ed > 0) i = j;
        else k = mark;  // "1e" reads as 1: the exponent marker is not part of the number
    }
    double v = 0;
    auto res = std::from_chars(buf, buf + k, v);
    r.isNumber = true;
    r.length = i;
    if (res.ec == std::errc::result_out_of_range) {
        // Too large: infinity with its sign. Too small: 0. Which one is decided by the decimal
        // magnitude of the first non-zero digit, from both the digits and the exponent, since
        // either alone can mislead ("0.000...1e5" is tiny, "1000...0e-50" is huge).
        r.overflow = decimalMagnitude(std::string_view(buf, k)) > 0;
        if (r.overflow)
            v = buf[0] == '-' ? -std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::infinity();
        else
            v = buf[0] == '-' ? -0.0 : 0.0;
    }
    r.value = v;
    return r;
}

double Val(std::string_view text) { return ReadLeadingNumber(text).value; }

}  // namespace tessan
