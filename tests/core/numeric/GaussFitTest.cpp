// Gauss-Jordan on singular matrices and the fit of Gaussians to BF peaks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "numeric/GaussFit.h"
#include "support/RecordingPlatform.h"

namespace tessan {
namespace {

struct Star { double h, xo, w; };

// A BF of 201 points, delV 5 km/s (-500..500), made of the truth's Gaussians; the stored stars
// set to start; FitList 1..9 as the main window sets it.
void makeBf(AnalysisState& s, const std::vector<Star>& truth, const std::vector<Star>& start) {
    s.span = s.bbShown.span = 201;
    s.span2 = 100;
    for (int k = 1; k <= s.span; ++k) {
        s.vel_bb(k) = (k - s.span2 - 1) * 5.0;
        s.bb_n(k) = 0;
        for (const Star& st : truth) s.bb_n(k) += st.h * std::exp(-std::pow((s.vel_bb(k) - st.xo) / st.w, 2));
    }
    for (int j = 1; j <= 9; ++j) s.FitList(j) = j;
    for (std::size_t i = 0; i < start.size(); ++i)
        s.PeakHeight[i + 1] = start[i].h, s.PeakXo[i + 1] = start[i].xo, s.PeakWidth[i + 1] = start[i].w;
}

GaussBoxes boxes(const char* vmin = "-400", const char* vmax = "400") {
    return GaussBoxes{{"-210", "213", "-60"}, {"60", "80", "80"}, {"0.0183", "0.01", "0.028"}, vmin, vmax};
}

TEST(GaussJordan, SingularMatrices) {
    const double nan = std::nan("");
    const struct { const char* name; double m[4]; FitStatus expect; } cases[] = {
        {"rank one", {1, 2, 2, 4}, FitStatus::Singular2},
        {"tiny pivot below single precision", {1, 0, 0, 1e-60}, FitStatus::Singular2},
        {"all NaN", {nan, nan, nan, nan}, FitStatus::Singular1}};
    for (const auto& c : cases) {
        Mat a(2, 2), b(2, 1);
        a(1, 1) = c.m[0], a(1, 2) = c.m[1], a(2, 1) = c.m[2], a(2, 2) = c.m[3];
        EXPECT_EQ(Gauss_jordan(a, 2, b, 1), c.expect) << c.name;
    }
}

// Fitted values are truncated toward minus infinity, so the true values sit a little above the
// expected texts: far from a truncation step whatever the last bits of the fit.
TEST(SolveGaussFit, RecoversTruthFromPerturbedStart) {
    const struct {
        const char* name;
        bool three, autoWindow;
        std::vector<Star> truth, start;
        std::vector<std::string> texts;   // height, centre, width of each star
        std::string text4;
    } cases[] = {
        {"two stars", false, false, {{0.30003, -120.004, 40.005}, {0.20003, 85.005, 60.005}},
         {{0.25, -110, 50}, {0.25, 95, 50}}, {"0.3 -120.01 40", "0.2 85 60"}, "-120.01, 85"},
        {"positive centre truncated down", false, true, {{0.15003, -150.346, 30.005}, {0.25003, 12.346, 25.005}},
         {{0.12, -140, 35}, {0.2, 20, 30}}, {"0.15 -150.35 30", "0.25 12.34 25"}, "-150.35, 12.34"},
        {"three stars", true, true,
         {{0.15003, -200.004, 30.005}, {0.30003, 0.005, 40.005}, {0.20003, 180.005, 35.005}},
         {{0.12, -190, 35}, {0.25, 10, 45}, {0.15, 170, 30}}, {"0.15 -200.01 30", "0.3 0 40", "0.2 180 35"},
         "-200.01, 0, 180"},
    };
    for (const auto& c : cases) {
        AnalysisState s;
        test::RecordingPlatform p;
        makeBf(s, c.truth, c.start);
        s.bbCombo1Flag = c.three, s.bbCombo2Flag = c.autoWindow;
        const auto r = SolveGaussFit(s, p, boxes());
        ASSERT_TRUE(r.has_value()) << c.name << (p.messages.empty() ? "" : ": " + p.messages[0]);
        EXPECT_TRUE(p.messages.empty()) << c.name;
        EXPECT_EQ(std::tuple(r->nstars, r->autoWindow, r->text4), std::tuple(c.three ? 3 : 2, c.autoWindow, c.text4))
            << c.name;
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(r->height[i] + " " + r->centre[i] + " " + r->width[i], c.texts[i]) << c.name << " star " << i + 1;
            EXPECT_EQ(s.PeakXo[i + 1], std::stod(r->centre[i])) << c.name << " star " << i + 1;
        }
        EXPECT_LT(s.ChiSq, 1e-12) << c.name;
        EXPECT_NEAR(s.FitPar(2), c.truth[0].xo, 1e-6) << c.name;   // FitPar keeps the untruncated fit
    }
}

TEST(AutoFitWindow, FourWidthsBeyondTheOuterCentres) {
    const struct { const char* name; int nstars; double p[9]; double vmin, vmax; } cases[] = {
        {"initial boxes", 2, {0.0183, -210, 60, 0.01, 213, 80}, -450, 533},
        {"third below", 3, {1, -10, 5, 1, 10, 5, 1, -50, 10}, -90, 30},
        {"third between", 3, {1, -10, 5, 1, 10, 5, 1, 0, 100}, -30, 30},
    };
    for (const auto& c : cases) {
        Vec par(9);
        for (int j = 1; j <= 9; ++j) par(j) = c.p[j - 1];
        double vmin = 0, vmax = 0;
        AutoFitWindow(par, c.nstars, vmin, vmax);
        EXPECT_TRUE(vmin == c.vmin && vmax == c.vmax) << c.name << ": " << vmin << ".." << vmax;
    }
}

TEST(SolveGaussFit, RefusedOrAbandonedFitsChangeNothing) {
    const std::string zero = kZeroWidthMessage, boxMsg = "Please put numbers in the boxes.";
    const std::string few = "The velocity window holds fewer BF points than the fit has parameters.";
    const std::vector<Star> good = {{0.25, -110, 50}, {0.25, 95, 50}};
    auto box = [](auto edit) { GaussBoxes b = boxes(); edit(b); return b; };
    const struct {
        const char* name;
        bool three, autoWindow;
        std::vector<Star> start;
        GaussBoxes b;
        std::string message;
        bool noOrder = false;   // the parameter order was never set up
    } cases[] = {
        {"empty centre", false, false, good, box([](GaussBoxes& b) { b.centre[0] = ""; }), boxMsg},
        {"overflowing height", false, false, good, box([](GaussBoxes& b) { b.height[0] = "1e999"; }), boxMsg},
        {"empty third row, three stars", true, false, good, box([](GaussBoxes& b) { b.width[2] = ""; }), boxMsg},
        {"Vmin not a number", false, false, good, boxes("x", "400"), "Factor must be a number."},
        {"zero typed width", false, false, {{0.25, -110, 50}, {0.25, 95, 0}}, boxes(), zero},
        {"third star never applied", true, false, good, boxes(), zero},
        {"height zero", false, false, {{0.25, -110, 50}, {0, 95, 50}}, boxes(), "Singular matrix 2"},
        {"star outside window", false, false, {{0.25, -110, 50}, {0.25, 480, 5}}, boxes("-300", "300"),
         "Singular matrix 2"},
        {"window of one point", false, false, good, boxes("-5", "5"), few},
        {"window too small in Auto", false, true, {{0.25, -1, 0.1}, {0.25, 1, 0.1}}, boxes(), few},
        {"parameter order never set up", false, false, good, boxes(), "Improper permutation in LISTA", true},
    };
    for (const auto& c : cases) {
        AnalysisState s;
        test::RecordingPlatform p;
        makeBf(s, {{0.30003, -120.004, 40.005}, {0.20003, 85.005, 60.005}}, c.start);
        s.bbCombo1Flag = c.three, s.bbCombo2Flag = c.autoWindow;
        s.FitVmin = 1, s.Lambda = 7;
        for (int j = 1; c.noOrder && j <= 9; ++j) s.FitList(j) = 0;
        auto fitItems = [&s] {
            return std::tuple(s.PeakXo, s.PeakWidth, s.PeakHeight, s.FitPar, s.FitX, s.FitVmin, s.FitVmax, s.Lambda,
                              s.ChiSq);
        };
        const auto before = fitItems();
        EXPECT_FALSE(SolveGaussFit(s, p, c.b).has_value()) << c.name;
        EXPECT_EQ(p.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_TRUE(fitItems() == before) << c.name;
    }
}

TEST(ComputeModelCurve, CurveAndZeroWidth) {
    AnalysisState s;
    makeBf(s, {}, {{0.5, 100, 20}, {0.3, 0, 0}});
    ASSERT_TRUE(ComputeModelCurve(s, 1));
    EXPECT_EQ(s.ModelCurve(1, 121), 0.5);                         // at the centre, 100 km/s
    EXPECT_DOUBLE_EQ(s.ModelCurve(1, 125), 0.5 * std::exp(-1));   // one width away
    s.ModelCurve(2, 101) = 9;
    EXPECT_FALSE(ComputeModelCurve(s, 2));   // zero width: the curve is left alone
    EXPECT_EQ(s.ModelCurve(2, 101), 9.0);
    EXPECT_FALSE(ComputeModelCurve(s, 0) || ComputeModelCurve(s, 4));
}

}  // namespace
}  // namespace tessan
