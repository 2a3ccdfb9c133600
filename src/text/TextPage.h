#pragma once
// The text viewers' pages: the pixel line of a data viewer and the paging of N lines in a
// window of outer height H (twips). Pure functions, used by the header and data viewers and
// by the main window's "View data".
//
// A line is 194.5 twips high and a window of height H holds L = (H - 560) / 194.5 lines: L is
// truncated for the scroll range and rounded for the page printed. The scroll value is the
// line shown in the middle of the page, which shows L + 1 lines. A window too small for one
// line (L below 1), or no lines at all, gives an empty page and no scroll bar; no size or step
// is ever negative.
#include <string>

namespace tessan {

inline constexpr double kLineTwips = 194.5;
inline constexpr int kPageMarginTwips = 560;

// Pad_num(i, 4, " ") + 2 blanks + Num_to_str(wavelength, 10, 3) + 2 blanks + the value's
// default text form (with its leading blank): "   1   5000.000   .9876".
std::string PixelLine(int i, double wavelength, double value);

// The scroll range for n lines in a window of outer height h. lines is L truncated (>= 1).
struct ScrollRange {
    int lines = 1;
    int min = 1, max = 1, smallChange = 1, largeChange = 1;
    bool bar = false;        // something to page through: n >= 1 and the window holds a line
};
ScrollRange PageRange(int n, int h);

// The lines first..last printed around scroll value v (an empty page when last < first).
struct PageLines {
    int first = 1, last = 0;
};
PageLines PageAround(int v, int n, int h);

// A header viewer holding all of its n cards: more room than cards (L > n, n >= 1) means the
// window should take the height fitHeight(n) = n x 194.5 + 560, rounded up.
bool HasSpareLines(int n, int h);
int FitHeight(int n);

}  // namespace tessan
