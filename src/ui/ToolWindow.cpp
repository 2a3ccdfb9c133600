#include "ui/ToolWindow.h"

#include <QCloseEvent>
#include <utility>

namespace tessan::ui {

ToolWindow::ToolWindow(QWidget* owner, AnalysisState& s, const WindowFrame& frame)
    : QWidget(owner, Qt::Window), m_s(s), m_place(*this, frame) {
    setAttribute(Qt::WA_DeleteOnClose);
}

ToolWindow::ToolWindow(QWidget* owner, AnalysisState& s, WinPos Geometry::*record, QSize sizeTwips,
                       const WindowFrame& frame)
    : ToolWindow(owner, s, frame) {
    m_pos = record;
    const WinPos& p = m_s.geom.*record;
    m_place.place({p.Left, p.Top, sizeTwips.width(), sizeTwips.height()});
}

ToolWindow::ToolWindow(QWidget* owner, AnalysisState& s, WinRect Geometry::*record, const WindowFrame& frame)
    : ToolWindow(owner, s, frame) {
    m_rect = record;
    m_place.place(m_s.geom.*record);
}

void ToolWindow::present() {
    show();
    raise();
    activateWindow();
}

void ToolWindow::storeGeometry() {
    const WinRect r = m_place.current();
    if (m_rect) m_s.geom.*m_rect = r;
    if (m_pos) m_s.geom.*m_pos = {r.Left, r.Top};
}

void ToolWindow::setVisible(bool visible) {
    QWidget::setVisible(visible);
    if (visible && isVisible()) m_loading = false;
}

void ToolWindow::setHeld(bool held) {
    m_held = held;
    if (held || !std::exchange(m_due, false)) return;
    checkFrame();
    layoutControls();
    if (!m_loading) Form_Resize();
}

void ToolWindow::checkFrame() {
    if (m_held) {
        m_due = true;
        return;
    }
    const bool wasLoading = std::exchange(m_loading, true);
    const bool framed = m_place.checkFrame();
    m_loading = wasLoading;
    if (framed) layoutControls();
}

void ToolWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    checkFrame();
    WindowPlace::checkFrameSoon(this, [this] { checkFrame(); });
}

void ToolWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    checkFrame();
}

void ToolWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (m_held) {
        m_due = true;
        return;
    }
    checkFrame();
    layoutControls();
    if (!m_loading) Form_Resize();
}

void ToolWindow::closeEvent(QCloseEvent* e) {
    Form_Unload();
    storeGeometry();
    m_closing = true;
    e->accept();
}

}  // namespace tessan::ui
