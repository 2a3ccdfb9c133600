#pragma once
// The text viewers of one star: frmDisplayHdr_Std / frmDisplayHdr_Pro ("Display Fits
// Header-Standard Star", "Display Fits Hdr - Program Star"), its header cards, and
// frmDisplayData_Std / frmDisplayData_Pro ("Standard Star", "Program Star"), one pixel line per
// pixel of the star's own count. Each prints one page of lines from the top of its client area,
// 194.5 twips apart, paged by VScroll1 along its right edge: the scroll value is the line in the
// middle of the page (text/TextPage.h). They only read the state.
//
// A header viewer with more room than cards takes the height that just holds them. It asks
// for that height once, after the resize handler has returned, never beyond the screen, and
// not again while the window keeps a height it was refused (a window manager that refuses a
// height must not start a resize loop).
#include <QScrollBar>
#include <QStringList>

#include "state/StarView.h"
#include "ui/ToolWindow.h"

namespace tessan::ui {

class TextViewer : public ToolWindow {
    Q_OBJECT
public:
    QScrollBar* VScroll1;

    // Shows the viewer (modeless) with the current data: the scroll range set up for the
    // current count and the page around the scroll value; with fromTop, all lines from the top
    // instead (the main window's "View data"), which the next scroll or resize pages again.
    void ShowCurrent(bool fromTop);
    // The lines printed now, top first.
    const QStringList& printed() const { return m_lines; }

protected:
    TextViewer(Star star, AnalysisState& s, QWidget* owner, WinRect Geometry::*record, const WindowFrame& frame,
               const QString& name, const char* caption, bool fitsHeight);

    // The scroll range for the data at load; each kind calls it once it is built.
    void Form_Load();
    ConstStarView star() const { return ConstStarView(m_s, m_star); }
    virtual int count() const = 0;
    virtual QString line(int i) const = 0;   // 1..count()

    void Form_Resize() override;
    void layoutControls() override;
    void paintEvent(QPaintEvent* e) override;

private:
    void VScroll1_Change();
    // Range, scroll bar and height for the current count and height, then the page.
    void refresh();
    void printLines(int first, int last);
    void fitHeight();
    int outerHeight() const { return (m_s.geom.*m_record).Height; }

    Star m_star;
    WinRect Geometry::*m_record;
    bool m_fitsHeight;
    int m_askedHeight = 0;   // the height last asked for while the window had spare lines
    QStringList m_lines;
};

class frmDisplayHdr : public TextViewer {
    Q_OBJECT
public:
    frmDisplayHdr(Star star, AnalysisState& s, QWidget* owner, const WindowFrame& frame = WindowFrame::system());

protected:
    int count() const override;
    QString line(int i) const override;
};

class frmDisplayData : public TextViewer {
    Q_OBJECT
public:
    frmDisplayData(Star star, AnalysisState& s, QWidget* owner, const WindowFrame& frame = WindowFrame::system());

protected:
    int count() const override;
    QString line(int i) const override;
};

}  // namespace tessan::ui
