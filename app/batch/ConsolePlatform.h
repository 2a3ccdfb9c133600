#pragma once
// The batch driver's Platform: every message of the procedures goes to standard error as
// "<file name>: <message text>", the file being the one the current step works on, and the
// driver notes there which step stopped so that the exit status can say so.
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "state/Platform.h"

namespace tessan::batch {

inline constexpr const char* kProgramName = "tessan-batch";

class ConsolePlatform : public Platform {
public:
    ConsolePlatform(std::ostream& err, std::filesystem::path workDir)
        : m_err(err), m_workDir(std::move(workDir)) {}

    void MsgBox(const std::string& text) override;
    std::filesystem::path WorkDir() const override { return m_workDir; }

    // The file name that prefixes the messages from now on ("tessan-batch" before any file).
    void SetCurrentFile(std::string name) { m_file = std::move(name); }
    // A line of the driver's own: "tessan-batch: <text>".
    void Note(const std::string& text);
    // Text that another ConsolePlatform wrote into a buffer (a worker's, for one star), passed
    // on as it stands.
    void Emit(std::string_view text);
    // A step stopped at a message: the run ends with exit status 1.
    void StepStopped() { m_stopped = true; }
    bool Stopped() const { return m_stopped; }

private:
    std::ostream& m_err;
    std::filesystem::path m_workDir;
    std::string m_file = kProgramName;
    bool m_stopped = false;
};

}  // namespace tessan::batch
