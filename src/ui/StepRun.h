#pragma once
// A long step run on a worker thread while the windows keep painting.
//
// The step's work gets a Platform of its own: its messages are held and shown through the
// window's Platform on the GUI thread, in the order sent, once the work is done (the window's
// Platform is never called from the worker). Meanwhile every window of the application
// discards mouse, wheel and key input, so a click made during the step is neither run at once
// nor replayed when the buttons come back, and the cursor shows a busy program. A request to
// close the given window during the run is held: the caller closes it once it has applied the
// step's results, so the settings are written after the work and never beside it.
//
// The work must touch nothing that the GUI thread reads while it runs: the windows only paint
// (a plot window replays its drawing); every secondary window is held meanwhile (ToolWindow::
// setHeld), so a resize by the window manager waits and the window draws anew afterwards.
#include <QObject>
#include <QWidget>
#include <functional>

#include "state/Platform.h"

namespace tessan::ui {

class StepRun : public QObject {
public:
    StepRun(Platform& p, QWidget* window) : m_p(p), m_window(window) {}

    // Runs work on a worker thread and returns its result after its messages have been shown.
    // An exception escaping the work is shown as a message (out of memory: its error text) and
    // the result is false.
    bool run(const std::function<bool(Platform&)>& work);

    // The window was asked to close while the work ran.
    bool closeRequested() const { return m_closeRequested; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Platform& m_p;
    QWidget* m_window;
    bool m_closeRequested = false;
};

}  // namespace tessan::ui
