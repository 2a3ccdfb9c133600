#include "io/FitsWriter.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>

#include "io/AtomicFile.h"

namespace tessan::fits {

std::string Card(std::string_view keyword, std::string_view value) {
    std::string c(keyword);
    c.resize(8, ' ');
    c += "= ";
    c += value;
    c.resize(80, ' ');
    return c;
}

std::string Quoted(std::string_view text) {
    std::string t(text);
    if (t.size() < 8) t.resize(8, ' ');
    return "'" + t + "'";
}

std::string Number(double x) {
    // As printf's %.10G, whatever the locale.
    char b[40];
    auto res = std::to_chars(b, b + sizeof b, x, std::chars_format::general, 10);
    std::string t(b, res.ptr);
    for (char& c : t)
        if (c == 'e') c = 'E';
    // The largest doubles round up beyond the range of a double in 10 digits, and such a text
    // reads back as an overflow: they are cut toward zero instead.
    double back = 0;
    if (std::isfinite(x) && std::from_chars(t.data(), t.data() + t.size(), back).ec == std::errc::result_out_of_range)
        t = x < 0 ? "-1.797693134E+308" : "1.797693134E+308";
    return t;
}

Bytes MakeFits(const std::vector<std::string>& cards, const Bytes& data, bool padData) {
    Bytes out;
    auto put = [&](const std::string& c) {
        std::string t = c;
        t.resize(80, ' ');
        out.insert(out.end(), t.begin(), t.end());
    };
    for (const auto& c : cards) put(c);
    put("END");
    while (out.size() % 2880 != 0) out.push_back(' ');
    out.insert(out.end(), data.begin(), data.end());
    if (padData)
        while (out.size() % 2880 != 0) out.push_back(0);
    return out;
}

Bytes EncodePixels(int bitpix, const std::vector<double>& values) {
    Bytes out;
    for (double v : values) {
        switch (bitpix) {
            case 8: out.push_back(static_cast<std::uint8_t>(static_cast<long long>(v))); break;
            case 16: {
                auto u = static_cast<std::uint16_t>(static_cast<long long>(std::llround(v)) & 0xFFFF);
                out.push_back(static_cast<std::uint8_t>(u >> 8));
                out.push_back(static_cast<std::uint8_t>(u));
                break;
            }
            case 32: {
                auto u = static_cast<std::uint32_t>(static_cast<long long>(std::llround(v)) & 0xFFFFFFFFLL);
                for (int k = 3; k >= 0; --k) out.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
                break;
            }
            case -32: {
                float f = static_cast<float>(v);
                std::uint32_t u;
                std::memcpy(&u, &f, 4);
                for (int k = 3; k >= 0; --k) out.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
                break;
            }
            case -64: {
                std::uint64_t u;
                std::memcpy(&u, &v, 8);
                for (int k = 7; k >= 0; --k) out.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
                break;
            }
            default: assert(false && "unsupported BITPIX"); break;
        }
    }
    return out;
}

Bytes MakeSpectrumFits(const SpectrumFile& f) {
    std::vector<std::string> cards = {
        Card("SIMPLE", "                   T"),
        Card("BITPIX", Number(f.bitpix)),
        Card("NAXIS", "1"),
        Card("NAXIS1", std::to_string(f.values.size())),
        Card("OBJECT", Quoted(f.object)),
    };
    for (const auto& c : f.extraCards) cards.push_back(c);
    cards.push_back(Card(f.lambda0Key, Number(f.crval1)));
    cards.push_back(Card(f.dLambdaKey, Number(f.cd1_1)));
    return MakeFits(cards, EncodePixels(f.bitpix, f.values));
}

int WriteFitsFile(const std::filesystem::path& path, const Bytes& bytes) {
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace tessan::fits
