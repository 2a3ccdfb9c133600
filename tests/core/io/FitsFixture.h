#pragma once
// FITS reader tests: a fresh state with the default keywords, reading byte images from the
// recording platform's directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/AnalysisState.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "support/FitsWriter.h"
#include "support/RecordingPlatform.h"

namespace tessan::test {

// Header cards without END: BITPIX, NAXIS1, an OBJECT, CRVAL1 = 5000, CD1_1 = 0.5, then extra.
inline std::vector<std::string> SpectrumCards(int bitpix, int naxis1,
                                              const std::vector<std::string>& extra = {}) {
    std::vector<std::string> cards = {
        Card("SIMPLE", "                   T"), Card("BITPIX", Number(bitpix)),
        Card("NAXIS", "1"),                      Card("NAXIS1", Number(naxis1)),
        Card("OBJECT", Quoted("TEST STAR")),     Card("CRVAL1", "5000.0"),
        Card("CD1_1", "0.5"),
    };
    cards.insert(cards.end(), extra.begin(), extra.end());
    return cards;
}

class FitsFixture : public ::testing::Test {
protected:
    FitsFixture() {
        s.DataPath = p.WorkDir().string();
        s.Lambda0_Key = "CRVAL1";
        s.dLambda_Key = "CD1_1";
    }

    std::string put(const Bytes& bytes, const std::string& name) {
        WriteFile(p.WorkDir() / name, bytes);
        return (p.WorkDir() / name).string();
    }
    FitsOutcome readStd(const Bytes& bytes, const std::string& name = "std.fits") {
        s.StdFullPath = put(bytes, s.StdFileName = name);
        return ReadStdFits(s, p);
    }
    FitsOutcome readPro(const Bytes& bytes, const std::string& name = "pro.fits") {
        s.ProFullPath = put(bytes, s.ProFileName = name);
        return ReadProFits(s, p);
    }
    // A standard of n pixels with values 1..n (BITPIX -32) at 5000 + 0.5 (i - 1).
    static Bytes Ramp(int n, int bitpix = -32) {
        std::vector<double> v(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = i + 1;
        return MakeFits(SpectrumCards(bitpix, n), EncodePixels(bitpix, v));
    }

    AnalysisState s;
    RecordingPlatform p;
};

}  // namespace tessan::test
