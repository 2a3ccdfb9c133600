#pragma once
// The CCF plot window frmPlotData_CC ("Plot Cross-correlation"): the cross-correlation of the
// program star against the standard over velocity (plot::Plot_CC). Under the plot: the
// cursor's velocity (Label16, also CursorVel), the peak velocities measured by a left and a
// right click (Label19, Label20, both in Text3 as one line to copy), and the two stars' files
// and objects. A click measures the peak around its lag with the one peak search over the
// computed lags -N..N (CcfPeakSearch); a click it cannot measure changes nothing.
#include <QLabel>
#include <QLineEdit>

#include "ui/PlotWindow.h"

namespace tessan::ui {

class frmPlotData_CC : public PlotWindow {
    Q_OBJECT
public:
    frmPlotData_CC(AnalysisState& s, Platform& p, Printing& printing, QWidget* owner, const WindowFrame& frame = WindowFrame::system());

    QLabel *Label15, *Label16;                       // "Cursor", cursor velocity
    QLabel *Label17, *Label18, *Label19, *Label20;   // "Peak.L", "Peak.R", their velocities
    QLabel* Label21;                                 // "Peak.L, Peak R"
    QLineEdit* Text3;                                // both peaks
    QLabel *Label9, *Label12, *Label10, *Label13, *Label11, *Label14;   // "Std:", "Prog:", files, objects

protected:
    plot::Drawing MakeDrawing(int W, int H) override;
    void placePanel(int H) override;
    void MouseMove(int x, int y) override;
    void MouseDown(Qt::MouseButton button, int x, int y) override;
};

}  // namespace tessan::ui
