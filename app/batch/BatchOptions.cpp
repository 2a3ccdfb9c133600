#include "batch/BatchOptions.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <sstream>

#include "io/AtomicFile.h"
#include "state/ErrText.h"
#include "text/NumText.h"

namespace tessan::batch {

const std::string& UsageText() {
    static const std::string text =
        "usage: tessan-batch (--std STD.fits | --model FILE.MDL) [options] [--prog PROG.fits ...]\n"
        "                    [--prog-list FILE]\n"
        "\n"
        "Measures radial velocities of program stars against one standard by broadening\n"
        "functions, running the workbench's steps 1 to 7 for every program star.\n"
        "\n"
        "  --std FILE           read the standard star (step 1)\n"
        "  --min-wave A         grid start, as typed into step 2 (default: what step 1 proposes)\n"
        "  --max-wave A         grid end (default: what step 1 proposes)\n"
        "  --delv KMS           velocity step (default: what step 1 proposes)\n"
        "  --span N             BF span (step 3; default 201)\n"
        "  --save-model FILE    write the model after step 4\n"
        "  --model FILE         load a model file instead of steps 1 to 4 (with --std, an error)\n"
        "  --prog FILE          a program star (step 5 and step 7); may be given many times\n"
        "  --prog-list FILE     program stars, one file name a line (\"-\": standard input),\n"
        "                       after those of --prog\n"
        "  --order N            the order n whose BF is measured and saved (default 35); \"auto\": per\n"
        "                       star, the n in 1..span of least ||s - D b_n||^2 / (m - n)^2 (GCV)\n"
        "  --smooth W           smooth the BF of that order with width W before measuring peaks\n"
        "  --peaks K            how many peaks to measure (default 1; 1 to 3)\n"
        "  --ccf KMS            also run step 6 with this half width and measure the CCF peak\n"
        "  --errors             add the uncertainty (km/s) of each peak velocity: err1 ... [ccf_err]\n"
        "  --gauss K            fit K Gaussians (2 or 3) to the BF as \"Solve Gauss fit\" does with\n"
        "                       \"Auto\", started at the K highest peaks; with --errors also the\n"
        "                       uncertainties of their centres\n"
        "  --bf-dir DIR         write, for each program star, DIR/<file name without extension>.dat,\n"
        "                       the BF results file of the order (DIR is created if missing);\n"
        "                       two stars that would write the same file are refused\n"
        "  --jobs N             measure N stars at once (default 1; 0: one per core); the\n"
        "                       output is the same as with one\n"
        "  --lambda0-key KEY    wavelength keywords (defaults: those of \"Tessan6.ini\" in the working\n"
        "  --dlambda-key KEY    directory when it can be read, else CRVAL1 and CD1_1)\n"
        "  --help               usage\n"
        "  --version            the program's version\n"
        "\n"
        "Output: a header line starting with \"#\", then one tab-separated line per program star:\n"
        "file, object, order, velocity (km/s) and height of each peak, and the CCF peak velocity\n"
        "with --ccf, then with --errors the uncertainties, then with --gauss for each Gaussian by\n"
        "velocity its centre, width (km/s, at 1/e of the height), height, area and fraction of the\n"
        "areas. \"bbb2.txt\" in the working directory holds the last star's BFs.\n"
        "Exit status: 0 success, 1 a step stopped with a message, 2 usage error.\n";
    return text;
}

std::string BfResultsName(const std::string& progPath) {
    return std::filesystem::path(progPath).filename().stem().string() + ".dat";
}

std::optional<double> StrictNumber(const std::string& text) {
    const LeadingNumber n = ReadLeadingNumber(text);
    if (!n.isNumber || n.overflow || n.length != text.size()) return std::nullopt;
    return n.value;
}

namespace {

enum class Arg { Text, Number, File, Flag };

struct Spec {
    Arg kind;
    std::function<void(Options&, const std::string&)> store;
    bool stepOneToFour = false;   // has no effect when a model is loaded
};

const std::map<std::string, Spec>& Specs() {
    static const std::map<std::string, Spec> specs = {
        {"--std", {Arg::File, [](Options& o, const std::string& v) { o.stdFile = v; }}},
        {"--model", {Arg::File, [](Options& o, const std::string& v) { o.modelFile = v; }}},
        {"--min-wave", {Arg::Number, [](Options& o, const std::string& v) { o.minWave = v; }, true}},
        {"--max-wave", {Arg::Number, [](Options& o, const std::string& v) { o.maxWave = v; }, true}},
        {"--delv", {Arg::Number, [](Options& o, const std::string& v) { o.delV = v; }, true}},
        {"--span", {Arg::Number, [](Options& o, const std::string& v) { o.span = v; }, true}},
        {"--save-model", {Arg::File, [](Options& o, const std::string& v) { o.saveModel = v; }}},
        {"--prog", {Arg::File, [](Options& o, const std::string& v) { o.progFiles.push_back(v); }}},
        {"--order", {Arg::Number, [](Options& o, const std::string& v) {
                         o.autoOrder = v == "auto";
                         if (!o.autoOrder) o.order = *StrictNumber(v);
                     }}},
        {"--errors", {Arg::Flag, [](Options& o, const std::string&) { o.errors = true; }}},
        {"--smooth", {Arg::Number, [](Options& o, const std::string& v) { o.smooth = v; }}},
        {"--peaks", {Arg::Number, [](Options& o, const std::string& v) { o.peaks = static_cast<int>(*StrictNumber(v)); }}},
        {"--ccf", {Arg::Number, [](Options& o, const std::string& v) { o.ccf = v; }}},
        {"--prog-list", {Arg::File, [](Options& o, const std::string& v) { o.progList = v; }}},
        {"--jobs", {Arg::Number, [](Options& o, const std::string& v) { o.jobs = static_cast<int>(*StrictNumber(v)); }}},
        {"--gauss", {Arg::Number, [](Options& o, const std::string& v) { o.gauss = static_cast<int>(*StrictNumber(v)); }}},
        {"--bf-dir", {Arg::File, [](Options& o, const std::string& v) { o.bfDir = v; }}},
        {"--lambda0-key", {Arg::Text, [](Options& o, const std::string& v) { o.lambda0Key = v; }}},
        {"--dlambda-key", {Arg::Text, [](Options& o, const std::string& v) { o.dLambdaKey = v; }}},
    };
    return specs;
}

ParseResult Error(std::string text, ParseResult::Kind kind = ParseResult::UsageError) {
    ParseResult r;
    r.kind = kind;
    r.error = std::move(text);
    return r;
}

// With --bf-dir, the first two different stars that would write the same results file.
std::string resultsClash(const Options& o) {
    if (o.bfDir.empty()) return {};
    std::map<std::string, std::string> writer;   // results file name -> the star writing it
    for (const std::string& prog : o.progFiles) {
        const auto [it, fresh] = writer.emplace(BfResultsName(prog), prog);
        const auto same = [](const std::string& a, const std::string& b) {
            return std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
        };
        if (!fresh && !same(it->second, prog))
            return "--prog " + it->second + " and --prog " + prog + " would both write " + it->first + " in --bf-dir";
    }
    return {};
}

}  // namespace

ParseResult ParseArgs(const std::vector<std::string>& args) {
    ParseResult r;
    r.kind = ParseResult::Run;
    std::vector<std::string> stepOneToFour;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (name == "--help" || name == "-h") {
            r.kind = ParseResult::Help;
            return r;
        }
        if (name == "--version") {
            r.kind = ParseResult::Version;
            return r;
        }
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto it = Specs().find(name);
        if (it == Specs().end()) {
            if (name.rfind("-", 0) == 0) return Error("unknown option " + name);
            return Error("unexpected argument " + name);
        }
        if (it->second.kind == Arg::Flag) {
            if (value) return Error(name + " takes no value");
            it->second.store(r.options, "");
            continue;
        }
        if (!value) {
            // A following option is never taken as a value: "--std --prog x" lacks the file.
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0)
                return Error("missing value for " + name);
            value = args[++i];
        }
        const Spec& spec = it->second;
        if (value->empty()) return Error("missing value for " + name);
        if (spec.kind == Arg::Number && !StrictNumber(*value) && !(name == "--order" && *value == "auto"))
            return Error("not a number for " + name + ": " + *value);
        if (name == "--peaks") {
            const double k = *StrictNumber(*value);
            if (k != 1 && k != 2 && k != 3) return Error("--peaks must be 1, 2 or 3: " + *value);
        }
        if (name == "--jobs") {
            const double n = *StrictNumber(*value);
            if (!(n >= 0 && n <= std::numeric_limits<int>::max() && n == std::floor(n)))
                return Error("--jobs must be 0 or a positive whole number: " + *value);
        }
        if (name == "--gauss" && *StrictNumber(*value) != 2 && *StrictNumber(*value) != 3)
            return Error("--gauss must be 2 or 3: " + *value);
        spec.store(r.options, *value);
        if (spec.stepOneToFour) stepOneToFour.push_back(name);
    }
    const Options& o = r.options;
    if (!o.stdFile.empty() && !o.modelFile.empty()) return Error("--std and --model exclude each other");
    if (o.stdFile.empty() && o.modelFile.empty()) return Error("give --std or --model");
    if (std::string clash = resultsClash(o); !clash.empty()) return Error(std::move(clash));
    if (!o.modelFile.empty()) r.options.ignored = std::move(stepOneToFour);
    return r;
}

ParseResult ReadProgList(ParseResult r, std::istream& in) {
    if (r.kind != ParseResult::Run || r.options.progList.empty()) return r;
    const std::string& list = r.options.progList;
    std::string text;
    if (list == "-") {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) return Error("standard input: " + ErrTextFor(err::kDeviceIO), ParseResult::Unreadable);
    } else if (const int e = ReadWholeFile(list, text)) {
        return Error(std::filesystem::path(list).filename().string() + ": " + ErrTextFor(e), ParseResult::Unreadable);
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\r')) line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos) r.options.progFiles.push_back(line);
    }
    if (std::string clash = resultsClash(r.options); !clash.empty()) return Error(std::move(clash));
    return r;
}

}  // namespace tessan::batch
