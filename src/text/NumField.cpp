// Fixed-width number fields: Num_to_str, its exponent form Num_to_exp and Pad_num.
//
// Num_to_str builds the text from the default text form of x: the value, rounded half up to
// ndec decimals when it has more, with "0" before the point below magnitude 1, a point always
// and exactly ndec decimals, right-aligned with blanks. Decisions where the plain layout
// cannot fit, chosen so that a field never shows a wrong number:
//
// - Fit is judged on the completed text (point and all ndec decimals added). A completed text
//   that is longer than the field by one character drops a character that carries no digit:
//   the blank that stands for a plus sign ("1234." in 5, "12.34" in 5), or the "0" before the
//   point of a fraction when a decimal remains (".12345" in 6, "-.05" in 4).
// - Any other completed text that is too long, by however many characters, is replaced by the
//   exponent form of Num_to_exp in the same field width (width - 6 mantissa decimals). This
//   covers a text 1..ndec characters too long, and a value that rounding made whole and that
//   outgrows the field once its decimals are restored (99.999 in 5 with 2 decimals is
//   "1.0e+02"). Cutting off the leading characters, which would drop digits or the sign, never
//   happens.
// - Very large and very small magnitudes, whose default text form uses an exponent, are laid
//   out in positional digits first, so the rules above apply to them unchanged
//   (1.5E-07 with 2 decimals is "0.00"; 1E+20 falls back to the exponent form).
// - Num_to_exp writes a negative value with its sign before the mantissa ("-0.12e+08") and a
//   three-digit exponent in full; it takes the room for both from the mantissa decimals. When
//   not even one decimal fits, the field widens to the smallest width that holds the form with
//   one decimal: 7 for a positive value with a two-digit exponent (as "0.3e+06"), one more for
//   a sign or a third exponent digit. The caller's width is changed to that width.
// - The exponent is floor(ln|x| / ln 10) + 1 and the mantissa |x| / 10^exponent, normally
//   0.1 <= m < 1. At a power of ten the quotient of the logarithms may fall just below the
//   whole number, and the mantissa is then 1 ("1.e+06" for 1E+06 in 6, "1.00e+03" for 1000
//   with 2 decimals); rounding may make it 1 as well ("1.e+06" for 987654 in 6). Both are the
//   correctly rounded value. Zero (|x| <= 1E-16) is "." and the decimals, or "0." without
//   decimals, then "e+00".
// - NaN and infinities are shown as "NaN", "Inf", "-Inf" right-aligned, or as width '*' when
//   the field is too narrow. A negative ndec counts as 0; a negative width as 0.
#include <cmath>
#include <cstdlib>
#include <string>

#include "text/NumText.h"

namespace tessan {

namespace {

// The default text form of x in positional digits: " 1E+20" becomes " 100000000000000000000",
// "-1.5E-07" becomes "-.00000015". Texts without an exponent are returned as they are.
std::string positional(std::string s) {
    const std::size_t ePos = s.find('E');
    if (ePos == std::string::npos) return s;
    const char sign = s[0];
    std::string digits;
    for (std::size_t i = 1; i < ePos; ++i)
        if (s[i] != '.') digits += s[i];
    const int exp = std::atoi(s.c_str() + ePos + 1);  // power of ten of the first digit
    std::string out(1, sign);
    if (exp >= 0) {
        const std::size_t whole = static_cast<std::size_t>(exp) + 1;
        if (digits.size() <= whole) {
            out += digits;
            out.append(whole - digits.size(), '0');
        } else {
            out += digits.substr(0, whole);
            out += '.';
            out += digits.substr(whole);
        }
    } else {
        out += '.';
        out.append(static_cast<std::size_t>(-exp - 1), '0');
        out += digits;
    }
    return out;
}

// Characters after the first "." (0 when there is none).
int decimalsOf(const std::string& s) {
    const std::size_t dot = s.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(s.size() - dot - 1);
}

// x rounded half up to ndec decimals, in double precision with 10^ndec a power of 10.0. When
// x * 10^ndec is beyond the integers a double resolves, rounding cannot change x.
double roundHalfUp(double x, int ndec) {
    const double p = std::pow(10.0, ndec);
    const double scaled = x * p;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return x;  // 2^52
    return std::floor(scaled + 0.5) / p;
}

std::string padLeft(std::string s, int width) {
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

// "NaN", "Inf" or "-Inf" right-aligned, or width '*' when it does not fit.
std::string nonFiniteField(double x, int width) {
    if (width < 0) width = 0;  // Num_to_exp may be called with any width
    const std::string t = std::isnan(x) ? "NaN" : (x < 0 ? "-Inf" : "Inf");
    if (static_cast<int>(t.size()) > width) return std::string(static_cast<std::size_t>(width), '*');
    return padLeft(t, width);
}

int digitCount(int n) {
    int d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}

}  // namespace

std::string Num_to_str(double x, int width, int ndec) {
    if (width < 0) width = 0;
    if (ndec < 0) ndec = 0;
    if (!std::isfinite(x)) return nonFiniteField(x, width);

    std::string s = positional(DefaultText(x));
    if (s.find('.') == std::string::npos) s += '.';
    const int k = decimalsOf(s);
    if (k < ndec) s.append(static_cast<std::size_t>(ndec - k), '0');
    else s = positional(DefaultText(roundHalfUp(x, ndec)));

    if (std::fabs(x) < 1) {
        s.erase(0, s.find_first_not_of(' '));
        if (s.starts_with('.')) s.insert(s.begin(), '0');
        else if (s.starts_with("-.")) s.insert(s.begin() + 1, '0');
    }

    // Restore the point and the decimals that rounding to a whole or shorter value removed.
    if (s.find('.') == std::string::npos) s += '.';
    const int have = decimalsOf(s);
    if (have < ndec) s.append(static_cast<std::size_t>(ndec - have), '0');

    const int len = static_cast<int>(s.size());
    if (len <= width) return padLeft(s, width);
    if (len - 1 == width) {
        // One character too long: a character that carries no digit of the value gives way.
        if (s[0] == ' ') return s.substr(1);  // the blank that stands for a plus sign
        // The "0" before the point of a fraction, as long as a decimal is left to show.
        if (ndec > 0 && (s.starts_with("0.") || s.starts_with("-0.")))
            return s.erase(s.find('0'), 1);
    }

    int expWidth = width;
    int expDec = width - 6;
    return padLeft(Num_to_exp(x, expWidth, expDec), expWidth);
}

std::string Num_to_exp(double x, int& width, int& ndec) {
    if (!std::isfinite(x)) return nonFiniteField(x, width);

    const double ax = std::fabs(x);
    const bool zero = ax <= 1e-16;
    int e = 0;
    double m = 0;
    if (!zero) {
        // The exponent is floor(ln|x| / ln 10) + 1 in double precision. At a power of ten the
        // quotient may come out just below the whole number, so 1E+06 is written "1.e+06" with
        // mantissa 1 rather than "0.e+07"; the mantissa field holds 1 as well as 0.1.
        e = static_cast<int>(std::floor(std::log(ax) / std::log(10.0))) + 1;
        // Beyond 1E300 a power of ten in double loses range; long double keeps it.
        m = std::abs(e) <= 300 ? ax / std::pow(10.0, e)
                               : static_cast<double>(ax / std::pow(10.0L, e));
    }
    const bool negative = !zero && x < 0;
    const int expDigits = digitCount(std::abs(e)) < 2 ? 2 : digitCount(std::abs(e));
    // "0." + "e+" + two exponent digits, plus a sign and a third exponent digit when present.
    const int fixedChars = 6 + (negative ? 1 : 0) + (expDigits - 2);

    if (ndec > width - fixedChars) ndec = width - fixedChars;
    if (ndec < 0) {
        ndec = 1;
        width = fixedChars + 1;
    }

    std::string s;
    if (zero) {
        // "." and the decimals; with no decimals the mantissa is "0." so the text has a digit.
        s.assign(static_cast<std::size_t>(ndec) + 1, '0');
        if (ndec > 0) s[0] = '.';
        else s += '.';
        s += "e+00";
    } else {
        if (negative) s = "-";
        s += Num_to_str(m, ndec + 2, ndec);
        s += e < 0 ? "e-" : "e+";
        s += Pad_num(std::abs(e), 2, "0");
    }
    return padLeft(s, width);
}

std::string Pad_num(int n, int width, std::string_view pad) {
    std::string s = RecordText(n);
    if (pad.empty()) return s;
    // Zeros go between the sign and the digits ("-05"); any other pad goes in front.
    const bool afterSign = n < 0 && pad == "0";
    std::string digits = afterSign ? s.substr(1) : s;
    const int target = afterSign ? width - 1 : width;
    while (static_cast<int>(digits.size()) < target) digits.insert(0, pad);
    return afterSign ? "-" + digits : digits;
}

}  // namespace tessan
