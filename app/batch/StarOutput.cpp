#include "batch/StarOutput.h"

#include <string_view>
#include <utility>

#include "state/Limits.h"
#include "steps/ProgramSteps.h"

namespace tessan::batch {

Mat BfPool::Take() {
    {
        std::lock_guard lock(m_m);
        if (!m_free.empty()) {
            Mat x = std::move(m_free.back());
            m_free.pop_back();
            return x;
        }
    }
    return Mat(lim::kMaxSpan, lim::kMaxSpan);
}

void BfPool::Give(Mat x) {
    if (x.cols() == 0) return;
    std::lock_guard lock(m_m);
    m_free.push_back(std::move(x));
}

std::unique_ptr<FileLocks::Held> FileLocks::Hold(const std::string& path) {
    std::unique_lock lock(m_m);
    m_freed.wait(lock, [&] { return !m_held.contains(path); });
    m_held.insert(path);
    return std::make_unique<Held>(*this, path);
}

void FileLocks::release(const std::string& path) {
    {
        std::lock_guard lock(m_m);
        m_held.erase(path);
    }
    m_freed.notify_all();
}

void InOrderOutput::Emit(StarOutput& star) {
    const std::string_view err = star.err;
    const std::size_t at = star.orderNote.empty() ? err.size() : star.noteAt;
    m_p.Emit(err.substr(0, at));
    if (!star.orderNote.empty() && !m_noted) {
        m_noted = true;
        m_p.Note(star.orderNote);
    }
    m_p.Emit(err.substr(at));
    if (!star.line.empty()) {
        m_out << star.line;
        m_out.flush();
    }
    if (star.stopped) m_p.StepStopped();
    if (star.hasBfs) {
        m_pool.Give(std::exchange(m_lastBfs, std::move(star.bfs)));
        m_lastFile = star.file;
        m_haveBfs = true;
    }
    if (star.failure) std::rethrow_exception(star.failure);
}

void InOrderOutput::WriteLastBfs(int span) {
    if (!m_haveBfs) return;
    m_haveBfs = false;
    m_p.SetCurrentFile(m_lastFile);
    (void)WriteAllBfs(m_lastBfs, span, m_p);
}

}  // namespace tessan::batch
