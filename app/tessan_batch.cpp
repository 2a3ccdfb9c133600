// tessan-batch: the workbench's analysis from the command line, for many program stars
// against one standard. Exit status: 0 success, 1 a step stopped with a message, 2 usage.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ConsolePlatform.h"
#include "tessan_version.h"

int main(int argc, char** argv) {
    using namespace tessan::batch;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = ReadProgList(ParseArgs(args), std::cin);
    if (parsed.kind == ParseResult::Help) {
        std::cout << UsageText();
        return 0;
    }
    if (parsed.kind == ParseResult::Version) {
        std::cout << kProgramName << " " << tessan::kVersion << "\n";
        return 0;
    }
    if (parsed.kind == ParseResult::UsageError) {
        std::cerr << kProgramName << ": " << parsed.error << "\n" << UsageText();
        return 2;
    }
    if (parsed.kind == ParseResult::Unreadable) {
        std::cerr << parsed.error << "\n";
        return 1;
    }
    try {
        ConsolePlatform platform(std::cerr, std::filesystem::current_path());
        return RunBatch(parsed.options, platform, std::cout);
    } catch (const std::exception& e) {
        std::cerr << kProgramName << ": " << e.what() << "\n";
        return 1;
    }
}
