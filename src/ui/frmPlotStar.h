#pragma once
// The spectrum plot windows frmPlot_Spectr_Std ("Plot Standard Spectrum") and
// frmPlot_Spectr_Pro ("Plot Program Spectrum"): one class over the view of one star. Each
// plots its star's pixel values against wavelength (plot::Plot_Spectr) and reads out the
// wavelength (Label7, A) and the intensity (Label10) under the cursor. The standard's window has
// the File menu; the program star's a single "Print" command, which prints as the standard's.
#include <QLabel>

#include "state/StarView.h"
#include "ui/PlotWindow.h"

namespace tessan::ui {

class frmPlot_Spectr : public PlotWindow {
    Q_OBJECT
public:
    frmPlot_Spectr(Star star, AnalysisState& s, Platform& p, Printing& printing, QWidget* owner,
                   const WindowFrame& frame = WindowFrame::system());

    // Bottom row: captions and values of the cursor's wavelength and intensity, file, object.
    QLabel *Label5, *Label7, *Label9, *Label10, *Label11, *Label12, *Label13, *Label14;

protected:
    plot::Drawing MakeDrawing(int W, int H) override;
    void placePanel(int H) override;
    void MouseMove(int x, int y) override;

private:
    Star m_star;
};

}  // namespace tessan::ui
