#pragma once
// Whole files as text for the tests: read, written, and split into or joined from CR LF lines.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tessan::test {

// The file's bytes; empty when it cannot be read.
inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string t;
    for (const auto& l : lines) t += l + "\r\n";
    return t;
}

// The lines ended by CR LF; text after the last CR LF (which a record file never has) is
// returned as a last line of its own, so that a comparison shows it.
inline std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t a = 0;
    for (std::size_t b; (b = text.find("\r\n", a)) != std::string::npos; a = b + 2) lines.push_back(text.substr(a, b - a));
    if (a < text.size()) lines.push_back(text.substr(a));
    return lines;
}

}  // namespace tessan::test
