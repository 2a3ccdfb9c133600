#include "numeric/GaussComponents.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "numeric/GaussFit.h"

namespace tessan {

double GaussStartWidth(const Vec& x, const Vec& y, int span, int index, double delV) {
    const double fallback = 2 * delV;
    span = std::min({span, x.size(), y.size()});
    if (index < 1 || index > span) return fallback;
    const double half = y(index) / 2;
    if (!(half > 0)) return fallback;
    // Point j is the first at or below half the height; its neighbour towards the peak is above.
    auto crossing = [&](int dir) -> std::optional<double> {
        for (int j = index + dir; j >= 1 && j <= span; j += dir) {
            if (!(y(j) <= half)) continue;
            const int k = j - dir;
            return x(j) + (half - y(j)) * (x(k) - x(j)) / (y(k) - y(j));
        }
        return std::nullopt;
    };
    const std::optional<double> left = crossing(-1), right = crossing(+1);
    if (!left || !right) return fallback;
    return (*right - *left) / 2;
}

GaussComponentsFit FitGaussComponents(const Vec& vel, const Vec& shown, const Vec& bf, int span, double delV,
                                      const std::vector<GaussPeak>& peaks, int k) {
    GaussComponentsFit out;
    if (static_cast<int>(peaks.size()) < k) {
        out.message = "The Gauss fit needs " + std::to_string(k) + " BF peaks; " + std::to_string(peaks.size()) +
                      " found.";
        return out;
    }
    Vec start(9), list(9);
    for (int j = 1; j <= 9; ++j) list(j) = j;
    for (int st = 1; st <= k; ++st) {
        const GaussPeak& p = peaks[static_cast<std::size_t>(st - 1)];
        start(3 * st - 2) = p.height;
        start(3 * st - 1) = p.velocity;
        start(3 * st) = GaussStartWidth(vel, shown, span, p.index, delV);
    }
    const GaussFitRun r = FitGaussians(vel, bf, span, start, k, true, 0, 0, list);
    if (r.message) {
        out.message = r.message;
        return out;
    }

    // The fit gives every point the uncertainty sig = 0.1, a fixed number and not an estimate
    // of the BF's noise: its covariance is (J^T J)^-1 sig^2 and its chi-square sum(r^2) / sig^2.
    // The uncertainty of a centre comes from the scatter of the residuals instead,
    // sum(r^2) / (N - p), so that variance = (J^T J)^-1 sum(r^2) / (N - p) = covar chisq / (N - p).
    const int freedom = r.n - 3 * k;
    const double scale = freedom > 0 ? r.chisq / freedom : std::numeric_limits<double>::quiet_NaN();
    double total = 0;
    for (int st = 1; st <= k; ++st) {
        GaussComponent c;
        c.height = r.a(3 * st - 2);
        c.velocity = r.a(3 * st - 1);
        c.width = std::fabs(r.a(3 * st));   // the model holds the width squared: its sign means nothing
        c.area = c.height * c.width * std::sqrt(std::numbers::pi);
        c.velocityError = std::sqrt(r.covar(3 * st - 1, 3 * st - 1) * scale);
        total += c.area;
        out.components.push_back(c);
    }
    for (GaussComponent& c : out.components) c.fraction = c.area / total;
    std::stable_sort(out.components.begin(), out.components.end(),
                     [](const GaussComponent& a, const GaussComponent& b) { return a.velocity < b.velocity; });
    return out;
}

}  // namespace tessan
