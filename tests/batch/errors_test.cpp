// Monte Carlo check of the velocity uncertainties: a single star at 17 km/s and a binary at -40
// and 45 km/s (light 0.65 and 0.35), broadened by 25 km/s, 3000 pixels of 0.1 A read and
// resampled by steps 1 to 5 and 7, then given white noise of 1 / (S/N) of the continuum on every
// grid point (the noise the uncertainty assumes); 200 realisations of each, the BF of order 12
// measured as the driver measures it. The mean uncertainty against the standard deviation of
// the velocities, for each peak.
#include <gtest/gtest.h>

#include <random>

#include "batch/BatchHarness.h"
#include "batch/Peaks.h"
#include "numeric/Bf.h"
#include "numeric/BfUncertainty.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"

using namespace tessan;

TEST(BatchErrors, MonteCarloScatterMatchesTheReportedUncertainty) {
    test::RecordingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    s->Lambda0_Key = "CRVAL1", s->dLambda_Key = "CD1_1", s->DataPath = p.WorkDir().string();
    s->StdFileName = s->ProFileName = "s.fits", s->StdFullPath = s->ProFullPath = (p.WorkDir() / "s.fits").string();
    auto write = [&](double velocity, double weight, double velocity2) {
        fits::SpectrumFile f;
        f.cd1_1 = 0.1, f.values = samples::SyntheticSpectrum(3000, 5000, 0.1, velocity, velocity ? 25 : 0);
        const auto two = samples::SyntheticSpectrum(3000, 5000, 0.1, velocity2, 25);
        for (std::size_t i = 0; i < two.size(); ++i) f.values[i] = weight * f.values[i] + (1 - weight) * two[i];
        return fits::WriteFitsFile(s->StdFullPath, fits::MakeSpectrumFits(f)) == 0;
    };
    ASSERT_TRUE(write(0, 1, 0) && ReadStdFits(*s, p) == FitsOutcome::Done);
    const GridProposal g = ProposeGrid(*s);
    ASSERT_TRUE(Resample(*s, p, g.delV, g.minWave, g.maxWave) && Design_matrix(*s, p, "51").built && RunSvdStep(*s, p));
    const int stars = 200, order = 12, rows = s->nGrid - s->span + 1;
    const struct { int peaks; double sn; } cases[] = {{1, 50}, {1, 200}, {2, 50}, {2, 200}};
    for (const auto& c : cases) {
        ASSERT_TRUE(write(c.peaks == 1 ? 17 : -40, c.peaks == 1 ? 1 : 0.65, 45) && ReadProFits(*s, p) == FitsOutcome::Done &&
                    RunBfStep(*s, p));
        const Vec clean = s->spr;
        std::mt19937 gen(static_cast<unsigned>(c.sn) + c.peaks);
        std::normal_distribution<double> noise(0.0, 1 / c.sn);
        double sum[2] = {}, sum2[2] = {}, err[2] = {};
        for (int k = 0; k < stars; ++k) {
            for (int i = 1; i <= s->nGrid; ++i) s->spr(i) = clean(i) + noise(gen);
            ASSERT_TRUE(solveAllOrders(*s, p) && CopyBfOrder(*s, order) == order);
            const double sigma2 = NoiseVariance(ResidualsOfOrders(s->U, s->ww, s->spr, s->span, rows), order);
            const auto found = batch::MeasureBfPeaks(s->vel_bb, s->bb_n, s->span, c.peaks);
            for (std::size_t q = 0; q < found.size(); ++q) {
                sum[q] += found[q].velocity.value(), sum2[q] += std::pow(found[q].velocity.value(), 2);
                err[q] += VertexUncertainty(s->Vt, s->ww, order, s->span, s->vel_bb, s->bb_n, found[q].index, nullptr,
                                            sigma2).value();
            }
        }
        for (int q = 0; q < c.peaks; ++q) {
            const double sd = std::sqrt((sum2[q] - sum[q] * sum[q] / stars) / (stars - 1)), ratio = err[q] / stars / sd;
            const std::string name = std::to_string(c.peaks) + " peaks, S/N " + std::to_string(int(c.sn)) + ", peak " +
                                     std::to_string(q + 1);
            RecordProperty(name, std::to_string(ratio));
            EXPECT_TRUE(ratio > 0.8 && ratio < 1.25) << name << ": ratio " << ratio << ", scatter " << sd;
        }
    }
}
