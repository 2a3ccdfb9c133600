#pragma once
// The singular-value plot window frmPlotdata_ww ("Plot SVD Result"): the base-10 logarithm of
// the singular values ww(1..span) against their order Order_n (plot::Plot_ww), with the order
// (Cursor_n, Label7) and the logarithm (Label10) under the cursor. Label15 says how many values
// have no logarithm and are not plotted.
#include <QLabel>

#include "ui/PlotWindow.h"

namespace tessan::ui {

class frmPlotdata_ww : public PlotWindow {
    Q_OBJECT
public:
    frmPlotdata_ww(AnalysisState& s, Platform& p, Printing& printing, QWidget* owner, const WindowFrame& frame = WindowFrame::system());

    // Bottom row: "Cursor, n =" and the order, "Matrix, Wi =" and the value, file, object.
    QLabel *Label5, *Label7, *Label9, *Label10, *Label11, *Label12, *Label13, *Label14;
    int Cursor_n = 0;   // the order under the cursor

protected:
    plot::Drawing MakeDrawing(int W, int H) override;
    void placePanel(int H) override;
    void MouseMove(int x, int y) override;
};

}  // namespace tessan::ui
