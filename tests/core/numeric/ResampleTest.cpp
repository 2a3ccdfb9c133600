// Step 2: the velocity grid, the step reduced until the grid fits, and refusals that keep the
// old grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "numeric/Resample.h"
#include "steps/StandardSteps.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

// A standard of n pixels of 0.5 A from 4000 A, with a smooth spectrum.
void loadStandard(AnalysisState& s, int n = 2001) {
    s.nPixStd = s.NAXIS1 = n;
    for (int i = 1; i <= n; ++i) s.ws(i) = 4000 + 0.5 * (i - 1), s.ss(i) = 0.3 * std::sin(0.01 * i);
}

double lastPoint(double delV) { return std::pow(1 + delV / 299792.4, 2000) * 4008; }

// The exact text of a value, so that the leading-number reader gives it back bit for bit.
std::string exact(double x) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", x);
    return b;
}

// A step that does not fit is reduced by whole km/s, keeping its fraction (delV the step
// expected); an unusable range (delV 0) is refused with a message and the old grid kept.
TEST(Resample, StepReducedByWholeKmPerSecondOrTheGridKept) {
    const std::string fitsAt29_5 = exact(lastPoint(29.5)), below = exact(std::nextafter(lastPoint(29.5), 0.0));
    const struct { const char* name; int nPix; std::string text5, text2, text3; double delV; } cases[] = {
        {"already fits", 2001, "  29.0", "4008", "4990", 29},
        {"fraction kept", 2001, "45.5", "4008", fitsAt29_5, 29.5},
        {"equality stops", 2001, "29.5", "4008", fitsAt29_5, 29.5},
        {"just below equality", 2001, "30.5", "4008", below, 28.5},
        {"fraction from huge typed value", 2001, "1000000029.5", "4008", fitsAt29_5, 29.5},
        {"below one km/s", 2001, "4.5", "4008", exact(lastPoint(0.5)), 0.5},
        {"one point above the limit", 1, "29", "5000", "4990", 0},
        {"limit below the start", 2001, "29", "4008", "4000", 0},
        {"zero start", 2001, "29", "0", "-5", 0},
        {"step of zero", 2001, "0", "4008", "4990", 0},
        {"step not a number", 2001, "abc", "4008", "4990", 0},
        {"step too small to fit", 2001, "0.5", "4008", "4008.1", 0},
        {"no standard", 0, "29", "4008", "4990", 0},
        // Grid point 2 falls on two equal standard wavelengths where its search starts.
        {"equal standard wavelengths", -1, "29", "4000.1", "4990", 0},
    };
    for (const auto& c : cases) {
        AnalysisState s;
        test::RecordingPlatform p;
        loadStandard(s, c.nPix < 0 ? 2001 : c.nPix);
        if (c.nPix < 0) s.ws(2) = s.ws(3) = (1 + 29 / 299792.4) * 4000.1;
        s.delV = 7, s.Min_waveL = 1, s.Max_waveL = 2, s.r1 = 3, s.nGrid = 5, s.w1(1) = 11, s.ssr(1) = 13;
        s.svdValid = true;
        EXPECT_EQ(Resample(s, p, c.text5, c.text2, c.text3), c.delV > 0) << c.name;
        EXPECT_EQ(p.messages.size(), c.delV > 0 ? 0u : 1u) << c.name;
        if (c.delV == 0) {
            EXPECT_TRUE(s.delV == 7 && s.Min_waveL == 1 && s.Max_waveL == 2 && s.r1 == 3 && s.nGrid == 5 &&
                        s.w1(1) == 11 && s.ssr(1) == 13 && s.svdValid)
                << c.name << ": the grid changed";
            continue;
        }
        const double wmax = std::stod(c.text3);
        EXPECT_EQ(s.delV, c.delV) << c.name;
        EXPECT_TRUE(s.Min_waveL == 4008 && s.Max_waveL == wmax && s.nGrid == 2001 && s.w1(2001) <= wmax) << c.name;
        EXPECT_FALSE(s.svdValid) << c.name << ": the decomposition of the old grid is stale";
        EXPECT_EQ(s.w1(1234), std::pow(s.r1, 1233) * 4008) << c.name << ": the power is taken per point";
        EXPECT_TRUE(c.delV != 29 || GridLabelFirst(s) + GridLabelLast(s) == " 4008 4863.460") << GridLabelLast(s);
    }
}

// Points on old wavelengths (exactly, also where the search ends just below them), between
// them, and outside: the nearest end.
TEST(LinInterp, PointsOnOutsideAndBetweenOldWavelengths) {
    const double ys[] = {0.7, 0.1, 0.3, 1.9, 2.2};   // (0.1 - 0.7) + 0.7 is not 0.1
    const double xs[] = {2, 3, 4, 2.5, 3.25, 4.5, 0.2, 5.01, 900};
    const double want[] = {0.1, 0.3, 1.9, 0.2, 0.7, 2.05, 0.7, 2.2, 2.2};
    Vec xOld(5), yOld(5), xNew(9), yNew(9);
    for (int i = 1; i <= 5; ++i) xOld(i) = i, yOld(i) = ys[i - 1];
    for (int i = 1; i <= 9; ++i) xNew(i) = xs[i - 1];
    test::RecordingPlatform p;
    ASSERT_TRUE(Lin_interp(xOld, yOld, 5, xNew, yNew, 9, p));
    for (int i = 1; i <= 9; ++i) EXPECT_NEAR(yNew(i), want[i - 1], i <= 3 ? 0 : 1e-15) << "x " << xs[i - 1];
}

// The plain search the resampling was first written with: from the point's own index down while
// x < xOld(j), then up while x > xOld(j + 1).
bool walkInterp(const Vec& xOld, const Vec& yOld, int nOld, const Vec& xNew, Vec& yNew, int nNew) {
    Vec out(nNew);
    for (int i = 1; i <= nNew; ++i) {
        const double x = xNew(i);
        if (nOld == 1 || x <= xOld(1) || x >= xOld(nOld)) {
            out(i) = nOld == 1 || x <= xOld(1) ? yOld(1) : yOld(nOld);
            continue;
        }
        int j = std::clamp(i, 1, nOld - 1);
        while (j > 1 && x < xOld(j)) --j;
        while (j < nOld - 1 && x > xOld(j + 1)) ++j;
        const double dx = xOld(j + 1) - xOld(j);
        if (dx == 0) return false;
        out(i) = x == xOld(j + 1) ? yOld(j + 1) : (x - xOld(j)) / dx * (yOld(j + 1) - yOld(j)) + yOld(j);
    }
    for (int i = 1; i <= nNew; ++i) yNew(i) = out(i);
    return true;
}

// Every point's interval is the one the plain search finds, bit for bit and with the same
// refusals: on a grid, where equal old wavelengths make the direction of the search matter
// ({1, 2, 2, 3} at 2 gives the value at 2 of the left or of the right pair), where the old
// wavelengths do not increase, and for wavelengths that are not numbers.
TEST(LinInterp, FindsThePlainSearchsIntervals) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> u(0, 1);
    enum Kind { Grid, Ties, Unordered, NotNumbers };
    for (const Kind kind : {Grid, Ties, Unordered, NotNumbers}) {
        for (int trial = 0; trial < 200; ++trial) {
            const int nOld = 1 + trial % 40, nNew = 1 + static_cast<int>(60 * u(gen));
            Vec xOld(nOld), yOld(nOld), xNew(nNew), fast(nNew), plain(nNew);
            for (int j = 1; j <= nOld; ++j) {
                const double step = kind == Ties || kind == NotNumbers ? std::floor(3 * u(gen)) / 2 : 0.5;
                xOld(j) = kind == Unordered ? 10 * u(gen) : (j == 1 ? 4000 : xOld(j - 1) + step);
                yOld(j) = u(gen);
            }
            for (int i = 1; i <= nNew; ++i) {   // on the grid, on old wavelengths, or anywhere about them
                const double pick = u(gen);
                xNew(i) = kind == Grid ? 3999 + 0.37 * i
                          : pick < 0.4 ? xOld(1 + static_cast<int>(pick / 0.4 * nOld) % nOld)
                                       : xOld(1) - 1 + (xOld(nOld) - xOld(1) + 2) * u(gen);
                if (kind == NotNumbers && pick > 0.9) xNew(i) = NAN;
            }
            if (kind == NotNumbers && nOld > 2 && trial % 2) xOld(nOld / 2) = NAN;
            fast.fill(-1), plain.fill(-1);
            const bool ok = LinInterpQuiet(xOld, yOld, nOld, xNew, fast, nNew);
            ASSERT_EQ(ok, walkInterp(xOld, yOld, nOld, xNew, plain, nNew)) << "kind " << kind << " trial " << trial;
            ASSERT_EQ(std::memcmp(fast.data(), plain.data(), sizeof(double) * (nNew + 1)), 0)
                << "kind " << kind << " trial " << trial;
        }
    }
    Vec xOld(4), yOld(4), xNew(3), yNew(3);
    for (int j = 1; j <= 4; ++j) xOld(j) = j == 1 ? 1 : j == 4 ? 3 : 2, yOld(j) = 10 * j;
    xNew(1) = 2, xNew(2) = 3, xNew(3) = 2;
    ASSERT_TRUE(LinInterpQuiet(xOld, yOld, 4, xNew, yNew, 3));
    EXPECT_TRUE(yNew(1) == 20 && yNew(3) == 30) << yNew(1) << " " << yNew(3);
}

}  // namespace
}  // namespace tessan
