#include "batch/BatchOutput.h"

#include <algorithm>
#include <cmath>

#include "text/NumText.h"

namespace tessan::batch {

std::string NumberField(std::optional<double> x) {
    if (!x || std::isnan(*x)) return "nan";
    if (std::isinf(*x)) return *x > 0 ? "inf" : "-inf";
    return PlainText(*x);
}

std::string HeaderLine(int peaks, bool withCcf) {
    std::string line = "#file\tobject\torder";
    for (int k = 1; k <= peaks; ++k) {
        const std::string n = std::to_string(k);
        line.append("\tvel").append(n).append("\theight").append(n);
    }
    if (withCcf) line.append("\tccf_vel");
    return line.append("\n");
}

std::string ResultLine(const StarResult& r, int peaks, bool withCcf) {
    std::string object = r.object;
    std::replace(object.begin(), object.end(), '\t', ' ');
    std::string file = r.file;
    std::replace(file.begin(), file.end(), '\t', ' ');
    std::string line = file;
    line.append("\t").append(object).append("\t").append(std::to_string(r.order));
    for (int k = 0; k < peaks; ++k) {
        if (k < static_cast<int>(r.peaks.size())) {
            const PeakMeasure& p = r.peaks[static_cast<std::size_t>(k)];
            line.append("\t").append(NumberField(p.velocity)).append("\t").append(NumberField(p.height));
        } else {
            line.append("\tnan\tnan");
        }
    }
    if (withCcf) line.append("\t").append(NumberField(r.ccfVelocity));
    return line.append("\n");
}

}  // namespace tessan::batch
