#include "batch/BatchOutput.h"

#include <cmath>

#include "text/NumText.h"

namespace tessan::batch {

std::string NumberField(std::optional<double> x) {
    if (!x || std::isnan(*x)) return "nan";
    if (std::isinf(*x)) return *x > 0 ? "inf" : "-inf";
    return PlainText(*x);
}

std::string HeaderLine(int peaks, bool withCcf, bool withErrors, int gauss) {
    std::string line = "#file\tobject\torder";
    for (int k = 1; k <= peaks; ++k) {
        const std::string n = std::to_string(k);
        line.append("\tvel").append(n).append("\theight").append(n);
    }
    if (withCcf) line.append("\tccf_vel");
    for (int k = 1; withErrors && k <= peaks; ++k) line.append("\terr").append(std::to_string(k));
    if (withErrors && withCcf) line.append("\tccf_err");
    for (int k = 1; k <= gauss; ++k) {
        const std::string n = std::to_string(k);
        line.append("\tg_vel" + n + "\tg_width" + n + "\tg_height" + n + "\tg_area" + n + "\tg_frac" + n);
        if (withErrors) line.append("\tg_vel_err" + n);
    }
    return line.append("\n");
}

namespace {

// A text field of the table: a tab, line feed or carriage return inside it (an OBJECT value or
// a file name may hold one) would split the star's line, so each becomes a blank.
std::string tableText(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

std::string ResultLine(const StarResult& r, int peaks, bool withCcf, bool withErrors, int gauss) {
    const std::string object = tableText(r.object);
    std::string line = tableText(r.file);
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
    for (std::size_t k = 0; withErrors && k < static_cast<std::size_t>(peaks); ++k)
        line.append("\t").append(NumberField(k < r.errors.size() ? r.errors[k] : std::nullopt));
    if (withErrors && withCcf) line.append("\tnan");   // no derivation for the CCF peak
    for (std::size_t k = 0; k < static_cast<std::size_t>(gauss); ++k) {
        const bool fitted = k < r.gauss.size();
        const GaussComponent g = fitted ? r.gauss[k] : GaussComponent{};
        std::vector<double> fields = {g.velocity, g.width, g.height, g.area, g.fraction};
        if (withErrors) fields.push_back(g.velocityError);
        for (double x : fields) line.append("\t").append(fitted ? NumberField(x) : "nan");
    }
    return line.append("\n");
}

}  // namespace tessan::batch
