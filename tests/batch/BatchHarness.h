#pragma once
// Runs the batch driver in process on a command line, in a working directory, and splits
// what it printed.
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ConsolePlatform.h"

namespace tessan::test {

struct BatchRun {
    int status = -1;
    std::string out, err;
    std::vector<std::vector<std::string>> rows;   // result lines split at tabs (header excluded)

    // The row whose first field is file, or nullptr.
    const std::vector<std::string>* Row(const std::string& file) const {
        for (const auto& r : rows)
            if (!r.empty() && r[0] == file) return &r;
        return nullptr;
    }
};

inline std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> f;
    std::string::size_type start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        f.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return f;
        start = tab + 1;
    }
}

inline BatchRun RunInProcess(const std::vector<std::string>& args, const std::filesystem::path& workDir) {
    BatchRun r;
    const batch::ParseResult parsed = batch::ParseArgs(args);
    if (parsed.kind != batch::ParseResult::Run) {
        r.err = parsed.error;
        r.status = 2;
        return r;
    }
    std::ostringstream out, err;
    batch::ConsolePlatform p(err, workDir);
    r.status = batch::RunBatch(parsed.options, p, out);
    r.out = out.str();
    r.err = err.str();
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#') r.rows.push_back(SplitTabs(line));
    return r;
}

}  // namespace tessan::test
