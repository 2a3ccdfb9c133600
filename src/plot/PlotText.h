#pragma once
// The short number captions of the plot windows: the first n characters of the default text
// form (tick values, the grid step, clicked peak velocities). Where the default text form is
// in exponent form, cutting it would change the value (-2.27E-16 cut to 7 is "-2.2737"), so a
// value below 1 is cut from its positional digits instead ("-.00000", which reads back as 0)
// and a larger one keeps its exponent form whole (" 1E+07"). Nor is a digit before the point
// ever cut: a grid step of 10000 in five characters is " 10000", not " 1000".
#include <string>

namespace tessan::plot {

std::string FirstChars(double x, int n);
// The same for a single-precision value (default form with at most 7 digits).
std::string FirstCharsSingle(float x, int n);

}  // namespace tessan::plot
