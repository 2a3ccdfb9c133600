#include "batch/ConsolePlatform.h"

namespace tessan::batch {

void ConsolePlatform::MsgBox(const std::string& text) {
    m_err << m_file << ": " << text << '\n';
    m_err.flush();
}

void ConsolePlatform::Note(const std::string& text) {
    m_err << kProgramName << ": " << text << '\n';
    m_err.flush();
}

}  // namespace tessan::batch
