#pragma once
// A Platform for tests: records every message in order and works in a fresh temporary
// directory that is removed with it.
#include <filesystem>
#include <string>
#include <vector>

#include "state/Platform.h"

namespace tessan::test {

class RecordingPlatform : public Platform {
public:
    RecordingPlatform();
    ~RecordingPlatform() override;
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;

    void MsgBox(const std::string& text) override { messages.push_back(text); }
    std::filesystem::path WorkDir() const override { return m_dir; }

    std::vector<std::string> messages;

private:
    std::filesystem::path m_dir;
};

}  // namespace tessan::test
