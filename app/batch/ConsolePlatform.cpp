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

void ConsolePlatform::Emit(std::string_view text) {
    if (text.empty()) return;
    m_err << text;
    m_err.flush();
}

}  // namespace tessan::batch
