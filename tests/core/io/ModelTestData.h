#pragma once
// Model file test data: a working model of deterministic values, a snapshot of the items a
// failed load must leave alone, and a hand-written file.
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "state/AnalysisState.h"
#include "support/TextFiles.h"

namespace tessan::test {

// Values of many magnitudes (1E-30..1E+30, both signs) and some whole numbers, so that both
// the positional and the exponent forms are written.
class ValueSource {
public:
    explicit ValueSource(std::uint64_t seed) : m_gen(seed) {}
    double next() {
        const double u = std::uniform_real_distribution<double>(1, 10)(m_gen);
        const auto r = m_gen();
        if (r % 8 == 0) return static_cast<double>(r % 5000) - 2500;
        return (r & 16 ? -1 : 1) * u * std::pow(10.0, static_cast<int>((r >> 8) % 61) - 30);
    }

private:
    std::mt19937_64 m_gen;
};

// A finished model of n pixels and the given span in the working items of s.
inline void FillWorkingModel(AnalysisState& s, int n, int span, std::uint64_t seed) {
    ValueSource v(seed);
    s.StdFileName = "std_" + std::to_string(seed) + ".fts";
    s.StdObject = "HD " + std::to_string(1000 + seed);
    s.nRecords_StdHdr = 3;
    s.StdHdr(1) = "SIMPLE  =                    T / conforms, to FITS";
    s.StdHdr(2) = "OBJECT  = 'HD " + std::to_string(1000 + seed) + "'";
    s.StdHdr(3) = "END";
    s.NAXIS1 = s.nPixStd = s.nGrid = n;
    s.WaveL_B_Std = 5000 + v.next() * 1e-30, s.dLambda_dp_Std = 0.0123456789012345, s.WaveL_R_Std = 5500.123456789012;
    for (int i = 1; i <= n; ++i)
        s.Pixval(i) = v.next(), s.ws(i) = 5000 + 0.25 * i, s.ss(i) = v.next(),
        s.w1(i) = 5001 * std::pow(1.00001, i - 1);
    s.delV = 2.5, s.Min_waveL = 5001, s.Max_waveL = 5400, s.r1 = 1.00001;
    s.span = span;
    for (int j = 1; j <= span; ++j) {
        for (int i = 1; i <= n - span + 1; ++i) s.des(i, j) = v.next(), s.U(i, j) = v.next();
        for (int i = 1; i <= span; ++i) s.Vt(i, j) = v.next();
        s.ww(j) = v.next();
    }
    for (int i = 1; i <= n; ++i) s.ssr(i) = v.next();
    s.svdValid = s.ssrAvailable = true;
}

// The items a failed load, a refused save or Select_model(0) must leave exactly as they were,
// as one comparable value.
inline auto ModelItems(const AnalysisState& s) {
    std::vector<std::tuple<std::string, int, Mat>> slots;
    for (const auto& m : s.Models) slots.emplace_back(m.StdFileName, m.span, m.des);
    return std::tuple(s.nModels, s.CurModel, s.StdFileName, s.StdObject, s.nRecords_StdHdr, s.StdHdr, s.NAXIS1,
                      s.WaveL_B_Std, s.nPixStd, s.nGrid, s.delV, s.Min_waveL, s.r1, s.span, s.svdValid, s.ssrAvailable,
                      s.Pixval, s.ws, s.ss, s.w1, s.ssr, s.ww, s.des, s.U, s.Vt, slots);
}

// A model file of the layout written by hand: 2 cards, n = 5, span = 3 (3 rows), with
// number texts as other programs write them (".5", "-1.5D-03", " 2 ", blanks around fields).
inline std::vector<std::string> HandModelLines() {
    return {
        "\"hand.fts\"", "\"Star, with comma\"", "2,\"--- nRecords_StdHdr\"",
        "\"SIMPLE  =                    T\"", "\"OBJECT  = 'X'\"",
        " 5 ,\"--- NAXIS1\"", "6000,\"--- WaveL_B_Std\"", ".5,\"--- dLambda_dp_Std\"",
        "6002, \"--- WaveL_R_Std\"",
        "\"----- Start Pixval() -----\"", ".5", "-1.5D-03", " 2 ", "1E+2", "-.25",
        "\"----- Start ws(), ss() -----\"", "6000,.5", "6000.5, -.5", " 6001 , 1.5d2", "6001.5,0",
        "6002,2.5E-10",
        " 3 ,\"--- delV\"", "6000.25,\"--- Min_waveL\"", "0,\"--- Max_waveL\"",
        "1.00002,\"--- r1\"",
        "\"----- Start w1() -----\"", "6000.25", "6000.37", "6000.49", "6000.61", "6000.73",
        "\"----- Start des(,) -----\"", "3,\"--- span\"",
        "11", "12", "13", "21", "22", "23", "31", "32", "33",
        "\"----- Start U(,) -----\"",
        "-1.1", "-1.2", "-1.3", "-2.1", "-2.2", "-2.3", "-3.1", "-3.2", "-3.3",
        "\"----- Start ww() -----\"", "3", "2", "1",
        "\"----- Start Vt(,) -----\"", "1", "0", "0", "0", "-1", "0", "0", "0", ".5",
        "\"----- Start ssr() -----\"", ".1", ".2", ".3",
        "\"----- END -----\"",
    };
}
// Index of the first line of the ssr section in HandModelLines().
inline constexpr std::size_t kHandSsrLabel = 66;

}  // namespace tessan::test
