#pragma once
// A Platform for tests: records every message in order and works in a fresh temporary
// directory that is removed with it.
#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "state/Platform.h"

namespace tessan::test {

class RecordingPlatform : public Platform {
public:
    RecordingPlatform() {
        static std::atomic<unsigned> counter{0};
        std::random_device rd;
        for (std::error_code ec;;) {
            m_dir = std::filesystem::temp_directory_path() /
                    ("tessan-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(m_dir, ec)) break;
        }
    }
    ~RecordingPlatform() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;

    void MsgBox(const std::string& text) override { messages.push_back(text); }
    std::filesystem::path WorkDir() const override { return m_dir; }

    std::vector<std::string> messages;

private:
    std::filesystem::path m_dir;
};

}  // namespace tessan::test
