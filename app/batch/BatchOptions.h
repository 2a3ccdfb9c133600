#pragma once
// The command line of tessan-batch: what to read, which steps to run and what to measure.
// Numeric values are kept as the texts typed, because the steps read them as the workbench
// reads its text boxes; parsing only checks that each one is a number.
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace tessan::batch {

struct Options {
    std::string stdFile;                 // --std: run steps 1 to 4 on this standard
    std::string modelFile;               // --model: load this model instead
    std::optional<std::string> minWave;  // --min-wave: text of Text2 (else what step 1 proposes)
    std::optional<std::string> maxWave;  // --max-wave: text of Text3
    std::optional<std::string> delV;     // --delv: text of Text5
    std::string span = "201";            // --span: text of Text1
    std::string saveModel;               // --save-model: written after step 4 (or the load)
    std::vector<std::string> progFiles;  // --prog, in the order given
    double order = 35;                   // --order, before rounding and clamping
    std::optional<std::string> smooth;   // --smooth: text of the BF window's width box
    int peaks = 1;                       // --peaks, 1..3
    bool errors = false;                   // --errors: uncertainties of the measured velocities
    bool autoOrder = false;                // --order auto: the order chosen per star by GCV
    std::optional<std::string> ccf;      // --ccf: text of Text6, the CCF half width in km/s
    std::string bfDir;                   // --bf-dir: where the BF results files go
    std::optional<std::string> lambda0Key, dLambdaKey;
    std::vector<std::string> ignored;    // options given with --model that have no effect
    int jobs = 1;                          // --jobs N (0 = all cores)
    std::string progList;                  // --prog-list FILE ("-" = standard input)
    int gauss = 0;                         // --gauss K (2 or 3): Gaussian fit of K components
};

struct ParseResult {
    enum Kind { Run, Help, Version, UsageError, Unreadable } kind = UsageError;
    Options options;
    std::string error;                   // what was wrong (UsageError, Unreadable)
};

// args are the arguments after the program name. Values follow their option as the next
// argument or after "=" ("--span=201"); --errors takes none. A single-valued option given twice
// keeps the last ("--order auto" and "--order N" replace each other).
// With --bf-dir, two different program stars whose results files would have the same name
// are a usage error: the second file would replace the first.
// --prog-list is only noted here (ReadProgList reads it).
ParseResult ParseArgs(const std::vector<std::string>& args);

// After ParseArgs: the stars of --prog-list appended to progFiles (after those of --prog), one
// file name a line as written (a CR ending the line is dropped), lines of blanks skipped; "-"
// reads them from in. Then the --bf-dir check of ParseArgs over all the stars. A list that
// cannot be read is Unreadable, its error "<list's file name>: <error text>" for standard error.
ParseResult ReadProgList(ParseResult r, std::istream& in);

// The name of a program star's BF results file in --bf-dir: its file name without directory
// and extension, then ".dat" ("night1/hd1.fits" -> "hd1.dat").
std::string BfResultsName(const std::string& progPath);

// The whole usage text, ending in a newline.
const std::string& UsageText();

// A number by the leading-number rule that uses the whole text ("12", "-3.5", "1e2");
// nullopt for anything else ("12x", "", "abc", a number too large for a double).
std::optional<double> StrictNumber(const std::string& text);

}  // namespace tessan::batch
