#include "support/RecordingPlatform.h"

#include <atomic>
#include <random>
#include <system_error>

namespace tessan::test {

RecordingPlatform::RecordingPlatform() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    namespace fs = std::filesystem;
    for (;;) {
        m_dir = fs::temp_directory_path() /
                ("tessan-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(m_dir, ec)) break;
    }
}

RecordingPlatform::~RecordingPlatform() {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

}  // namespace tessan::test
