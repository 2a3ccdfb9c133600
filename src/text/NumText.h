#pragma once
// Number texts: the forms in which the system writes numbers, and the leading-number rule by
// which it reads them. Pure functions; "." is the decimal point whatever the locale.
#include <cstddef>
#include <string>
#include <string_view>

namespace tessan {

// Default text form: a blank for x >= 0 or "-" for x < 0, then at most 15 significant digits
// (rounded), no "0" before the point of a fraction, no trailing zeros, no point for a whole
// value; positional when 1E-4 <= |x| < 1E15 after rounding, otherwise mantissa, "E", sign and
// at least two exponent digits. Examples: " 3", "-.5", " 4500", " 1.5E-07", "-2.5E+20", " 0".
std::string DefaultText(double x);
// The same for a single-precision value: at most 7 significant digits, positional when
// 1E-4 <= |x| < 1E7 after rounding (" 1234.568", " 1.677722E+07").
std::string DefaultTextSingle(float x);
// The default text form without its leading blank: the number form of the record files
// (".5", "-.25", "2001", "1.5E-07").
std::string RecordText(double x);
// Writes RecordText(x) into buf (at least 32 chars) without allocating; returns the length.
std::size_t RecordTextTo(char* buf, double x);
// Plain text of a number: the shortest decimal text that reads back as the same value (at
// most 15 significant digits), no leading blank, "-" for negatives, "0" before the point of a
// fraction, no trailing zeros and no point for whole values ("0.25", "-12.35", "201").
std::string PlainText(double x);
// Captions of n characters: the first n characters of the default text form, as long as they
// still read as the number. That is the whole text when it fits, or a positional text cut
// after its point, whose dropped decimals are cut off, not rounded (" 5184.2221" in 9 is
// " 5184.222", " 4863.46" in 5 is " 4863"). Where the cut would break an exponent form
// (" 1.5E+07" in 6 would read " 1.5E+"), lose digits before the point (" 123456.7" in 6 would
// read " 12345") or keep no digit other than 0 (" .0001234" in 5 would read " .000"), the
// caption is instead the text of at most n characters that shows the value rounded to the
// most significant digits, in the style of the default text form; for as many digits,
// positional before exponent form, and keeping the plus blank before dropping it. So 1.5E+07
// in 6 is " 2E+07", 123456.7 in 6 is "123457", .0001234 in 5 is ".0001". Seven characters
// hold one digit of every value; where n is less and nothing fits (-1.5E+07 in 5), the
// caption is the shortest such text ("-2E+07"), longer than n.
std::string LabelText(double x, int n);
// The same for a single-precision value, from its default text form of 7 significant digits.
std::string LabelTextSingle(float x, int n);
// The main window's wavelengths: LabelText(x, 9) (" 5184.222").
std::string WaveLabel(double x);

// Leading-number rule: skip leading blanks, then an optional sign, digits, an optional point
// with digits and an optional exponent introduced by E or D (either case); reading stops at
// the first other character. A text that does not begin with a number reads as 0 with
// isNumber false. length is the count of characters consumed, blanks included; overflow is
// set when the number does not fit a double (value is then +-infinity).
struct LeadingNumber {
    double value = 0;
    bool isNumber = false;
    std::size_t length = 0;
    bool overflow = false;
};
LeadingNumber ReadLeadingNumber(std::string_view text);
// Just the value of ReadLeadingNumber (0 when the text does not begin with a number).
double Val(std::string_view text);

// Fixed-width fields.
// Num_to_str: x rounded half up to ndec decimals, "0" before the point below magnitude 1,
// always a point, right-aligned in width characters (" 4551.", "0.05", "   -0.50"). Never cuts
// a digit or the sign: a text one character too long loses only the blank of a non-negative
// value ("1234." in 5) or the "0" before the point of a fraction with decimals (".12345" in 6,
// "-.05" in 4); any longer text becomes the exponent form of Num_to_exp in the same width,
// which widens (to 7, one more for a sign, one more for a three-digit exponent) only when not
// one mantissa decimal fits ("0.3e+06" for 250000 in 4). NaN and infinities show as "NaN",
// "Inf", "-Inf", or width '*' when too narrow.
std::string Num_to_str(double x, int width, int ndec);
// Exponent form "0.dddde+XX": exponent floor(ln|x| / ln 10) + 1, mantissa |x| / 10^exponent
// with ndec decimals (0.1 <= m < 1, or 1 where the logarithms put a power of ten one decade
// lower: "1.e+06"), a "-" before it for a negative x, blanks in front up to width; |x| <= 1E-16
// is ".000e+00" ("0.e+00" without decimals). Lowers ndec to what the width holds; when that is
// below 0, sets ndec to 1 and widens width to the form's length.
std::string Num_to_exp(double x, int& width, int& ndec);
// An integer left-padded with pad to width characters; a longer text is returned whole. A zero
// pad goes between a minus sign and the digits ("-05"); an empty pad adds nothing.
std::string Pad_num(int n, int width, std::string_view pad);

}  // namespace tessan
