#include "io/FitsFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "text/Int16.h"

namespace tessan::fits {

std::size_t FirstLineLength(const std::vector<std::uint8_t>& bytes) {
    const auto it = std::find_if(bytes.begin(), bytes.end(),
                                 [](std::uint8_t c) { return c == '\r' || c == '\n'; });
    return static_cast<std::size_t>(it - bytes.begin());
}

std::string KeywordOf(std::string_view card) {
    std::string k(card.substr(0, 8));
    while (!k.empty() && k.back() == ' ') k.pop_back();
    return k;
}

std::string ValueOf(std::string_view card) {
    if (card.size() <= 9) return {};
    std::string_view v = card.substr(9, 71);
    if (const auto slash = v.find('/'); slash != std::string_view::npos) v = v.substr(0, slash);
    const auto first = v.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = v.find_last_not_of(' ');
    return std::string(v.substr(first, last - first + 1));
}

namespace {
bool isEnd(const std::string& key) {
    if (key.size() != 3) return false;
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return up(key[0]) == 'E' && up(key[1]) == 'N' && up(key[2]) == 'D';
}
}  // namespace

Header ParseHeader(const std::vector<std::uint8_t>& bytes, std::size_t lineLength, int maxCards) {
    Header h;
    lineLength = std::min(lineLength, bytes.size());
    const double candidates = RoundHalfEven(static_cast<double>(lineLength) / kCardLength);
    const int n = static_cast<int>(std::min(candidates, static_cast<double>(maxCards)));
    for (int i = 1; i <= n; ++i) {
        const std::size_t start = static_cast<std::size_t>(i - 1) * kCardLength;
        if (start >= lineLength) break;
        const std::size_t len = std::min<std::size_t>(kCardLength, lineLength - start);
        std::string card(reinterpret_cast<const char*>(bytes.data()) + start, len);
        std::string key = KeywordOf(card);
        const bool end = isEnd(key);
        h.vals.push_back(end ? std::string() : ValueOf(card));
        h.keys.push_back(std::move(key));
        h.cards.push_back(std::move(card));
        if (end) {
            h.endFound = true;
            h.nBeforeEnd = i - 1;
            break;
        }
    }
    return h;
}

const std::string* FindValue(const Header& h, std::string_view keyword, bool first) {
    if (keyword.empty()) return nullptr;
    const std::string* found = nullptr;
    for (int i = 0; i < h.nBeforeEnd; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (h.keys[k] != keyword) continue;
        found = &h.vals[k];
        if (first) break;
    }
    return found;
}

int BytesPerPixel(int bitpix) {
    switch (bitpix) {
        case 16: return 2;
        case 32: return 4;
        case -32: return 4;
        case -64: return 8;
        default: return 0;
    }
}

double DecodePixel(const std::uint8_t* b, int bitpix, double bzero) {
    switch (bitpix) {
        case 16:
            if (std::fabs(bzero) < 0.00001) return b[0] * 256.0 + b[1];
            // The signed value plus 32768: the sign bit flipped.
            return (b[0] < 128 ? b[0] + 128.0 : b[0] - 128.0) * 256.0 + b[1];
        case 32:
            return ((b[0] * 256.0 + b[1]) * 256.0 + b[2]) * 256.0 + b[3];
        case -32: {
            const double sign = b[0] >= 128 ? -1.0 : 1.0;
            const int e = (b[0] % 128) * 2 + (b[1] >= 128 ? 1 : 0);
            const double m = ((b[1] % 128) * 65536.0 + b[2] * 256.0 + b[3]) / 8388608.0;
            if (e == 255)
                return m == 0 ? sign * std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::quiet_NaN();
            return e >= 1 ? sign * std::ldexp(1.0 + m, e - 127) : sign * std::ldexp(m, -126);
        }
        case -64: {
            const double sign = b[0] >= 128 ? -1.0 : 1.0;
            const int e = (b[0] % 128) * 16 + b[1] / 16;
            // Every term is a multiple of 2^-52 below 1, so the sum is exact.
            double m = (b[1] % 16) / 16.0;
            double scale = 16.0;
            for (int k = 3; k <= 8; ++k) {
                scale *= 256.0;
                m += b[k - 1] / scale;
            }
            if (e == 2047)
                return m == 0 ? sign * std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::quiet_NaN();
            return e >= 1 ? sign * std::ldexp(1.0 + m, e - 1023) : sign * std::ldexp(m, -1022);
        }
        default:
            return 0;
    }
}

}  // namespace tessan::fits
