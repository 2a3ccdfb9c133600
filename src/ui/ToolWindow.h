#pragma once
// The base of every secondary window (dialogs, plots, viewers, keyword windows, help, About).
// A window names its geometry record and overrides the hooks it needs; the rest is here:
//
// - Load: the window is made at its stored outer place (and size) while the loading flag is
//   set. A move or resize made while a window is hidden reaches it only during its first
//   show(), so the flag lasts until that show has returned.
// - The frame: once the window manager has framed the window it is put again at its record,
//   still loading, so that the stored outer size is the outer size (WindowPlace).
// - Exit, OK and Cancel hide the window (plain hide()); it keeps its contents.
// - The close box runs Form_Unload, stores the geometry and destroys the window. The owner
//   (WindowRegistry) then builds a new one at the next use.
#include <QSize>
#include <QWidget>

#include "state/AnalysisState.h"
#include "ui/WindowPlace.h"

namespace tessan::ui {

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    // A window whose record keeps its outer place; it opens with the outer size sizeTwips.
    ToolWindow(QWidget* owner, AnalysisState& s, WinPos Geometry::*record, QSize sizeTwips,
               const WindowFrame& frame);
    // A window whose record keeps its outer place and size.
    ToolWindow(QWidget* owner, AnalysisState& s, WinRect Geometry::*record, const WindowFrame& frame);

    // Shows the window (modeless) in front of the others.
    void present();
    // Stores the window's outer place (and size) into its record: the values read at start as
    // long as the window keeps the place and size it was given.
    void storeGeometry();
    // From the start of the load until the first show has returned, and while the window is
    // put again at its record: Form_Resize does not run.
    bool loading() const { return m_loading; }
    // True once the close box has closed the window: it only waits to be destroyed and must
    // not be shown again.
    bool closing() const { return m_closing; }

    void setVisible(bool visible) override;
    // While a step works on the state on another thread the window must not read it: its resize
    // and frame handling wait, and run once when the hold ends.
    void setHeld(bool held);

protected:
    // The window's resize handler (store, redraw): every resize but those made while loading.
    virtual void Form_Resize() {}
    // A layout rule over the current size: every resize, loading or not, and once the frame
    // is known (a rule on the outer size needs it).
    virtual void layoutControls() {}
    // The close box, before the geometry is stored.
    virtual void Form_Unload() {}
    // The frame around the window as known now, in pixels.
    QMargins frameMargins() const { return m_place.margins(); }

    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    AnalysisState& m_s;

private:
    ToolWindow(QWidget* owner, AnalysisState& s, const WindowFrame& frame);
    void checkFrame();

    WinPos Geometry::*m_pos = nullptr;
    WinRect Geometry::*m_rect = nullptr;
    WindowPlace m_place;
    bool m_loading = true;
    bool m_closing = false;
    bool m_held = false;
    bool m_due = false;   // a resize or a frame check waited while the window was held
};

}  // namespace tessan::ui
