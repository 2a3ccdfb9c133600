#pragma once
// The design matrix of the BF method: span staggered copies of the resampled standard. Steps 3
// and 4 themselves (steps/StandardSteps.h) check the span and decompose the matrix.
#include "state/Array.h"

namespace tessan {

// des(i, j) = ssr(i - j + span), i = 1..rows, j = 1..span: column j is the standard from point
// span - j + 1 on. ssr must hold rows + span - 1 points.
void BuildDesign(const Vec& ssr, int span, int rows, Mat& des);

// The largest odd span that leaves at least as many rows as columns on a grid of n points:
// rows = n - span + 1 >= span.
int LargestSpanFor(int n);

}  // namespace tessan
