#include "numeric/Design.h"

#include <algorithm>
#include <cassert>

namespace tessan {

void BuildDesign(const Vec& ssr, int span, int rows, Mat& des) {
    assert(span >= 1 && rows >= 0 && rows + span - 1 <= ssr.size() && rows <= des.rows() && span <= des.cols());
    const double* from0 = ssr.data();
    for (int j = 1; j <= span; ++j) {
        const double* from = from0 + (span - j + 1);
        std::copy(from, from + rows, des.col(j));
    }
}

int LargestSpanFor(int n) {
    int s = (n + 1) / 2;
    if (s % 2 == 0) --s;
    return s;
}

}  // namespace tessan
