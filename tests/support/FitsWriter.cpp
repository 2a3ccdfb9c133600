#include "support/FitsWriter.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace tessan::test {

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
    char b[40];
    std::snprintf(b, sizeof b, "%.10G", x);
    return b;
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
            default: throw std::invalid_argument("bitpix");
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

std::vector<double> SyntheticSpectrum(int n, double crval1, double cd1_1, double velocityKms,
                                      double broadenKms) {
    const double c = 299792.458;
    const double lo = crval1, hi = crval1 + (n - 1) * cd1_1;
    // Deterministic line list: positions and depths from a fixed linear congruential sequence.
    std::uint32_t seed = 12345u;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1u << 24);
    };
    struct Line { double lambda, depth, sigma; };
    std::vector<Line> lines;
    const int nLines = std::max(4, static_cast<int>((hi - lo) / 6.0));
    for (int k = 0; k < nLines; ++k) {
        double l = lo + (hi - lo) * next();
        double d = 0.1 + 0.6 * next();
        double s = cd1_1 * (0.8 + 1.2 * next());
        lines.push_back({l, d, s});
    }
    std::vector<double> flux(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const double lambda = crval1 + (i - 1) * cd1_1;
        double absorb = 0;
        for (const auto& ln : lines) {
            const double centre = ln.lambda * (1.0 + velocityKms / c);
            const double sb = ln.lambda * broadenKms / c;
            const double sig = std::sqrt(ln.sigma * ln.sigma + sb * sb);
            const double depth = ln.depth * ln.sigma / sig;   // equivalent width kept
            const double z = (lambda - centre) / sig;
            if (std::fabs(z) < 8) absorb += depth * std::exp(-z * z / 2);
        }
        flux[static_cast<std::size_t>(i - 1)] = 1000.0 * std::max(0.05, 1.0 - absorb);
    }
    return flux;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace tessan::test
