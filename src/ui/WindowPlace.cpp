#include "ui/WindowPlace.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "ui/Twips.h"

namespace tessan::ui {

QMargins WindowFrame::margins(const QWidget& w) const {
    // The window's own answer is asked each time: Qt's widget keeps the frame it saw at the
    // last move or resize, and a window manager may frame a window without moving it.
    const QWindow* win = w.windowHandle();
    if (!w.testAttribute(Qt::WA_WState_Created) || !win) return {};
    const QMargins m = win->frameMargins();
    return m.left() < 0 || m.top() < 0 || m.right() < 0 || m.bottom() < 0 ? QMargins() : m;
}

const WindowFrame& WindowFrame::system() {
    static const WindowFrame frame;
    return frame;
}

QMargins WindowPlace::margins() const { return m_frame.margins(m_w); }

void WindowPlace::place(const WinRect& r) {
    m_record = r;
    const QMargins m = margins();
    m_framed = !m.isNull();
    const QRect client = twipsRect(r.Left, r.Top, r.Width, r.Height).marginsRemoved(m);
    m_w.setGeometry(client.x(), client.y(), std::max(1, client.width()), std::max(1, client.height()));
    m_placed = m_w.geometry();
}

void WindowPlace::checkFrameSoon(QObject* context, const std::function<void()>& check) {
    for (int ms : {0, 100, 300, 1000}) QTimer::singleShot(ms, context, check);
}

bool WindowPlace::checkFrame() {
    if (m_framed || margins().isNull()) return false;
    m_framed = true;
    const QRect g = m_w.geometry();
    const bool samePos = g.topLeft() == m_placed.topLeft(), sameSize = g.size() == m_placed.size();
    // What the user changed stays as it is now; the rest goes back to the record.
    if (samePos || sameSize) place(current());
    return true;
}

WinRect WindowPlace::current() const {
    const QRect g = m_w.geometry();
    WinRect r = recordTwips(g.marginsAdded(margins()));
    if (g.topLeft() == m_placed.topLeft()) r.Left = m_record.Left, r.Top = m_record.Top;
    if (g.size() == m_placed.size()) r.Width = m_record.Width, r.Height = m_record.Height;
    return r;
}

}  // namespace tessan::ui
