#include "StateDigest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

namespace tessan::fuzz {

namespace {

class Hasher {
public:
    std::uint64_t value() const { return m_h; }

    void word(std::uint64_t w) {
        m_h = (m_h ^ w) * 0x9E3779B97F4A7C15ull;
        m_h ^= m_h >> 29;
    }
    // Four independent lanes over 32-byte blocks, so that long arrays are not bound by the
    // latency of one chain of multiplications.
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        std::size_t i = 0;
        if (n >= 32) {
            std::uint64_t lane[4] = {1, 2, 3, 4};
            for (; i + 32 <= n; i += 32) {
                std::uint64_t w[4];
                std::memcpy(w, b + i, 32);
                for (int k = 0; k < 4; ++k) lane[k] = (lane[k] ^ w[k]) * 0x9E3779B97F4A7C15ull;
            }
            for (std::uint64_t l : lane) word(l);
        }
        for (; i + 8 <= n; i += 8) {
            std::uint64_t w;
            std::memcpy(&w, b + i, 8);
            word(w);
        }
        std::uint64_t tail = 0;
        if (i < n) std::memcpy(&tail, b + i, n - i);
        word(tail);
        word(n);
    }

    void operator()(double x) { bytes(&x, sizeof x); }
    void operator()(int x) { word(static_cast<std::uint64_t>(static_cast<std::int64_t>(x))); }
    void operator()(bool x) { word(x ? 1 : 0); }
    void operator()(const std::string& t) { bytes(t.data(), t.size()); }
    void operator()(const Vec& v) { bytes(v.data(), v.size() == 0 ? 0 : (v.size() + 1) * sizeof(double)); }
    void operator()(const Vec1<std::string>& v) {
        // Through data(): the indexing operator of the instrumented core would be linked here.
        const std::string* d = v.data();
        for (int i = v.size() > 0 ? 0 : 1; i <= v.size(); ++i) (*this)(d[i]);
        (*this)(v.size());
    }
    void operator()(const SymVec& v) {
        bytes(v.origin() - v.bound(), static_cast<std::size_t>(2 * v.bound() + 1) * sizeof(double));
    }
    void operator()(const Mat& a) {
        (*this)(a.rows());
        (*this)(a.cols());
        if (a.cols() < 1) return;
        const std::size_t n = static_cast<std::size_t>(a.rows()) * static_cast<std::size_t>(a.cols());
        if (n <= 64 * 1024) {
            bytes(a.col(1), n * sizeof(double));
            return;
        }
        const int rows = std::min(a.rows(), 64);
        for (int j = 1; j <= std::min(a.cols(), 32); ++j) bytes(a.col(j), static_cast<std::size_t>(rows) * sizeof(double));
        for (std::size_t k = 0; k < n; k += 1021) (*this)(a.col(1)[k]);
    }
    void operator()(const Rgb& c) { word(static_cast<std::uint64_t>(c.r) << 32 ^ static_cast<std::uint64_t>(c.g) << 16 ^ static_cast<std::uint64_t>(c.b)); }
    void operator()(const Geometry& g) {
        static_assert(std::has_unique_object_representations_v<Geometry>);   // ints only, no padding
        bytes(&g, sizeof g);
    }
    void operator()(const BfIdentity& b) {
        (*this)(b.span), (*this)(b.span2), (*this)(b.delV), (*this)(b.StdFileName), (*this)(b.StdObject);
        (*this)(b.ProFileName), (*this)(b.ProObject), (*this)(b.run);
    }
    void operator()(const ModelSlot& m) {
        (*this)(m.StdFileName), (*this)(m.StdObject), (*this)(m.nRecords_StdHdr), (*this)(m.StdHdr);
        (*this)(m.NAXIS1), (*this)(m.WaveL_B_Std), (*this)(m.dLambda_dp_Std), (*this)(m.WaveL_R_Std);
        (*this)(m.Pixval), (*this)(m.ws), (*this)(m.ss), (*this)(m.delV), (*this)(m.Min_waveL);
        (*this)(m.Max_waveL), (*this)(m.r1), (*this)(m.w1), (*this)(m.span), (*this)(m.des), (*this)(m.U);
        (*this)(m.ww), (*this)(m.Vt), (*this)(m.ssr), (*this)(m.ssrPresent);
    }
    template <class T, std::size_t N>
    void operator()(const std::array<T, N>& a) {
        for (const T& x : a) (*this)(x);
    }

private:
    std::uint64_t m_h = 0xCBF29CE484222325ull;
};

template <class T>
void add(StateDigest& d, std::string_view name, const T& item) {
    Hasher h;
    h(item);
    d.items.emplace_back(name, h.value());
}

}  // namespace

#define ITEM(name) add(d, #name, s.name)

StateDigest DigestOf(const AnalysisState& s) {
    StateDigest d;
    d.items.reserve(140);
    ITEM(DataPath), ITEM(StdFileName), ITEM(ProFileName), ITEM(StdFullPath), ITEM(ProFullPath);
    ITEM(ModelFileName), ITEM(ModelFullPath), ITEM(BBFileName), ITEM(BBFullPath);
    ITEM(Lambda0_Key), ITEM(dLambda_Key), ITEM(StdHdr), ITEM(StdKey), ITEM(StdVal), ITEM(ProHdr);
    ITEM(ProKey), ITEM(ProVal), ITEM(LastHdr), ITEM(LastKey), ITEM(nRecords_StdHdr);
    ITEM(nRecords_ProHdr), ITEM(nRecords_LastHdr), ITEM(NAXIS), ITEM(NAXIS1), ITEM(NAXIS2);
    ITEM(NAXIS3), ITEM(BSCALE), ITEM(BZERO);
    ITEM(StdObject), ITEM(WaveL_B_Std), ITEM(dLambda_dp_Std), ITEM(WaveL_R_Std), ITEM(Pixval);
    ITEM(ws), ITEM(ss), ITEM(nPixStd);
    ITEM(ProObject), ITEM(WaveL_B_Pro), ITEM(dLambda_dp_Pro), ITEM(WaveL_R_Pro), ITEM(Pixval_Pro);
    ITEM(wp), ITEM(sp), ITEM(nPixPro);
    ITEM(Min_waveL), ITEM(Max_waveL), ITEM(delV), ITEM(r1), ITEM(w1), ITEM(ssr), ITEM(spr);
    ITEM(nGrid), ITEM(c_kms);
    ITEM(span), ITEM(span2), ITEM(des), ITEM(U), ITEM(ww), ITEM(Vt), ITEM(Order_n);
    ITEM(ssrAvailable), ITEM(desValid), ITEM(ssrStale), ITEM(svdValid);
    ITEM(bb), ITEM(bbIdentity), ITEM(bbShown), ITEM(bbOrder), ITEM(vel_bb), ITEM(bb_n), ITEM(bb_sm);
    ITEM(Smoothed), ITEM(SmoothWidth), ITEM(Kernel), ITEM(KernelHalf), ITEM(PkX), ITEM(PkY);
    ITEM(PeakResult), ITEM(CursorVel);
    ITEM(PeakXo), ITEM(PeakWidth), ITEM(PeakHeight), ITEM(Drawn), ITEM(ModelCurve);
    ITEM(CurveColour), ITEM(CurStar), ITEM(FitPar), ITEM(FitX), ITEM(FitY), ITEM(FitSig);
    ITEM(FitList), ITEM(Alpha), ITEM(Covar), ITEM(ChiSq), ITEM(Lambda), ITEM(FitVmin), ITEM(FitVmax);
    ITEM(GaussFitMode), ITEM(bbCombo1Flag), ITEM(bbCombo2Flag);
    ITEM(ScanHalfWidth), ITEM(ccN), ITEM(cc), ITEM(vel_cc), ITEM(ccXmin), ITEM(ccXmax);
    ITEM(nModels), ITEM(CurModel), ITEM(Models);
    ITEM(geom), ITEM(ColEnabled), ITEM(ColDisabled), ITEM(ColBack), ITEM(ColRed), ITEM(ColNavy);
    ITEM(ColGreen), ITEM(ColPurple), ITEM(ErrText);
    return d;
}

#undef ITEM

void ExpectUnchangedBut(const StateDigest& before, const StateDigest& after,
                        std::initializer_list<std::string_view> allowed, const char* what) {
    std::string changed;
    for (std::size_t i = 0; i < before.items.size(); ++i) {
        const auto& [name, h] = before.items[i];
        if (h == after.items[i].second || std::find(allowed.begin(), allowed.end(), name) != allowed.end())
            continue;
        changed += changed.empty() ? "" : ", ";
        changed += name;
    }
    if (changed.empty()) return;
    std::fprintf(stderr, "broken promise: %s, but it changed %s\n", what, changed.c_str());
    std::abort();
}

}  // namespace tessan::fuzz
