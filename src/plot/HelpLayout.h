#pragma once
// The help window's layout in twips: a title, then paragraph labels stacked one under the
// other at Left 120, each as wide as the window less 500, and the window's outer height fitted
// to the text. Two rules share the stacking:
//
// - HelpEstimate counts 15000 square twips of label per character, 400 twips between
//   paragraphs, 500 above the first and 1000 in all for the title, frame and margins; each
//   value is rounded halves to even and kept to 16 bits. It needs no font.
// - HelpStack stacks paragraphs whose heights the window measured with its font.
//
// A window narrower than kHelpMinWidth is laid out as that wide, so no width is zero or
// negative; every Top and height saturates at 32767 instead of wrapping.
#include <vector>

namespace tessan::plot {

inline constexpr int kHelpMinWidth = 4500;    // outer width, twips
inline constexpr int kHelpParaGap = 400;      // between paragraphs
inline constexpr int kHelpFirstTop = 500;     // the first paragraph under the title

struct HelpLayout {
    int labelWidth = 0;        // every paragraph label's width
    std::vector<int> tops;     // Top of paragraphs 1..n, in that order
    int height = 0;            // HelpEstimate: the outer height; HelpStack: the bottom of the text
};

// W: the window's outer width; paraLen: the length in characters of paragraphs 1..n.
HelpLayout HelpEstimate(int W, const std::vector<int>& paraLen);
// The paragraphs of the given heights stacked from firstTop with kHelpParaGap between them;
// height is the last paragraph's bottom (firstTop with no paragraph).
HelpLayout HelpStack(int W, int firstTop, const std::vector<int>& heights);

}  // namespace tessan::plot
