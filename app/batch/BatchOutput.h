#pragma once
// The result table on standard output: one header line starting with "#", then one
// tab-separated line per program star.
#include <optional>
#include <string>
#include <vector>

#include "batch/Peaks.h"
#include "numeric/GaussComponents.h"

namespace tessan::batch {

struct StarResult {
    std::string file;                   // the program star's file name without its directory
    std::string object;                 // as read
    int order = 0;                      // the order measured, after clamping
    std::vector<PeakMeasure> peaks;     // highest first; fewer than asked when not found
    std::optional<double> ccfVelocity;  // the CCF peak (written only when the CCF was asked for)
    std::vector<std::optional<double>> errors;   // km/s, one per peak in peaks (with --errors)
    std::vector<GaussComponent> gauss;  // --gauss: by velocity; none when the fit stopped
};

// A number in its plain text; "nan" for a missing value or a not-a-number, "inf" / "-inf".
std::string NumberField(std::optional<double> x);

// "#file<TAB>object<TAB>order<TAB>vel1<TAB>height1 ... [<TAB>ccf_vel]"; with errors, then
// "<TAB>err1 ... [<TAB>ccf_err]"; then for each of gauss Gaussians s "g_vel<s> g_width<s>
// g_height<s> g_area<s> g_frac<s>" and, with errors, "g_vel_err<s>"; with a newline.
std::string HeaderLine(int peaks, bool withCcf, bool withErrors = false, int gauss = 0);

// The line of one star, with a newline: file and object (tabs and line breaks replaced by
// blanks), order, then velocity and height of each of the peaks asked for ("nan" "nan" for one
// not found; a peak without vertex has velocity "nan" and its height), then the CCF velocity
// when asked for; with errors, then the error of each peak asked for ("nan" where there is none)
// and "nan" for the CCF peak; then the columns of the gauss Gaussians ("nan" in each when the
// fit stopped).
std::string ResultLine(const StarResult& r, int peaks, bool withCcf, bool withErrors = false, int gauss = 0);

}  // namespace tessan::batch
