#pragma once
// Least-squares fit of two or three Gaussians to the shown BF (Levenberg-Marquardt).
// Parameters run three per star in the order height (BF units), centre (km/s), width (km/s):
// a(1..3) star 1, a(4..6) star 2, a(7..9) star 3. Vectors and matrices are 1-based.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "state/AnalysisState.h"
#include "state/Platform.h"

namespace tessan {

// Shown when a Gaussian of width 0 is to be drawn or fitted.
inline constexpr const char* kZeroWidthMessage = "A Gaussian of width 0 cannot be drawn or fitted.";

// Value and partial derivatives at x of the sum of Gaussians a(i) exp(-((x - a(i+1))/a(i+2))^2)
// for the na parameters a(1..na); dyda needs na elements. Returns false when a width is 0
// (nothing is computed).
bool Gauss_model(double x, const Vec& a, double& y, Vec& dyda, int na);

// Status of the numerical routines. Every status other than Ok abandons the fit.
enum class FitStatus { Ok, ImproperPermutation, Singular1, Singular2, ZeroWidth };

// Chi-square, gradient beta(1..mfit) and curvature alpha(1..mfit, 1..mfit) at a over the n
// points, for the parameters list(1..mfit) of the ma in a.
FitStatus LM_coef(const Vec& x, const Vec& y, const Vec& sig, int n, const Vec& a, int ma,
                  const Vec& list, int mfit, Mat& alpha, Vec& beta, double& chisq);
// Solves a x = b for the m columns of b (a n x n, b n x m, both at least that large) by full
// pivoting: the inverse is left in a, the solutions in b. Singular1 when a pivot column would be
// used twice (only a matrix of NaNs), Singular2 for a pivot that is 0 in single precision; a and
// b are then partly reduced.
FitStatus Gauss_jordan(Mat& a, int n, Mat& b, int m);
// Spreads the mfit x mfit covariance in covar back to the positions list(1..mfit) of the ma
// parameters, zeroes the rows and columns of parameters not fitted and makes it symmetric.
void Sort_covar(Mat& covar, int ma, const Vec& list, int mfit);

// What Levenberg-Marquardt carries from one call of LM_step to the next: the previous
// chi-square, the trial parameters, the gradient of the last accepted step and the solution.
// Set up by the initialising call, released by the covariance call.
struct LmMemory {
    double ochisq = 0;
    Vec atry, beta, da;
    Mat oneda;
};
// One iteration. lambda < 0 (in single precision) initialises (checks that list is a
// permutation, lambda = 0.001, chisq at a) and then steps; lambda = 0 (single precision) only
// leaves the covariance matrix in covar. An accepted step updates a and alpha and divides
// lambda by 10; a rejected one multiplies lambda by 10 and restores chisq. covar and alpha are
// at least ma x ma, list holds ma entries.
FitStatus LM_step(const Vec& x, const Vec& y, const Vec& sig, int n, Vec& a, int ma, Vec& list,
                  int mfit, Mat& covar, Mat& alpha, double& chisq, double& lambda, LmMemory& mem);

// The model curve of star s (1..3) for drawing: PeakHeight(s) exp(-((vel_bb(k) - PeakXo(s)) /
// PeakWidth(s))^2), k = 1..span, into ModelCurve(s, .). Returns false (nothing changed) when
// the width is 0 (the caller shows kZeroWidthMessage) or a parameter is not finite.
bool ComputeModelCurve(AnalysisState& s, int star);

// Whether a parameter box holds a number: the leading-number rule finds one at its start
// (text after it is ignored, as it is when the number is read) and it fits a double. Shared
// by "Solve Gauss fit" and the update buttons so that both accept the same boxes.
bool HoldsNumber(std::string_view text);

// The automatic velocity window: from 4 widths below the lower centre to 4 widths above the
// higher one, widened to a third star lying below or above both others.
void AutoFitWindow(const Vec& par, int nstars, double& vmin, double& vmax);

// The fit of "Solve Gauss fit" on arrays, which the BF window and the batch driver both call:
// nstars (2 or 3) Gaussians started at start(1..3 nstars), fitted with the uncertainty 0.1 on
// every point to the points of bf(1..span) at velocities vel(1..span) that lie strictly inside
// vmin..vmax, or, when autoWindow, inside AutoFitWindow of the start (vmin and vmax unused).
// list(1..9) is the parameter order. Levenberg-Marquardt from lambda 0.001 until an accepted
// step lowers chi-square by less than 5 % (or after 500 steps), then the covariance.
struct GaussFitRun {
    // Why the fit stopped: a text of the window's messages (a start or result that is not
    // finite, a width of 0, too few points, "Singular matrix 1", ...); nullptr when it finished.
    const char* message = nullptr;
    int nstars = 0, n = 0;                // stars; points fitted
    Vec a{9}, list{9}, x, y, sig;         // the fitted parameters, untruncated; the points fitted
    Mat alpha{9, 9}, covar{9, 9};         // covar: the parameters' covariance for sig = 0.1
    double chisq = 0, lambda = 0;         // chi-square of a with sig = 0.1
    double vmin = 0, vmax = 0;            // the velocity window used
    // Stars 1..nstars as the window shows them: a truncated toward minus infinity to 0.0001
    // (height) and 0.01 km/s (centre, width). A width truncated to 0 stops the fit.
    std::array<double, 4> height{}, centre{}, width{};
};
[[nodiscard]] GaussFitRun FitGaussians(const Vec& vel, const Vec& bf, int span, const Vec& start, int nstars,
                                       bool autoWindow, double vmin, double vmax, const Vec& list);

// The boxes of the Gauss group, as texts: Text5(0..2) centres, Text6(0..2) widths,
// Text7(0..2) heights, Text8 and Text9 the manual velocity window.
struct GaussBoxes {
    std::array<std::string, 3> centre, width, height;
    std::string vmin, vmax;
};
// What "Solve Gauss fit" writes back, in this order: heights into Text7, centres into Text5,
// widths into Text6 (nstars of each), then Text4. autoWindow: the window came from the
// Gaussians ("Auto"), during which Text8 and Text9 are shown greyed.
struct GaussFitResult {
    int nstars = 0;
    std::array<std::string, 3> height, centre, width;
    std::string text4;
    bool autoWindow = false;
};
// "Solve Gauss fit" on the stored parameters of 2 stars, or 3 when bbCombo1Flag, over the
// manual window of the boxes or, when bbCombo2Flag, the automatic one, through FitGaussians on
// the unsmoothed BF (vel_bb, bb_n, ShownBfPoints) with FitList. On success stores the
// truncated results in PeakHeight/PeakXo/PeakWidth, the fit state (FitPar, FitX/FitY/FitSig,
// Alpha, Covar, ChiSq, Lambda, FitVmin, FitVmax) and returns the texts. Otherwise reports one
// message ("Please put numbers in the boxes.", "Factor must be a number.", "Singular matrix 1",
// "Singular matrix 2", a zero width, too few points, a result that is not finite) and returns
// nullopt with the state unchanged.
std::optional<GaussFitResult> SolveGaussFit(AnalysisState& s, Platform& p, const GaussBoxes& boxes);

}  // namespace tessan
