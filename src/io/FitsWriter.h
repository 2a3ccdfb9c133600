#pragma once
// Writes one-dimensional FITS spectra: 80-character cards, the header padded with blanks to
// 2880-byte records, big-endian pixel data padded with zeros to a whole record. The sample
// spectra of tessan-samples and the tests' spectra are written with it; the reader
// (io/FitsReader.h) reads what it writes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessan::fits {

using Bytes = std::vector<std::uint8_t>;

// "KEYWORD = value" in fixed format: keyword left-justified in 8 characters, "= " in columns 9
// and 10, the value text from column 11, padded with blanks to 80 characters.
std::string Card(std::string_view keyword, std::string_view value);
// A text value in quotes, padded inside the quotes to at least 8 characters: 'HD 1234 '.
std::string Quoted(std::string_view text);
// The number with at most 10 significant digits in a form FITS readers accept ("4000.5",
// "-0.25", "1.5E-07"); the largest doubles are cut toward zero so that the text reads back.
std::string Number(double x);

// Header cards (without END) plus END, padded with blanks to whole 2880-byte records, then the
// data padded with zeros to a whole record (no padding when padData is false).
Bytes MakeFits(const std::vector<std::string>& cards, const Bytes& data, bool padData = true);
// Pixel values in the given BITPIX (8, 16, 32, -32, -64), big-endian. Integer formats take
// the values as raw two's-complement numbers (16 bits: -32768..65535 taken modulo 2^16).
Bytes EncodePixels(int bitpix, const std::vector<double>& values);

// A complete one-dimensional spectrum file.
struct SpectrumFile {
    std::string object = "TEST STAR";
    int bitpix = -32;
    double crval1 = 5000.0;     // written under lambda0Key
    double cd1_1 = 0.5;         // written under dLambdaKey
    std::string lambda0Key = "CRVAL1";
    std::string dLambdaKey = "CD1_1";
    std::vector<std::string> extraCards;   // placed before the wavelength keywords
    std::vector<double> values;
};
Bytes MakeSpectrumFits(const SpectrumFile& f);

// Writes bytes to path through a temporary file renamed over it (io/AtomicFile.h). Returns 0
// or the error number of the failure.
[[nodiscard]] int WriteFitsFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace tessan::fits
