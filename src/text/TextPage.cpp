#include "text/TextPage.h"

#include <algorithm>
#include <cmath>

#include "text/Int16.h"
#include "text/NumText.h"

namespace tessan {

namespace {
double exactLines(int h) { return (h - kPageMarginTwips) / kLineTwips; }
bool holdsALine(int h) { return exactLines(h) >= 1; }
int round(double x) { return static_cast<int>(RoundHalfEven(x)); }
}  // namespace

std::string PixelLine(int i, double wavelength, double value) {
    return Pad_num(i, 4, " ") + "  " + Num_to_str(wavelength, 10, 3) + "  " + DefaultText(value);
}

ScrollRange PageRange(int n, int h) {
    ScrollRange r;
    r.lines = std::max(1, static_cast<int>(IntPart(exactLines(h))));
    r.min = round(r.lines / 2.0);
    r.max = std::max(r.min, round(n - r.lines / 2.0));
    r.largeChange = std::max(1, r.lines - 1);
    r.bar = n >= 1 && holdsALine(h);
    return r;
}

PageLines PageAround(int v, int n, int h) {
    if (n < 1 || !holdsALine(h)) return {};
    const int lines = std::max(1, round(exactLines(h)));
    PageLines p;
    p.first = std::max(1, round(v - lines / 2.0));
    p.last = p.first + lines;
    if (p.last > n) {
        p.last = n;
        p.first = std::max(1, n - lines + 1);
    }
    return p;
}

bool HasSpareLines(int n, int h) { return n >= 1 && IntPart(exactLines(h)) > n; }

// Rounded up, so that the height found holds the n lines (754.5 would hold none).
int FitHeight(int n) { return static_cast<int>(std::ceil(n * kLineTwips + kPageMarginTwips)); }

}  // namespace tessan
