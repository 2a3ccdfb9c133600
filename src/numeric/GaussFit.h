#pragma once
// Least-squares fit of two or three Gaussians to the shown BF (Levenberg-Marquardt).
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Value and partial derivatives at x of the sum of Gaussians a(i) exp(-((x - a(i+1))/a(i+2))^2)
// for the na parameters a(1..na). Returns false when a width is 0 (nothing is computed).
bool Gauss_model(double x, const Vec& a, double& y, Vec& dyda, int na);

// Status of the numerical routines; a singular matrix abandons the fit.
enum class FitStatus { Ok, ImproperPermutation, Singular1, Singular2, ZeroWidth };

FitStatus LM_coef(const Vec& x, const Vec& y, const Vec& sig, int n, const Vec& a, int ma,
                  const Vec& list, int mfit, Mat& alpha, Vec& beta, double& chisq);
FitStatus Gauss_jordan(Mat& a, int n, Mat& b, int m);
void Sort_covar(Mat& covar, int ma, const Vec& list, int mfit);

// Keeps what one Levenberg-Marquardt iteration carries to the next call.
struct LmMemory {
    double ochisq = 0;
    Vec atry, beta, da;
    Mat oneda;
};
FitStatus LM_step(const Vec& x, const Vec& y, const Vec& sig, int n, Vec& a, int ma, Vec& list,
                  int mfit, Mat& covar, Mat& alpha, double& chisq, double& lambda, LmMemory& mem);

// The model curve of star s (1..3) for drawing: PeakHeight(s) exp(-((vel_bb(k) - PeakXo(s)) /
// PeakWidth(s))^2), k = 1..span, into ModelCurve(s, .). Returns false (nothing changed) when
// the width is 0.
bool ComputeModelCurve(AnalysisState& s, int star);

// The boxes of the Gauss group, as texts: Text5(0..2) centres, Text6(0..2) widths,
// Text7(0..2) heights, Text8 and Text9 the manual velocity window.
struct GaussBoxes {
    std::array<std::string, 3> centre, width, height;
    std::string vmin, vmax;
};
// What "Solve Gauss fit" writes back, in this order: heights into Text7, centres into Text5,
// widths into Text6 (nstars of each), then Text4.
struct GaussFitResult {
    int nstars = 0;
    std::array<std::string, 3> height, centre, width;
    std::string text4;
};
// "Solve Gauss fit". Reports its messages ("Please put numbers in the boxes.", "Factor must be
// a number.", "Singular matrix 1", "Singular matrix 2", a zero width) and returns nullopt with
// the parameters unchanged when the fit does not run or is abandoned.
std::optional<GaussFitResult> SolveGaussFit(AnalysisState& s, Platform& p, const GaussBoxes& boxes);

}  // namespace tessan
