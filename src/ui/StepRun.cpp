#include "ui/StepRun.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "state/ErrText.h"
#include "ui/ToolWindow.h"

namespace tessan::ui {

namespace {

// The worker's Platform: messages are kept for the GUI thread; the working directory was read
// on the GUI thread before the run.
class HeldMessages : public Platform {
public:
    explicit HeldMessages(std::filesystem::path dir) : m_dir(std::move(dir)) {}
    void MsgBox(const std::string& text) override { texts.push_back(text); }
    std::filesystem::path WorkDir() const override { return m_dir; }
    std::vector<std::string> texts;

private:
    std::filesystem::path m_dir;
};

bool isUserInput(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:   // the cursor readouts read the state
    case QEvent::HoverMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool StepRun::run(const std::function<bool(Platform&)>& work) {
    HeldMessages held(m_p.WorkDir());
    bool ok = false;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            ok = work(held);
        } catch (const std::bad_alloc&) {
            held.MsgBox(ErrTextFor(err::kOutOfMemory));
        } catch (const std::exception& e) {
            held.MsgBox(e.what());
        }
    }));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The windows draw from the state, which the step is writing: a resize by the window manager
    // or a frame check (not input) waits until the step is done.
    std::vector<QPointer<ToolWindow>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<ToolWindow*>(w)) {
            t->setHeld(true);
            windows.emplace_back(t);
        }
    worker->start();
    loop.exec();       // also ends early when the application quits
    worker->wait();
    // Input that reached the application during the work but still waits in the queue is
    // discarded too.
    QCoreApplication::processEvents();
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    // The windows resized or framed meanwhile draw for their new size now that the state is whole.
    for (const QPointer<ToolWindow>& w : windows)
        if (w) w->setHeld(false);
    for (const std::string& text : held.texts) m_p.MsgBox(text);
    return ok;
}

bool StepRun::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Close && watched == m_window) {
        m_closeRequested = true;
        e->ignore();
        return true;
    }
    // A modal box shown meanwhile (an unexpected failure reported by the application) must
    // still be answerable; it keeps the other windows from input itself.
    return isUserInput(e->type()) && !QApplication::activeModalWidget();
}

}  // namespace tessan::ui
