#pragma once
// What every plot window shares: a menu bar over one PlotFrame, the plot labels (Label1,
// Label2, ... as each window needs them, children of the frame so that they are placed in its
// twips), the File menu, and the plot's life:
//
// - Plot(): the main window's plot button. The window is shown in front (built and placed at
//   its record the first time, through ToolWindow), its drawing cleared and its plot procedure
//   run for its present outer size, so a press after new data never leaves the old curve under
//   the new axes.
// - A resize stores the outer size into the record (not while the window loads) and the plot is
//   drawn anew for the new size; the rows of labels under the plot follow the lower edge.
// - Exit hides the window; the close box stores its geometry and destroys it (ToolWindow).
// - Mouse moves over the frame reach MouseMove (readout test: right and bottom edges outside);
//   presses reach MouseDown, which applies the click test it needs.
//
// W and H, the outer size the frames are laid out from, are the window's real size in twips;
// only the stored record is limited to 16 bits. A minimum size keeps the frame from collapsing.
#include <QMenuBar>
#include <QSize>
#include <initializer_list>
#include <map>

#include "plot/Drawing.h"
#include "state/Platform.h"
#include "ui/PlotFrame.h"
#include "ui/Printing.h"
#include "ui/ToolWindow.h"

class QLabel;

namespace tessan::ui {

class PlotWindow : public ToolWindow {
    Q_OBJECT
public:
    // Shows the window in front and draws its plot anew.
    void Plot();
    // Draws the plot anew where it stands, if it has been plotted (the data changed).
    void Replot();
    PlotFrame* frame() const { return m_frame; }
    // Label<id>, or nullptr when the window has none.
    QLabel* label(int id) const;
    // "Print": the client area (all under the menu bar) to the current printer.
    void mPrint_Click();
    // "Printer Setup ...".
    void mPrinterSetup_Click();
    // The outer width and height in twips.
    QSize outerTwips() const;

protected:
    // name: the window's objectName; minTwips: the smallest outer size.
    PlotWindow(QWidget* owner, AnalysisState& s, Platform& p, Printing& printing, WinRect Geometry::*record, const WindowFrame& frame,
               const char* name, const char* caption, QSize minTwips);

    // The window's plot procedure for the outer size W x H (twips).
    virtual plot::Drawing MakeDrawing(int W, int H) = 0;
    // Places the controls under the plot for the outer height H (twips).
    virtual void placePanel(int H) = 0;
    // The mouse over the frame (readout test) and a press anywhere, in twips.
    virtual void MouseMove(int, int) {}
    virtual void MouseDown(Qt::MouseButton, int, int) {}

    // A label Label<id> with a caption, at (left, top) twips.
    QLabel* addLabel(int id, const char* caption = "", int left = 0, int top = 0);
    // The width in twips from left to near the right edge of the window (a last column).
    int roomFrom(int left) const;
    // A control of the panel under the plot: its left edge, its top as twips above the outer
    // height H, its width and height (one label line by default).
    struct PanelPlace {
        QWidget* w;
        int left, above, width, height = 255;
    };
    // Places the panel's controls for the outer height H (twips).
    static void placeAbove(int H, std::initializer_list<PanelPlace> places);
    // The menu "File" (mFile): "Printer Setup ...", "Print", a separator named dashName, "Exit".
    void addFileMenu(const char* dashName);
    // A top-level menu command "Print" named name that prints as the File menu's "Print".
    void addPrintCommand(const char* name);
    QMenuBar* menu() const { return m_menu; }

    void layoutControls() override;
    void Form_Resize() override;

    Platform& m_p;
    Printing& m_printing;

    // Clears the drawing and draws the plot anew for the present size.
    void redraw();

private:
    void showLabels(const plot::Drawing& d);

    QMenuBar* m_menu;
    PlotFrame* m_frame;
    std::map<int, QLabel*> m_labels;
    bool m_plotted = false;   // the plot has been drawn: a resize draws it anew
};

}  // namespace tessan::ui
