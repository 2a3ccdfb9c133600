// --gauss: Gaussians recovered from a BF made of them, with the centres "Solve Gauss fit" shows
// for the same start, and from a binary's spectrum.
#include <gtest/gtest.h>

#include <array>
#include <numbers>
#include <random>
#include <set>

#include "batch/BatchHarness.h"
#include "batch/BatchOutput.h"
#include "batch/Gauss.h"
#include "numeric/GaussFit.h"
#include "state/AnalysisState.h"
#include "text/NumText.h"

using namespace tessan;
using namespace tessan::test;

namespace {

// 201 BF points every 4 km/s: Gaussians {centre, width, height} and normal noise, the same draws
// at both levels. Twice the noise gives twice the centres' uncertainties; "Solve Gauss fit" with
// "Auto", started where the driver starts, shows the driver's centres cut to 0.01 km/s.
TEST(MeasureGauss, RecoversComponentsWithTheWindowsCentres) {
    const double delV = 4, rootPi = std::sqrt(std::numbers::pi);
    const std::vector<std::vector<std::array<double, 3>>> cases = {
        {{-60, 20, 0.08}, {45, 22, 0.05}}, {{-120, 15, 0.06}, {-10, 25, 0.1}, {90, 18, 0.04}}};
    for (const auto& truth : cases) {
        const std::size_t k = truth.size();
        double total = 0;
        for (const auto& [v, w, h] : truth) total += h * w;
        std::vector<double> errors;
        for (double noise : {3e-4, 6e-4}) {
            SCOPED_TRACE(std::to_string(k) + " Gaussians, noise " + std::to_string(noise));
            auto s = std::make_unique<AnalysisState>();
            std::mt19937 gen(7);   // the same draws at both levels
            std::normal_distribution<double> n01;
            for (int i = 1; i <= 201; ++i) {
                s->vel_bb(i) = (i - 101) * delV, s->bb_n(i) = noise * n01(gen);
                for (const auto& [v, w, h] : truth) s->bb_n(i) += h * std::exp(-std::pow((s->vel_bb(i) - v) / w, 2));
            }
            const auto g = batch::MeasureGauss(s->vel_bb, s->bb_n, s->bb_n, 201, delV, static_cast<int>(k)).components;
            ASSERT_EQ(g.size(), k);
            for (std::size_t i = 0; i < k; ++i) {
                const auto [v, w, h] = truth[i];
                EXPECT_NEAR(g[i].velocity, v, 0.05 * delV) << i;
                EXPECT_NEAR(g[i].width / w, 1, 0.02) << i;
                EXPECT_NEAR(g[i].area / (h * w * rootPi), 1, 0.02) << i;
                EXPECT_NEAR(g[i].fraction, h * w / total, 0.02) << i;
                errors.push_back(g[i].velocityError);
            }
            s->bbShown.span = 201, s->bbCombo1Flag = k == 3, s->bbCombo2Flag = true;
            for (int j = 1; j <= 9; ++j) s->FitList(j) = j;
            const auto peaks = batch::MeasureBfPeaks(s->vel_bb, s->bb_n, 201, static_cast<int>(k));
            for (std::size_t st = 1; st <= k; ++st) {
                s->PeakXo[st] = *peaks[st - 1].velocity, s->PeakHeight[st] = peaks[st - 1].height;
                s->PeakWidth[st] = GaussStartWidth(s->vel_bb, s->bb_n, 201, peaks[st - 1].index, delV);
            }
            RecordingPlatform p;
            const auto window =
                SolveGaussFit(*s, p, GaussBoxes{{"0", "0", "0"}, {"1", "1", "1"}, {"0", "0", "0"}, "", ""});
            ASSERT_TRUE(window);
            std::multiset<std::string> shown, cut;
            for (std::size_t i = 0; i < k; ++i) {
                shown.insert(window->centre[i]);
                cut.insert(PlainText(std::floor(std::stod(batch::NumberField(g[i].velocity)) * 100) / 100));
            }
            EXPECT_EQ(cut, shown);
        }
        for (std::size_t i = 0; i < k; ++i) EXPECT_NEAR(errors[i + k] / errors[i], 2, 0.2) << i;
    }
}

using GaussRunTest = SampleSuite;

// The binary's components as the driver prints them, the stronger one first.
TEST_F(GaussRunTest, BinarysComponents) {
    const BatchRun r = RunInProcess({"--std", S().std, "--span", "101", "--order", "101", "--gauss", "2", "--errors",
                                     "--prog", S().sb2}, WorkDir("gauss"));
    ASSERT_TRUE(r.status == 0 && r.rows.size() == 1 && r.rows[0].size() == 18) << r.err << r.out;
    const double step = S().delV;
    EXPECT_NEAR(std::stod(r.rows[0][6]), S().sb2StepsA * step, 0.05 * step) << r.out;
    EXPECT_NEAR(std::stod(r.rows[0][12]), S().sb2StepsB * step, 0.05 * step) << r.out;
    EXPECT_NEAR(std::stod(r.rows[0][10]), 0.65, 0.02) << r.out;
}

}  // namespace
