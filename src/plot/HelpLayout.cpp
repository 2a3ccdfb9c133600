#include "plot/HelpLayout.h"

#include <algorithm>

#include "text/Int16.h"

namespace tessan::plot {

namespace {
int labelWidthFor(int W) { return std::max(W, kHelpMinWidth) - 500; }
}  // namespace

HelpLayout HelpEstimate(int W, const std::vector<int>& paraLen) {
    HelpLayout l;
    W = std::max(W, kHelpMinWidth);
    l.labelWidth = labelWidthFor(W);
    // Real arithmetic, each step's result kept as the 16-bit item it is stored in.
    int t = kHelpFirstTop, h = 1000;
    for (int len : paraLen) {
        l.tops.push_back(t);
        t = Saturate16(400.0 + t + 15000.0 * len / l.labelWidth);
        h = Saturate16(400.0 + h + 15000.0 * len / W);
    }
    l.height = h;
    return l;
}

HelpLayout HelpStack(int W, int firstTop, const std::vector<int>& heights) {
    HelpLayout l;
    l.labelWidth = labelWidthFor(W);
    double t = firstTop, bottom = firstTop;
    for (int h : heights) {
        l.tops.push_back(Saturate16(t));
        bottom = t + std::max(h, 0);
        t = bottom + kHelpParaGap;
    }
    l.height = Saturate16(bottom);
    return l;
}

}  // namespace tessan::plot
