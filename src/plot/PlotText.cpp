#include "plot/PlotText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/NumText.h"

namespace tessan::plot {

namespace {

std::string cut(std::string text, double x, int n) {
    if (text.find('E') == std::string::npos || !std::isfinite(x)) {
        const std::size_t whole = std::min(text.find('.'), text.size());
        return text.substr(0, std::max(whole, static_cast<std::size_t>(n)));
    }
    if (std::fabs(x) >= 1) return text;
    // n decimals are more than n characters can show; the "0" before the point is dropped as
    // in the default text form.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", n, std::fabs(x));
    return (std::string(x < 0 ? "-" : " ") + (buf + 1)).substr(0, static_cast<std::size_t>(n));
}

}  // namespace

std::string FirstChars(double x, int n) { return cut(DefaultText(x), x, n); }
std::string FirstCharsSingle(float x, int n) { return cut(DefaultTextSingle(x), x, n); }

}  // namespace tessan::plot
