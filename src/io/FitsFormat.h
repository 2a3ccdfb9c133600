#pragma once
// The parts of the FITS reader that work on bytes alone: the primary header taken from the
// file's first line, keyword look-up, and the decoding of one big-endian pixel. Used by
// FitsReader.cpp, which adds the file handling, the checks and the state.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessan::fits {

inline constexpr int kCardLength = 80;
inline constexpr int kRecordLength = 2880;

// The header as read from the first line of the file. cards, keys and vals hold the cards
// 1..cards.size() (index 0 is card 1), the END card included when it was found.
struct Header {
    std::vector<std::string> cards, keys, vals;
    int nBeforeEnd = 0;     // cards before END; 0 when no END was found
    bool endFound = false;
};

// The first line of the file: its bytes up to the first CR or LF, or all of them.
std::size_t FirstLineLength(const std::vector<std::uint8_t>& bytes);

// The keyword of a card: its first 8 characters with trailing blanks removed.
std::string KeywordOf(std::string_view card);

// The value text of a card: characters 10 to 80, cut before the first "/" (even one inside a
// quoted string), leading and trailing blanks removed.
std::string ValueOf(std::string_view card);

// Parses the cards of a first line of lineLength bytes: round(lineLength / 80) candidates,
// halves to even, at most maxCards of them; stops at the END card (any case).
Header ParseHeader(const std::vector<std::uint8_t>& bytes, std::size_t lineLength, int maxCards);

// Byte offset of the pixel data behind n cards and the END card, in whole 2880-byte records.
constexpr std::size_t DataOffset(int nBeforeEnd) {
    const auto headerBytes = static_cast<std::size_t>(kCardLength) * static_cast<std::size_t>(nBeforeEnd) + 3;
    return (headerBytes / kRecordLength + 1) * kRecordLength;
}

// The value text of keyword among the cards before END: the last occurrence, or the first
// when first is set; nullptr when the keyword is not there (keywords compare exactly).
const std::string* FindValue(const Header& h, std::string_view keyword, bool first = false);

// Bytes per pixel for a supported BITPIX (16, 32, -32, -64); 0 for any other.
int BytesPerPixel(int bitpix);

// The value of one pixel from its bytes b[0..B-1], most significant first. For BITPIX 16 the
// value is unsigned when |BZERO| < 0.00001, otherwise the signed value plus 32768. BSCALE is
// never applied. An IEEE exponent field of all ones gives an infinity or a NaN.
double DecodePixel(const std::uint8_t* b, int bitpix, double bzero);

}  // namespace tessan::fits
