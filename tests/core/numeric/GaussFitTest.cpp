#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "numeric/GaussFit.h"

namespace tessan {
namespace {

struct Star { double h, xo, w; };

// A BF of 201 points, delV 5 km/s (-500..500), made of the given Gaussians; FitList 1..9 as the
// main window sets it.
void makeBf(AnalysisState& s, const std::vector<Star>& stars) {
    s.span = 201;
    s.span2 = 100;
    for (int k = 1; k <= s.span; ++k) {
        s.vel_bb(k) = (k - s.span2 - 1) * 5.0;
        double v = 0;
        for (const Star& st : stars) v += st.h * std::exp(-std::pow((s.vel_bb(k) - st.xo) / st.w, 2));
        s.bb_n(k) = v;
    }
    for (int j = 1; j <= 9; ++j) s.FitList(j) = j;
}

TEST(GaussJordan, SolvesAndInverts) {
    const std::vector<std::vector<double>> mats = {
        {4, 1, 2, 1, 3, 0, 2, 0, 5},        // symmetric, diagonally dominant
        {0, 2, 1, 1, 0, 3, 2, 1, 0},        // zero diagonal: needs row swaps
        {1e-3, 7, -2, 3, 1e-4, 5, -6, 2, 8}};
    for (std::size_t c = 0; c < mats.size(); ++c) {
        Mat a(3, 3), a0(3, 3), b(3, 2);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) a(i, j) = a0(i, j) = mats[c][static_cast<std::size_t>(3 * (i - 1) + j - 1)];
        const double x[2][3] = {{1, -2, 3}, {0.5, 0.25, -4}};
        for (int m = 1; m <= 2; ++m)
            for (int i = 1; i <= 3; ++i) {
                b(i, m) = 0;
                for (int j = 1; j <= 3; ++j) b(i, m) += a0(i, j) * x[m - 1][j - 1];
            }
        ASSERT_EQ(Gauss_jordan(a, 3, b, 2), FitStatus::Ok) << "matrix " << c;
        for (int m = 1; m <= 2; ++m)
            for (int i = 1; i <= 3; ++i) EXPECT_NEAR(b(i, m), x[m - 1][i - 1], 1e-12) << "matrix " << c;
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) {
                double e = 0;
                for (int k = 1; k <= 3; ++k) e += a(i, k) * a0(k, j);
                EXPECT_NEAR(e, i == j ? 1.0 : 0.0, 1e-12) << "matrix " << c << " (" << i << "," << j << ")";
            }
    }
}

TEST(GaussJordan, SingularMatrices) {
    struct Case { const char* name; std::vector<double> m; FitStatus expect; };
    const double nan = std::nan("");
    const Case cases[] = {
        {"rank one", {1, 2, 2, 4}, FitStatus::Singular2},
        {"zero row", {3, 1, 0, 0}, FitStatus::Singular2},
        {"tiny pivot below single precision", {1, 0, 0, 1e-60}, FitStatus::Singular2},
        {"all NaN", {nan, nan, nan, nan}, FitStatus::Singular1}};
    for (const Case& c : cases) {
        Mat a(2, 2), b(2, 1);
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) a(i, j) = c.m[static_cast<std::size_t>(2 * (i - 1) + j - 1)];
        EXPECT_EQ(Gauss_jordan(a, 2, b, 1), c.expect) << c.name;
    }
}

TEST(SortCovar, SpreadsToListedPositions) {
    Mat c(3, 3);
    const double v[3][3] = {{1, 2, 3}, {2, 4, 5}, {3, 5, 6}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) c(i, j) = v[i - 1][j - 1];
    Vec identity(9);
    for (int j = 1; j <= 9; ++j) identity(j) = j;
    Mat same = c;
    Sort_covar(same, 3, identity, 3);
    EXPECT_EQ(same, c);

    // Parameters 2 and 3 fitted (in that order), parameter 1 held.
    Vec list(9);
    list(1) = 2;
    list(2) = 3;
    list(3) = 1;
    Mat part = c;
    Sort_covar(part, 3, list, 2);
    const double want[3][3] = {{0, 0, 0}, {0, 1, 2}, {0, 2, 4}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(part(i, j), want[i - 1][j - 1]) << "(" << i << "," << j << ")";
}

TEST(GaussModel, DerivativesMatchDifferences) {
    Vec a(9), dyda(9), d2(9);
    const double p[6] = {0.3, -20, 40, 0.2, 35, 25};
    for (int j = 1; j <= 6; ++j) a(j) = p[j - 1];
    for (double x : {-80.0, -20.0, 10.0, 60.0}) {
        double y = 0;
        ASSERT_TRUE(Gauss_model(x, a, y, dyda, 6));
        for (int j = 1; j <= 6; ++j) {
            const double h = 1e-6 * std::max(1.0, std::fabs(a(j)));
            Vec up = a, dn = a;
            up(j) += h;
            dn(j) -= h;
            double yu = 0, yd = 0;
            Gauss_model(x, up, yu, d2, 6);
            Gauss_model(x, dn, yd, d2, 6);
            EXPECT_NEAR(dyda(j), (yu - yd) / (2 * h), 1e-6) << "x " << x << " parameter " << j;
        }
    }
    a(6) = 0;
    double y = 7;
    EXPECT_FALSE(Gauss_model(0, a, y, dyda, 6));
    EXPECT_EQ(y, 7.0);
}

TEST(LmStep, ImproperPermutation) {
    AnalysisState s;
    makeBf(s, {{0.3, -100, 40}, {0.2, 100, 50}});
    Vec x(3), y(3), sig(3), a(6), list(6);
    const std::vector<std::vector<double>> lists = {{1, 1, 3, 4, 5, 6}, {0, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}};
    for (std::size_t c = 0; c < lists.size(); ++c) {
        for (int j = 1; j <= 6; ++j) list(j) = lists[c][static_cast<std::size_t>(j - 1)];
        Mat covar(6, 6), alpha(6, 6);
        double chisq = 0, lambda = -1;
        LmMemory mem;
        EXPECT_EQ(LM_step(x, y, sig, 3, a, 6, list, 6, covar, alpha, chisq, lambda, mem),
                  FitStatus::ImproperPermutation) << "list " << c;
    }
}

TEST(LmStep, AcceptAndRejectMoveLambda) {
    struct Case { const char* name; double shift; bool accepted; };
    const Case cases[] = {{"from the exact solution", 0, false}, {"from a shifted centre", 4, true}};
    for (const Case& c : cases) {
        AnalysisState s;
        makeBf(s, {{0.3, -100, 40}, {0.2, 100, 50}});
        const int n = 161;  // -400..400 km/s
        Vec x(n), y(n), sig(n), a(6), list(6);
        for (int i = 1; i <= n; ++i) {
            x(i) = s.vel_bb(i + 20);
            y(i) = s.bb_n(i + 20);
            sig(i) = 0.1;
        }
        const double p[6] = {0.3, -100 + c.shift, 40, 0.2, 100, 50};
        for (int j = 1; j <= 6; ++j) {
            a(j) = p[j - 1];
            list(j) = j;
        }
        Mat covar(6, 6), alpha(6, 6);
        double chisq = 0, lambda = -0.0001;
        LmMemory mem;
        ASSERT_EQ(LM_step(x, y, sig, n, a, 6, list, 6, covar, alpha, chisq, lambda, mem), FitStatus::Ok) << c.name;
        EXPECT_DOUBLE_EQ(lambda, c.accepted ? 0.0001 : 0.01) << c.name;
        if (c.accepted) {
            EXPECT_LT(std::fabs(a(2) + 100), 4.0) << c.name;
        } else {
            EXPECT_EQ(chisq, 0.0) << c.name;
            EXPECT_EQ(a(2), -100.0) << c.name;
        }
        // The covariance call leaves lambda alone and a symmetric matrix with a positive diagonal.
        double zero = 0;
        ASSERT_EQ(LM_step(x, y, sig, n, a, 6, list, 6, covar, alpha, chisq, zero, mem), FitStatus::Ok) << c.name;
        for (int i = 1; i <= 6; ++i) {
            EXPECT_GT(covar(i, i), 0.0) << c.name << " parameter " << i;
            for (int j = 1; j < i; ++j) EXPECT_EQ(covar(i, j), covar(j, i)) << c.name;
        }
    }
}

}  // namespace
}  // namespace tessan
