// The decomposition: accuracy on a realistic design matrix, the same bits as the plain loops,
// degenerate matrices and the refusals.
#include "numeric/Svd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "SvdPlain.h"
#include "support/SyntheticStandard.h"

namespace tessan {
namespace {

using Rows = std::vector<std::vector<double>>;

Mat FromRows(const Rows& r) {
    Mat a(static_cast<int>(r.size()), static_cast<int>(r[0].size()));
    for (int i = 1; i <= a.rows(); ++i)
        for (int j = 1; j <= a.cols(); ++j) a(i, j) = r[std::size_t(i - 1)][std::size_t(j - 1)];
    return a;
}

// The design matrix of an nPix-point standard, stored with the leading dimension of the state.
Mat RealisticDesign(int nPix = 2000, int span = 201, int zeroColumn = 0) {
    Vec ssr(nPix);
    test::MakeInvertedSpectrum(ssr, nPix);
    Mat des(3000, span);
    for (int j = 1; j <= span; ++j)
        for (int i = 1; i <= nPix - span + 1; ++i) des(i, j) = j == zeroColumn ? 0 : ssr(i - j + span);
    return des;
}

// max |A - U diag(w) V^T| / max |A|.
double ReconstructionError(const Mat& a, const Mat& u, const Vec& w, const Mat& v, int m, int n) {
    double err = 0, scale = 0;
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= n; ++j) {
            double s = 0;
            for (int k = 1; k <= n; ++k) s += u(i, k) * w(k) * v(j, k);
            err = std::max(err, std::fabs(s - a(i, j)));
            scale = std::max(scale, std::fabs(a(i, j)));
        }
    return scale > 0 ? err / scale : err;
}

// max |Q^T Q - I| over the n columns of q (m rows).
double OrthonormalityError(const Mat& q, int m, int n) {
    double err = 0;
    for (int i = 1; i <= n; ++i)
        for (int j = i; j <= n; ++j) {
            double s = 0;
            for (int k = 1; k <= m; ++k) s += q(k, i) * q(k, j);
            err = std::max(err, std::fabs(s - (i == j ? 1.0 : 0.0)));
        }
    return err;
}

// Singular values by one-sided Jacobi rotations: columns orthogonalised in pairs until every
// pair is orthogonal to rounding; the column norms, sorted downwards.
std::vector<double> JacobiSingularValues(Mat a, int m, int n) {
    for (int sweep = 0; sweep < 60; ++sweep) {
        bool rotated = false;
        for (int p = 1; p < n; ++p)
            for (int q = p + 1; q <= n; ++q) {
                double alpha = 0, beta = 0, gamma = 0;
                double *ap = a.col(p), *aq = a.col(q);
                for (int k = 0; k < m; ++k) alpha += ap[k] * ap[k], beta += aq[k] * aq[k], gamma += ap[k] * aq[k];
                if (std::fabs(gamma) <= 1e-15 * std::sqrt(alpha * beta) || gamma == 0) continue;
                rotated = true;
                const double zeta = (beta - alpha) / (2 * gamma);
                const double t = (zeta >= 0 ? 1.0 : -1.0) / (std::fabs(zeta) + std::sqrt(1 + zeta * zeta));
                const double c = 1 / std::sqrt(1 + t * t), s = c * t;
                for (int k = 0; k < m; ++k) {
                    const double x = ap[k], y = aq[k];
                    ap[k] = c * x - s * y, aq[k] = s * x + c * y;
                }
            }
        if (!rotated) break;
    }
    std::vector<double> sv;
    for (int j = 1; j <= n; ++j) {
        double s = 0;
        for (int k = 1; k <= m; ++k) s += a(k, j) * a(k, j);
        sv.push_back(std::sqrt(s));
    }
    std::sort(sv.rbegin(), sv.rend());
    return sv;
}

struct Result {
    SvdStatus status;
    Mat u;
    Vec w;
    Mat v;
    std::vector<double> sorted() const {
        std::vector<double> s(w.data() + 1, w.data() + 1 + w.size());
        std::sort(s.rbegin(), s.rend());
        return s;
    }
};

Result Decompose(const Mat& a, int m, int n) {
    Result r{SvdStatus::Ok, a, Vec(n), Mat(n, n)};
    r.status = Svd_decomp(r.u, m, n, r.w, r.v);
    return r;
}

TEST(SvdDecomp, RealisticDesignMatrixIsReproducedWithOrthonormalFactors) {
    const int m = 1800, n = 201;
    const Mat des = RealisticDesign();
    const Result r = Decompose(des, m, n);
    ASSERT_EQ(r.status, SvdStatus::Ok);
    EXPECT_LE(ReconstructionError(des, r.u, r.w, r.v, m, n), 1e-12);
    EXPECT_LE(OrthonormalityError(r.u, m, n), 1e-12) << "U^T U";
    EXPECT_LE(OrthonormalityError(r.v, n, n), 1e-12) << "V^T V";
    const std::vector<double> w = r.sorted(), ref = JacobiSingularValues(des, m, n);
    for (std::size_t i = 0; i < w.size(); ++i) {
        EXPECT_GT(w[i], 0.0) << "sorted value " << i + 1;
        EXPECT_LE(std::fabs(w[i] - ref[i]), 1e-10 * ref[i]) << "sorted value " << i + 1;
    }
}

TEST(SvdDecomp, ArrangedLoopsGiveTheValuesOfThePlainLoopsBitForBit) {
    const struct {
        std::string name;
        Mat a;
        int m, n;
    } cases[] = {
        {"realistic 400 x 301 (rotations in several batches)", RealisticDesign(700, 301), 400, 301},
        {"realistic 60 x 21 (partial row blocks)", RealisticDesign(80, 21), 60, 21},
        {"zero first element", FromRows({{0, 1, 2}, {1, 0, 3}, {0, 0, 1}, {2, 1, 0}}), 4, 3},
        // w(1) = 0 beside a non-zero rv1(2): the cancellation path.
        {"realistic 60 x 21 with a zero first column", RealisticDesign(80, 21, 1), 60, 21},
    };
    for (const auto& c : cases) {
        const Result r = Decompose(c.a, c.m, c.n);
        Mat u = c.a, v(c.n, c.n);
        Vec w(c.n);
        ASSERT_TRUE(test::PlainSvd(u, c.m, c.n, w, v)) << c.name;
        ASSERT_EQ(r.status, SvdStatus::Ok) << c.name;
        EXPECT_TRUE(r.u == u) << c.name << ": U";
        EXPECT_TRUE(r.w == w) << c.name << ": w";
        EXPECT_TRUE(r.v == v) << c.name << ": V";
    }
}

TEST(SvdDecomp, SmallAndDegenerateMatrices) {
    const struct {
        std::string name;
        Rows a;
        std::vector<double> expected;   // sorted downwards
    } cases[] = {
        {"3 x 2 known", {{1, 1}, {0, 1}, {1, 0}}, {std::sqrt(3.0), 1.0}},
        {"square (m = n)", {{2, 0, 0}, {0, -3, 0}, {0, 0, 1}}, {3, 2, 1}},
        {"zero column", {{1, 0, 2}, {3, 0, 1}, {0, 0, 4}, {5, 0, 1}}, {}},
        {"rank deficient (col3 = col1 + col2)", {{1, 2, 3}, {4, 5, 9}, {7, 8, 15}, {1, 0, 1}}, {}},
        {"f = 0 in the column part", {{0, 1}, {1, 0}, {0, 0}}, {1, 1}},
        {"f = 0 in the row part", {{1, 0, 1}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}}, {}},
        {"all zero", {{0, 0}, {0, 0}, {0, 0}}, {0, 0}},
    };
    for (const auto& c : cases) {
        const Mat a = FromRows(c.a);
        const int m = a.rows(), n = a.cols();
        const Result r = Decompose(a, m, n);
        ASSERT_EQ(r.status, SvdStatus::Ok) << c.name;
        const std::vector<double> w = r.sorted();
        for (double x : w) ASSERT_TRUE(std::isfinite(x) && x >= 0) << c.name << ": value " << x;
        EXPECT_LE(ReconstructionError(a, r.u, r.w, r.v, m, n), 1e-14) << c.name;
        EXPECT_LE(OrthonormalityError(r.v, n, n), 1e-14) << c.name << ": V";
        for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_NEAR(w[i], c.expected[i], 1e-14) << c.name;
        if (c.name.starts_with("zero column") || c.name.starts_with("rank")) {
            EXPECT_LE(w.back(), 1e-14 * w.front()) << c.name << ": smallest value";
        } else if (w.back() > 0) {
            EXPECT_LE(OrthonormalityError(r.u, m, n), 1e-14) << c.name << ": U";
        }
    }
}

TEST(SvdDecomp, TooFewRowsChangesNothing) {
    const Mat a = FromRows({{1, 2, 3}, {4, 5, 6}});
    Mat u = a, v(3, 3);
    Vec w(3);
    v(2, 2) = 7, w(1) = 9;
    const Mat v0 = v;
    const Vec w0 = w;
    EXPECT_EQ(Svd_decomp(u, 2, 3, w, v), SvdStatus::TooFewRows);
    EXPECT_TRUE(u == a && w == w0 && v == v0);
}

TEST(SvdDecomp, ValuesThatAreNotNumbersNeverConverge) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const Rows& rows : {Rows{{1, 2}, {nan, 1}, {0, 1}}, Rows{{1, 2}, {3, inf}, {0, 1}}})
        EXPECT_EQ(Decompose(FromRows(rows), 3, 2).status, SvdStatus::NoConvergence) << rows[1][0];
}

}  // namespace
}  // namespace tessan
